#include "gui/settings/InRaion.h"

#include "gui/settings/Form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zrk {

TInRaion::TInRaion(bool adding, QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\RaionItem"), parent) {
    setObjectName(QStringLiteral("InRaion"));
    setWindowTitle(adding ? tr("Добавить район") : tr("Изменить район"));
    auto* form = new QFormLayout;
    eNumber = named<QLineEdit>("eNumber", this);
    eRaion = named<QLineEdit>("eRaion", this);
    eRaion->setMinimumWidth(200);
    form->addRow(tr("&Маска номера:"), eNumber);
    form->addRow(tr("&Район:"), eRaion);

    bOK = named<QPushButton>("bOK", QStringLiteral("OK"), this);
    bOK->setDefault(true);
    bCansel = named<QPushButton>("bCansel", tr("Отмена"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bOK);
    buttons->addWidget(bCansel);

    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
    connect(bOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bCansel, &QPushButton::clicked, this, &QDialog::reject);  // Esc too
    // Over the list it edits, until a position of the user's is stored.
    if (parent)
        move(parent->window()->geometry().center() -
             QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
    placement_.restoreOrReport(this);
}

}  // namespace zrk
