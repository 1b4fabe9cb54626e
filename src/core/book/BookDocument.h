#pragma once
// The phone book of the run: the store, read from "Phone Book File" now or by a worker while
// the windows come up, and saved in the background after every change. Whoever needs the
// whole book (a caller's name, a change, a save) waits for the read first, so a caller in the
// book is never taken for a stranger and an empty book never replaces the file. Failures are
// values: a background save's comes out of `failed`, a close's is returned.
#include "core/book/BookSide.h"
#include "core/book/BookStore.h"
#include "core/platform/BackgroundSave.h"
#include "core/platform/Failure.h"

#include <QObject>

#include <future>
#include <optional>

namespace zrk {

class BookDocument : public QObject {
    Q_OBJECT
public:
    enum class Loading { Now, InBackground };
    explicit BookDocument(Loading loading = Loading::Now, QObject* parent = nullptr);
    ~BookDocument() override;

    // The book as it is now: empty while it is being read (see waitForBook).
    BookStore& store() { return store_; }
    const BookStore& store() const { return store_; }
    bool isLoaded() const { return !loading_.valid(); }
    // The read failed: the book in memory is empty and is never saved.
    bool loadFailed() const { return loadFailed_; }
    // Puts a book still being read in place once it is read (`loaded` then).
    void waitForBook();

    // The side file: the entries' identities and the sync's state, saved with the book once
    // it exists or a sync has set a state. A damaged side file was told through `failed`.
    const QByteArray& syncState() const { return side_.syncState; }
    void setSyncState(const QByteArray& state);

    // Who is calling: waits for the read, so a caller in the book is always found.
    CallerInfo whoCalls(const QString& number);

    // A snapshot of the book goes to the worker; saves that follow each other merge. Nothing
    // is saved while the read has failed. The change stays in memory whatever the disk says.
    void save();
    // Waits for the last save; its failure, when `failed` has not told it yet.
    Failures finishSaves();
    // The end of the run: the read and the last save done, their failures returned.
    Failures close();

signals:
    // The book read by the worker is in place (not for a read at construction), or a sync
    // with the address book has changed it: whatever shows it shows it again.
    void loaded();
    // A change is being saved.
    void saving();
    // A save, or the worker's read, failed; the book in memory is kept.
    void failed(const zrk::Failure& failure);

private:
    static Failure fileFailure(const QString& text);
    // The worker's book in place, or why not.
    std::optional<Failure> takeBook();

    struct Read {
        BookStore book;
        BookSide side;
    };
    static Read read(const QString& file);

    BookStore store_;
    BookSide side_;
    BackgroundSave saver_;
    std::future<Read> loading_;  // valid until the worker's book is in place
    bool loadFailed_ = false;
};

}  // namespace zrk
