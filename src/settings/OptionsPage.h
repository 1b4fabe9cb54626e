#pragma once
// OptionsPage: what every page of the options dialog is, and the rules its edits and lists
// share.
#include <QWidget>

#include <initializer_list>

class QComboBox;
class QLineEdit;

namespace zrk {

struct TIni;

// One page of "Настройка программы": it shows its part of the settings when it is made and
// puts that part back into the record at OK. What it keeps outside the record (the district
// table, the modem's device) it writes in save(), which raises the store's error.
class OptionsPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void store(TIni& settings) = 0;
    virtual void save() {}
};

// An edit may not show a stored text whole (a separator " - " from an import in an edit of
// one character): the setting changes only when the user changed the edit.
void fillEdit(QLineEdit* edit, const QString& stored);
void readText(const QLineEdit* edit, QString& setting);
// Text that is no whole number leaves the setting as it was, without a word.
void readInteger(const QLineEdit* edit, qint32& setting);
// A stored index outside the list leaves it without a selection.
void selectIndex(QComboBox* box, int index);
void enableAll(std::initializer_list<QWidget*> widgets, bool on);

}  // namespace zrk
