#include "gui/reminders/Reminder.h"

#include "core/book/BookStore.h"
#include "core/platform/Clock.h"
#include "core/platform/Values.h"
#include "gui/reminders/AlertReminder.h"
#include "gui/reminders/ReMind.h"
#include "gui/reminders/ReminderHost.h"
#include "gui/reminders/ReminderModel.h"
#include "core/reminders/ReminderRules.h"
#include "core/settings/Settings.h"
#include "gui/windows/DialogLook.h"
#include "gui/windows/ToolBar.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QStatusBar>

namespace zrk {

TReminder::TReminder(ReminderHost& host, TAlertReminder& alert, QWidget* parent)
    : QMainWindow(parent), host_(host), alert_(alert) {
    setObjectName(QStringLiteral("Reminder"));
    setWindowTitle(tr("Напоминания"));
    alert_.setList(this);

    auto* toolbar = addFixedToolBar(this, "ToolBar1");
    sbAdd =
        addToolButton(toolbar, "sbAdd", tr("Добавить запись"),
                      themed("list-add", QStyle::SP_FileIcon, this), this, &TReminder::sbAddClick);
    sbDel = addToolButton(toolbar, "sbDel", tr("Удалить запись"),
                          themed("list-remove", QStyle::SP_DialogDiscardButton, this), this,
                          &TReminder::sbDelClick);
    sbProp = addToolButton(toolbar, "sbProp", tr("Свойства записи"),
                           themed("document-properties", QStyle::SP_FileDialogDetailedView, this),
                           this, &TReminder::sbPropClick);
    toolbar->addSeparator();
    sbHide = addToolButton(toolbar, "sbHide", tr("Спрятать список"),
                           themed("window-close", QStyle::SP_DialogCloseButton, this), this,
                           &TReminder::sbHideClick);

    model_ = new ReminderModel(list_, this);
    lvNotes = new QTreeView(this);
    setUpList(lvNotes, "lvNotes");
    lvNotes->setModel(model_);
    // A larger desktop font, or a language of longer words, widens the design's columns so
    // that the kind beside its picture, a date and a time fit.
    const QFontMetrics fm = lvNotes->fontMetrics();
    ReminderRecord sample = ReminderRecord::empty();
    sample.Date = toDateTimeValue(QDateTime(QDate(2000, 12, 28), QTime(0, 0)));
    sample.Time = timeValue(QTime(22, 58, 58));
    int kind = 0;
    for (const quint8 k : {quint8(ReminderByNumber), quint8(ReminderByDate)}) {
        sample.Kind = k;
        kind = qMax(kind, fm.horizontalAdvance(rowTexts(sample)[ReminderModel::ColKind]));
    }
    const int due = fm.horizontalAdvance(rowTexts(sample)[ReminderModel::ColDateTime]);
    const int number = fm.horizontalAdvance(QStringLiteral("(495) 123-45-67"));
    const int picture = lvNotes->iconSize().isValid() ? lvNotes->iconSize().width() : 16;
    const int widths[ReminderModel::ColumnCount] = {qMax(70, kind + picture + 24),
                                                    qMax(95, due + 16), qMax(60, number + 10), 150};
    for (int c = 0; c < ReminderModel::ColumnCount; ++c) lvNotes->setColumnWidth(c, widths[c]);
    lvNotes->installEventFilter(this);
    setCentralWidget(lvNotes);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    mPAdd = PopupMenu1->addAction(tr("&Добавить..."));
    mPAdd->setObjectName(QStringLiteral("mPAdd"));
    mPAdd->setShortcut(QKeySequence(Qt::Key_Insert));
    mPDel = PopupMenu1->addAction(tr("&Удалить"));
    mPDel->setObjectName(QStringLiteral("mPDel"));
    mPDel->setShortcut(QKeySequence(Qt::Key_Delete));
    PopupMenu1->addSeparator();
    mPProp = PopupMenu1->addAction(tr("&Свойства..."));
    mPProp->setObjectName(QStringLiteral("mPProp"));
    for (QAction* a : {mPAdd, mPDel}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        lvNotes->addAction(a);  // the shortcuts work in the list, menu open or not
    }
    setListPopup(lvNotes, PopupMenu1);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("stStatusBar"));
    stStatus = new QLabel(bar);
    stStatus->setObjectName(QStringLiteral("stStatus"));
    stStatus->setMinimumWidth(80);
    bar->addWidget(stStatus);
    setStatusBar(bar);

    connect(mPAdd, &QAction::triggered, this, &TReminder::sbAddClick);
    connect(mPDel, &QAction::triggered, this, &TReminder::sbDelClick);
    connect(mPProp, &QAction::triggered, this, &TReminder::sbPropClick);
    connect(lvNotes, &QTreeView::doubleClicked, this, &TReminder::sbPropClick);

    resize(qMax(387, widths[0] + widths[1] + widths[2] + widths[3] + 24), 243);
    move(229, 166);
    placement_.setColumns(lvNotes->header());
    placement_.restoreOrReport(this);
    model_->load(LoadReminders());
    connect(&saver_, &BackgroundSave::failed, this,
            [this](const FileError& error) { tellError(error.message); });
    ED();
}

TReminder::~TReminder() = default;

QStringList TReminder::bookPhones() const {
    QStringList phones;
    if (!book_) return phones;
    phones.reserve(book_->count());
    for (int i = 0; i < book_->count(); ++i) phones.append(book_->text(i, FieldPhone));
    return phones;
}

void TReminder::ItemUpdate(int row, const ReminderRecord& r, bool add) {
    if (add)
        model_->append(r);
    else if (row >= 0 && row < list_.count())
        model_->update(row, r);
}

void TReminder::ED() {
    const bool any = list_.count() > 0;
    sbDel->setEnabled(any);
    mPDel->setEnabled(any);
    // After the close has begun the list is saved as it stands: nothing restarts the timer.
    if (!closing_) host_.setReminderTimer(any || ini().PortOnOff || ini().SoundOnOff);
    // Inside a tick the raise that called this is the tick: no tick within a tick.
    if (any && !ticking_ && !closing_) tReminderTimer();
    const bool still = list_.count() > 0;
    sbProp->setEnabled(still);
    mPProp->setEnabled(still);
    stStatus->setText(tr("Записей: %n", nullptr, list_.count()));
}

void TReminder::SaveList() {
    saver_.schedule(
        [records = list_.records()](FileError* error) { return SaveReminders(records, error); });
}

void TReminder::finishSaves() {
    if (const std::optional<FileError> failure = saver_.finish()) tellError(failure->message);
}

void TReminder::tellError(const QString& text) {
    if (exitFailures_) {
        exitFailures_->append(text);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Critical, tr("Ошибка"), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("errorBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void TReminder::tReminderTimer() {
    if (ticking_ || closing_) return;
    const QScopedValueRollback guard(ticking_, true);  // released on every path
    host_.runSchedules();
    const QList<int> due = dueNow(list_, now());
    if (!due.isEmpty()) raiseRows(due);
}

bool TReminder::raiseForNumber(const QString& number) {
    if (closing_) return false;
    const QList<int> rows = dueForCall(list_, number);
    if (rows.isEmpty()) return false;
    // The rest is not due now, or the tick would have raised it. An error out of the raise
    // (a sound that cannot start) must not leave the tick switched off for the run.
    const QScopedValueRollback guard(ticking_, true);
    raiseRows(rows);
    return true;
}

void TReminder::raiseRows(const QList<int>& rows) {
    // All that are due go at once, in list order, so the first stays at the head of the
    // queue; one save, one sound, one look at the alert.
    for (int i : rows) alert_.InitForm(list_.record(i));
    model_->remove(rows);
    ED();
    SaveList();
    host_.playReminderSound(ini().ReminderSound);
    alert_.View();
    if (alert_.isMinimized()) alert_.showNormal();  // a new alert is seen, not left in the task bar
    else alert_.show();
    alert_.raise();
}

void TReminder::addPostponed(const ReminderRecord& r) {
    if (closing_) return;
    ItemUpdate(-1, r, true);
    ED();
    SaveList();
}

void TReminder::storeFromForm(const ReminderRecord& r, quint64 editing) {
    if (closing_) return;
    const int row = editing ? list_.indexOf(editing) : -1;
    if (row >= 0)
        ItemUpdate(row, r, false);
    else
        ItemUpdate(-1, r, true);
    ED();
    SaveList();
}

void TReminder::closeForExit(QStringList& failures) {
    // From here on nothing raises, ticks or edits: a question or form still open under the
    // close must not undo what is saved now.
    closing_ = true;
    const QScopedValueRollback collect(exitFailures_, &failures);
    if (alert_.isVisible()) alert_.closeForExit(failures);
    const QDateTime at = now();
    for (const ReminderRecord& r : alert_.takeAll()) model_->append(dueAgainAtOnce(r, at));
    if (isVisible()) {
        close();
    } else {
        SaveList();
        finishSaves();
    }
}

QList<int> TReminder::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& i : lvNotes->selectionModel()->selectedRows()) rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

quint64 TReminder::firstSelectedId() const {
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? 0 : list_.row(rows.first()).id;
}

void TReminder::addForNumber(const QString& number) {
    TReMind form(*this, this);
    form.setNumber(number);
    form.exec();
}

void TReminder::sbAddClick() {
    TReMind form(*this, this);
    form.exec();
}

void TReminder::sbPropClick() {
    const quint64 id = firstSelectedId();
    if (!id) return;
    TReMind form(*this, this);
    form.InitForm(list_.record(list_.indexOf(id)), id);
    form.exec();
}

void TReminder::sbDelClick() {
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty()) {
        QMessageBox box(this);
        askBeforeDelete(box,
                        rows.size() == 1 ? tr("Удалить напоминание") : tr("Удалить напоминания"),
                        rows.size() == 1 ? tr("Вы хотите удалить это напоминание?")
                                         : tr("Вы хотите удалить эти напоминания?"));
        box.setObjectName(QStringLiteral("deleteQuestion"));
        // A tick under the question may raise rows: delete the reminders asked about.
        QList<quint64> ids;
        for (int r : rows) ids.append(list_.row(r).id);
        const int answer = box.exec();
        if (closing_) return;  // the program closed under the question
        if (answer == QMessageBox::Yes) {
            QList<int> still;
            for (quint64 id : ids)
                if (const int r = list_.indexOf(id); r >= 0) still.append(r);
            std::sort(still.begin(), still.end());
            model_->remove(still);
        }
    }
    ED();
}

void TReminder::sbHideClick() {
    close();
}

void TReminder::lvNotesEnter() {
    if (list_.count() < 2 || lvNotes->selectionModel()->hasSelection()) return;
    const QModelIndex first = model_->index(0, 0);
    lvNotes->selectionModel()->setCurrentIndex(
        first, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

bool TReminder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvNotes && event->type() == QEvent::FocusIn) lvNotesEnter();
    return QMainWindow::eventFilter(watched, event);
}

void TReminder::closeEvent(QCloseEvent* event) {
    placement_.saveOrReport(this, exitFailures_);
    host_.reminderListClosed();
    SaveList();
    finishSaves();
    QMainWindow::closeEvent(event);
}

}  // namespace zrk
