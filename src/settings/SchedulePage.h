#pragma once
// SchedulePage: the options page "Расписание": the daily times of the port and of the sounds.
#include "settings/OptionsPage.h"

#include <memory>

namespace Ui {
class SchedulePage;
}

namespace zrk {

class SchedulePage : public OptionsPage {
    Q_OBJECT
public:
    SchedulePage(const TIni& settings, QWidget* parent = nullptr);
    ~SchedulePage() override;

    void store(TIni& settings) override;

private:
    void cbPortOnOffClick();
    void cbSoundOnOffClick();

    std::unique_ptr<Ui::SchedulePage> ui_;
};

}  // namespace zrk
