#include "gui/reminders/ReMind.h"

#include "core/platform/Clock.h"
#include "core/platform/Values.h"
#include "gui/reminders/EditNotes.h"
#include "gui/reminders/Reminder.h"
#include "core/reminders/ReminderRules.h"
#include "core/settings/Settings.h"

#include "gui/settings/Form.h"
#include "ui_ReMind.h"

#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>

namespace zrk {

TReMind::TReMind(TReminder& list, QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\NewReminder"), parent,
                   Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowCloseButtonHint),
      ui_(makeForm<Ui::TReMind>(this)),
      list_(list),
      rec_(ReminderRecord::empty()) {
    setObjectName(QStringLiteral("ReMind"));
    ui_->cbNumber->lineEdit()->setMaxLength(25);
    ui_->dtDate->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    fitLongestDate();
    ui_->sbMore->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    ui_->sbClear->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));

    pmNotes_ = named<QMenu>("pmNotes", this);
    for (int k = 0; k < 7; ++k) {
        pm_[k] = pmNotes_->addAction(QString());
        pm_[k]->setObjectName(QStringLiteral("pm%1").arg(k + 1));
        connect(pm_[k], &QAction::triggered, this, [this, k] { ViewNote(k + 1); });
    }
    pmNotes_->addSeparator();
    QAction* mpEdit = pmNotes_->addAction(tr("&Редактировать..."));
    mpEdit->setObjectName(QStringLiteral("mpEdit"));
    connect(mpEdit, &QAction::triggered, this, &TReMind::mpEditClick);

    connect(ui_->rbDateTime, &QRadioButton::toggled, this, &TReMind::rbDateTimeClick);
    connect(ui_->rbNumber, &QRadioButton::toggled, this, &TReMind::rbDateTimeClick);
    connect(ui_->dtDate, &QDateEdit::dateChanged, this, &TReMind::dtDateChange);
    connect(ui_->sbMore, &QToolButton::clicked, this, &TReMind::sbMoreClick);
    connect(ui_->sbClear, &QToolButton::clicked, this, &TReMind::sbClearClick);
    connect(ui_->bOK, &QPushButton::clicked, this, &TReMind::bOKClick);
    connect(ui_->bCansel, &QPushButton::clicked, this, &QDialog::reject);

    move(240, 180);
    placement_.restoreOrReport(this);
    rbDateTimeClick();
    ui_->cbNumber->addItems(list_.bookPhones());
    ui_->cbNumber->setCurrentIndex(-1);
    const QDateTime start = now();
    {
        const QSignalBlocker block(ui_->dtDate);  // the user's first change is what counts
        ui_->dtDate->setDate(start.date());
    }
    ui_->dtTime->setCurrentText(timeEntryText(start.time()));
    InitPM();
    CreateTimes(false);
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}

void TReMind::fitLongestDate() {
    // The field's own size counts only its first and last dates; the names of the weekdays
    // and months differ in length, so every day of a year is measured (leap day included).
    QDateEdit* field = ui_->dtDate;
    const QFontMetrics fm = field->fontMetrics();
    const QString format = field->displayFormat();
    const auto width = [&](const QDate& d) {
        return fm.horizontalAdvance(QLocale().toString(d, format) + QLatin1Char(' '));
    };
    int longest = 0;
    for (QDate d(2000, 1, 1); d.year() == 2000; d = d.addDays(1)) longest = qMax(longest, width(d));
    const int counted = qMax(width(field->minimumDate()), width(field->maximumDate()));
    if (longest > counted) field->setMinimumWidth(field->sizeHint().width() + longest - counted);
}

void TReMind::rbDateTimeClick() {
    const bool byDate = ui_->rbDateTime->isChecked();
    ui_->dtDate->setEnabled(byDate);
    ui_->dtTime->setEnabled(byDate);
    ui_->cbNumber->setEnabled(ui_->rbNumber->isChecked());
}

void TReMind::InitForm(const ReminderRecord& r, quint64 id) {
    rec_ = r;
    editing_ = id;
    (r.Kind == ReminderByDate ? ui_->rbDateTime : ui_->rbNumber)->setChecked(true);
    rbDateTimeClick();
    {
        const QSignalBlocker block(ui_->dtDate);
        const QDate day = fromDateTimeValue(r.Date).date();
        if (day.isValid()) ui_->dtDate->setDate(day);
    }
    ui_->dtTime->setCurrentText(timeFieldText(timeOfValue(r.Time)));
    ui_->cbNumber->setCurrentText(r.Number.text());
    AddNotes(r.Note.text());
}

void TReMind::setNumber(const QString& number) {
    ui_->cbNumber->setCurrentText(number);
    ui_->rbNumber->setChecked(true);
    rbDateTimeClick();
    // The note is what is left to type.
    QWidget* const order[] = {ui_->mNote, ui_->sbMore,  ui_->sbClear,
                              ui_->bOK,   ui_->bCansel, ui_->rbDateTime};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
    ui_->mNote->setFocus();
}

void TReMind::InitPM() {
    for (int k = 0; k < 7; ++k)
        pm_[k]->setText(templateTitle(shownSetting(ini().Notes[size_t(k)])));
}

void TReMind::CreateTimes(bool wholeDay) {
    QComboBox* box = ui_->dtTime;
    box->clear();
    if (wholeDay) {
        box->addItems(dayTimes());
        box->setCurrentIndex(dayTimeSelection(now().time()));
    } else {
        quickBase_ = now();
        box->addItems(quickPickTimes(quickBase_.time()));
        box->setCurrentIndex(0);
    }
}

void TReMind::dtDateChange() {
    if (dateChanged_) return;
    dateChanged_ = true;
    CreateTimes(true);
}

void TReMind::AddNotes(const QString& text) {
    for (const QString& line : noteLines(text)) ui_->mNote->appendPlainText(line);
}

void TReMind::ViewNote(int k) {
    ui_->mNote->clear();
    AddNotes(k >= 1 && k <= 7 ? templateNote(shownSetting(ini().Notes[size_t(k - 1)])) : QString());
}

void TReMind::sbMoreClick() {
    const QWidget* b = ui_->sbMore;
    pmNotes_->popup(b->mapToGlobal(QPoint(b->width(), b->height())));
}

void TReMind::sbClearClick() {
    ui_->mNote->clear();
}

void TReMind::mpEditClick() {
    TEditNotes editor(this);
    editor.exec();
    InitPM();
}

void TReMind::bOKClick() {
    const std::optional<QTime> time = parseTimeField(ui_->dtTime->currentText());
    if (!time) return;  // the form stays open with what was typed
    ReminderRecord r = rec_;
    r.Kind = ui_->rbDateTime->isChecked() ? ReminderByDate : ReminderByNumber;
    QDate day = ui_->dtDate->date();
    // The quick picks count from now: one that is earlier in the day than now lies past
    // midnight, tomorrow, not in the past of the day the list was made on.
    if (!dateChanged_ && day == quickBase_.date() &&
        ui_->dtTime->findText(ui_->dtTime->currentText()) >= 0 &&
        *time < QTime(quickBase_.time().hour(), quickBase_.time().minute()))
        day = day.addDays(1);
    setDueTime(r, QDateTime(day, *time));
    r.Number.setText(ui_->cbNumber->currentText().left(25));
    r.Note.setText(noteText(editLines(ui_->mNote->toPlainText())));
    rec_ = r;
    list_.document().store(r, editing_);
    accept();
}

}  // namespace zrk
