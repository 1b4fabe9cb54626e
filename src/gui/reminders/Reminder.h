#pragma once
// TReminder: the reminder list window, a view of the reminder document with the commands on
// its rows; shown and hidden from the main window. It plays the reminder sound of what the
// document raises.
#include "core/reminders/ReminderDocument.h"
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
    // A view of `document`, whose raised reminders `alert` shows. Restores its place and
    // column widths ("Position\Reminder") and refreshes (ED), which starts the timer and
    // raises what is already due.
    TReminder(ReminderDocument& document, ReminderHost& host, TAlertReminder& alert,
              QWidget* parent = nullptr);
    ~TReminder() override;

    ReminderDocument& document() { return document_; }

    // The phone book whose numbers the reminder form offers.
    void setBook(const BookStore* book) { book_ = book; }
    QStringList bookPhones() const;

    // Opens the reminder form modally for a reminder by `number`; OK stores it in the list.
    // The main window's "Добавить в напоминание..." and the phone book's reminder command.
    void addForNumber(const QString& number);

    // The document refreshed (the timer follows the rows, a tick at once with rows), then
    // the commands and the count.
    void ED();
    // Waits until the last change is on disk; a failure not told yet is told now.
    void finishSaves();


    // At the end of the program: alerts still queued come back as date reminders due at
    // once, the window's place is kept and everything is saved, and on disk when this returns.
    // What fails is returned, never shown: nobody may be there to click a box.
    Failures closeForExit();

    const ReminderList& rows() const { return document_.list(); }
    // The identity of the first selected row, or 0.
    quint64 firstSelectedId() const;

public slots:
    void sbAddClick();
    void sbDelClick();
    void sbPropClick();
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
    // The commands and the count, after the rows changed.
    void showCount();

    ReminderDocument& document_;
    ReminderHost& host_;
    TAlertReminder& alert_;
    const BookStore* book_ = nullptr;
    ReminderModel* model_;
    WindowPlacement placement_{QStringLiteral("Position\\Reminder"), true};
};

}  // namespace zrk
