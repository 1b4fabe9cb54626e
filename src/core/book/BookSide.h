#pragma once
// The book's side file ("book.phn" -> "book.ids"): who each entry is (its identity, which the
// book file has no room for) and what a sync with an address book knows of it. Written after
// the book in the same save; a crash between the two, or a book changed by another program,
// is caught when they are read: an entry whose record is not the one the side file saw is
// matched again by its phone number, so an edited entry keeps its identity.
#include "core/platform/SafeFile.h"

#include <QByteArray>
#include <QString>

namespace zrk {

class BookStore;

QString bookSideFile(const QString& bookFile);

struct BookSide {
    bool found = false;    // the book has a side file
    QByteArray syncState;  // the sync's own bytes, as it last wrote them
    QString problem;       // a damaged side file, moved aside; for the user
};

// Gives the entries of `book` the identities the side file of `bookFile` holds, and the rest
// new ones; without a side file, the entries are left without.
BookSide readBookSide(const QString& bookFile, BookStore& book);
// The image of the side file for `book` (every entry with its identity) and `syncState`.
QByteArray bookSideImage(const BookStore& book, const QByteArray& syncState);
bool writeBookSide(const QString& bookFile, const BookStore& book, const QByteArray& syncState,
                   FileError* error = nullptr);

}  // namespace zrk
