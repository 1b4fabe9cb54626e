#pragma once
// What a sync with an address book remembers between runs, kept in the book's side file: the
// address book and its sync token, and for every card the entries it gave and the entries as
// they were when the two sides last agreed (the base a change on either side is told from).
#include "core/book/BookRecords.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUuid>

namespace zrk::contacts {

struct SyncedEntry {
    QUuid id;                             // the book entry's identity
    QByteArray key;                       // phoneKey of the card's number it came from
    BookEntry base = BookEntry::empty();  // the entry as both sides last agreed
    QString baseGroup;                    // its group title then
};

struct SyncedCard {
    QString href;
    QByteArray etag;
    QByteArray card;  // as last read or written
    QList<SyncedEntry> entries;
};

struct SyncState {
    QString account;       // the URL the settings gave when it was found
    QString addressBook;   // the collection's URL
    bool canSync = false;  // it offers sync-collection
    QString group;         // the synced group; empty: the whole book
    QByteArray token;      // sync-collection; empty: list every card
    QList<SyncedCard> cards;

    QByteArray save() const;
    // Empty or damaged bytes give an empty state: the next sync matches by number.
    static SyncState load(const QByteArray& bytes);
};

}  // namespace zrk::contacts
