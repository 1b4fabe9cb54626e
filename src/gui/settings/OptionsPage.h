#pragma once
// OptionsPage: what every page of the options dialog is, and the rules its edits and lists
// share.
#include "gui/settings/Form.h"

#include <QWidget>

#include <functional>
#include <initializer_list>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace zrk {

struct TIni;
class ColorBox;
class FileNameEdit;

// One page of "Настройка программы": it shows its part of the settings when it is made and
// puts that part back into the record at OK. What it keeps outside the record (the district
// table, the modem's device) it writes in save(), which raises the store's error.
class OptionsPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // The bound controls, then what the page puts back itself.
    void store(TIni& settings);
    virtual void save() {}

protected:
    // Shows a value of `settings` in a control, and has store() put the control's value back.
    void bind(QCheckBox* box, const TIni& settings, bool TIni::*value);
    void bind(QComboBox* box, const TIni& settings, qint32 TIni::*value);   // the selected index
    void bind(QLineEdit* edit, const TIni& settings, qint32 TIni::*value);  // see readInteger()
    void bind(ColorBox* box, const TIni& settings, quint32 TIni::*value);
    void bind(QLineEdit* edit, const TIni& settings, QString TIni::*value);
    void bind(FileNameEdit* edit, const TIni& settings, QString TIni::*value);
    virtual void storeRest(TIni&) {}

private:
    std::vector<std::function<void(TIni&)>> binds_;
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
// `widgets` are enabled while `box` is checked, from now on.
void enableWhileChecked(QAbstractButton* box, std::initializer_list<QWidget*> widgets);

}  // namespace zrk
