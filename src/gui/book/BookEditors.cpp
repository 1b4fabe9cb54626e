#include "gui/book/BookEditors.h"

#include "core/book/BookStore.h"
#include "core/platform/ShortFileName.h"
#include "ui_BookItem.h"
#include "ui_GroupItem.h"
#include "gui/windows/DialogLook.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QStyle>

namespace zrk {
namespace {

QString chooseWave(QWidget* parent) {
    // Qt's dialog offers no "open as read-only" and never changes the current directory;
    // ShortFileName then decides how the chosen file is stored.
    return QFileDialog::getOpenFileName(
        parent, QString(), QString(),
        QCoreApplication::translate("zrk::TGroupItem", "Файлы WAV (*.wav);;Все файлы (*.*)"),
        nullptr, QFileDialog::ReadOnly);
}

}  // namespace

// ---- entry editor ----

TBookItem::TBookItem(GroupSource groups, QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\BookItem"), parent, kFixedDialogFlags),
      ui_(makeForm<Ui::TBookItem>(this)),
      groups_(std::move(groups)) {
    ui_->sbAddGroup->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    ui_->bCansel->setAutoDefault(false);
    connect(ui_->ePhone, &QLineEdit::textChanged, this, &TBookItem::phoneChanged);
    connect(ui_->bOK, &QPushButton::clicked, this, &TBookItem::bOKClick);
    connect(ui_->bCansel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->sbAddGroup, &QToolButton::clicked, this, [this] {
        if (!groups_.addGroup) return;
        groups_.addGroup();
        CreateListGr();
    });
    fixDialogSize(this, 353, 293);
    placement_.restoreOrReport(this);
    phoneChanged();
    CreateListGr();
}

void TBookItem::CreateListGr() {
    QComboBox* cb = ui_->cbGr;
    cb->clear();
    cb->addItem(tr("[Общая]"));
    if (groups_.store)
        for (int g = 1; g < groups_.store->groupCount(); ++g)
            cb->addItem(groups_.store->group(g).Text);
    const int pos = groups_.selectorPosition ? groups_.selectorPosition() : 0;
    cb->setCurrentIndex(pos > 0 && pos < cb->count() ? pos : 0);
}

void TBookItem::InitFormProp() {
    setWindowTitle(tr("Редактировать запись"));
    ui_->eFIO->setText(Item.Name.text());
    ui_->ePhone->setText(Item.Phone.text());
    ui_->eWork->setText(Item.WorkPhone.text());
    ui_->eAdres->setText(Item.Address.text());
    ui_->eEMail->setText(Item.EMail.text());
    ui_->eICQ->setText(Item.Icq.text());
    ui_->eWWW->setText(Item.HomePage.text());
    ui_->eNote->setText(Item.Note.text());
    (Item.Status == StatusBad        ? ui_->rbBad
     : Item.Status == StatusPriority ? ui_->rbPrior
                                     : ui_->rbNormal)
        ->setChecked(true);
    // A group that the table does not have (a damaged book) shows as the common group, so
    // that "OK" writes a group that exists.
    const int g = Item.Group;
    ui_->cbGr->setCurrentIndex(g >= 0 && g < ui_->cbGr->count() ? g : 0);
}

void TBookItem::setPhone(const QString& phone) {
    ui_->ePhone->setText(phone);
}

void TBookItem::phoneChanged() {
    ui_->bOK->setEnabled(!StrictDialFilter(ui_->ePhone->text()).isEmpty());
}

void TBookItem::bOKClick() {
    confirmed_ = true;
    Item.Name.setText(ui_->eFIO->text());
    Item.Phone.setText(ui_->ePhone->text());
    Item.WorkPhone.setText(ui_->eWork->text());
    Item.Address.setText(ui_->eAdres->text());
    Item.EMail.setText(ui_->eEMail->text());
    Item.Icq.setText(ui_->eICQ->text());
    Item.HomePage.setText(ui_->eWWW->text());
    Item.Note.setText(ui_->eNote->text());
    Item.Status = ui_->rbBad->isChecked()     ? StatusBad
                  : ui_->rbPrior->isChecked() ? StatusPriority
                                              : StatusNormal;
    Item.Group = qMax(0, ui_->cbGr->currentIndex());
    accept();
}

// ---- group editor ----

TGroupItem::TGroupItem(QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\GroupItem"), parent, kFixedDialogFlags),
      ui_(makeForm<Ui::TGroupItem>(this)),
      chooseFile_(&chooseWave) {
    ui_->bCansel->setAutoDefault(false);
    connect(ui_->eTitle, &QLineEdit::textChanged, this, &TGroupItem::titleChanged);
    connect(ui_->bOK, &QPushButton::clicked, this, &TGroupItem::bOKClick);
    connect(ui_->bCansel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->sbSound, &QToolButton::clicked, this, &TGroupItem::feSoundBrowse);
    fixDialogSize(this, 273, 142);
    placement_.restoreOrReport(this);
    ui_->cbAction->setCurrentIndex(0);
    titleChanged();
}

void TGroupItem::InitFormProp() {
    setWindowTitle(tr("Свойства группы"));
    ui_->eTitle->setText(Item.Title.text());
    ui_->feSound->setText(Item.Sound.text());
    const int a = Item.Action;
    ui_->cbAction->setCurrentIndex(a >= 0 && a < ui_->cbAction->count() ? a : 0);
}

void TGroupItem::feSoundBrowse() {
    const QString chosen = chooseFile_ ? chooseFile_(this) : QString();
    if (!chosen.isEmpty()) ui_->feSound->setText(ShortFileName(chosen));
}

void TGroupItem::titleChanged() {
    ui_->bOK->setEnabled(!ui_->eTitle->text().isEmpty());
}

void TGroupItem::bOKClick() {
    confirmed_ = true;
    Item.Title.setText(ui_->eTitle->text());
    Item.Sound.setText(ui_->feSound->text());
    Item.Action = qMax(0, ui_->cbAction->currentIndex());
    accept();
}

}  // namespace zrk
