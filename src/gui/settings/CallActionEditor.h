#pragma once
// CallActionEditor: one call action: on which event, what it does (an address opened, a
// program run, a text said) and for which callers. A text a newer version stored for a field
// stays as stored unless the user changes that field.
#include "core/settings/Settings.h"
#include "gui/settings/Form.h"
#include "gui/settings/PlacedDialog.h"

#include <array>

class QCheckBox;

namespace Ui {
class CallActionEditor;
}

namespace zrk {

class CallActionEditor : public PlacedDialog {
    Q_OBJECT
public:
    // `adding` chooses the title: "Новое действие" or "Изменить действие".
    CallActionEditor(const CallActionSpec& action, bool adding, QWidget* parent = nullptr);

    // The action as edited; the fields the user left alone as they were given.
    CallActionSpec action() const;
    // An action that could not run is not taken: the dialog says why and keeps what was typed.
    void accept() override;

    // How the list of actions shows one; a text this program does not know, as stored.
    static QString eventTitle(const QString& event);
    static QString summary(const CallActionSpec& action);
    static QString filterTitle(const CallActionSpec& action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QCheckBox*, 3> statusBoxes() const;
    void kindChanged();
    void insertPlaceholder(const QString& placeholder);
    // Why the action as edited could not run, or nothing; `where` gets the field to fix.
    QString problem(QWidget** where) const;

    FormPtr<Ui::CallActionEditor> ui_;
    CallActionSpec given_;
    QString filledArguments_;
    int givenEvent_ = -1;  // the choices the action came with
    int givenKind_ = -1;
    QWidget* insertInto_ = nullptr;  // the last of the template and the arguments to have focus
};

}  // namespace zrk
