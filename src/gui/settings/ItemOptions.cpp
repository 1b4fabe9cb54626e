#include "gui/settings/ItemOptions.h"

#include "gui/settings/Form.h"
#include "core/settings/Settings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zrk {

TItemOptions::TItemOptions(QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\OptionsList"), parent) {
    setObjectName(QStringLiteral("ItemOptions"));
    setWindowTitle(tr("Настройка списка"));
    clColum = named<QListWidget>("clColum", this);
    auto* label = new QLabel(tr("&Список колонок:"), this);
    label->setBuddy(clColum);
    static const char* const kColumns[8] = {
        QT_TR_NOOP("Фамилия"),   QT_TR_NOOP("Телефон"),      QT_TR_NOOP("Рабочий телефон"),
        QT_TR_NOOP("Адрес"),     QT_TR_NOOP("E-Mail"),       QT_TR_NOOP("ICQ UIN"),
        QT_TR_NOOP("Home Page"), QT_TR_NOOP("Дополнительно")};
    for (int i = 0; i < 8; ++i) {
        auto* item = new QListWidgetItem(tr(kColumns[i]), clColum);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(ini().Columns[size_t(i)] ? Qt::Checked : Qt::Unchecked);
    }
    clColum->setFixedHeight(clColum->sizeHintForRow(0) * 8 + 2 * clColum->frameWidth() + 2);
    clColum->setMinimumWidth(170);

    bOK = named<QPushButton>("bOK", QStringLiteral("OK"), this);
    bOK->setDefault(true);
    bCansel = named<QPushButton>("bCansel", tr("Отмена"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(bOK);
    buttons->addWidget(bCansel);
    buttons->addStretch(1);

    auto* list = new QVBoxLayout;
    list->addWidget(label);
    list->addWidget(clColum);
    auto* main = new QHBoxLayout(this);
    main->addLayout(list);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
    connect(bOK, &QPushButton::clicked, this, &TItemOptions::bOKClick);
    connect(bCansel, &QPushButton::clicked, this, &QDialog::reject);
    move(292, 185);  // until a position of the user's is stored
    placement_.restoreOrReport(this);
}

bool TItemOptions::choose(QWidget* parent) {
    TItemOptions dialog(parent);
    return dialog.exec() == QDialog::Accepted;
}

void TItemOptions::bOKClick() {
    for (int i = 0; i < 8; ++i)
        ini().Columns[size_t(i)] = clColum->item(i)->checkState() == Qt::Checked;
    accept();
}

}  // namespace zrk
