#pragma once
// TReminder: the reminder list window, the pending reminders and their commands.
// The home of the pending reminders for the whole run, created hidden at start (it loads
// "reminder.rmd" then), shown and hidden from the main window. It raises what comes due into the
// alert and drives the reminder timer.
#include "core/platform/BackgroundSave.h"
#include "core/reminders/ReminderList.h"
#include "gui/settings/WindowPlacement.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class QTreeView;

namespace zrk {

class BookStore;
class ReminderHost;
class ReminderModel;
class TAlertReminder;

class TReminder : public QMainWindow {
    Q_OBJECT
public:
    // Restores its place and column widths ("Position\Reminder"), loads the reminders and
    // refreshes (ED), which starts the timer and raises what is already due.
    TReminder(ReminderHost& host, TAlertReminder& alert, QWidget* parent = nullptr);
    ~TReminder() override;

    // The phone book whose numbers the reminder form offers.
    void setBook(const BookStore* book) { book_ = book; }
    QStringList bookPhones() const;

    // Opens the reminder form modally for a reminder by `number`; OK stores it in the list.
    // The main window's "Добавить в напоминание..." and the phone book's reminder command.
    void addForNumber(const QString& number);

    // row < 0 with add: a new row at the end. Update mode copies `r` into row `row`.
    void ItemUpdate(int row, const ReminderRecord& r, bool add);
    void ED();
    // Hands the list as it is now to the worker that writes "reminder.rmd"; a failure is
    // told when it comes back.
    void SaveList();
    // Waits until the last change is on disk; a failure not told yet is told now.
    void finishSaves();

    // One tick: the schedules, then the date reminders due now.
    void tReminderTimer();
    // Raises the first number reminder waiting for `number`; returns whether one was.
    bool raiseForNumber(const QString& number);
    // A postponed alert comes back as a new row at the end.
    void addPostponed(const ReminderRecord& r);
    // What the reminder form's OK stores: the reminder `editing` (0: a new one) is updated
    // where it is now, or added at the end when it has been raised meanwhile.
    void storeFromForm(const ReminderRecord& r, quint64 editing);

    // At the end of the program: alerts still queued come back as date reminders due at
    // once, the window's place is kept and everything is saved, and on disk when this returns.
    // What fails is added to `failures`, never shown: nobody may be there to click a box.
    void closeForExit(QStringList& failures);

    const ReminderList& rows() const { return list_; }
    // The identity of the first selected row, or 0.
    quint64 firstSelectedId() const;

public slots:
    void sbAddClick();
    void sbDelClick();
    void sbPropClick();
    void sbHideClick();
    void lvNotesEnter();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    QToolButton* sbAdd;
    QToolButton* sbDel;
    QToolButton* sbProp;
    QToolButton* sbHide;
    QTreeView* lvNotes;
    QLabel* stStatus;
    QMenu* PopupMenu1;
    QAction* mPAdd;
    QAction* mPDel;
    QAction* mPProp;

private:
    QList<int> selectedRows() const;
    void raiseRows(const QList<int>& rows);
    // A box that blocks nothing (saves run under the modem's data too), or into the
    // failures of the program's end.
    void tellError(const QString& text);

    ReminderHost& host_;
    TAlertReminder& alert_;
    const BookStore* book_ = nullptr;
    ReminderList list_;
    BackgroundSave saver_;
    ReminderModel* model_;
    WindowPlacement placement_{QStringLiteral("Position\\Reminder"), true};
    bool ticking_ = false;
    bool closing_ = false;
    QStringList* exitFailures_ = nullptr;
};

}  // namespace zrk
