#include "settings/GeneralPage.h"

#include "ui_GeneralPage.h"

#include "settings/Settings.h"

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
    bind(ui_->eDigits, s, &TIni::DigitsInPhoneNumber);
    fillEdit(ui_->eTire, s.SeparatorOfGroups);
    bind(ui_->eCountNum, s, &TIni::DigitsInGroup);
    ui_->rbWin->setChecked(s.DoubleClick);
    ui_->rbPort->setChecked(!s.DoubleClick);
    // The items in the order of kLanguages; each language's own name is never translated.
    const qsizetype language = kLanguages.indexOf(s.Language);
    ui_->cbLanguage->setCurrentIndex(language < 0 ? 0 : int(language));
}

void GeneralPage::storeRest(TIni& s) {
    readText(ui_->eTire, s.SeparatorOfGroups);
    s.DoubleClick = ui_->rbWin->isChecked();
    s.Language = kLanguages.value(ui_->cbLanguage->currentIndex());
}

}  // namespace zrk
