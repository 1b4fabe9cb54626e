#pragma once
// A generated phone book for the start and call benchmarks: `entries` entries in 100 groups,
// written the way people write numbers. Entry i has the number DD-DD-DD made of
// 100000 + i * 7 % 900000, so that callers can be picked from the book by position (a
// caller reported as those six digits is found).
#include "core/book/BookStore.h"

#include <QString>

namespace zrk::bench {

inline QString generatedDigits(int i) {
    return QStringLiteral("%1").arg(100000 + i * 7 % 900000, 6, 10, QLatin1Char('0'));
}

inline QString generatedName(int i) {
    return QStringLiteral("Абонент номер %1").arg(i);
}

inline void fillGeneratedBook(BookStore& book, int entries) {
    for (int g = 1; g <= 100; ++g)
        book.AddGroup(BookGroup::make(QStringLiteral("Группа %1").arg(g), QString(), 0), true);
    for (int i = 0; i < entries; ++i) {
        BookEntry e = BookEntry::empty();
        e.Name.setText(generatedName(i));
        const QString d = generatedDigits(i);
        e.Phone.setText(QStringLiteral("%1-%2-%3").arg(d.left(2), d.mid(2, 2), d.mid(4)));
        e.Address.setText(QStringLiteral("ул. Садовая, д. %1, кв. %2").arg(i % 200).arg(i % 97));
        e.Note.setText(QStringLiteral("заметка"));
        e.Status = 0;
        e.Group = i % 101;
        book.AddItem(e, true);
    }
}

}  // namespace zrk::bench
