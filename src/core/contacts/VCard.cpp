#include "core/contacts/VCard.h"

#include "core/contacts/ContactText.h"
#include "core/contacts/TextCodec.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <cctype>

namespace zrk::contacts {

const char* const kProdId = "-//Zrk Pro//Zrk Pro 2.01b//RU";

qsizetype findUnquoted(QByteArrayView s, char sep) {
    bool quoted = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '"')
            quoted = !quoted;
        else if (s[i] == sep && !quoted)
            return i;
    }
    return -1;
}

namespace {

QList<QByteArrayView> splitUnquoted(QByteArrayView s, char sep) {
    QList<QByteArrayView> parts;
    for (;;) {
        const qsizetype at = findUnquoted(s, sep);
        if (at < 0) break;
        parts.append(s.first(at));
        s = s.sliced(at + 1);
    }
    parts.append(s);
    return parts;
}

// "=XX" becomes the byte; a lone "=" that is no escape is kept as written.
QByteArray decodeQuotedPrintable(QByteArrayView s) {
    QByteArray out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '=' && i + 2 < s.size() && std::isxdigit(uchar(s[i + 1])) &&
            std::isxdigit(uchar(s[i + 2]))) {
            out.append(QByteArray::fromHex(s.sliced(i + 1, 2).toByteArray()));
            i += 2;
        } else {
            out.append(s[i]);
        }
    }
    return out;
}

// Splits a structured value at the separators that are not escaped, then unescapes each part.
QStringList splitEscaped(const QString& v, QChar sep) {
    QStringList parts;
    QString cur;
    for (qsizetype i = 0; i < v.size(); ++i) {
        const QChar c = v[i];
        if (c == QLatin1Char('\\') && i + 1 < v.size()) {
            const QChar n = v[++i];
            if (n == QLatin1Char('n') || n == QLatin1Char('N'))
                cur += QLatin1Char('\n');
            else
                cur += n;  // "\,", "\;", "\\" and whatever else a writer escaped
        } else if (c == sep) {
            parts.append(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.append(cur);
    return parts;
}

}  // namespace

QString unescape(const QString& v) {
    if (!v.contains(QLatin1Char('\\'))) return v;
    return splitEscaped(v, QChar(0)).join(QString());
}

namespace {

QString joinNonEmpty(const QStringList& parts, const QString& sep) {
    QStringList kept;
    for (const QString& p : parts)
        if (!p.trimmed().isEmpty()) kept.append(p.trimmed());
    return kept.join(sep);
}

bool sameNoCase(QByteArrayView a, const char* b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool containsNoCase(QByteArrayView s, const char* what) {
    return QLatin1StringView(s).contains(QLatin1StringView(what), Qt::CaseInsensitive);
}

// The properties a contact is made of; the rest (VERSION, PHOTO, REV, X-...) is skipped.
bool wanted(QByteArrayView name) {
    for (const char* n :
         {"FN", "N", "TEL", "EMAIL", "URL", "ADR", "ORG", "NOTE", "CATEGORIES", "X-ICQ",
          "X-ABLABEL", "X-ZRK-STATUS", "X-ZRK-PHONE", "X-ZRK-WORKPHONE", "PRODID"})
        if (sameNoCase(name, n)) return true;
    return false;
}

struct Property {
    QByteArray group;         // "item1" of "item1.TEL"
    QByteArray name;          // upper case
    QList<QByteArray> types;  // upper case, from TYPE= and 2.1's bare parameters
    QByteArray encoding, charset, valueType;
    bool pref = false;
};

Property parseName(QByteArrayView head) {
    Property p;
    const QList<QByteArrayView> parts = splitUnquoted(head, ';');
    QByteArrayView name = parts[0].trimmed();
    if (const qsizetype dot = name.lastIndexOf('.'); dot >= 0) {
        p.group = name.first(dot).toByteArray().toLower();
        name = name.sliced(dot + 1);
    }
    p.name = name.toByteArray().toUpper();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArrayView param = parts[i].trimmed();
        const qsizetype eq = param.indexOf('=');
        const QByteArray key =
            (eq < 0 ? QByteArrayView() : param.first(eq)).toByteArray().toUpper();
        QByteArray value = (eq < 0 ? param : param.sliced(eq + 1)).toByteArray();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        if (key == "ENCODING") {
            p.encoding = value.toUpper();
        } else if (key == "CHARSET") {
            p.charset = value;
        } else if (key == "VALUE") {
            p.valueType = value.toUpper();
        } else if (key == "PREF") {
            p.pref = true;
        } else if (key == "TYPE" || key.isEmpty()) {
            for (const QByteArray& t : value.split(',')) {
                const QByteArray type = t.trimmed().toUpper();
                if (type == "QUOTED-PRINTABLE" || type == "BASE64" || type == "8BIT" ||
                    type == "7BIT")
                    p.encoding = type;
                else if (type == "PREF")
                    p.pref = true;
                else if (!type.isEmpty())
                    p.types.append(t.trimmed());
            }
        }
    }
    return p;
}

bool hasType(const Property& p, const char* type) {
    return std::any_of(p.types.begin(), p.types.end(),
                       [&](const QByteArray& t) { return sameNoCase(t, type); });
}

// The label a phone's kinds give it: a custom "X-..." kind as written, else the first
// standard kind we name.
QString labelOfTypes(const Property& p) {
    QString fax;
    for (const QByteArray& t : p.types) {
        if (t.size() > 2 && t.first(2).toUpper() == "X-") {
            const QByteArray custom = t.mid(2);
            return decodeText(custom, detectEncoding(custom));
        }
        if (t.toUpper() == "FAX") fax = phoneKindLabel(QStringLiteral("fax"));
    }
    if (!fax.isEmpty()) return hasType(p, "WORK") ? phoneKindLabel(QStringLiteral("workfax")) : fax;
    for (const char* kind :
         {"CELL", "PAGER", "CAR", "WORK", "HOME", "MAIN", "ISDN", "PCS", "TEXTPHONE", "OTHER"})
        if (hasType(p, kind)) return phoneKindLabel(QString::fromLatin1(kind));
    return {};
}

// Apple writes its standard labels as "_$!<Mobile>!$_".
QString labelOfAbLabel(const QString& v) {
    if (v.startsWith(QLatin1String("_$!<")) && v.endsWith(QLatin1String(">!$_"))) {
        const QString kind = v.mid(4, v.size() - 8);
        const QString known = phoneKindLabel(kind);
        return known.isEmpty() ? kind : known;
    }
    return v;
}

// The file with its folds taken out, for the encoding's test only: folding is by octets, and
// a fold may fall inside a UTF-8 letter.
}  // namespace

QByteArray unfolded(QByteArrayView raw) {
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' || raw[i] == '\n') {
            qsizetype next = i;
            while (next < raw.size() && (raw[next] == '\r' || raw[next] == '\n')) ++next;
            if (next < raw.size() && (raw[next] == ' ' || raw[next] == '\t')) {
                i = next;
                continue;
            }
        }
        out.append(raw[i]);
    }
    return out;
}

namespace {

bool base64Line(QByteArrayView line) {
    for (char c : line)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '/' && c != '=' &&
            c != ' ' && c != '\t')
            return false;
    return true;
}

class Reader {
public:
    explicit Reader(QByteArrayView raw) {
        enc_ = detectEncoding(raw);
        if (enc_ == Encoding::Cp1251 && detectEncoding(unfolded(raw)) == Encoding::Utf8)
            enc_ = Encoding::Utf8;
        if (enc_ == Encoding::Utf16LE || enc_ == Encoding::Utf16BE) {
            holder_ = decodeText(raw, enc_).toUtf8();
            data_ = holder_;
            enc_ = Encoding::Utf8;
        } else {
            data_ = raw;
            if (enc_ == Encoding::Utf8Bom) data_ = raw.sliced(3);
        }
    }

    ReadResult run() {
        // The logical line: a view of the file, copied only when folded.
        QByteArrayView logical;
        QByteArray joined;
        bool isJoined = false;
        auto join = [&] {
            if (!isJoined) joined = logical.toByteArray();
            isJoined = true;
        };
        auto current = [&] { return isJoined ? QByteArrayView(joined) : logical; };
        int logicalLine = 0;
        bool qp = false, base64 = false;
        qsizetype pos = 0;
        int lineNo = 0;
        while (pos < data_.size()) {
            qsizetype end = pos;
            while (end < data_.size() && data_[end] != '\n' && data_[end] != '\r') ++end;
            const QByteArrayView line = data_.sliced(pos, end - pos);
            ++lineNo;
            // CR LF, and the CR CR LF of some phones' exports, end one line.
            qsizetype lf = end;
            while (lf < data_.size() && data_[lf] == '\r') ++lf;
            if (lf < data_.size() && data_[lf] == '\n') end = lf;
            pos = end + 1;

            const bool folded =
                !current().isEmpty() && !line.isEmpty() && (line[0] == ' ' || line[0] == '\t');
            if (qp && current().endsWith('=')) {
                // A quoted-printable soft line break; some phones also fold the next line,
                // and its leading blank is then the fold's, not the text's.
                join();
                joined.chop(1);
                joined.append(folded ? line.sliced(1) : line);
                continue;
            }
            if (folded) {
                join();
                joined.append(line.sliced(1));
                continue;
            }
            // vCard 2.1 goes on with a base64 value on lines of their own, up to an empty one.
            if (base64) {
                if (line.isEmpty()) base64 = false;
                if (line.isEmpty() || base64Line(line)) continue;
            }
            if (!current().isEmpty()) handle(current(), logicalLine);
            logical = line;
            isJoined = false;
            logicalLine = lineNo;
            const qsizetype colon = findUnquoted(line, ':');
            qp = colon > 0 && containsNoCase(line.first(colon), "QUOTED-PRINTABLE");
            base64 = colon > 0 && (containsNoCase(line.first(colon), "BASE64") ||
                                   containsNoCase(line.first(colon), "ENCODING=B"));
        }
        if (!current().isEmpty()) handle(current(), logicalLine);
        if (inCard_)
            damage(cardLine_, QCoreApplication::translate("zrk::contacts::VCard",
                                                          "карточка не закончена (нет END:VCARD)"));

        if (!sawCard_) {
            result_.ok = false;
            result_.errorLine = 1;
            result_.error = QCoreApplication::translate(
                "zrk::contacts::VCard", "Строка 1: это не файл vCard (нет строки BEGIN:VCARD).");
        } else if (result_.contacts.isEmpty() && result_.skipped > 0) {
            result_.ok = false;
        }
        return std::move(result_);
    }

private:
    static QString atLine(int line, const QString& why) {
        return QCoreApplication::translate("zrk::contacts::VCard", "Строка %1: %2.")
            .arg(line)
            .arg(why);
    }

    void damage(int line, const QString& why) {
        ++result_.skipped;
        inCard_ = false;
        if (result_.errorLine == 0) {
            result_.errorLine = line;
            result_.error = atLine(line, why);
        }
    }

    QString text(const Property& p, QByteArrayView value) const {
        if (p.encoding == "QUOTED-PRINTABLE") {
            const QByteArray bytes = decodeQuotedPrintable(value);
            return p.charset.isEmpty() ? decodeText(bytes, detectEncoding(bytes))
                                       : decodeCharset(bytes, p.charset);
        }
        if (!p.charset.isEmpty()) return decodeCharset(value, p.charset);
        return decodeText(value, enc_);
    }

    void handle(QByteArrayView line, int lineNo) {
        if (line.trimmed().isEmpty()) return;
        const qsizetype colon = findUnquoted(line, ':');
        if (colon < 0) {
            // A bare "FN" or a stray piece of a value: the line is lost, not the card.
            if (inCard_ && depth_ == 0) {
                if (result_.linesSkipped++ == 0)
                    result_.lineError = atLine(lineNo, QCoreApplication::translate(
                                                           "zrk::contacts::VCard",
                                                           "строка без двоеточия внутри карточки"));
            }
            return;
        }
        const QByteArrayView head = line.first(colon);
        const QByteArrayView value = line.sliced(colon + 1);
        const qsizetype semi = head.indexOf(';');
        const QByteArrayView bare = (semi < 0 ? head : head.first(semi)).trimmed();
        if (sameNoCase(bare, "BEGIN")) {
            if (!sameNoCase(value.trimmed(), "VCARD")) return;
            sawCard_ = true;
            if (inCard_) {
                ++depth_;  // 2.1's AGENT: a card inside a card, skipped
                return;
            }
            inCard_ = true;
            depth_ = 0;
            cardLine_ = lineNo;
            card_ = Contact();
            card_.line = lineNo;
            phoneGroups_.clear();
            labels_.clear();
            ownStatus_.reset();
            return;
        }
        if (!inCard_) return;
        if (sameNoCase(bare, "END")) {
            if (depth_ > 0) {
                --depth_;
                return;
            }
            finishCard();
            return;
        }
        if (depth_ > 0) return;
        // Most lines of a big file are of kinds we skip: the name decides before any parsing.
        const qsizetype dot = bare.lastIndexOf('.');
        if (!wanted(dot < 0 ? bare : bare.sliced(dot + 1))) return;

        const Property p = parseName(head);
        if (p.encoding == "BASE64" || p.encoding == "B") return;  // photos, sounds, keys
        const QByteArray& n = p.name;
        if (n == "FN") {
            card_.formattedName = unescape(text(p, value)).trimmed();
        } else if (n == "N") {
            const QStringList parts = splitEscaped(text(p, value), QLatin1Char(';'));
            card_.family = parts.value(0).trimmed();
            card_.given = joinNonEmpty({parts.value(1), parts.value(2)}, QStringLiteral(" "));
        } else if (n == "TEL") {
            ContactPhone phone;
            QString number = unescape(text(p, value)).trimmed();
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) {
                number = number.mid(4);
                // RFC 3966 parameters (";ext=", ";phone-context=") are no part of what to dial.
                if (const qsizetype semi = number.indexOf(QLatin1Char(';')); semi >= 0)
                    number.truncate(semi);
            }
            phone.number = number;
            phone.work = hasType(p, "WORK");
            phone.preferred = p.pref;
            phone.label = labelOfTypes(p);
            if (phone.number.isEmpty()) return;
            card_.phones.append(phone);
            phoneGroups_.append(p.group);
        } else if (n == "EMAIL") {
            appendNonEmpty(card_.emails, unescape(text(p, value)).trimmed());
        } else if (n == "URL") {
            appendNonEmpty(card_.urls, unescape(text(p, value)).trimmed());
        } else if (n == "ADR") {
            const QStringList c = splitEscaped(text(p, value), QLatin1Char(';'));
            // street, extended, locality, region, code, country, then the post box
            appendNonEmpty(card_.addresses,
                           joinNonEmpty({c.value(2), c.value(1), c.value(3), c.value(4), c.value(5),
                                         c.value(6), c.value(0)},
                                        QStringLiteral(", ")));
        } else if (n == "ORG") {
            card_.organization =
                joinNonEmpty(splitEscaped(text(p, value), QLatin1Char(';')), QStringLiteral(", "));
        } else if (n == "NOTE") {
            const QString note = unescape(text(p, value));
            card_.note = card_.note.isEmpty() ? note : card_.note + QLatin1Char('\n') + note;
        } else if (n == "CATEGORIES") {
            for (const QString& c : splitEscaped(text(p, value), QLatin1Char(',')))
                appendNonEmpty(card_.categories, c.trimmed());
        } else if (n == "X-ICQ") {
            if (card_.icq.isEmpty()) card_.icq = unescape(text(p, value)).trimmed();
        } else if (n == "X-ABLABEL") {
            if (!p.group.isEmpty())
                labels_.insert(p.group, labelOfAbLabel(unescape(text(p, value)).trimmed()));
        } else if (n == "X-ZRK-STATUS") {
            bool ok = false;
            const int status = value.trimmed().toByteArray().toInt(&ok);
            if (ok) ownStatus_ = status;
        } else if (n == "X-ZRK-PHONE" || n == "X-ZRK-WORKPHONE") {
            (n == "X-ZRK-PHONE" ? card_.ownPhone : card_.ownWorkPhone) = unescape(text(p, value));
            card_.ownPhones = true;
        } else if (n == "PRODID") {
            if (value.trimmed() == QByteArrayView(kProdId)) card_.ownCard = true;
        }
    }

    static void appendNonEmpty(QStringList& list, const QString& s) {
        if (!s.isEmpty()) list.append(s);
    }

    void finishCard() {
        inCard_ = false;
        for (qsizetype i = 0; i < card_.phones.size(); ++i) {
            const QByteArray& g = phoneGroups_[i];
            if (g.isEmpty()) continue;
            const auto it = labels_.constFind(g);
            if (it != labels_.constEnd() && !it->isEmpty()) card_.phones[i].label = *it;
        }
        if (card_.ownCard) takeStatusLine(card_, ownStatus_);
        result_.contacts.append(std::move(card_));
        card_ = Contact();
    }

    QByteArrayView data_;
    QByteArray holder_;
    Encoding enc_ = Encoding::Utf8;
    ReadResult result_;
    Contact card_;
    QList<QByteArray> phoneGroups_;
    QHash<QByteArray, QString> labels_;
    std::optional<int> ownStatus_;
    bool inCard_ = false, sawCard_ = false;
    int depth_ = 0, cardLine_ = 0;
};

}  // namespace

ReadResult readVCards(QByteArrayView raw) {
    return Reader(raw).run();
}

}  // namespace zrk::contacts
