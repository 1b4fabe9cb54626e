#pragma once
// GeneralPage: the options page "Общие": how the main window shows itself, how a number is written,
// and what a double click on the tray icon does.
#include "gui/settings/OptionsPage.h"

namespace Ui {
class GeneralPage;
}

namespace zrk {

class GeneralPage : public OptionsPage {
    Q_OBJECT
public:
    GeneralPage(const TIni& settings, QWidget* parent = nullptr);

private:
    void storeRest(TIni& settings) override;
    FormPtr<Ui::GeneralPage> ui_;
};

}  // namespace zrk
