#include "contacts/ContactText.h"

#include "book/BookRecords.h"

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
    // The labels become part of the entries' names in the book file, in its language.
    static const Kind kinds[] = {
        {"cell", "Мобильный"},
        {"mobile", "Мобильный"},
        {"iphone", "Мобильный"},
        {"home", "Домашний"},
        {"work", "Рабочий"},
        {"business", "Рабочий"},
        {"fax", "Факс"},
        {"homefax", "Факс"},
        {"workfax", "Рабочий факс"},
        {"home fax", "Факс"},
        {"work fax", "Рабочий факс"},
        {"business fax", "Рабочий факс"},
        {"pager", "Пейджер"},
        {"car", "Автомобильный"},
        {"main", "Основной"},
        {"other", "Другой"},
        {"voice", ""},
        {"pref", ""},
        {"internet", ""},
        {"msg", ""},
        {"text", ""},
        {"video", ""},
        {"bbs", ""},
        {"modem", ""},
        {"isdn", "ISDN"},
        {"pcs", "Мобильный"},
        {"textphone", "Текстовый"},
    };
    for (const Kind& kd : kinds)
        if (k == QLatin1String(kd.name)) return QString::fromUtf8(kd.label);
    return {};
}

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
        return QLatin1Char('+') + rest;
    }
    if (digits == 11) return QLatin1String("+7") + t.mid(afterFirst);
    return t;
}

QString modemNumber(const QString& international) {
    const QString t = international.trimmed();
    if (t.startsWith(QLatin1String("+7"))) return QLatin1Char('8') + t.mid(2);
    if (t.startsWith(QLatin1Char('+'))) return QLatin1String("810") + t.mid(1);
    return t;
}

bool hasDigit(const QString& number) {
    for (const QChar c : number)
        if (c.isDigit()) return true;
    return false;
}

}  // namespace zrk::contacts
