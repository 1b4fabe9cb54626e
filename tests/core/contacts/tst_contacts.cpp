// Address books in and out: the files are written here from the published formats (vCard
// 2.1, RFC 2426, RFC 6350, RFC 4180) and from what the common address books export.
#include "TestSupport.h"
#include "core/book/BookStore.h"
#include "core/contacts/ContactText.h"
#include "core/contacts/Csv.h"
#include "core/contacts/ImportPlan.h"
#include "core/contacts/VCard.h"
#include "core/call/CallerReport.h"
#include "core/platform/Cp1251.h"
#include "core/settings/Settings.h"

#include <QtTest>

using namespace zrk;
using namespace zrk::contacts;

namespace {

QByteArray cp(const char* utf8) {
    return toCp1251(QString::fromUtf8(utf8));
}

// `text` in UTF-16 of either byte order, with or without its byte-order mark.
QByteArray utf16(const QString& text, QStringConverter::Encoding order, bool mark = false) {
    using F = QStringConverter::Flag;
    return QStringEncoder(order, mark ? F::WriteBom : F::Default).encode(text);
}

// One line per contact: the fields a reader filled, in a fixed order, "|" between phones.
QString describe(const Contact& c) {
    QStringList phones;
    for (const ContactPhone& p : c.phones)
        phones << p.number + "/" + p.label + (p.work ? "/W" : "") + (p.preferred ? "/P" : "");
    QStringList parts{"FN=" + c.formattedName, "N=" + c.family + ";" + c.given,
                      "TEL=" + phones.join('|')};
    if (!c.emails.isEmpty()) parts << "EMAIL=" + c.emails.join('|');
    if (!c.urls.isEmpty()) parts << "URL=" + c.urls.join('|');
    if (!c.addresses.isEmpty()) parts << "ADR=" + c.addresses.join('|');
    if (!c.organization.isEmpty()) parts << "ORG=" + c.organization;
    if (!c.note.isEmpty()) parts << "NOTE=" + c.note;
    if (!c.categories.isEmpty()) parts << "CAT=" + c.categories.join('|');
    if (!c.icq.isEmpty()) parts << "ICQ=" + c.icq;
    return parts.join("; ");
}

BookEntry entry(const QString& name, const QByteArray& phone) {
    BookEntry e = BookEntry::empty();
    e.Name.setText(name);
    e.Phone.setBytes(phone);
    return e;
}

Contact contact(const QString& fn, const QString& family, const QString& given,
                QList<ContactPhone> phones) {
    Contact c;
    c.formattedName = fn;
    c.family = family;
    c.given = given;
    c.phones = phones;
    return c;
}

QString entryText(const BookStore& b, int i) {
    QStringList f;
    for (int k = 0; k < BookFieldCount; ++k) f << b.text(i, BookField(k));
    const int g = b.groupOf(i);
    f << QString::number(b.status(i)) << (g > 0 ? b.group(g).Text : QString());
    return f.join('|');
}

}  // namespace

class TestContacts : public QObject {
    Q_OBJECT
private slots:
    void vcardReads_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");  // contacts, one per line
        const auto row = [](const char* tag, const QByteArray& file, const QString& expected) {
            QTest::newRow(tag) << file << expected;
        };

        // vCard 2.1 as old phones write it: cp1251 and UTF-8 in quoted-printable, soft line
        // breaks, bare types, a photo in base64 and an unknown property.
        row("2.1 quoted-printable",
            "BEGIN:VCARD\r\nVERSION:2.1\r\n"
            "N;CHARSET=WINDOWS-1251;ENCODING=QUOTED-PRINTABLE:=CE=F0=EB=EE=E2;=C0=ED=E4=F0="
            "E5=E9\r\n"
            "TEL;CELL;PREF:+7 903 765-43-21\r\n"
            "TEL;HOME:8 (495) 123-45-67\r\n"
            "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:=D0=94=D0=B0=\r\n"
            "=D1=87=D0=B0 =\r\n"
            "=D1=83 =D1=80=D0=B5=D0=BA=D0=B8\r\n"
            "PHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD\r\n"
            " /2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGBwkIBwcHBwkLCQcHCgkHCQ\r\n"
            "\r\n"
            "X-IRMC-LUID:000200000B5C\r\n"
            "END:VCARD\r\n",
            "FN=; N=Орлов;Андрей; TEL=+7 903 765-43-21/Мобильный/P|8 (495) 123-45-67/Домашний; "
            "NOTE=Дача у реки");
        // A soft line break whose next line is folded as well: the blank is the fold's.
        row("2.1 soft break and fold",
            "BEGIN:VCARD\r\nVERSION:2.1\r\n"
            "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=98=D0=B2=\r\n"
            " =D0=B0=D0=BD\r\nTEL:1\r\nEND:VCARD\r\n",
            "FN=Иван; N=;; TEL=1/");
        // RFC 2426: folding, escapes, structured values, several types, categories.
        row("3.0 escapes and folding",
            "BEGIN:VCARD\nVERSION:3.0\n"
            "FN:Иванов\\, Пётр\n"
            "N:Иванов;Пётр;Сергеевич;;\n"
            "TEL;TYPE=WORK,VOICE:+7 (812) 555-12-34\n"
            "TEL;TYPE=fax:812 555 12 35\n"
            "EMAIL;TYPE=INTERNET:petr@exa\n mple.ru\n"
            "URL:http://example.ru/~petr\n"
            "ADR;TYPE=HOME:;кв. 5;ул. Ленина\\, 5;Москва;;101000;Россия\n"
            "ORG:Рога и копыта;Бухгалтерия\n"
            "NOTE:строка 1\\nстрока 2\\; и \\\\ ещё\n"
            "CATEGORIES:Друзья,Работа\n"
            "X-ICQ:123456789\n"
            "END:VCARD\n",
            "FN=Иванов, Пётр; N=Иванов;Пётр Сергеевич; "
            "TEL=+7 (812) 555-12-34/Рабочий/W|812 555 12 35/Факс; EMAIL=petr@example.ru; "
            "URL=http://example.ru/~petr; ADR=ул. Ленина, 5, кв. 5, Москва, 101000, Россия; "
            "ORG=Рога и копыта, Бухгалтерия; NOTE=строка 1\nстрока 2; и \\ ещё; "
            "CAT=Друзья|Работа; ICQ=123456789");
        // Phones group a number with its label; Apple marks its own labels.
        row("item groups",
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Орлов Андрей\r\n"
            "item1.TEL:+7 903 111-11-11\r\nitem1.X-ABLabel:Дача\r\n"
            "item2.TEL;type=pref:+7 903 222-22-22\r\n"
            "item2.X-ABLabel:_$!<Mobile>!$_\r\nEND:VCARD\r\n",
            "FN=Орлов Андрей; N=;; TEL=+7 903 111-11-11/Дача|+7 903 222-22-22/Мобильный/P");
        // RFC 6350: a tel: URI, quoted type lists, PREF=1.
        row("4.0 uri",
            "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Jane\r\n"
            "TEL;VALUE=uri;PREF=1;TYPE=\"voice,cell\":tel:+7-903-765-43-21;ext=5\r\n"
            "TEL;VALUE=uri;TYPE=home:tel:+44-20-7946-0958\r\nEND:VCARD\r\n",
            "FN=Jane; N=;; TEL=+7-903-765-43-21/Мобильный/P|+44-20-7946-0958/Домашний");
        // cp1251 without a byte-order mark, a card without FN, and the next card.
        row("cp1251, two cards",
            cp("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Петрова;Анна\r\nTEL:123-45-67\r\nEND:VCARD\r\n"
               "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ёжиков\r\nEND:VCARD\r\n"),
            "FN=; N=Петрова;Анна; TEL=123-45-67/\nFN=Ёжиков; N=;; TEL=");
        row("UTF-16 with BOM",
            utf16("BEGIN:VCARD\r\nFN:Щука\r\nTEL;TYPE=X-Дача:55-55-55\r\nEND:VCARD\r\n",
                  QStringConverter::Utf16LE, true),
            "FN=Щука; N=;; TEL=55-55-55/Дача");
        // Folding is by octets: this fold falls inside the letter "е".
        row("fold inside a UTF-8 letter",
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xD0\x90\xD0\xBB\xD0\r\n \xB5"
            "\xD0\xBA\xD1\x81\xD0\xB5\xD0\xB9\r\nTEL:1\r\nEND:VCARD\r\n",
            "FN=Алексей; N=;; TEL=1/");
        row("2.1 quoted-printable KOI8-R",
            "BEGIN:VCARD\r\nVERSION:2.1\r\n"
            "N;ENCODING=QUOTED-PRINTABLE;CHARSET=KOI8-R:=EF=D2=CC=CF=D7;=E1=CE=CE=C1\r\n"
            "TEL;HOME:2\r\nEND:VCARD\r\n",
            "FN=; N=Орлов;Анна; TEL=2/Домашний");
        // 2.1 ends a base64 value with an empty line; an iPhone ends its lines with CR CR LF.
        row("2.1 base64 lines without indent",
            "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Лис\r\n"
            "PHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/4AAQSkZJRgABAQEASABIAAD\r\n"
            "/2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGBwkIBwcHBwkLCQcHCgkHCQ==\r\n"
            "\r\nTEL;CELL:8 916 000-11-22\r\nEND:VCARD\r\n",
            "FN=Лис; N=;; TEL=8 916 000-11-22/Мобильный");
        row("CR CR LF folds",
            "BEGIN:VCARD\r\r\nVERSION:3.0\r\r\nFN:Лис\r\r\n"
            "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQ\r\r\n EASABIAAD/2wBD\r\r\n"
            "TEL;type=CELL:8 916 000-11-22\r\r\nEND:VCARD\r\r\n",
            "FN=Лис; N=;; TEL=8 916 000-11-22/Мобильный");
        for (const bool le : {true, false})
            row(le ? "UTF-16LE without BOM" : "UTF-16BE without BOM",
                utf16("BEGIN:VCARD\r\nFN:Щука\r\nTEL:5\r\nEND:VCARD\r\n",
                      le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE),
                "FN=Щука; N=;; TEL=5/");
        row("UTF-8 BOM, a card inside a card",
            "\xEF\xBB\xBF"
            "BEGIN:VCARD\nVERSION:2.1\nFN:Босс\n"
            "AGENT:\nBEGIN:VCARD\nFN:Секретарь\nTEL:1\nEND:VCARD\n"
            "TEL;WORK:2\nEND:VCARD\n",
            "FN=Босс; N=;; TEL=2/Рабочий/W");
    }
    void vcardReads() {
        QFETCH(QByteArray, file);
        const ReadResult r = readVCards(file);
        QVERIFY2(r.ok && r.error.isEmpty(), qPrintable(r.error));
        QStringList got;
        for (const Contact& c : r.contacts) got << describe(c);
        QTEST(got.join('\n'), "expected");
        QCOMPARE(r.contacts.value(0).line, 1);
    }

    void vcardFailures_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("contacts");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("lines");  // lines skipped inside kept cards
        QTest::newRow("not a vCard")
            << QByteArray("Name,Phone\nИван,1\n") << false << 0 << 0
            << "Строка 1: это не файл vCard (нет строки BEGIN:VCARD)." << 0;
        QTest::newRow("empty") << QByteArray() << false << 0 << 0
                               << "Строка 1: это не файл vCard (нет строки BEGIN:VCARD)." << 0;
        // A line without a colon is lost, the card kept.
        QTest::newRow("line without a colon")
            << QByteArray(
                   "BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\nмусор\nEND:VCARD\n"
                   "BEGIN:VCARD\nFN:C\nEND:VCARD\n")
            << true << 3 << 0 << "Строка 6: строка без двоеточия внутри карточки." << 1;
        QTest::newRow("bare FN in the only card")
            << QByteArray("BEGIN:VCARD\nVERSION:3.0\nFN\nTEL:89030000001\nEND:VCARD\n") << true << 1
            << 0 << "Строка 3: строка без двоеточия внутри карточки." << 1;
        QTest::newRow("cut off at the end")
            << QByteArray("BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\n") << true << 1 << 1
            << "Строка 4: карточка не закончена (нет END:VCARD)." << 0;
        QTest::newRow("nothing usable") << QByteArray("BEGIN:VCARD\nFN:A\n") << false << 0 << 1
                                        << "Строка 1: карточка не закончена (нет END:VCARD)." << 0;
    }
    void vcardFailures() {
        QFETCH(QByteArray, file);
        const ReadResult r = readVCards(file);
        QTEST(r.ok, "ok");
        QTEST(int(r.contacts.size()), "contacts");
        QTEST(r.skipped, "skipped");
        QTEST(r.error + r.lineError, "error");
        QTEST(r.linesSkipped, "lines");
    }

    void csvReads_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, const QByteArray& file, CsvLayout layout,
                            const QString& expected) {
            QTest::newRow(tag) << file << int(layout) << expected;
        };
        // RFC 4180: separators, quotes and a line break inside quoted fields.
        row("Google",
            "Name,Given Name,Family Name,Notes,Group Membership,E-mail 1 - Type,"
            "E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,"
            "Phone 2 - Value,Organization 1 - Name\r\n"
            "\"Орлов, Андрей\",Андрей,Орлов,\"он сказал \"\"да\"\"\r\nи ушёл\","
            "* myContacts ::: Друзья,* Home,a@b.ru,Mobile,+7 903 111-11-11 ::: "
            "+7 903 222-22-22,Work,+7 495 333-33-33,ООО\r\n",
            CsvLayout::Google,
            "FN=Орлов, Андрей; N=Орлов;Андрей; TEL=+7 903 111-11-11/Мобильный|"
            "+7 903 222-22-22/Мобильный|+7 495 333-33-33/Рабочий/W; EMAIL=a@b.ru; ORG=ООО; "
            "NOTE=он сказал \"да\"\r\nи ушёл; CAT=Друзья");
        row("Outlook, semicolons, cp1251",
            cp("First Name;Last Name;Company;Business Phone;Home Phone;Mobile Phone;"
               "E-mail Address;Home Street;Home City;Notes;Categories\r\n"
               "Анна;Петрова;;8 812 111-22-33;;8 921 000-00-01;anna@x.ru;Невский, 1;СПб;;\r\n"),
            CsvLayout::Outlook,
            "FN=; N=Петрова;Анна; TEL=8 921 000-00-01/Мобильный|8 812 111-22-33/Рабочий/W; "
            "EMAIL=anna@x.ru; ADR=Невский, 1, СПб");
        row("Thunderbird",
            "First Name,Last Name,Display Name,Nickname,Primary Email,"
            "Secondary Email,Work Phone,Home Phone,Fax Number,Pager Number,"
            "Mobile Number,Notes\n"
            "Иван,Сидоров,Ваня Сидоров,,ivan@x.ru,,,12-34-56,,,8-916-000-00-00,\n",
            CsvLayout::Thunderbird,
            "FN=Ваня Сидоров; N=Сидоров;Иван; TEL=8-916-000-00-00/Мобильный|"
            "12-34-56/Домашний; EMAIL=ivan@x.ru");
        // Outlook in Russian: the name in three columns, the phones under their own titles.
        row("Russian Outlook, semicolons, cp1251",
            cp("\"Обращение\";\"Имя\";\"Отчество\";\"Фамилия\";\"Организация\";"
               "\"Рабочий телефон\";\"Мобильный телефон\";\"Адрес эл. почты\"\r\n"
               "\"\";\"Андрей\";\"Петрович\";\"Орлов\";\"\";\"8 495 111-22-33\";"
               "\"+7 903 765-43-21\";\"a@b.ru\"\r\n"),
            CsvLayout::Outlook,
            "FN=; N=Орлов;Андрей Петрович; TEL=8 495 111-22-33/Рабочий телефон/W|"
            "+7 903 765-43-21/Мобильный телефон; EMAIL=a@b.ru");
        row("Russian words, commas, UTF-8",
            "Имя,Отчество,Фамилия,Телефон переносной\nАнна,Ивановна,Лис,8 916 1\n",
            CsvLayout::Unknown, "FN=; N=Лис;Анна Ивановна; TEL=8 916 1/Телефон переносной");
        row("Outlook with Name and the rarer phones",
            "Name,First Name,Last Name,Company,Mobile Phone,Home Mobile,Assistant's Phone,"
            "Phone Video\r\nОрлов Андрей,,,ООО,,8 903 1,8 495 2,8 495 3\r\n",
            CsvLayout::Outlook,
            "FN=Орлов Андрей; N=;; TEL=8 903 1/Home Mobile|8 495 2/Assistant's Phone|"
            "8 495 3/Phone Video; ORG=ООО");
        row("unknown header, blank lines",
            "ФИО;Телефон;Почта;Примечание\n\nКузнецов К.;2-22-22;k@k.ru;\"a;b\"\n\n",
            CsvLayout::Unknown, "FN=Кузнецов К.; N=;; TEL=2-22-22/Телефон; EMAIL=k@k.ru; NOTE=a;b");
    }
    void csvReads() {
        QFETCH(QByteArray, file);
        CsvTable t;
        QString error;
        int line = 0;
        QVERIFY2(readCsv(file, &t, &error, &line), qPrintable(error));
        const CsvLayout layout = detectLayout(t.header);
        QTEST(int(layout), "layout");
        QStringList got;
        for (const Contact& c : contactsFromCsv(t, mappingFor(layout, t.header)))
            got << describe(c);
        QTEST(got.join('\n'), "expected");
    }

    void csvLinesAndErrors() {
        CsvTable t;
        QString error;
        int line = 0;
        // The second row starts on line 4: a quoted field of the first spans two lines.
        QVERIFY(readCsv("a,b\n1,\"x\ny\"\n2,z\n", &t, &error, &line));
        QCOMPARE(t.rows, (QList<QStringList>{{"1", "x\ny"}, {"2", "z"}}));
        QCOMPARE(t.rowLines, (QList<int>{2, 4}));
        QCOMPARE(t.encoding, Encoding::Utf8);

        const CsvTable before = t;
        for (const auto& [file, wantLine, wantError] :
             {std::tuple{QByteArray("a,b\n1,2\n3,\"open\n4,5\n"), 3,
                         QString("Строка 3: кавычка, открытая здесь, не закрыта.")},
              std::tuple{QByteArray("\n\n"), 1,
                         QString("Строка 1: в файле нет строки заголовка.")}}) {
            QVERIFY(!readCsv(file, &t, &error, &line));
            QCOMPARE(line, wantLine);
            QCOMPARE(error, wantError);
            QCOMPARE(t.rows, before.rows);  // left as it was
        }
        // The encoding is detected, and can be forced.
        QVERIFY(readCsv(cp("Имя\nЖанна\n"), &t, &error, &line));
        QCOMPARE(t.encoding, Encoding::Cp1251);
        QCOMPARE(t.rows, (QList<QStringList>{{"Жанна"}}));
        QVERIFY(readCsv(cp("Имя\nЖанна\n"), &t, &error, &line, Encoding::Utf8));
        QVERIFY(t.rows[0][0] != "Жанна");
    }

    void numbers() {
        // written | dialable | duplicate key
        const char* rows[][3] = {
            {"+7 903 765-43-21", "89037654321", "9037654321"},
            {"8 (903) 765-43-21", "89037654321", "9037654321"},
            {"79037654321", "79037654321", "9037654321"},
            {"+44 20 7946 0958", "810442079460958", "810442079460958"},
            {"123-45-67", "1234567", "1234567"},
            {" 12 34 56 w 7 ", "123456w7", "1234567"},
            {"+7", "8", "8"},
            {"", "", ""},
        };
        for (const auto& r : rows) {
            QCOMPARE(dialableNumber(r[0]), QByteArray(r[1]));
            QCOMPARE(phoneKey(QByteArray(r[1])), QByteArray(r[2]));
        }
        // The book's number | as a phone dials it (export) | back in the book (own import)
        const char* exported[][3] = {
            {"81033476629472", "+33 476629472", "81033476629472"},
            {"89037654321", "+7 9037654321", "89037654321"},
            {"810380441234567", "+380 441234567", "810380441234567"},
            {"81012125551234", "+1 2125551234", "81012125551234"},
            {"8 (903) 765-43-21", "+7 (903) 765-43-21", "8 (903) 765-43-21"},
            {"8-10-44-20-7946", "+44-20-7946", "81044-20-7946"},
            {"8-495-111-22-33 доб. 5", "+7-495-111-22-33 доб. 5", "8-495-111-22-33 доб. 5"},
            {"123-45-67", "123-45-67", "123-45-67"},
            {"8 800 1", "8 800 1", "8 800 1"},
        };
        for (const auto& r : exported) {
            QCOMPARE(internationalNumber(r[0]), QString(r[1]));
            QCOMPARE(modemNumber(r[1]), QString(r[2]));
        }
    }

    void planMapsContacts() {
        BookStore book;
        book.AddGroup(BookGroup::make("Друзья"), true);
        book.AddItem(entry("Старый", "8 903 765-43-21"), true);
        QList<Contact> in;
        in << contact(
            "Орлов Андрей", "", "",
            {{"+7 (903) 111-11-11", "Дача"}, {"8 495 222-22-22", "Рабочий", true}, {"333", ""}});
        in.last().categories = {"ДРУЗЬЯ", "Работа"};
        in.last().note = "раз\nдва";
        // In the book; a "number" without a digit is no phone of hers.
        in << contact("", "Петрова", "Анна", {{"+79037654321", "Мобильный"}, {"Privat", "Дом"}});
        in << contact("", "", "", {{"+44 20 7946 0958", ""}});
        in.last().organization = "ООО Ромашка";
        in << contact("", "", "", {{"8 903 111 11 11", ""}});  // an earlier row's number
        in.last().emails = {"x@y.ru"};
        in << contact(QString(80, QChar(u'Ж')) + "😀", "", "", {{"1", ""}});
        in.last().categories = {"Очень длинное название группы"};
        in << contact("Без телефона", "", "", {});

        const QList<ImportRow> rows = planImport(in, book);
        // name|phone|work phone|note|group|duplicate of|duplicate row|cut fields|choice
        QStringList got;
        for (const ImportRow& r : rows)
            got << QString("%1|%2|%3|%4|%5|%6|%7|%8|%9")
                       .arg(r.entry.Name.text(), r.entry.Phone.text(), r.entry.WorkPhone.text(),
                            r.entry.Note.text(), r.groupTitle, QString::number(r.duplicateOf),
                            QString::number(r.duplicateRow), r.cutFields.join(','),
                            QString::number(int(r.choice)) + (r.international ? "+" : ""));
        const QString longName = QString(70, QChar(u'Ж'));
        QCOMPARE(got, (QStringList{
                          "Орлов Андрей (Дача)|89031111111|84952222222|раз\rдва|ДРУЗЬЯ|-1|-1||2",
                          "Орлов Андрей (Рабочий)|84952222222|84952222222|раз\rдва|ДРУЗЬЯ|-1|-1||2",
                          "Орлов Андрей (Телефон 3)|333|84952222222|раз\rдва|ДРУЗЬЯ|-1|-1||2",
                          "Петрова Анна|89037654321||||0|-1||0",
                          "ООО Ромашка|810442079460958||||-1|-1||2+",
                          "x@y.ru|89031111111||||-1|0||0",
                          longName + "|1|||Очень длинное название |-1|-1|Имя|2",
                      }));
        QCOMPARE(rows.last().groupTitle, QString("Очень длинное название "));  // 23 characters
        // A character the code page lacks is marked even when the text fits.
        in = {contact("Zoë ☺", "", "", {{"5", ""}})};
        const ImportRow odd = planImport(in, book).value(0);
        QCOMPARE(odd.entry.Name.text(), QString("Zo? ?"));
        QCOMPARE(odd.replacedFields, QStringList{"Имя"});
        QVERIFY(!odd.cut && odd.cutFields.isEmpty());
        // Cut right after a blank: the blank goes too.
        in = {contact(QString(69, QChar(u'Ж')) + " Петров", "", "", {{"5", ""}})};
        QCOMPARE(planImport(in, book).value(0).entry.Name.text(), QString(69, QChar(u'Ж')));
        QCOMPARE(planImport(in, book).value(0).cutFields, QStringList{"Имя"});
        // A group picked for the import wins over the categories.
        in = {contact("Гость", "", "", {{"6", ""}})};
        in[0].categories = {"Друзья"};
        QCOMPARE(planImport(in, book, {"Гости"}).value(0).groupTitle, QString("Гости"));
    }

    void applyPlacesEntries() {
        BookStore book;
        book.AddGroup(BookGroup::make("Друзья", "f.wav", 1), true);
        book.AddItem(entry("Первый", "111111"), true);
        book.AddItem(entry("Второй", "8 903 765-43-21"), true);
        book.AddItem(entry("Третий", "333333"), true);
        QList<Contact> in{contact("Новый второй", "", "", {{"+7 903 765 43 21", ""}}),
                          contact("Новый первый", "", "", {{"111111", ""}}),
                          contact("Свежий", "", "", {{"444444", ""}}),
                          contact("Свежий повтор", "", "", {{"444-444", ""}}),
                          contact("Ещё", "", "", {{"555555", ""}})};
        in[0].categories = {"друзья"};
        in[2].categories = {"Семья"};
        in[4].categories = {"СЕМЬЯ"};
        QList<ImportRow> rows = planImport(in, book);
        QCOMPARE(rows[0].duplicateOf, 1);
        QCOMPARE(rows[1].duplicateOf, 0);
        QCOMPARE(rows[3].duplicateRow, 2);
        rows[0].choice = Duplicate::Replace;
        rows[1].choice = Duplicate::Skip;
        rows[3].choice = Duplicate::Replace;  // the later row of the file wins over the earlier
        const ImportCounts n = applyImport(book, rows);
        QCOMPARE((QList<int>{n.added, n.replaced, n.skipped, n.groupsMade}),
                 (QList<int>{2, 2, 1, 1}));
        QStringList got;
        for (int i = 0; i < book.count(); ++i) got << entryText(book, i);
        QCOMPARE(got, (QStringList{
                          "Первый|111111|||||||0|",
                          "Новый второй|89037654321|||||||0|Друзья",
                          "Третий|333333|||||||0|",
                          "Свежий повтор|444444|||||||0|",
                          "Ещё|555555|||||||0|Семья",
                      }));
        QCOMPARE(book.groupCount(), 3);
        QCOMPARE(book.group(1).Group.Sound.text(), QString("f.wav"));  // the old group stays
    }

    // An imported mobile is found when it calls, with the report cut as the settings say, and
    // its entry dials the whole number.
    void importedNumberCallsAndDials() {
        const ReadResult r =
            readVCards("BEGIN:VCARD\nFN:Орлов\nTEL;CELL:+7 903 765-43-21\nEND:VCARD\n");
        BookStore book;
        book.AddItem(entry("Дальний", "8 812 165-43-21"), true);
        book.AddItem(entry("Короткий", "65-43-21"), true);
        applyImport(book, planImport(r.contacts, book));
        TIni ini;
        ini.DigitsInPhoneNumber = 7;
        const QString report = parseReport(" 79037654321:1", ini).number;
        QCOMPARE(report, QString("7654321"));
        QCOMPARE(book.WhoCall(report).name, QString("Орлов"));
        QCOMPARE(DialFilter(book.text(2, FieldPhone)), QString("89037654321"));
        // An exact match wins over an earlier entry that ends with the same digits; of those
        // that end so, the first in book order is the caller.
        ini.DigitsInPhoneNumber = 6;
        QCOMPARE(book.WhoCall(parseReport("9037654321", ini).number).name, QString("Короткий"));
        // Short reports name nobody by their tail.
        for (const char* report : {"54321", "4321", "21", "P", "Unknown"})
            QVERIFY2(book.WhoCall(report).status == -1, report);
        QCOMPARE(book.WhoCall("037654321").name, QString("Орлов"));
        QCOMPARE(book.WhoCall("1654321").name, QString("Дальний"));
        book.AddItem(entry("Дальний 2", "165-43-21"), true);
        QCOMPARE(book.WhoCall("654321").name, QString("Короткий"));
    }

    void vcardWriterFormat() {
        BookStore book;
        book.AddGroup(BookGroup::make("Семья"), true);
        BookEntry e =
            entry(QString("Очень-очень-длинная-фамилия-для-проверки-переноса Имя"), "89037654321");
        e.Note.setText("a;b,c\\d\rвторая");
        e.Group = 1;
        e.Status = StatusPriority;
        book.AddItem(e, true);
        const QByteArray out = writeVCards(book, {0});
        const QList<QByteArray> lines = out.split('\n');
        QVERIFY(out.endsWith("END:VCARD\r\n"));
        for (const QByteArray& l : lines) {
            if (l.isEmpty()) continue;
            QVERIFY2(l.endsWith('\r'), l.constData());
            QVERIFY2(l.size() - 1 <= 75, l.constData());
            QVERIFY(QString::fromUtf8(l).toUtf8() == l);  // no sequence cut in two
        }
        const QByteArray unfolded = QByteArray(out).replace("\r\n ", "");
        QVERIFY(unfolded.contains("\r\nVERSION:3.0\r\n"));
        QVERIFY(unfolded.contains("\r\nTEL;TYPE=CELL:+7 9037654321\r\n"));
        QVERIFY(unfolded.contains(
            "\r\nN:Очень-очень-длинная-фамилия-для-проверки-переноса;Имя;;;\r\n"));
        QVERIFY(unfolded.contains("\r\nNOTE:a\\;b\\,c\\\\d\\nвторая\\nСтатус: приоритетный\r\n"));
        QVERIFY(unfolded.contains("\r\nCATEGORIES:Семья\r\n"));

        // The label names the type and stays out of N; the work number equal to the main one
        // goes out once; a NUL of an old book does not go out at all.
        BookEntry abroad = entry(QString("Дюпон") + QChar(0) + " Жан (Рабочий)", "81033476629472");
        abroad.WorkPhone.setText("81033476629472");
        book.AddItem(abroad, true);
        const QByteArray second = writeVCards(book, {1});
        QVERIFY2(second.contains("\r\nFN:Дюпон Жан (Рабочий)\r\nN:Дюпон;Жан;;;\r\n"
                                 "TEL;TYPE=WORK:+33 476629472\r\nX-ZRK-PHONE:81033476629472\r\n"
                                 "X-ZRK-WORKPHONE:81033476629472\r\n"),
                 second.constData());
        QCOMPARE(second.count("TEL"), 1);

        // A server takes no card without UID and FN: an entry without a name is named by its
        // number, and the same entry has the same UID in every export.
        BookStore bare;
        bare.AddItem(entry("", "7654321"), true);
        const QByteArray third = writeVCards(bare, {0});
        QVERIFY2(third.contains("\r\nFN:7654321\r\n"), third.constData());
        const qsizetype uid = third.indexOf("\r\nUID:");
        QVERIFY(uid > 0);
        QCOMPARE(third.mid(uid, 44), writeVCards(bare, {0}).mid(uid, 44));
        bare.setId(0, {});  // a book read without its side file
        const QByteArray fourth = writeVCards(bare, {0});
        QCOMPARE(fourth.mid(uid, 44), writeVCards(bare, {0}).mid(uid, 44));
    }

    void roundTrip_data() {
        QTest::addColumn<bool>("csv");
        QTest::newRow("vCard") << false;
        QTest::newRow("CSV") << true;
    }
    void roundTrip() {
        QFETCH(bool, csv);
        BookStore book;
        book.AddGroup(BookGroup::make("Друзья"), true);
        book.AddGroup(BookGroup::make("Работа, отдел; \"А\""), true);
        BookEntry full = entry("Орлов Андрей Петрович", "8 (903) 765-43-21");
        full.WorkPhone.setText("8-495-111-22-33 доб. 5");
        full.Address.setText("Москва, ул. Ленина; д. 5 \"А\"");
        full.EMail.setText("orlov@example.ru");
        full.Icq.setText("123456789");
        full.HomePage.setText("http://example.ru/a,b");
        full.Note.setText("первая\rвторая, с \\ и ;");
        full.Status = StatusBad;
        full.Group = 2;
        book.AddItem(full, true);
        BookEntry onlyWork = entry("Контора", "");
        onlyWork.WorkPhone.setText("12-34-56");
        onlyWork.Status = StatusPriority;
        onlyWork.Group = 1;
        book.AddItem(onlyWork, true);
        book.AddItem(entry("Один", "5"), true);
        BookEntry statusNote = entry("Хитрый", "6");
        statusNote.Note.setText("Статус: плохой");  // typed by the user, status normal
        book.AddItem(statusNote, true);
        BookEntry abroad = entry("Дюпон Жан (Мобильный)", "81033476629472");
        abroad.WorkPhone.setText("81033476629472");
        book.AddItem(abroad, true);
        book.AddItem(entry("Контора Рога (Рабочий)", "84951112233"), true);  // no work phone
        const std::vector<int> all{0, 1, 2, 3, 4, 5};

        QList<Contact> back;
        if (csv) {
            CsvTable t;
            QString error;
            const QByteArray out = writeGoogleCsv(book, all);
            QVERIFY(out.contains(",Work,+7 4951112233,,,"));  // its label is the phone's type
            QVERIFY(readCsv(out, &t, &error, nullptr));
            QCOMPARE(t.encoding, Encoding::Utf8Bom);
            back = contactsFromCsv(t, mappingFor(detectLayout(t.header), t.header));
        } else {
            const ReadResult r = readVCards(writeVCards(book, all));
            QVERIFY(r.ok);
            back = r.contacts;
        }
        BookStore copy;
        const ImportCounts n = applyImport(copy, planImport(back, copy));
        QCOMPARE(n.added, book.count());
        for (int i = 0; i < book.count(); ++i) QCOMPARE(entryText(copy, i), entryText(book, i));
    }
};

QTEST_GUILESS_MAIN(TestContacts)
#include "tst_contacts.moc"
