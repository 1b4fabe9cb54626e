#pragma once
// TInRaion: the district editor, one entry of the district table: a number mask and the
// district's name.
#include "settings/WindowPlacement.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zrk {

class TInRaion : public QDialog {
    Q_OBJECT
public:
    // `adding` chooses the title: "Добавить район" or "Изменить район".
    TInRaion(bool adding, QWidget* parent = nullptr);

    QLineEdit* eNumber = nullptr;
    QLineEdit* eRaion = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bCansel = nullptr;

    void done(int result) override;

private:
    WindowPlacement placement_{QStringLiteral("Position\\RaionItem"), false};
};

}  // namespace zrk
