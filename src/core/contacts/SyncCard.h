#pragma once
// A card of an address book that syncs with the phone book: the entries it gives (one per
// number, as the import makes them), a new card for an entry, and an entry's edits written
// into a card with everything the book does not hold left as it was.
#include "core/book/BookStore.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace zrk::contacts {

struct CardEntry {
    BookEntry entry = BookEntry::empty();  // the group left 0: the caller places it
    QString groupTitle;                    // the card's first category, or the synced group
    QByteArray key;                        // phoneKey of the number it came from
};

// The entries of `card`; `group` non-empty puts every entry in that group. A card that
// cannot be read, or has no number, gives none.
QList<CardEntry> cardEntries(const QByteArray& card, const QString& group);

// A new vCard 3.0 card of entry `i`, its UID the entry's identity.
QByteArray newCard(const BookStore& book, int i);

struct EntryEdit {
    BookEntry base = BookEntry::empty();  // the entry as the last sync left it
    BookEntry now = BookEntry::empty();   // the entry as the book has it
    QString baseGroup, nowGroup;          // group titles ("" for none)
    bool soleEntry = true;                // the card gives only this entry
};
// `card` with every field that differs between base and now written into it; a field the desk
// did not change is not touched, so a text the book had to cut stays whole on the server.
QByteArray patchCard(const QByteArray& card, const EntryEdit& edit);
// `card` without the number whose phoneKey is `key`.
QByteArray dropNumber(const QByteArray& card, const QByteArray& key);

}  // namespace zrk::contacts
