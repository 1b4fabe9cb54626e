#include "settings/FontPage.h"

#include "ui_FontPage.h"

#include "settings/Settings.h"

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
    : OptionsPage(parent), ui_(std::make_unique<Ui::FontPage>()) {
    ui_->setupUi(this);
    const QStringList families = QFontDatabase::families();
    fillFaces(ui_->cbFNumber, families, s.NumberFont);
    fillFaces(ui_->cbFCounter, families, s.CounterFont);
    fillFaces(ui_->cbFInfo, families, s.InfoFont);
    fillEdit(ui_->eNumber, QString::number(s.NumberSize));
    fillEdit(ui_->eCounter, QString::number(s.CounterSize));
    fillEdit(ui_->eInfo, QString::number(s.InfoSize));
    ui_->cbNumber->setColorRef(s.NumberColor);
    ui_->cbCounter->setColorRef(s.CounterColor);
    ui_->cbInfo->setColorRef(s.InfoColor);
    ui_->cbFon->setColorRef(s.BackgroundColor);
    ui_->cbNotAct->setColorRef(s.NotActiveColor);

    const auto fontChange = [this] { fontsChanged_ = true; };
    for (QComboBox* face : {ui_->cbFNumber, ui_->cbFCounter, ui_->cbFInfo})
        connect(face, &QComboBox::currentIndexChanged, this, fontChange);
    for (QLineEdit* size : {ui_->eNumber, ui_->eCounter, ui_->eInfo})
        connect(size, &QLineEdit::textChanged, this, fontChange);
    for (ColorBox* colour : {ui_->cbNumber, ui_->cbCounter, ui_->cbInfo, ui_->cbFon, ui_->cbNotAct})
        connect(colour, &ColorBox::colorChanged, this, fontChange);
}

FontPage::~FontPage() = default;

void FontPage::store(TIni& s) {
    s.NumberFont = ui_->cbFNumber->currentText();
    s.CounterFont = ui_->cbFCounter->currentText();
    s.InfoFont = ui_->cbFInfo->currentText();
    readInteger(ui_->eNumber, s.NumberSize);
    readInteger(ui_->eCounter, s.CounterSize);
    readInteger(ui_->eInfo, s.InfoSize);
    s.NumberColor = ui_->cbNumber->colorRef();
    s.CounterColor = ui_->cbCounter->colorRef();
    s.InfoColor = ui_->cbInfo->colorRef();
    s.BackgroundColor = ui_->cbFon->colorRef();
    s.NotActiveColor = ui_->cbNotAct->colorRef();
}

}  // namespace zrk
