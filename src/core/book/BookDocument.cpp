#include "core/book/BookDocument.h"

#include "core/platform/StartTrace.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>

namespace zrk {

BookDocument::BookDocument(Loading loading, QObject* parent) : QObject(parent) {
    connect(&saver_, &BackgroundSave::failed, this,
            [this](const FileError& error) { emit failed(fileFailure(error.message)); });
    if (loading == Loading::Now) {
        Read r = read(ini().PhoneBookFile);
        store_ = std::move(r.book);
        side_ = std::move(r.side);
        if (!side_.problem.isEmpty())
            QMetaObject::invokeMethod(
                this, [this, text = side_.problem] { emit failed(fileFailure(text)); },
                Qt::QueuedConnection);
        return;
    }
    // The file's name is taken here: the settings belong to this thread.
    loading_ = std::async(std::launch::async, [this, file = ini().PhoneBookFile] {
        Read r = read(file);
        QMetaObject::invokeMethod(this, &BookDocument::waitForBook, Qt::QueuedConnection);
        return r;
    });
}

BookDocument::Read BookDocument::read(const QString& file) {
    Read r;
    r.book.load(file);
    r.side = readBookSide(file, r.book);
    return r;
}

void BookDocument::setSyncState(const QByteArray& state) {
    side_.syncState = state;
    side_.found = true;
    store_.assignIds();  // a book with a side file has an identity for every entry
}

BookDocument::~BookDocument() {
    // The worker posts to this object until it has read the book.
    if (loading_.valid()) loading_.wait();
}

Failure BookDocument::fileFailure(const QString& text) {
    return {Failure::Kind::File, text, true,
            QCoreApplication::translate("zrk::TPhoneBook", "Ошибка")};
}

std::optional<Failure> BookDocument::takeBook() {
    try {
        Read r = loading_.get();
        store_ = std::move(r.book);
        side_ = std::move(r.side);
    } catch (...) {
        // Nothing to edit, nothing to save: the file stays as it is.
        loadFailed_ = true;
        Failure failure = failureOf(std::current_exception());
        failure.kind = Failure::Kind::File;
        return failure;
    }
    traceStart("book loaded");
    emit loaded();
    if (!side_.problem.isEmpty()) return fileFailure(side_.problem);
    return std::nullopt;
}

void BookDocument::waitForBook() {
    if (!loading_.valid()) return;
    if (const std::optional<Failure> failure = takeBook()) emit failed(*failure);
}

CallerInfo BookDocument::whoCalls(const QString& number) {
    waitForBook();
    return store_.WhoCall(number);
}

void BookDocument::save() {
    waitForBook();  // an empty book in memory must never replace the file
    if (loadFailed_) return;
    if (side_.found) store_.assignIds();
    // The side file after the book: read back with an older book, its rows still match.
    saver_.schedule([book = store_, file = ini().PhoneBookFile, side = side_.found,
                     state = side_.syncState](FileError* error) {
        return book.SaveList(file, error) && (!side || writeBookSide(file, book, state, error));
    });
    emit saving();
}

Failures BookDocument::finishSaves() {
    if (const std::optional<FileError> failure = saver_.finish())
        return {fileFailure(failure->message)};
    return {};
}

Failures BookDocument::close() {
    Failures failures;
    if (loading_.valid())
        if (const std::optional<Failure> failure = takeBook()) failures << *failure;
    return failures + finishSaves();
}

}  // namespace zrk
