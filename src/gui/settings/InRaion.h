#pragma once
// TInRaion: the district editor, one entry of the district table: a number mask and the
// district's name.
#include "gui/settings/PlacedDialog.h"

class QLineEdit;
class QPushButton;

namespace zrk {

class TInRaion : public PlacedDialog {
    Q_OBJECT
public:
    // `adding` chooses the title: "Добавить район" or "Изменить район".
    TInRaion(bool adding, QWidget* parent = nullptr);

    QLineEdit* eNumber = nullptr;
    QLineEdit* eRaion = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bCansel = nullptr;
};

}  // namespace zrk
