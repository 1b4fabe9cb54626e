#include "gui/settings/OptionsPage.h"

#include "gui/settings/OptionWidgets.h"
#include "core/settings/OptionsRules.h"
#include "core/settings/Settings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace zrk {
namespace {

// What an edit showed when the page filled it.
const char* const kFilledText = "filledText";

bool edited(const QLineEdit* edit) {
    return edit->text() != edit->property(kFilledText).toString();
}

}  // namespace

void OptionsPage::store(TIni& settings) {
    for (const auto& bound : binds_) bound(settings);
    storeRest(settings);
}

void OptionsPage::bind(QCheckBox* box, const TIni& settings, bool TIni::*value) {
    box->setChecked(settings.*value);
    binds_.push_back([box, value](TIni& s) { s.*value = box->isChecked(); });
}

void OptionsPage::bind(QComboBox* box, const TIni& settings, qint32 TIni::*value) {
    selectIndex(box, settings.*value);
    binds_.push_back([box, value](TIni& s) { s.*value = box->currentIndex(); });
}

void OptionsPage::bind(QLineEdit* edit, const TIni& settings, qint32 TIni::*value) {
    fillEdit(edit, QString::number(settings.*value));
    binds_.push_back([edit, value](TIni& s) { readInteger(edit, s.*value); });
}

void OptionsPage::bind(QLineEdit* edit, const TIni& settings, QString TIni::*value) {
    edit->setText(settings.*value);
    binds_.push_back([edit, value](TIni& s) { s.*value = edit->text(); });
}

void OptionsPage::bind(FileNameEdit* edit, const TIni& settings, QString TIni::*value) {
    bind(edit->lineEdit(), settings, value);
}

void OptionsPage::bind(ColorBox* box, const TIni& settings, quint32 TIni::*value) {
    box->setColorRef(settings.*value);
    binds_.push_back([box, value](TIni& s) { s.*value = box->colorRef(); });
}

void fillEdit(QLineEdit* edit, const QString& stored) {
    edit->setText(stored);
    edit->setProperty(kFilledText, edit->text());
}

void readText(const QLineEdit* edit, QString& setting) {
    if (edited(edit)) setting = edit->text();
}

void readInteger(const QLineEdit* edit, qint32& setting) {
    if (!edited(edit)) return;
    if (const auto v = readIntegerEdit(edit->text())) setting = *v;
}

void selectIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index < box->count() ? index : -1);
}

void enableAll(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* w : widgets) w->setEnabled(on);
}

void enableWhileChecked(QAbstractButton* box, std::initializer_list<QWidget*> widgets) {
    const auto follow = [box, list = QList<QWidget*>(widgets)] {
        for (QWidget* w : list) w->setEnabled(box->isChecked());
    };
    QObject::connect(box, &QAbstractButton::toggled, box, follow);
    follow();
}

}  // namespace zrk
