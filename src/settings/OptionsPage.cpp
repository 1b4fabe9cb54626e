#include "settings/OptionsPage.h"

#include "settings/OptionsRules.h"

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

}  // namespace zrk
