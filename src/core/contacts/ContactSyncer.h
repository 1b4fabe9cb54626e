#pragma once
// When the phone book syncs with its address book: at start, every "Interval" minutes, a few
// seconds after a change in the book, and when asked. Each sync runs on a worker of its own;
// the book's thread only takes a snapshot and makes the changes the sync brings. A failure is
// said once until a sync succeeds again.
#include "core/contacts/ContactSync.h"
#include "core/platform/Failure.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>

class QThread;

namespace zrk {
class BookDocument;
}

namespace zrk::contacts {

class ContactSyncer : public QObject {
    Q_OBJECT
public:
    // Seconds from a change in the book to its sync: edits in a row go in one.
    static constexpr int kAfterChangeMs = 5000;

    explicit ContactSyncer(BookDocument& book, QObject* parent = nullptr);
    // A sync in flight is cancelled and waited for; what it did on the server stays known.
    ~ContactSyncer() override;

    // The settings read again: no address book, no sync; else the timer by "Interval".
    void configure();
    bool configured() const { return configured_; }
    // A sync now, or right after the one running.
    void syncNow();
    bool isRunning() const { return worker_ != nullptr; }

    // The file the desk's side of a conflict goes to.
    static QString conflictFile();

signals:
    // For the status line: a sync started, or how the last one ended.
    void status(const QString& text);
    void failed(const zrk::Failure& failure);
    void finished(const zrk::contacts::SyncCounts& counts);

private:
    void bookSaved();
    void done();

    BookDocument& book_;
    QTimer interval_, afterChange_;
    bool configured_ = false;
    bool again_ = false;     // asked for while one ran
    bool applying_ = false;  // the book's save is this sync's own
    QString lastFailure_;
    std::atomic<bool> cancel_{false};
    QThread* worker_ = nullptr;
    std::shared_ptr<SyncResult> result_;
};

// The summary said after a sync: what came, what went, what conflicted.
QString syncSummary(const SyncCounts& counts);

}  // namespace zrk::contacts
