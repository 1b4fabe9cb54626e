// vCard 3.0 out of the phone book: what a phone or a mail program reads, and what our own import
// reads back as the same book.
#include "core/contacts/VCard.h"

#include "core/book/BookStore.h"
#include "core/contacts/ContactText.h"

namespace zrk::contacts {

// Escapes a text value: backslash, comma, semicolon, and every line break as "\n".
QString escapeText(const QString& s) {
    QString out;
    out.reserve(s.size() + 8);
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(',') || c == QLatin1Char(';')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < s.size() && s[i + 1] == QLatin1Char('\n')) ++i;
            out += QLatin1String("\\n");
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            continue;  // a NUL or a tab out of an old book: no reader wants it raw
        } else {
            out += c;
        }
    }
    return out;
}

// Writes one content line folded at 75 octets, never inside a UTF-8 sequence.
void appendFolded(QByteArray& out, QByteArrayView line) {
    qsizetype start = 0, limit = 75;
    while (line.size() - start > limit) {
        qsizetype cut = start + limit;
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.data() + start, cut - start);
        out.append("\r\n ");
        start = cut;
        limit = 74;  // the blank that begins the next line counts
    }
    out.append(line.data() + start, line.size() - start);
    out.append("\r\n");
}

QString cardUid(const BookStore& book, int i) {
    QUuid id = book.idOf(i);
    if (id.isNull()) {
        // A book without its side file: the same entry gets the same identity every time.
        static const QUuid space = QUuid::fromString(u"6f1c3f0e-5d0b-4c55-9a52-7a726b70726f");
        id = QUuid::createUuidV5(space, book.field(i, FieldPhone).toByteArray() + '\n' +
                                            book.field(i, FieldName).toByteArray());
    }
    return id.toString(QUuid::WithoutBraces);
}

namespace {

void property(QByteArray& out, const QByteArray& name, const QString& value) {
    if (value.isEmpty()) return;
    appendFolded(out, name + ':' + value.toUtf8());
}

// The TEL types of a phone kind.
QByteArray typeOfKind(const QString& kind) {
    if (kind == QLatin1String("workfax")) return "WORK,FAX";
    return kind.toUpper().toLatin1();
}

}  // namespace

QByteArray writeVCards(const BookStore& book, const std::vector<int>& positions) {
    QByteArray out;
    out.reserve(qsizetype(positions.size()) * 300);
    for (int i : positions) {
        if (i < 0 || i >= book.count()) continue;
        const QString name = book.text(i, FieldName);
        const QString phone = book.text(i, FieldPhone), work = book.text(i, FieldWorkPhone);
        out.append("BEGIN:VCARD\r\nVERSION:3.0\r\n");
        out.append("PRODID:").append(kProdId).append("\r\n");
        property(out, "UID", escapeText(cardUid(book, i)));
        // FN is required: an entry without a name is shown by its number.
        const QString shownName = !name.isEmpty() ? name : !phone.isEmpty() ? phone : work;
        appendFolded(out, "FN:" + escapeText(shownName).toUtf8());
        const auto [bare, label] = nameAndLabel(name);
        const qsizetype blank = bare.indexOf(QLatin1Char(' '));
        const QString family = blank < 0 ? bare : bare.left(blank);
        const QString given = blank < 0 ? QString() : bare.mid(blank + 1);
        appendFolded(out, "N:" + (escapeText(family) + QLatin1Char(';') + escapeText(given) +
                                  QLatin1String(";;;"))
                                     .toUtf8());
        QString kind = labelKind(label);
        if (kind.isEmpty())
            kind = looksMobile(phone) ? QStringLiteral("cell") : QStringLiteral("home");
        QByteArray type = typeOfKind(kind);
        const bool sameWork = !work.isEmpty() && work == phone;
        if (sameWork && !type.contains("WORK")) type += ",WORK";
        property(out, "TEL;TYPE=" + type, escapeText(internationalNumber(phone)));
        if (!sameWork) property(out, "TEL;TYPE=WORK", escapeText(internationalNumber(work)));
        // Both exactly as the book has them, for our own import.
        property(out, "X-ZRK-PHONE", escapeText(phone));
        property(out, "X-ZRK-WORKPHONE", escapeText(work));
        property(out, "EMAIL;TYPE=INTERNET", escapeText(book.text(i, FieldEMail)));
        property(out, "URL", escapeText(book.text(i, FieldHomePage)));
        const QString address = book.text(i, FieldAddress);
        if (!address.isEmpty())
            appendFolded(out, "ADR:;;" + (escapeText(address) + QLatin1String(";;;;")).toUtf8());
        property(out, "X-ICQ", escapeText(book.text(i, FieldIcq)));
        QString note = book.text(i, FieldNote);
        const QString status = statusLine(book.status(i));
        if (!status.isEmpty()) note = note.isEmpty() ? status : note + QLatin1Char('\n') + status;
        property(out, "NOTE", escapeText(note));
        // The status exactly, for our own import: the note's line is for the phone to show.
        out.append("X-ZRK-STATUS:").append(QByteArray::number(book.status(i))).append("\r\n");
        const int g = book.groupOf(i);
        if (g > 0 && g < book.groupCount())
            property(out, "CATEGORIES", escapeText(book.group(g).Text));
        out.append("END:VCARD\r\n");
    }
    return out;
}

}  // namespace zrk::contacts
