#pragma once
// Phone book files made by hand from the record layout, independent of the store's structs.
#include "core/book/BookRecords.h"
#include "core/book/StoreTesting.h"

namespace zrktest {

// `texts`: name, phone, work phone, address, e-mail, ICQ, home page, note; missing ones empty.
inline QByteArray entryBytes(const QByteArrayList& texts, qint32 status = 0, qint32 group = 0,
                             char fill = '\0') {
    QByteArray r;
    int i = 0;
    for (int size : {71, 51, 51, 71, 51, 16, 71}) r += field(size, texts.value(i++), fill);
    return r + QByteArray(2, '\0') + le32(status) + le32(group) + field(134, texts.value(7), fill) +
           QByteArray(2, '\0');
}

inline QByteArray groupBytes(const QByteArray& title, const QByteArray& sound, qint32 action,
                             char fill = '\0') {
    return field(24, title, fill) + field(256, sound, fill) + le32(action);
}

inline QByteArray header(qint32 groups) {
    return QByteArray("PHN\x02", 4) + field(16, "Zrk Pro 2.01b") + le32(groups);
}

inline QByteArray legacyRecord(const QByteArray& name, const QByteArray& phone, qint32 status,
                               const QByteArray& note, int nameLengthByte = -1) {
    return field(51, name, '\0', nameLengthByte) + field(29, phone) + le32(status) +
           field(84, note);
}

// Two groups and three entries, every field used once (status 7 is unknown, and kept); `fill`
// goes after every text.
inline QByteArray sampleFile(char fill = '\0') {
    const QByteArrayList full{
        cp("Иванов"),   "12-34-56",  "555-99-99",         cp("Невский, 1"),
        "p@example.ru", "123456789", "http://example.ru", cp("звонить\rвечером")};
    return header(2) + groupBytes(cp("Друзья"), "friend.wav", 1, fill) +
           groupBytes(cp("Работа"), "", 3, fill) + entryBytes(full, 2, 1, fill) +
           entryBytes({cp("Петров"), "654321"}, 7, 2, fill) +
           entryBytes({cp("Сидоров"), "111"}, 0, 0, fill);
}

// Groups "Друзья" (1) and "Работа" (2); Анна and Вера in 1, Борис in none, Дина in 2.
inline QByteArray fourPeople() {
    return header(2) + groupBytes(cp("Друзья"), "f.wav", 1) + groupBytes(cp("Работа"), "", 0) +
           entryBytes({cp("Анна"), "111"}, 0, 1) + entryBytes({cp("Борис"), "222"}, 1, 0) +
           entryBytes({cp("Вера"), "333"}, 2, 1) + entryBytes({cp("Дина"), "444"}, 0, 2);
}

inline zrk::BookEntry entry(const QString& name, const QString& phone, qint32 status = 0,
                            qint32 group = 0) {
    zrk::BookEntry e = zrk::BookEntry::empty();
    e.Name.setText(name);
    e.Phone.setText(phone);
    e.Status = status;
    e.Group = group;
    return e;
}

}  // namespace zrktest
