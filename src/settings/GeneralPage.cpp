#include "settings/GeneralPage.h"

#include "ui_GeneralPage.h"

#include "settings/Settings.h"

namespace zrk {

GeneralPage::GeneralPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::GeneralPage>(this)) {
    bind(ui_->cbStayOnTop, s, &TIni::StayOnTop);
    bind(ui_->cbMinimized, s, &TIni::Minimized);
    bind(ui_->cbNormal, s, &TIni::PopupOnCall);
    bind(ui_->cbScreen, s, &TIni::Screen);
    bind(ui_->cbNotify, s, &TIni::Notifications);
    bind(ui_->eDigits, s, &TIni::DigitsInPhoneNumber);
    fillEdit(ui_->eTire, s.SeparatorOfGroups);
    bind(ui_->eCountNum, s, &TIni::DigitsInGroup);
    ui_->rbWin->setChecked(s.DoubleClick);
    ui_->rbPort->setChecked(!s.DoubleClick);
}

void GeneralPage::storeRest(TIni& s) {
    readText(ui_->eTire, s.SeparatorOfGroups);
    s.DoubleClick = ui_->rbWin->isChecked();
}

}  // namespace zrk
