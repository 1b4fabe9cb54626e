#include "gui/settings/GeneralPage.h"

#include "ui_GeneralPage.h"

#include "core/settings/Settings.h"

namespace zrk {

namespace {
// The "Language" values of the language list's items: automatic, Russian, English.
const QStringList kLanguages = {QString(), QStringLiteral("ru"), QStringLiteral("en")};
}  // namespace

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
    // A value this version does not know shows no item and is kept, as the other lists do.
    ui_->cbLanguage->setCurrentIndex(int(kLanguages.indexOf(s.Language)));
}

void GeneralPage::storeRest(TIni& s) {
    readText(ui_->eTire, s.SeparatorOfGroups);
    s.DoubleClick = ui_->rbWin->isChecked();
    if (ui_->cbLanguage->currentIndex() >= 0)
        s.Language = kLanguages.value(ui_->cbLanguage->currentIndex());
}

}  // namespace zrk
