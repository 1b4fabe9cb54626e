#include "core/contacts/ImportPlan.h"

#include "core/book/BookStore.h"
#include "core/contacts/ContactText.h"
#include "core/platform/Cp1251.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace zrk::contacts {

namespace {

struct Cutter {
    ImportRow& row;
    // Stores `text` in a field of `capacity` characters, cut at a character; a text that did
    // not fit, or had characters the code page lacks, marks the row.
    // `fieldName` is named for the user only when something was cut.
    template <int N>
    void put(FixedText<N>& field, const QString& text, const char* fieldName) {
        QByteArray bytes = toCp1251(text);
        mark(row.replaced, row.replacedFields, bytes.contains('?') && fromCp1251(bytes) != text,
             fieldName);
        putBytes(field, bytes, fieldName);
    }
    template <int N>
    void putBytes(FixedText<N>& field, QByteArray bytes, const char* fieldName) {
        const bool cut = bytes.size() > N;
        if (cut) {
            bytes.truncate(N);
            // A blank the cut left at the end would not survive an export and import.
            while (bytes.endsWith(' ')) bytes.chop(1);
        }
        field.setBytes(bytes);
        mark(row.cut, row.cutFields, cut, fieldName);
    }
    static void mark(bool& flag, QStringList& fields, bool marked, const char* fieldName) {
        if (!marked) return;
        flag = true;
        const QString shown = QCoreApplication::translate("zrk::contacts::ImportPlan", fieldName);
        if (!fields.contains(shown)) fields.append(shown);
    }
};

QString oneLine(QString s) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    return s.replace(lineEnd, QStringLiteral(", "));
}

// The book keeps a note's lines apart with a carriage return alone.
QString bookNote(QString s) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n"));
    return s.replace(lineEnd, QStringLiteral("\r"));
}

QString contactName(const Contact& c) {
    if (!c.formattedName.isEmpty()) return c.formattedName;
    const QString fromN = (c.family + QLatin1Char(' ') + c.given).trimmed();
    if (!fromN.isEmpty()) return fromN;
    if (!c.organization.isEmpty()) return c.organization;
    return c.emails.value(0);
}

bool international(const QString& number) {
    const QString t = number.trimmed();
    return t.startsWith(QLatin1Char('+')) && !t.startsWith(QLatin1String("+7"));
}

}  // namespace

QByteArray dialableNumber(const QString& number) {
    const QByteArray bytes = toCp1251(number.trimmed());
    QByteArray out = DialFilter(bytes);
    out.removeIf([](char c) { return uchar(c) <= 0x20; });
    if (bytes.startsWith('+')) {
        // "+7" is the country: the long-distance "8" dials it; any other country goes out
        // through the international exit "8 10".
        if (out.startsWith('7'))
            out[0] = '8';
        else
            out.prepend("810");
    }
    return out;
}

QList<ImportRow> planImport(const QList<Contact>& contacts, const BookStore& book,
                            const ImportOptions& options) {
    QHash<QByteArray, int> inBook;
    inBook.reserve(book.count());
    // Backwards, so that the first entry in book order is the one a duplicate points at.
    for (int i = book.count() - 1; i >= 0; --i) {
        const QByteArray key = phoneKey(book.field(i, FieldPhone));
        if (!key.isEmpty()) inBook.insert(key, i);
    }
    QHash<QByteArray, int> inPlan;
    QList<ImportRow> rows;
    qsizetype phoneCount = 0;
    for (const Contact& c : contacts) phoneCount += std::max<qsizetype>(1, c.phones.size());
    rows.reserve(phoneCount);

    for (const Contact& c : contacts) {
        QList<ContactPhone> phones;  // one entry each
        QString work;
        if (c.ownCard) {
            // An entry this program wrote: its one phone and its work phone, as they were.
            ContactPhone home;
            if (c.ownPhones) {
                home.number = c.ownPhone;
                work = c.ownWorkPhone;
            } else {
                // Written before the exact numbers went along: the TEL lines as they are.
                for (const ContactPhone& p : c.phones) {
                    if (p.work && work.isEmpty())
                        work = p.number;
                    else if (!p.work && home.number.isEmpty())
                        home = p;
                }
                // An entry whose phone is its work phone was written as one TEL, typed WORK.
                if (home.number.isEmpty()) home.number = work;
            }
            phones.append(home);
        } else {
            // A "number" without a digit ("Privat") could never ring nor be dialled.
            for (const ContactPhone& p : c.phones) {
                if (!hasDigit(p.number)) continue;
                phones.append(p);
                if (p.work && work.isEmpty()) work = p.number;
            }
        }
        const QString name = contactName(c);
        const QByteArray workDialable = c.ownCard ? QByteArray() : dialableNumber(work);
        QString group = options.forcedGroup.isEmpty() ? c.categories.value(0) : options.forcedGroup;
        if (group.size() > 23) group.truncate(23);
        for (qsizetype k = 0; k < phones.size(); ++k) {
            const ContactPhone& p = phones[k];
            ImportRow row;
            row.line = c.line;
            row.groupTitle = group;
            Cutter cut{row};
            BookEntry& e = row.entry;
            QString shown = name;
            if (phones.size() > 1) {
                // Part of the entry's name in the book file: Russian, as the book's texts are.
                const QString label =
                    p.label.isEmpty() ? QStringLiteral("Телефон %1").arg(k + 1) : p.label;
                shown += QStringLiteral(" (") + label + QLatin1Char(')');
            }
            cut.put(e.Name, shown, QT_TRANSLATE_NOOP("zrk::contacts::ImportPlan", "Имя"));
            const char* const phone = QT_TRANSLATE_NOOP("zrk::contacts::ImportPlan", "Телефон");
            const char* const workPhone =
                QT_TRANSLATE_NOOP("zrk::contacts::ImportPlan", "Рабочий телефон");
            if (c.ownCard) {
                cut.put(e.Phone, p.number, phone);
                cut.put(e.WorkPhone, work, workPhone);
            } else {
                cut.putBytes(e.Phone, dialableNumber(p.number), phone);
                cut.putBytes(e.WorkPhone, workDialable, workPhone);
                row.international = international(p.number);
            }
            cut.put(e.Address, oneLine(c.addresses.value(0)),
                    QT_TRANSLATE_NOOP("zrk::contacts::ImportPlan", "Адрес"));
            cut.put(e.EMail, c.emails.value(0), "E-Mail");
            cut.put(e.Icq, c.icq, "ICQ");
            cut.put(e.HomePage, c.urls.value(0), "Home Page");
            cut.put(e.Note, bookNote(c.note),
                    QT_TRANSLATE_NOOP("zrk::contacts::ImportPlan", "Дополнительно"));
            e.Status = c.ownCard ? c.status : StatusNormal;
            e.normalize();

            const QByteArray key = phoneKey(e.Phone.bytes());
            if (!key.isEmpty()) {
                if (const auto it = inBook.constFind(key); it != inBook.constEnd())
                    row.duplicateOf = *it;
                else if (const auto r = inPlan.constFind(key); r != inPlan.constEnd())
                    row.duplicateRow = *r;
                else
                    inPlan.insert(key, int(rows.size()));
            }
            row.choice =
                row.duplicateOf >= 0 || row.duplicateRow >= 0 ? Duplicate::Skip : Duplicate::Add;
            rows.append(std::move(row));
        }
    }
    return rows;
}

ImportCounts applyImport(BookStore& book, const QList<ImportRow>& rows) {
    ImportCounts counts;
    QHash<QString, int> groups;  // title in lower case -> position
    for (int g = 1; g < book.groupCount(); ++g) {
        const QString key = book.group(g).Text.toLower();
        if (!groups.contains(key)) groups.insert(key, g);
    }
    std::vector<int> placed(size_t(rows.size()), -1);  // where each row's entry went
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const ImportRow& row = rows[r];
        if (row.choice == Duplicate::Skip) {
            ++counts.skipped;
            continue;
        }
        BookEntry e = row.entry;
        e.Group = 0;
        if (!row.groupTitle.isEmpty()) {
            const QString key = row.groupTitle.toLower();
            auto it = groups.constFind(key);
            if (it == groups.constEnd()) {
                it = groups.insert(key, book.AddGroup(BookGroup::make(row.groupTitle), true));
                ++counts.groupsMade;
            }
            e.Group = *it;
        }
        int target = -1;
        if (row.choice == Duplicate::Replace) {
            if (row.duplicateOf >= 0 && row.duplicateOf < book.count())
                target = row.duplicateOf;
            else if (row.duplicateRow >= 0 && row.duplicateRow < r)
                target = placed[size_t(row.duplicateRow)];
        }
        if (target >= 0) {
            placed[size_t(r)] = book.AddItem(e, false, target);
            ++counts.replaced;
        } else {
            placed[size_t(r)] = book.AddItem(e, true);
            ++counts.added;
        }
    }
    return counts;
}

LoadedContacts loadContactsFile(const QString& path) {
    LoadedContacts loaded;
    const QString shown = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.result.ok = false;
        loaded.result.error = QCoreApplication::translate("zrk::contacts::ImportPlan",
                                                          "Не удалось открыть файл %1: %2")
                                  .arg(shown, file.errorString());
        return loaded;
    }
    const QByteArray raw = file.readAll();
    const QString suffix = QFileInfo(path).suffix().toLower();
    bool vcard = suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard");
    if (!vcard && suffix != QLatin1String("csv"))
        vcard = decodeText(raw.left(4096), detectEncoding(raw.left(4096)))
                    .contains(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive);
    if (vcard) {
        loaded.result = readVCards(raw);
    } else {
        CsvTable table;
        QString error;
        int line = 0;
        if (readCsv(raw, &table, &error, &line)) {
            loaded.layout = detectLayout(table.header);
            loaded.result.contacts =
                contactsFromCsv(table, mappingFor(loaded.layout, table.header));
            loaded.csv = std::move(table);
        } else {
            loaded.result.ok = false;
            loaded.result.error = error;
            loaded.result.errorLine = line;
        }
    }
    if (!loaded.result.error.isEmpty())
        loaded.result.error = shown + QStringLiteral(": ") + loaded.result.error;
    return loaded;
}

ImportNotes readNotes(const ReadResult& read) {
    ImportNotes n;
    n.linesSkipped = read.linesSkipped;
    n.firstLine = read.lineError;
    for (const Contact& c : read.contacts) {
        bool number = c.ownCard;  // our own entries come back whatever their phones
        for (const ContactPhone& p : c.phones) {
            number = number || hasDigit(p.number);
            n.notNumbers += !hasDigit(p.number);
        }
        n.withoutNumber += !number;
    }
    return n;
}

QStringList notesText(ImportNotes n, const QList<ImportRow>& rows) {
    for (const ImportRow& r : rows) {
        if (r.choice == Duplicate::Skip) continue;
        n.cut += r.cut;
        n.replaced += r.replaced;
        n.international += r.international;
    }
    QStringList out;
    if (n.linesSkipped > 0)
        out << QCoreApplication::translate(
                   "zrk::contacts::ImportPlan",
                   "Пропущено строк, из которых нечего взять: %n (первая — %1)", nullptr,
                   n.linesSkipped)
                   .arg(n.firstLine);
    if (n.withoutNumber > 0)
        out << QCoreApplication::translate("zrk::contacts::ImportPlan",
                                           "Контактов без номера телефона (не добавлены): %n.",
                                           nullptr, n.withoutNumber);
    if (n.notNumbers > 0)
        out << QCoreApplication::translate(
            "zrk::contacts::ImportPlan",
            "Пропущено номеров без единой цифры (\"Privat\", \"Work\"...): %n.", nullptr,
            n.notNumbers);
    if (n.cut > 0)
        out << QCoreApplication::translate(
            "zrk::contacts::ImportPlan",
            "Тексты, не поместившиеся в поля книги, обрезаны: записей %n.", nullptr, n.cut);
    if (n.replaced > 0)
        out << QCoreApplication::translate("zrk::contacts::ImportPlan",
                                           "Буквы, которых нет в кодировке книги (Windows-1251), "
                                           "заменены на \"?\": записей %n.",
                                           nullptr, n.replaced);
    if (n.international > 0)
        out << QCoreApplication::translate("zrk::contacts::ImportPlan",
                                           "Номера других стран записаны с выходом на "
                                           "международную линию 810: записей %n.",
                                           nullptr, n.international);
    return out;
}

}  // namespace zrk::contacts
