#pragma once
// FontPage: the options page "Шрифт": the faces, sizes and colours of the main window's display.
#include "gui/settings/OptionsPage.h"

namespace Ui {
class FontPage;
}

namespace zrk {

class FontPage : public OptionsPage {
    Q_OBJECT
public:
    FontPage(const TIni& settings, QWidget* parent = nullptr);

    // A face, a size or a colour was changed.
    bool fontsChanged() const { return fontsChanged_; }

private:
    void storeRest(TIni& settings) override;
    FormPtr<Ui::FontPage> ui_;
    bool fontsChanged_ = false;
};

}  // namespace zrk
