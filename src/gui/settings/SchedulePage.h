#pragma once
// SchedulePage: the options page "Расписание": the daily times of the port and of the sounds.
#include "gui/settings/OptionsPage.h"

namespace Ui {
class SchedulePage;
}

namespace zrk {

class SchedulePage : public OptionsPage {
    Q_OBJECT
public:
    SchedulePage(const TIni& settings, QWidget* parent = nullptr);

private:
    void storeRest(TIni& settings) override;

    FormPtr<Ui::SchedulePage> ui_;
};

}  // namespace zrk
