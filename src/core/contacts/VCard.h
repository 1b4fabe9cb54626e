#pragma once
// vCard files (versions 2.1, 3.0 and 4.0) as phones and address books write them.
#include "core/contacts/Contact.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace zrk {
class BookStore;
}

namespace zrk::contacts {

struct ReadResult {
    QList<Contact> contacts;
    bool ok = true;  // false: nothing usable; error/errorLine say why
    QString error;   // "Строка 12: ..." for the user
    int errorLine = 0;
    int skipped = 0;       // cards or rows dropped as damaged (still ok)
    int linesSkipped = 0;  // lines of kept cards that said nothing usable
    QString lineError;     // the first of them, "Строка 7: ..."
};

ReadResult readVCards(QByteArrayView raw);

// The PRODID our cards carry: a card with it is read back as this program's own.
extern const char* const kProdId;

// The position of the first `sep` outside double quotes (parameter values may be quoted).
qsizetype findUnquoted(QByteArrayView s, char sep);
// A text value with its escapes undone ("\\n" a line break, "\\," a comma...).
QString unescape(const QString& v);
// The content lines with their folds undone (a line break followed by a blank or a tab).
QByteArray unfolded(QByteArrayView raw);
// A text value escaped for a content line: backslash, comma, semicolon, line breaks as "\n".
QString escapeText(const QString& s);
// Appends one content line and its CRLF, folded at 75 octets, never inside a UTF-8 sequence.
void appendFolded(QByteArray& out, QByteArrayView line);
// The card's UID of entry i: its identity, or one made from its number and name.
QString cardUid(const BookStore& book, int i);

// One vCard 3.0 card per entry at `positions` of `book`: UTF-8, CRLF, folded at 75 octets.
QByteArray writeVCards(const BookStore& book, const std::vector<int>& positions);

}  // namespace zrk::contacts
