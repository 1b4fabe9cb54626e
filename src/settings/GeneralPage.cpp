#include "settings/GeneralPage.h"

#include "ui_GeneralPage.h"

#include "settings/Settings.h"

namespace zrk {

GeneralPage::GeneralPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(std::make_unique<Ui::GeneralPage>()) {
    ui_->setupUi(this);
    ui_->cbStayOnTop->setChecked(s.StayOnTop);
    ui_->cbMinimized->setChecked(s.Minimized);
    ui_->cbNormal->setChecked(s.PopupOnCall);
    ui_->cbScreen->setChecked(s.Screen);
    fillEdit(ui_->eDigits, QString::number(s.DigitsInPhoneNumber));
    fillEdit(ui_->eTire, s.SeparatorOfGroups);
    fillEdit(ui_->eCountNum, QString::number(s.DigitsInGroup));
    ui_->rbWin->setChecked(s.DoubleClick);
    ui_->rbPort->setChecked(!s.DoubleClick);
}

GeneralPage::~GeneralPage() = default;

void GeneralPage::store(TIni& s) {
    s.StayOnTop = ui_->cbStayOnTop->isChecked();
    s.Minimized = ui_->cbMinimized->isChecked();
    s.PopupOnCall = ui_->cbNormal->isChecked();
    s.Screen = ui_->cbScreen->isChecked();
    readInteger(ui_->eDigits, s.DigitsInPhoneNumber);
    readText(ui_->eTire, s.SeparatorOfGroups);
    readInteger(ui_->eCountNum, s.DigitsInGroup);
    s.DoubleClick = ui_->rbWin->isChecked();
}

}  // namespace zrk
