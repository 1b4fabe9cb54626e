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
#include "gui/windows/FailurePresenter.h"
#include "gui/windows/ToolBar.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>

namespace zrk {

TReminder::TReminder(ReminderDocument& document, ReminderHost& host, TAlertReminder& alert,
                     QWidget* parent)
    : QMainWindow(parent), document_(document), host_(host), alert_(alert) {
    setObjectName(QStringLiteral("Reminder"));
    setWindowTitle(tr("Напоминания"));
    alert_.setDocument(document_);
    // What comes due sounds once, after the alert has it.
    connect(&document_, &ReminderDocument::due, this,
            [this] { host_.playReminderSound(ini().ReminderSound); });

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
                           &QWidget::close);

    model_ = new ReminderModel(document_.rows(), this);
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

    PopupMenu1 = named<QMenu>("PopupMenu1", this);
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

    auto* bar = named<QStatusBar>("stStatusBar", this);
    stStatus = addStatusPanel(bar, "stStatus", 80);
    setStatusBar(bar);

    connect(mPAdd, &QAction::triggered, this, &TReminder::sbAddClick);
    connect(mPDel, &QAction::triggered, this, &TReminder::sbDelClick);
    connect(mPProp, &QAction::triggered, this, &TReminder::sbPropClick);
    connect(lvNotes, &QTreeView::doubleClicked, this, &TReminder::sbPropClick);

    resize(qMax(387, widths[0] + widths[1] + widths[2] + widths[3] + 24), 243);
    move(229, 166);
    placement_.setColumns(lvNotes->header());
    placement_.restoreOrReport(this);
    const ReminderRows& rows = document_.rows();
    for (const auto signal : {&ReminderRows::appended, &ReminderRows::removed,
                              &ReminderRows::wasReset})
        connect(&rows, signal, this, &TReminder::showCount);
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

void TReminder::ED() {
    document_.refresh();
    showCount();
}

void TReminder::showCount() {
    const bool any = rows().count() > 0;
    for (QToolButton* b : {sbDel, sbProp}) b->setEnabled(any);
    for (QAction* a : {mPDel, mPProp}) a->setEnabled(any);
    stStatus->setText(tr("Записей: %n", nullptr, rows().count()));
}

void TReminder::finishSaves() {
    for (const Failure& f : document_.finishSaves()) FailurePresenter::instance().show(f);
}

Failures TReminder::closeForExit() {
    // From here on nothing raises, ticks or edits: a question or form still open under the
    // close must not undo what is saved now.
    document_.stop();
    Failures failures;
    if (alert_.isVisible()) failures += alert_.closeForExit();
    document_.putBack(alert_.takeAll());
    if (isVisible()) failures += placement_.closeForExit(this);
    return failures + document_.close();
}

QList<int> TReminder::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& i : lvNotes->selectionModel()->selectedRows()) rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

quint64 TReminder::firstSelectedId() const {
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? 0 : this->rows().row(rows.first()).id;
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
    form.InitForm(rows().record(rows().indexOf(id)), id);
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
        for (int r : rows) ids.append(this->rows().row(r).id);
        const int answer = box.exec();
        if (document_.isClosing()) return;  // the program closed under the question
        if (answer == QMessageBox::Yes) document_.remove(ids);
    }
    ED();
}

void TReminder::lvNotesEnter() {
    selectFirstRow(lvNotes);
}

bool TReminder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvNotes && event->type() == QEvent::FocusIn) lvNotesEnter();
    return QMainWindow::eventFilter(watched, event);
}

void TReminder::closeEvent(QCloseEvent* event) {
    host_.reminderListClosed();
    if (!placement_.closingForExit()) {
        placement_.saveOrReport(this);
        document_.save();
        finishSaves();
    }
    QMainWindow::closeEvent(event);
}

}  // namespace zrk
