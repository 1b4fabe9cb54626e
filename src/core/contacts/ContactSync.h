#pragma once
// One sync of the phone book with a CardDAV address book, both ways. The network part runs
// on a worker over a snapshot of the book; what it decided for the book comes back as changes
// that the book's thread makes, each only where the entry is still as the sync saw it.
//
// The rule, field by field, against the state both sides last agreed on: a field changed on
// one side takes that side's value; changed on both to different values, the server's wins
// and this desk's version of the entry goes to the conflicts file. A change beats a delete.
#include "core/book/BookStore.h"
#include "core/contacts/SyncState.h"
#include "core/net/DavClient.h"

#include <QList>
#include <QString>

#include <atomic>
#include <optional>

namespace zrk::contacts {

struct BookChange {
    enum class Kind { Add, Update, Remove };
    Kind kind = Kind::Add;
    QUuid id;
    BookEntry entry = BookEntry::empty();  // Add, Update: the entry, its group by title
    QString group;
    BookEntry expected = BookEntry::empty();  // Update, Remove: as the sync saw it
    QString expectedGroup;
    // Update: the base the state had before, put back when the change is not made.
    std::optional<SyncedEntry> previousBase;
};

struct SyncCounts {
    int added = 0, updated = 0, removed = 0;  // in the book
    int sent = 0, deleted = 0;                // cards written and deleted on the server
    int conflicts = 0;
};

struct SyncJob {
    BookStore book;  // a snapshot, with identities
    SyncState state;
    QString group;  // empty: the whole book
    dav::Account account;
    QString conflictFile;  // where the desk's side of a conflict is kept (vCard)
};

struct SyncResult {
    std::optional<dav::Error> error;  // the sync stopped; what it did is in state and changes
    SyncState state;
    QList<BookChange> changes;
    SyncCounts counts;
    QString conflictProblem;  // the conflicts file could not be written
    // state.save(), made on the worker; emptied when applySync changes the state.
    QByteArray savedState;
};

// On a worker: reads and writes the server, decides for the book.
SyncResult runSync(const SyncJob& job, const std::atomic<bool>* cancel = nullptr);
// On the book's thread: makes the changes; one that meets an entry changed since is left
// for the next sync. Returns whether the book changed.
bool applySync(BookStore& book, SyncResult& result);

// Whether entry `i` of `book` syncs with the group `group` (empty: every entry).
bool inSyncedGroup(const BookStore& book, int i, const QString& group);

}  // namespace zrk::contacts
