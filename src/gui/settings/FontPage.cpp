#include "gui/settings/FontPage.h"

#include "ui_FontPage.h"

#include "core/settings/Settings.h"

#include <QFontDatabase>

namespace zrk {
namespace {

// A face that is not installed here (a store from another desktop) stays in the list, so
// that an untouched dialog keeps it.
void fillFaces(QComboBox* box, const QStringList& families, const QString& face) {
    box->addItems(families);
    int i = box->findText(face, Qt::MatchFixedString);
    if (i < 0) {
        box->insertItem(0, face);
        i = 0;
    }
    box->setCurrentIndex(i);
}

}  // namespace

FontPage::FontPage(const TIni& s, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::FontPage>(this)) {
    const QStringList families = QFontDatabase::families();
    fillFaces(ui_->cbFNumber, families, s.NumberFont);
    fillFaces(ui_->cbFCounter, families, s.CounterFont);
    fillFaces(ui_->cbFInfo, families, s.InfoFont);
    bind(ui_->eNumber, s, &TIni::NumberSize);
    bind(ui_->eCounter, s, &TIni::CounterSize);
    bind(ui_->eInfo, s, &TIni::InfoSize);
    bind(ui_->cbNumber, s, &TIni::NumberColor);
    bind(ui_->cbCounter, s, &TIni::CounterColor);
    bind(ui_->cbInfo, s, &TIni::InfoColor);
    bind(ui_->cbFon, s, &TIni::BackgroundColor);
    bind(ui_->cbNotAct, s, &TIni::NotActiveColor);

    const auto fontChange = [this] { fontsChanged_ = true; };
    for (QComboBox* face : {ui_->cbFNumber, ui_->cbFCounter, ui_->cbFInfo})
        connect(face, &QComboBox::currentIndexChanged, this, fontChange);
    for (QLineEdit* size : {ui_->eNumber, ui_->eCounter, ui_->eInfo})
        connect(size, &QLineEdit::textChanged, this, fontChange);
    for (ColorBox* colour : {ui_->cbNumber, ui_->cbCounter, ui_->cbInfo, ui_->cbFon, ui_->cbNotAct})
        connect(colour, &ColorBox::colorChanged, this, fontChange);
}

void FontPage::storeRest(TIni& s) {
    s.NumberFont = ui_->cbFNumber->currentText();
    s.CounterFont = ui_->cbFCounter->currentText();
    s.InfoFont = ui_->cbFInfo->currentText();
}

}  // namespace zrk
