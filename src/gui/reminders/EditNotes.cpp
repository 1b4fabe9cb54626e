#include "gui/reminders/EditNotes.h"

#include "core/reminders/ReminderRules.h"

#include "ui_EditNotes.h"

#include <QSignalBlocker>

namespace zrk {
namespace {

// A template as it comes back from the editor's fields when nothing was changed in them.
QString asShown(const QString& t) {
    return templateTitle(t) + QLatin1Char('|') + noteText(noteLines(templateNote(t)));
}

}  // namespace

TEditNotes::TEditNotes(QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\EditReminder"), parent,
                   Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowCloseButtonHint),
      ui_(makeForm<Ui::TEditNotes>(this)),
      saved_(ini()) {
    setObjectName(QStringLiteral("EditNotes"));
    move(260, 200);
    placement_.restoreOrReport(this);
    {
        const QSignalBlocker block(ui_->cbNotes);
        for (const QString& t : ini().Notes) ui_->cbNotes->addItem(templateTitle(shownSetting(t)));
        ui_->cbNotes->setCurrentIndex(0);
    }
    connect(ui_->cbNotes, &QComboBox::currentIndexChanged, this, &TEditNotes::cbNotesChange);
    connect(ui_->bOK, &QPushButton::clicked, this, &TEditNotes::bOKClick);
    connect(ui_->bCansel, &QPushButton::clicked, this, &TEditNotes::bCanselClick);
    cbNotesChange();
    setFixedSize(sizeHint().expandedTo(QSize(340, 240)));
}

void TEditNotes::cbNotesChange() {
    const QString title = ui_->eTitle->text();
    if (!title.isEmpty() && editing_ >= 0 && editing_ < 7) {
        ui_->cbNotes->setItemText(editing_, title);
        QString& stored = ini().Notes[size_t(editing_)];
        // A default left as shown stays stored as the default, in whatever language it shows.
        const QString edited =
            title + QLatin1Char('|') + noteText(editLines(ui_->mNote->toPlainText()));
        if (edited != asShown(shownSetting(stored))) stored = edited;
    }
    editing_ = qBound(0, ui_->cbNotes->currentIndex(), 6);
    ui_->eTitle->setText(ui_->cbNotes->itemText(editing_));
    ui_->mNote->clear();
    for (const QString& line : noteLines(templateNote(shownSetting(ini().Notes[size_t(editing_)]))))
        ui_->mNote->appendPlainText(line);
}

void TEditNotes::bOKClick() {
    cbNotesChange();
    accept();
}

void TEditNotes::bCanselClick() {
    reject();
}

void TEditNotes::reject() {
    // Only the templates go back: the record may have changed meanwhile for other reasons
    // (the sound schedule runs under this modal window) and those changes must stay.
    ini().Notes = saved_.Notes;
    QDialog::reject();
}

}  // namespace zrk
