#include "contacts/ContactText.h"

#include "book/BookRecords.h"

#include <QCoreApplication>

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

}  // namespace zrk::contacts
