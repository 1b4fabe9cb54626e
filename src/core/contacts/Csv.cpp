#include "core/contacts/Csv.h"

#include "core/book/BookStore.h"
#include "core/contacts/ContactText.h"

#include <QCoreApplication>

#include <algorithm>

namespace zrk::contacts {

namespace {

// The separator of the header line: the one of ',' and ';' that occurs more outside quotes.
QChar detectSeparator(const QString& text) {
    int commas = 0, semicolons = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

bool isBlankRecord(const QStringList& r) {
    return std::all_of(r.begin(), r.end(), [](const QString& f) { return f.trimmed().isEmpty(); });
}

int columnOf(const QStringList& header, QByteArrayView name) {
    const QString wanted = QString::fromUtf8(name);
    for (qsizetype i = 0; i < header.size(); ++i)
        if (header[i].compare(wanted, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

int firstColumn(const QStringList& header, std::initializer_list<QByteArrayView> names) {
    for (QByteArrayView n : names)
        if (const int c = columnOf(header, n); c >= 0) return c;
    return -1;
}

void addIf(QList<int>& list, int column) {
    if (column >= 0) list.append(column);
}

// Google writes several values in one field as "a ::: b"; a leading "* " marks the primary
// one or a system group.
QStringList googleValues(const QString& field) {
    QStringList out = field.split(QLatin1String(":::"));
    for (QString& v : out) v = v.trimmed();
    out.removeAll(QString());
    return out;
}

QString withoutStar(const QString& s) {
    return s.startsWith(QLatin1String("* ")) ? s.mid(2).trimmed() : s;
}

void mapGoogle(const QStringList& h, CsvMapping& m) {
    m.name = columnOf(h, "Name");
    m.given = firstColumn(h, {"Given Name", "First Name"});
    m.family = firstColumn(h, {"Family Name", "Last Name"});
    m.organization = firstColumn(h, {"Organization 1 - Name", "Organization Name"});
    m.note = columnOf(h, "Notes");
    m.categories = firstColumn(h, {"Group Membership", "Labels"});
    for (int n = 1; n <= 9; ++n) {
        const QByteArray p = QByteArray::number(n);
        addIf(m.emails, columnOf(h, "E-mail " + p + " - Value"));
        addIf(m.urls, columnOf(h, "Website " + p + " - Value"));
        if (const int v = columnOf(h, "Phone " + p + " - Value"); v >= 0) {
            CsvMapping::PhoneColumn pc;
            pc.column = v;
            pc.labelColumn = firstColumn(h, {"Phone " + p + " - Type", "Phone " + p + " - Label"});
            m.phones.append(pc);
        }
        const int service = columnOf(h, "IM " + p + " - Service");
        const int value = columnOf(h, "IM " + p + " - Value");
        if (value >= 0) m.ims.append({service, value});
    }
    addIf(m.addresses, columnOf(h, "Address 1 - Formatted"));
    m.ownMark = firstColumn(h, {"Custom Field 1 - Type", "Custom Field 1 - Label"});
    m.ownStatus = columnOf(h, "Custom Field 1 - Value");
}

void addPhone(const QStringList& h, CsvMapping& m, const char* column, const char* kind,
              bool work = false) {
    const int c = columnOf(h, column);
    if (c < 0) return;
    CsvMapping::PhoneColumn pc;
    pc.column = c;
    pc.label = phoneKindLabel(QString::fromLatin1(kind));
    pc.work = work;
    m.phones.append(pc);
}

// What a column's title (in lower case) says it holds.
bool phoneTitle(const QString& t) {
    auto has = [&t](const char* w) { return t.contains(QString::fromUtf8(w)); };
    if (has("phonetic") || has("type") || has("label") || has("тип") || has("telex")) return false;
    return has("phone") || has("телефон") || has("tel") || has("mobile") || has("мобильн") ||
           has("fax") || has("факс") || has("pager") || has("пейджер");
}
bool workTitle(const QString& t) {
    auto has = [&t](const char* w) { return t.contains(QString::fromUtf8(w)); };
    return has("work") || has("business") || has("рабоч") || has("раб.");
}

CsvMapping::PhoneColumn titledPhone(const QStringList& h, qsizetype i) {
    CsvMapping::PhoneColumn pc;
    pc.column = int(i);
    pc.label = h[i].trimmed();
    pc.work = workTitle(pc.label.toLower());
    return pc;
}

// The phone columns of a known layout that its table leaves out ("Home Mobile", "Assistant's
// Phone", "Радиотелефон"): the header's title is their label.
void addOtherPhones(const QStringList& h, CsvMapping& m) {
    for (qsizetype i = 0; i < h.size(); ++i) {
        const QString t = h[i].trimmed().toLower();
        bool mapped = false;
        for (const CsvMapping::PhoneColumn& pc : m.phones)
            mapped = mapped || pc.column == i || pc.labelColumn == i;
        if (!mapped && phoneTitle(t)) m.phones.append(titledPhone(h, i));
    }
}

void mapOutlook(const QStringList& h, CsvMapping& m) {
    // Outlook in English, or in Russian: "Имя";"Отчество";"Фамилия";"Мобильный телефон".
    m.name = firstColumn(h, {"Name", "Full Name", "Display Name"});
    m.given = firstColumn(h, {"First Name", "Имя"});
    m.middle = firstColumn(h, {"Middle Name", "Отчество"});
    m.family = firstColumn(h, {"Last Name", "Фамилия"});
    m.organization = firstColumn(h, {"Company", "Организация"});
    m.note = firstColumn(h, {"Notes", "Заметки"});
    m.categories = firstColumn(h, {"Categories", "Категории"});
    for (const char* c : {"E-mail Address", "E-mail 2 Address", "E-mail 3 Address",
                          "Адрес эл. почты", "Адрес 2 эл. почты", "Адрес 3 эл. почты"})
        addIf(m.emails, columnOf(h, c));
    addIf(m.urls, columnOf(h, "Web Page"));
    for (const char* c :
         {"Home Street", "Home City", "Home State", "Home Postal Code", "Home Country/Region"})
        addIf(m.addresses, columnOf(h, c));
    addPhone(h, m, "Mobile Phone", "mobile");
    addPhone(h, m, "Home Phone", "home");
    addPhone(h, m, "Home Phone 2", "home");
    addPhone(h, m, "Business Phone", "work", true);
    addPhone(h, m, "Business Phone 2", "work", true);
    addPhone(h, m, "Company Main Phone", "work", true);
    addPhone(h, m, "Primary Phone", "main");
    addPhone(h, m, "Other Phone", "other");
    addPhone(h, m, "Car Phone", "car");
    addPhone(h, m, "Pager", "pager");
    addPhone(h, m, "Home Fax", "fax");
    addPhone(h, m, "Business Fax", "workfax");
    addOtherPhones(h, m);
}

void mapThunderbird(const QStringList& h, CsvMapping& m) {
    m.name = columnOf(h, "Display Name");
    m.given = columnOf(h, "First Name");
    m.family = columnOf(h, "Last Name");
    m.organization = columnOf(h, "Organization");
    m.note = columnOf(h, "Notes");
    addIf(m.emails, columnOf(h, "Primary Email"));
    addIf(m.emails, columnOf(h, "Secondary Email"));
    addIf(m.urls, columnOf(h, "Web Page 1"));
    addIf(m.urls, columnOf(h, "Web Page 2"));
    for (const char* c : {"Home Address", "Home Address 2", "Home City", "Home State",
                          "Home ZipCode", "Home Country"})
        addIf(m.addresses, columnOf(h, c));
    addPhone(h, m, "Mobile Number", "mobile");
    addPhone(h, m, "Home Phone", "home");
    addPhone(h, m, "Work Phone", "work", true);
    addPhone(h, m, "Fax Number", "fax");
    addPhone(h, m, "Pager Number", "pager");
    addOtherPhones(h, m);
}

// A header nobody told us about: the columns whose titles say what they hold.
void guessColumns(const QStringList& h, CsvMapping& m) {
    for (qsizetype i = 0; i < h.size(); ++i) {
        const QString t = h[i].trimmed().toLower();
        const int c = int(i);
        auto has = [&t](const char* w) { return t.contains(QString::fromUtf8(w)); };
        if (phoneTitle(t)) {
            m.phones.append(titledPhone(h, i));
        } else if (has("mail") || has("почт")) {
            m.emails.append(c);
        } else if (has("фамилия") || has("family") || has("last name") || has("surname")) {
            if (m.family < 0) m.family = c;
        } else if (has("отчество") || has("middle")) {
            if (m.middle < 0) m.middle = c;
        } else if (has("first") || has("given") || t == QString::fromUtf8("имя")) {
            if (m.given < 0) m.given = c;
        } else if (has("name") || has("фио") || has("имя") || has("назв")) {
            if (m.name < 0) m.name = c;
        } else if (has("note") || has("примеч") || has("заметк") || has("коммент")) {
            if (m.note < 0) m.note = c;
        } else if (has("address") || has("адрес")) {
            m.addresses.append(c);
        } else if (has("web") || has("url") || has("сайт")) {
            m.urls.append(c);
        } else if (has("compan") || has("organi") || has("организ") || has("компан")) {
            if (m.organization < 0) m.organization = c;
        } else if (has("group") || has("categor") || has("групп") || has("категор")) {
            if (m.categories < 0) m.categories = c;
        }
    }
}

QString cell(const QStringList& row, int column) {
    return column >= 0 && column < row.size() ? row[column].trimmed() : QString();
}

// RFC 4180: a field is quoted when it holds the separator, a quote, a line break, or blanks
// at either end; quotes inside are doubled.
void appendField(QByteArray& out, QString field) {
    field.removeIf([](QChar c) {
        return (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\r')) ||
               c.unicode() == 0x7F;
    });
    const bool quote = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                       field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')) ||
                       field != field.trimmed();
    if (!quote) {
        out.append(field.toUtf8());
        return;
    }
    QString f = field;
    f.replace(QLatin1Char('"'), QLatin1String("\"\""));
    out.append('"').append(f.toUtf8()).append('"');
}

// Google's word for the kind of the entry's phone: by the label after its name, else by the
// number; a label of the user's own as it is.
QString googleType(const QString& label, const QString& phone) {
    QString kind = labelKind(label);
    if (kind.isEmpty() && !label.isEmpty()) return label;
    if (kind.isEmpty()) kind = looksMobile(phone) ? QStringLiteral("cell") : QStringLiteral("home");
    static const char* const words[][2] = {{"cell", "Mobile"},      {"home", "Home"},
                                           {"work", "Work"},        {"fax", "Home Fax"},
                                           {"workfax", "Work Fax"}, {"pager", "Pager"}};
    for (const auto& w : words)
        if (kind == QLatin1String(w[0])) return QLatin1String(w[1]);
    return label;  // "Автомобильный", "ISDN": kinds Google has no word for
}

}  // namespace

bool readCsv(QByteArrayView raw, CsvTable* out, QString* error, int* errorLine,
             std::optional<Encoding> forced) {
    const Encoding enc = forced ? *forced : detectEncoding(raw);
    const QString text = decodeText(raw, enc);
    auto fail = [&](int line, const QString& why) {
        if (error)
            *error = QCoreApplication::translate("zrk::contacts::Csv", "Строка %1: %2.")
                         .arg(line)
                         .arg(why);
        if (errorLine) *errorLine = line;
        return false;
    };
    if (looksBinary(text))
        return fail(1, QCoreApplication::translate(
                           "zrk::contacts::Csv",
                           "это не текстовый файл: в нём двоичные данные, а не строки таблицы"));
    CsvTable t;
    t.encoding = enc;
    t.separator = detectSeparator(text);
    const QChar sep = t.separator;

    QStringList record;
    QString field;
    int line = 1, recordLine = 1, quoteLine = 0;
    bool quoted = false, wasQuoted = false;
    auto endRecord = [&] {
        record.append(field);
        field.clear();
        wasQuoted = false;
        if (t.header.isEmpty() && !isBlankRecord(record)) {
            for (QString& h : record) h = h.trimmed();
            t.header = record;
        } else if (!t.header.isEmpty() && !isBlankRecord(record)) {
            t.rows.append(record);
            t.rowLines.append(recordLine);
        }
        record.clear();
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n') ||
                    (c == QLatin1Char('\r') && !(i + 1 < n && text[i + 1] == QLatin1Char('\n'))))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == sep) {
            record.append(field);
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            endRecord();
            ++line;
            recordLine = line;
        } else {
            field += c;  // a stray quote inside an unquoted field is taken as written
        }
    }
    if (quoted)
        return fail(quoteLine, QCoreApplication::translate("zrk::contacts::Csv",
                                                           "кавычка, открытая здесь, не закрыта"));
    if (!field.isEmpty() || !record.isEmpty()) endRecord();
    if (t.header.isEmpty())
        return fail(
            1, QCoreApplication::translate("zrk::contacts::Csv", "в файле нет строки заголовка"));
    *out = std::move(t);
    return true;
}

CsvLayout detectLayout(const QStringList& h) {
    if (columnOf(h, "Phone 1 - Value") >= 0 || columnOf(h, "Group Membership") >= 0)
        return CsvLayout::Google;
    if (columnOf(h, "Mobile Phone") >= 0 || columnOf(h, "Business Phone") >= 0 ||
        columnOf(h, "E-mail Address") >= 0 ||
        // Russian Outlook; a header of other Russian words is guessed column by column.
        (columnOf(h, "Обращение") >= 0 && columnOf(h, "Фамилия") >= 0))
        return CsvLayout::Outlook;
    if (columnOf(h, "Display Name") >= 0 || columnOf(h, "Primary Email") >= 0 ||
        columnOf(h, "Mobile Number") >= 0)
        return CsvLayout::Thunderbird;
    return CsvLayout::Unknown;
}

CsvMapping mappingFor(CsvLayout layout, const QStringList& header) {
    // By CsvLayout's order.
    static void (*const kMaps[])(const QStringList&, CsvMapping&) = {mapGoogle, mapOutlook,
                                                                     mapThunderbird, guessColumns};
    CsvMapping m;
    if (size_t(layout) < std::size(kMaps)) kMaps[size_t(layout)](header, m);
    return m;
}

QList<Contact> contactsFromCsv(const CsvTable& table, const CsvMapping& m) {
    QList<Contact> out;
    out.reserve(table.rows.size());
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        Contact c;
        c.line = int(r < table.rowLines.size() ? table.rowLines[r] : 0);
        c.formattedName = cell(row, m.name);
        c.family = cell(row, m.family);
        c.given = (cell(row, m.given) + QLatin1Char(' ') + cell(row, m.middle)).trimmed();
        c.organization = cell(row, m.organization);
        c.note = cell(row, m.note);
        for (int col : m.emails)
            for (const QString& v : googleValues(cell(row, col))) c.emails.append(v);
        for (int col : m.urls)
            for (const QString& v : googleValues(cell(row, col))) c.urls.append(v);
        QStringList address;
        for (int col : m.addresses)
            if (const QString v = cell(row, col); !v.isEmpty()) address.append(v);
        if (!address.isEmpty()) c.addresses.append(address.join(QStringLiteral(", ")));
        for (const CsvMapping::PhoneColumn& pc : m.phones) {
            const QString written = withoutStar(cell(row, pc.labelColumn));
            const QString known = phoneKindLabel(written);
            const bool workKind =
                written.compare(QLatin1String("work"), Qt::CaseInsensitive) == 0 ||
                written.compare(QLatin1String("business"), Qt::CaseInsensitive) == 0;
            for (const QString& v : googleValues(cell(row, pc.column))) {
                ContactPhone p;
                p.number = v;
                p.label = pc.labelColumn >= 0 ? (known.isEmpty() ? written : known) : pc.label;
                p.work = pc.work || workKind;
                c.phones.append(p);
            }
        }
        for (const CsvMapping::ImColumn& im : m.ims)
            if (c.icq.isEmpty() &&
                cell(row, im.service).compare(QLatin1String("ICQ"), Qt::CaseInsensitive) == 0)
                c.icq = cell(row, im.value);
        if (m.categories >= 0)
            for (const QString& v : googleValues(cell(row, m.categories)))
                if (!v.startsWith(QLatin1String("* "))) c.categories.append(v);
        if (m.ownMark >= 0 && cell(row, m.ownMark) == ownMark()) {
            c.ownCard = true;
            bool ok = false;
            const int status = cell(row, m.ownStatus).toInt(&ok);
            takeStatusLine(c, ok ? std::optional<int>(status) : std::nullopt);
            // Our rows: the entry's phone first, its work phone second, whatever their types
            // say; written as phones dial them, kept the modem's way.
            c.ownPhones = true;
            if (m.phones.size() > 0) c.ownPhone = modemNumber(cell(row, m.phones[0].column));
            if (m.phones.size() > 1) c.ownWorkPhone = modemNumber(cell(row, m.phones[1].column));
        }
        out.append(std::move(c));
    }
    return out;
}

QByteArray writeGoogleCsv(const BookStore& book, const std::vector<int>& positions) {
    QByteArray out("\xEF\xBB\xBF");
    out.append(
        "Name,Given Name,Family Name,Notes,Group Membership,E-mail 1 - Type,E-mail 1 - Value,"
        "IM 1 - Type,IM 1 - Service,IM 1 - Value,Phone 1 - Type,Phone 1 - Value,"
        "Phone 2 - Type,Phone 2 - Value,Address 1 - Type,Address 1 - Formatted,"
        "Website 1 - Type,Website 1 - Value,Custom Field 1 - Type,Custom Field 1 - Value\r\n");
    out.reserve(qsizetype(positions.size()) * 200);
    for (int i : positions) {
        if (i < 0 || i >= book.count()) continue;
        const QString name = book.text(i, FieldName);
        const qsizetype blank = name.indexOf(QLatin1Char(' '));
        QString note = book.text(i, FieldNote);
        note.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        const QString status = statusLine(book.status(i));
        if (!status.isEmpty()) note = note.isEmpty() ? status : note + QLatin1Char('\n') + status;
        QString groups = QStringLiteral("* myContacts");
        if (const int g = book.groupOf(i); g > 0 && g < book.groupCount())
            groups += QLatin1String(" ::: ") + book.group(g).Text;
        const QString email = book.text(i, FieldEMail), icq = book.text(i, FieldIcq);
        const QString phone = book.text(i, FieldPhone), work = book.text(i, FieldWorkPhone);
        const QString address = book.text(i, FieldAddress), page = book.text(i, FieldHomePage);
        const QString fields[] = {
            name,
            blank < 0 ? QString() : name.mid(blank + 1),
            blank < 0 ? name : name.left(blank),
            note,
            groups,
            email.isEmpty() ? QString() : QStringLiteral("* Other"),
            email,
            icq.isEmpty() ? QString() : QStringLiteral("Other"),
            icq.isEmpty() ? QString() : QStringLiteral("ICQ"),
            icq,
            phone.isEmpty() ? QString() : googleType(nameAndLabel(name).second, phone),
            internationalNumber(phone),
            work.isEmpty() ? QString() : QStringLiteral("Work"),
            internationalNumber(work),
            address.isEmpty() ? QString() : QStringLiteral("Home"),
            address,
            page.isEmpty() ? QString() : QStringLiteral("Home Page"),
            page,
            ownMark(),
            QString::number(book.status(i)),
        };
        bool first = true;
        for (const QString& f : fields) {
            if (!first) out.append(',');
            first = false;
            appendField(out, f);
        }
        out.append("\r\n");
    }
    return out;
}

}  // namespace zrk::contacts
