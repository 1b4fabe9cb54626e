#include "core/contacts/ContactText.h"

#include "core/book/BookRecords.h"

#include <QCoreApplication>

#include <algorithm>

namespace zrk::contacts {

QString ownMark() {
    return QStringLiteral("Zrk Pro");
}

// Written into exported files and read back from them: the same in every language.
QString statusLine(int status) {
    if (status == StatusBad) return QStringLiteral("Статус: плохой");
    if (status == StatusPriority) return QStringLiteral("Статус: приоритетный");
    return {};
}

void takeStatusLine(Contact& c, std::optional<int> known) {
    if (known) c.status = *known;
    const qsizetype nl = c.note.lastIndexOf(QLatin1Char('\n'));
    const QString last = c.note.mid(nl + 1);
    for (int status : {int(StatusBad), int(StatusPriority)}) {
        if (last != statusLine(status) || (known && *known != status)) continue;
        c.status = status;
        c.note.truncate(nl < 0 ? 0 : nl);
        return;
    }
}

QString phoneKindLabel(const QString& kind) {
    const QString k = kind.trimmed().toLower();
    struct Kind {
        const char* name;
        const char* label;
    };
    // vCard types, Google's and Outlook's words, Apple's "_$!<Mobile>!$_" with the marks gone.
    // The labels become part of the entries' names in the book: in the language the user reads.
    static const Kind kinds[] = {
        {"cell", QT_TRANSLATE_NOOP("zrk::contacts", "Мобильный")},
        {"mobile", QT_TRANSLATE_NOOP("zrk::contacts", "Мобильный")},
        {"iphone", QT_TRANSLATE_NOOP("zrk::contacts", "Мобильный")},
        {"home", QT_TRANSLATE_NOOP("zrk::contacts", "Домашний")},
        {"work", QT_TRANSLATE_NOOP("zrk::contacts", "Рабочий")},
        {"business", QT_TRANSLATE_NOOP("zrk::contacts", "Рабочий")},
        {"fax", QT_TRANSLATE_NOOP("zrk::contacts", "Факс")},
        {"homefax", QT_TRANSLATE_NOOP("zrk::contacts", "Факс")},
        {"workfax", QT_TRANSLATE_NOOP("zrk::contacts", "Рабочий факс")},
        {"home fax", QT_TRANSLATE_NOOP("zrk::contacts", "Факс")},
        {"work fax", QT_TRANSLATE_NOOP("zrk::contacts", "Рабочий факс")},
        {"business fax", QT_TRANSLATE_NOOP("zrk::contacts", "Рабочий факс")},
        {"pager", QT_TRANSLATE_NOOP("zrk::contacts", "Пейджер")},
        {"car", QT_TRANSLATE_NOOP("zrk::contacts", "Автомобильный")},
        {"main", QT_TRANSLATE_NOOP("zrk::contacts", "Основной")},
        {"other", QT_TRANSLATE_NOOP("zrk::contacts", "Другой")},
        {"voice", ""},
        {"pref", ""},
        {"internet", ""},
        {"msg", ""},
        {"text", ""},
        {"video", ""},
        {"bbs", ""},
        {"modem", ""},
        {"isdn", QT_TRANSLATE_NOOP("zrk::contacts", "ISDN")},
        {"pcs", QT_TRANSLATE_NOOP("zrk::contacts", "Мобильный")},
        {"textphone", QT_TRANSLATE_NOOP("zrk::contacts", "Текстовый")},
    };
    for (const Kind& kd : kinds)
        if (k == QLatin1String(kd.name))
            return *kd.label ? QCoreApplication::translate("zrk::contacts", kd.label) : QString();
    return {};
}

std::pair<QString, QString> nameAndLabel(const QString& name) {
    const qsizetype open = name.lastIndexOf(QLatin1String(" ("));
    if (open <= 0 || !name.endsWith(QLatin1Char(')'))) return {name, QString()};
    return {name.left(open), name.mid(open + 2, name.size() - open - 3)};
}

QString labelKind(const QString& label) {
    if (label.isEmpty()) return {};
    const QString known = phoneKindLabel(label);
    const QString russian = known.isEmpty() ? label : known;
    for (const char* kind :
         {"cell", "home", "work", "fax", "workfax", "pager", "car", "isdn", "textphone"})
        if (russian.compare(phoneKindLabel(QLatin1String(kind)), Qt::CaseInsensitive) == 0)
            return QLatin1String(kind);
    return {};
}

bool looksMobile(const QString& phone) {
    QString digits = phone;
    digits.removeIf([](QChar c) { return !c.isDigit(); });
    return digits.size() == 11 &&
           (digits[0] == QLatin1Char('8') || digits[0] == QLatin1Char('7')) &&
           digits[1] == QLatin1Char('9');
}

namespace {

bool onlyDigits(QStringView s) {
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); });
}

// The length of the country code that `digits` begin with (ITU-T E.164: the codes are a
// prefix code of one, two or three digits).
int countryCodeLength(QStringView digits) {
    if (digits.startsWith(u'1') || digits.startsWith(u'7')) return 1;
    static const int twoDigits[] = {20, 27, 30, 31, 32, 33, 34, 36, 39, 40, 41, 43, 44, 45, 46,
                                    47, 48, 49, 51, 52, 53, 54, 55, 56, 57, 58, 60, 61, 62, 63,
                                    64, 65, 66, 81, 82, 84, 86, 90, 91, 92, 93, 94, 95, 98};
    const int* end = std::end(twoDigits);
    return std::find(std::begin(twoDigits), end, digits.left(2).toInt()) != end ? 2 : 3;
}

// "+" and the country code apart from the rest, for a number the modem's way (digits only);
// a number the user wrote with separators keeps them.
QString grouped(const QString& rest) {
    if (!onlyDigits(rest)) return QLatin1Char('+') + rest;
    const int cc = countryCodeLength(rest);
    return QLatin1Char('+') + rest.left(cc) + QLatin1Char(' ') + rest.mid(cc);
}

}  // namespace

QString internationalNumber(const QString& dialled) {
    const QString t = dialled.trimmed();
    if (!t.startsWith(QLatin1Char('8'))) return t;
    // The digits before the first letter, and where the first and the third of them end.
    int digits = 0;
    qsizetype afterFirst = 1, afterThird = -1;
    QString prefix;
    for (qsizetype i = 0; i < t.size() && !t[i].isLetter(); ++i) {
        if (!t[i].isDigit()) continue;
        if (++digits <= 3) prefix += t[i];
        if (digits == 3) afterThird = i + 1;
    }
    if (prefix == QLatin1String("810") && digits > 6) {
        QString rest = t.mid(afterThird);
        while (!rest.isEmpty() && !rest[0].isDigit() && rest[0] != QLatin1Char('('))
            rest.remove(0, 1);
        return grouped(rest);
    }
    if (digits == 11) return grouped(QLatin1Char('7') + t.mid(afterFirst));
    return t;
}

QString modemNumber(const QString& international) {
    QString t = international.trimmed();
    if (!t.startsWith(QLatin1Char('+'))) return t;
    // The blank our export put after the country code is no part of what the modem dials.
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    if (blank > 1 && onlyDigits(QStringView(t).mid(1, blank - 1)) &&
        onlyDigits(QStringView(t).mid(blank + 1)))
        t.remove(blank, 1);
    if (t.startsWith(QLatin1String("+7"))) return QLatin1Char('8') + t.mid(2);
    return QLatin1String("810") + t.mid(1);
}

bool hasDigit(const QString& number) {
    return std::any_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace zrk::contacts
