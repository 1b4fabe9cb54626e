#pragma once
// The reminders of the run: the pending list read from "reminder.rmd", saved in the background
// after every change, and the tick that raises date reminders as they come due. What is raised
// leaves the list and comes out of `due` for the alert to show; alerts still on screen at the
// end come back through putBack. Failures are values: a background save's comes out of
// `failed`, a close's is returned.
#include "core/platform/BackgroundSave.h"
#include "core/platform/Failure.h"
#include "core/reminders/ReminderRows.h"

#include <QObject>
#include <QTimer>

namespace zrk {

class ReminderDocument : public QObject {
    Q_OBJECT
public:
    // Reads the list; nothing is raised before the first refresh().
    explicit ReminderDocument(QObject* parent = nullptr);

    const ReminderList& list() const { return rows_.list(); }
    const ReminderRows& rows() const { return rows_; }

    // The document's own 30-second timer runs while it holds date reminders.
    bool ownTimerActive() const { return timer_.isActive(); }

    // The timer follows the rows; with rows, a tick at once (a reminder for now is raised now).
    void refresh();
    // Raises every date reminder due by now's minute.
    void tick();
    // Raises the first number reminder waiting for `number`; returns whether one was.
    bool raiseForNumber(const QString& number);

    // The reminder `editing` (0: a new one) updated where it is now, or added at the end when
    // it has been raised meanwhile. Saved.
    void store(const ReminderRecord& r, quint64 editing);
    // A postponed alert back as a new row at the end. Saved.
    void addPostponed(const ReminderRecord& r);
    // The reminders of these identities that are still pending; the file follows at the
    // next save, the tick at the next refresh.
    void remove(const QList<quint64>& ids);

    // A snapshot of the list goes to the worker; saves that follow each other merge.
    void save();
    // Waits for the last save; its failure, when `failed` has not told it yet.
    Failures finishSaves();

    // From here on nothing raises, ticks or edits: the end of the run has begun.
    void stop();
    bool isClosing() const { return closing_; }
    // Alerts still on screen at the end: back as date reminders due at once.
    void putBack(const QList<ReminderRecord>& alerts);
    // The end of the run: stopped, saved once, on disk when this returns.
    Failures close();

signals:
    // Reminders raised, in list order; they have left the list.
    void due(const QList<zrk::ReminderRecord>& records);
    void failed(const zrk::Failure& failure);

private:
    void raiseRows(const QList<int>& rows);
    void followRows();

    ReminderRows rows_;
    BackgroundSave saver_;
    QTimer timer_;
    bool ticking_ = false;
    bool closing_ = false;
    bool closed_ = false;
};

}  // namespace zrk
