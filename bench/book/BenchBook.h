#pragma once
// The generated book of the book benchmarks: entry i and group g of a book of 100,000
// entries in 100 groups, every field a user fills in use, numbers written the way people
// write them (with dashes and brackets).
#include "core/book/BookStore.h"

#include <QString>

namespace zrk::bench {

inline constexpr int kBookEntries = 100000;
inline constexpr int kBookGroups = 100;

inline BookGroup benchGroup(int g) {
    return BookGroup::make(QStringLiteral("Группа %1").arg(g), QStringLiteral("group%1.wav").arg(g),
                           g % 4);
}

inline BookEntry benchEntry(int i) {
    BookEntry e = BookEntry::empty();
    e.Name.setText(QStringLiteral("Абонент номер %1").arg(i));
    const QString d = QStringLiteral("%1").arg(100000 + i * 7 % 900000, 6, 10, QLatin1Char('0'));
    e.Phone.setText(QStringLiteral("(812) %1-%2-%3").arg(d.left(2), d.mid(2, 2), d.mid(4)));
    e.WorkPhone.setText(QStringLiteral("555-%1").arg(i % 10000));
    e.Address.setText(QStringLiteral("ул. Садовая, д. %1, кв. %2").arg(i % 200).arg(i % 97));
    e.EMail.setText(QStringLiteral("user%1@example.ru").arg(i));
    e.Note.setText(QStringLiteral("заметка\rвторая строка"));
    e.Status = i % 3;
    e.Group = i % (kBookGroups + 1);
    return e;
}

}  // namespace zrk::bench
