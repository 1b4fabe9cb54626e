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

}  // namespace zrk::contacts
