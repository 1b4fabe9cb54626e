#pragma once
// TItemOptions: "Настройка списка", the column chooser: which columns the phone book shows
// ("Book Columns" of the settings).
#include "gui/settings/PlacedDialog.h"

class QListWidget;
class QPushButton;

namespace zrk {

class TItemOptions : public PlacedDialog {
    Q_OBJECT
public:
    explicit TItemOptions(QWidget* parent = nullptr);

    // Opens the dialog modally over `parent`; true when it was confirmed with OK, and the
    // column flags of the settings record then hold the choice (saved with all settings).
    static bool choose(QWidget* parent);

    QListWidget* clColum = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bCansel = nullptr;

private:
    void bOKClick();
};

}  // namespace zrk
