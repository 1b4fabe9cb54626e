#include "core/book/BookDocument.h"

#include "core/platform/StartTrace.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>

namespace zrk {

BookDocument::BookDocument(Loading loading, QObject* parent) : QObject(parent) {
    connect(&saver_, &BackgroundSave::failed, this,
            [this](const FileError& error) { emit failed(fileFailure(error.message)); });
    if (loading == Loading::Now) {
        store_.load();
        return;
    }
    // The file's name is taken here: the settings belong to this thread.
    loading_ = std::async(std::launch::async, [this, file = ini().PhoneBookFile] {
        BookStore book;
        book.load(file);
        QMetaObject::invokeMethod(this, &BookDocument::waitForBook, Qt::QueuedConnection);
        return book;
    });
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
        store_ = loading_.get();
    } catch (...) {
        // Nothing to edit, nothing to save: the file stays as it is.
        loadFailed_ = true;
        Failure failure = failureOf(std::current_exception());
        failure.kind = Failure::Kind::File;
        return failure;
    }
    traceStart("book loaded");
    emit loaded();
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
    saver_.schedule([book = store_, file = ini().PhoneBookFile](FileError* error) {
        return book.SaveList(file, error);
    });
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
