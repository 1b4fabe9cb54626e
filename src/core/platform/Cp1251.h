#pragma once
// Windows-1251 is the code page of every text the program keeps in its files and records.
#include <QByteArray>
#include <QString>

namespace zrk {

// Every byte decodes; 0x98, unassigned in the code page, decodes to U+0098 so that it
// survives a round trip.
QString fromCp1251(const char* data, qsizetype size);
inline QString fromCp1251(const QByteArray& bytes) {
    return fromCp1251(bytes.constData(), bytes.size());
}

// A character with no code in the page becomes '?'.
QByteArray toCp1251(const QString& text);
char toCp1251(QChar c);
// Every character of `text` has a code in the page.
bool fitsCp1251(const QString& text);

}  // namespace zrk
