#pragma once
// CallActionsPage: the options page "Действия при звонке": the list of what is done on a call's
// events besides the caller's action (an address opened, a program run, a text said), each
// edited in CallActionEditor. The list goes back into the settings at OK only.
#include "core/settings/Settings.h"
#include "gui/settings/OptionsPage.h"

namespace Ui {
class CallActionsPage;
}

namespace zrk {

class CallActionsPage : public OptionsPage {
    Q_OBJECT
public:
    explicit CallActionsPage(const TIni& settings, QWidget* parent = nullptr);

    void bAddActionClick();
    void bEditActionClick();
    void bDeleteActionClick();
    // Moves the current action `by` rows up (negative) or down.
    void moveCurrent(int by);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void storeRest(TIni& settings) override;
    void showRow(int row);
    void selectRow(int row);
    void enableButtons();

    FormPtr<Ui::CallActionsPage> ui_;
    QList<CallActionSpec> actions_;
    bool filling_ = false;  // the table is being filled, not changed by the user
};

}  // namespace zrk
