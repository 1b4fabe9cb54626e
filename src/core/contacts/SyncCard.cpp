#include "core/contacts/SyncCard.h"

#include "core/contacts/ContactText.h"
#include "core/contacts/ImportPlan.h"
#include "core/contacts/VCard.h"
#include "core/platform/Cp1251.h"

#include <optional>

namespace zrk::contacts {

namespace {

// One content line: "item1.TEL;TYPE=CELL" and its value, as the card has them.
struct Line {
    QByteArray head, name, value;
};

QByteArray upperName(QByteArrayView head) {
    qsizetype end = 0;
    while (end < head.size() && head[end] != ';') ++end;
    QByteArrayView name = head.first(end);
    if (const qsizetype dot = name.lastIndexOf('.'); dot >= 0) name = name.sliced(dot + 1);
    return name.toByteArray().toUpper();
}

std::vector<Line> parseLines(const QByteArray& card) {
    std::vector<Line> lines;
    for (QByteArray l : unfolded(card).split('\n')) {
        if (l.endsWith('\r')) l.chop(1);
        const qsizetype colon = findUnquoted(l, ':');
        if (colon <= 0) continue;
        lines.push_back({l.left(colon), upperName(l.first(colon)), l.mid(colon + 1)});
    }
    return lines;
}

QByteArray render(const std::vector<Line>& lines) {
    QByteArray out;
    for (const Line& l : lines) appendFolded(out, l.head + ':' + l.value);
    return out;
}

// The head of a line whose value is now written plainly: no old encoding or charset.
QByteArray plainHead(const QByteArray& head) {
    QList<QByteArray> parts = head.split(';');
    parts.removeIf([](const QByteArray& p) {
        const QByteArray u = p.toUpper();
        return u.startsWith("ENCODING=") || u.startsWith("CHARSET=") || u == "QUOTED-PRINTABLE";
    });
    return parts.join(';');
}

QByteArray numberKey(const QByteArray& value) {
    return phoneKey(dialableNumber(unescape(QString::fromUtf8(value))));
}

std::optional<size_t> find(const std::vector<Line>& lines, QByteArrayView name) {
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].name == name) return i;
    return std::nullopt;
}

// Writes `value` into line `at`, or adds `head:value` before the end, or removes the line when
// the value is empty.
void put(std::vector<Line>& lines, std::optional<size_t> at, const QByteArray& head,
         const QByteArray& value, bool empty) {
    if (at && empty) {
        lines.erase(lines.begin() + qsizetype(*at));
    } else if (at) {
        lines[*at].head = plainHead(lines[*at].head);
        lines[*at].value = value;
    } else if (!empty) {
        auto end = lines.end();
        if (!lines.empty() && lines.back().name == "END") --end;
        lines.insert(end, {head, upperName(head), value});
    }
}

QString fieldText(const BookEntry& e, BookField f) {
    const QByteArrayView bytes = bookField(e, f);
    return fromCp1251(bytes.data(), bytes.size());
}

QByteArray escaped(const QString& s) {
    return escapeText(s).toUtf8();
}

}  // namespace

QList<CardEntry> cardEntries(const QByteArray& card, const QString& group) {
    ReadResult read = readVCards(card);
    if (!read.ok || read.contacts.isEmpty()) return {};
    Contact c = read.contacts.front();
    // The status is ours to keep, on any card: a phone shows it in no other way.
    const std::vector<Line> lines = parseLines(card);
    int status = c.status;
    if (const std::optional<size_t> at = find(lines, "X-ZRK-STATUS")) {
        bool ok = false;
        const int n = lines[*at].value.trimmed().toInt(&ok);
        if (ok) status = n;
    }
    // Every number from its TEL lines: a phone that edits one leaves our copies behind. A
    // card of ours is one entry, its second number the work phone.
    c.ownPhones = false;
    ImportOptions options;
    options.forcedGroup = group;
    QList<CardEntry> entries;
    for (const ImportRow& row : planImport({c}, BookStore(), options)) {
        CardEntry e;
        e.entry = row.entry;
        e.entry.Status = status;
        if (c.ownCard) {
            // As the modem dials them, the way a number from any other card is kept.
            e.entry.Phone.setBytes(dialableNumber(row.entry.Phone.text()));
            e.entry.WorkPhone.setBytes(dialableNumber(row.entry.WorkPhone.text()));
        }
        e.groupTitle = row.groupTitle;
        e.key = phoneKey(row.entry.Phone.bytes());
        entries.append(e);
    }
    return entries;
}

QByteArray newCard(const BookStore& book, int i) {
    std::vector<Line> lines = parseLines(writeVCards(book, {i}));
    // The exact numbers are for a file read back whole; on a server a phone edits the TEL.
    std::erase_if(lines, [](const Line& l) {
        return l.name == "X-ZRK-PHONE" || l.name == "X-ZRK-WORKPHONE";
    });
    return render(lines);
}

QByteArray patchCard(const QByteArray& card, const EntryEdit& edit) {
    std::vector<Line> lines = parseLines(card);
    auto changed = [&](BookField f) { return fieldText(edit.base, f) != fieldText(edit.now, f); };
    auto text = [&](BookField f) { return fieldText(edit.now, f); };

    if (changed(FieldName)) {
        QString name = text(FieldName);
        if (!edit.soleEntry) name = nameAndLabel(name).first;
        if (name.isEmpty()) name = text(FieldPhone);
        put(lines, find(lines, "FN"), "FN", escaped(name), false);
        const qsizetype blank = name.indexOf(QLatin1Char(' '));
        const QString family = blank < 0 ? name : name.left(blank);
        const QString given = blank < 0 ? QString() : name.mid(blank + 1);
        put(lines, find(lines, "N"), "N", escaped(family) + ';' + escaped(given) + ";;;", false);
    }
    // A number is found by its digits: the card may write it any way it likes.
    auto numberLine = [&](BookField f) -> std::optional<size_t> {
        const QByteArray key = phoneKey(bookField(edit.base, f));
        if (key.isEmpty()) return std::nullopt;
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].name == "TEL" && numberKey(lines[i].value) == key) return i;
        return std::nullopt;
    };
    for (const auto& [field, head] : {std::pair{FieldPhone, QByteArray("TEL;TYPE=VOICE")},
                                      std::pair{FieldWorkPhone, QByteArray("TEL;TYPE=WORK")}}) {
        if (!changed(field)) continue;
        const QString number = text(field);
        put(lines, numberLine(field), head, escaped(internationalNumber(number)), number.isEmpty());
    }
    struct Simple {
        BookField field;
        const char* name;
        const char* head;
    };
    for (const Simple& s :
         {Simple{FieldEMail, "EMAIL", "EMAIL;TYPE=INTERNET"}, Simple{FieldHomePage, "URL", "URL"},
          Simple{FieldIcq, "X-ICQ", "X-ICQ"}}) {
        if (changed(s.field))
            put(lines, find(lines, s.name), s.head, escaped(text(s.field)),
                text(s.field).isEmpty());
    }
    if (changed(FieldAddress))
        put(lines, find(lines, "ADR"), "ADR", ";;" + escaped(text(FieldAddress)) + ";;;;",
            text(FieldAddress).isEmpty());
    if (changed(FieldNote)) {
        // The book parts a note's lines with a carriage return alone.
        QString note = text(FieldNote);
        note.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        put(lines, find(lines, "NOTE"), "NOTE", escaped(note), note.isEmpty());
    }
    if (edit.base.Status != edit.now.Status)
        put(lines, find(lines, "X-ZRK-STATUS"), "X-ZRK-STATUS", QByteArray::number(edit.now.Status),
            false);
    if (edit.baseGroup != edit.nowGroup)
        put(lines, find(lines, "CATEGORIES"), "CATEGORIES", escaped(edit.nowGroup),
            edit.nowGroup.isEmpty());
    return render(lines);
}

QByteArray dropNumber(const QByteArray& card, const QByteArray& key) {
    std::vector<Line> lines = parseLines(card);
    std::erase_if(lines,
                  [&](const Line& l) { return l.name == "TEL" && numberKey(l.value) == key; });
    return render(lines);
}

}  // namespace zrk::contacts
