// The phone book store against files built byte by byte from the record layouts.
#include "book/BookStore.h"
#include "book/FileFaults.h"
#include "book/RecordingMessages.h"
#include "settings/Settings.h"

#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace zrk;

namespace {

// ---- files made by hand, independent of the store's structs ----

QByteArray le32(qint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = char((quint32(v) >> (8 * i)) & 0xFF);
    return b;
}

// A length-prefixed field of `size` bytes; `fill` goes after the text (readers must ignore
// it); `lengthByte` overrides the true length (a damaged file).
QByteArray field(int size, const QByteArray& text, char fill = '\0', int lengthByte = -1) {
    QByteArray f(size, fill);
    f[0] = char(lengthByte >= 0 ? lengthByte : text.size());
    for (int i = 0; i < text.size() && 1 + i < size; ++i) f[1 + i] = text[i];
    return f;
}

void put(QByteArray& rec, int offset, const QByteArray& bytes) {
    rec.replace(offset, bytes.size(), bytes);
}

struct EntrySpec {
    QByteArray name, phone, work, address, email, icq, home, note;
    qint32 status = 0, group = 0;
};

QByteArray entryBytes(const EntrySpec& s, char fill = '\0') {
    QByteArray r(528, '\0');
    put(r, 0, field(71, s.name, fill));
    put(r, 71, field(51, s.phone, fill));
    put(r, 122, field(51, s.work, fill));
    put(r, 173, field(71, s.address, fill));
    put(r, 244, field(51, s.email, fill));
    put(r, 295, field(16, s.icq, fill));
    put(r, 311, field(71, s.home, fill));
    put(r, 384, le32(s.status));
    put(r, 388, le32(s.group));
    put(r, 392, field(134, s.note, fill));
    return r;
}

QByteArray entryBytes(const QByteArray& name, const QByteArray& phone, qint32 group = 0) {
    return entryBytes(EntrySpec{name, phone, {}, {}, {}, {}, {}, {}, 0, group});
}

QByteArray groupBytes(const QByteArray& title, const QByteArray& sound, qint32 action,
                      char fill = '\0') {
    QByteArray r(284, '\0');
    put(r, 0, field(24, title, fill));
    put(r, 24, field(256, sound, fill));
    put(r, 280, le32(action));
    return r;
}

QByteArray header(qint32 groups) {
    QByteArray h = QByteArray("PHN\x02", 4);
    h += field(16, "Zrk Pro 2.01b");
    h += le32(groups);
    return h;
}

QByteArray legacyRecord(const QByteArray& name, const QByteArray& phone, qint32 status,
                        const QByteArray& note, int nameLengthByte = -1) {
    QByteArray r(168, '\0');
    put(r, 0, field(51, name, '\0', nameLengthByte));
    put(r, 51, field(29, phone));
    put(r, 80, le32(status));
    put(r, 84, field(84, note));
    return r;
}

QByteArray cp(const char* utf8) {
    return toCp1251(QString::fromUtf8(utf8));
}

BookEntry entry(const QString& name, const QString& phone, qint32 status = 0, qint32 group = 0) {
    BookEntry e = BookEntry::empty();
    e.Name.setText(name);
    e.Phone.setText(phone);
    e.Status = status;
    e.Group = group;
    return e;
}

// A book of two groups and three entries, as the tests below save and reload it.
void fillSample(BookStore& book) {
    book.AddGroup(BookGroup::make("Друзья", "friend.wav", 1), true);
    book.AddGroup(BookGroup::make("Работа", "", 3), true);
    BookEntry a = entry("Иванов", "12-34-56", 2, 1);
    a.Note.setText("звонить\rвечером");
    book.AddItem(a, true);
    book.AddItem(entry("Петров", "654321", 1, 2), true);
    book.AddItem(entry("Сидоров", "111", 0, 0), true);
}

QByteArray sampleFile() {
    EntrySpec a{cp("Иванов"), "12-34-56", {}, {}, {}, {}, {}, cp("звонить\rвечером"), 2, 1};
    return header(2) + groupBytes(cp("Друзья"), "friend.wav", 1) + groupBytes(cp("Работа"), "", 3) +
           entryBytes(a) +
           entryBytes(EntrySpec{cp("Петров"), "654321", {}, {}, {}, {}, {}, {}, 1, 2}) +
           entryBytes(cp("Сидоров"), "111");
}

QStringList names(const BookStore& b) {
    QStringList n;
    for (int i = 0; i < b.count(); ++i) n << b.item(i).Entry.Name.text();
    return n;
}

}  // namespace

class TestBookStore : public QObject {
    Q_OBJECT

private slots:
    void init() {
        box_ = std::make_unique<zrktest::Sandbox>();
        ini() = TIni::defaults();
    }
    void cleanup() { box_.reset(); }

    void filtersRemoveExactlyTheirSets();
    void loadsEveryFieldOfAVersion2File();
    void loadingStopsWhereTheFileEnds_data();
    void loadingStopsWhereTheFileEnds();
    void legacyFileIsConvertedAndKeptAsBackup();
    void lengthBytesNeverReachOutsideTheirField();
    void savedFileMatchesTheLayoutByteForByte();
    void saveKeepsThePreviousFileAsBackup();
    void whoCallFindsTheFirstExactFilteredPhone();
    void whoCallGroupRecord();
    void isNumComparesStrictlyFilteredPhones();
    void editingAndRemoving();
    void backupThatCannotBeDeleted();
    void bookOnAnotherFileSystem();
    void missingDirectory();
    void readOnlyDirectory();
    void writeFailingHalfWayLosesNothing();

private:
    std::unique_ptr<zrktest::Sandbox> box_;
};

void TestBookStore::filtersRemoveExactlyTheirSets() {
    // The removed ranges of the dial filter, as the book's users have always seen them.
    const QList<QPair<int, int>> removed = {{0x21, 0x2B}, {0x2D, 0x2F}, {0x3A, 0x4F}, {0x51, 0x53},
                                            {0x55, 0x56}, {0x58, 0x5F}, {0x61, 0x6F}, {0x71, 0x73},
                                            {0x75, 0x76}, {0x78, 0x7D}, {0xC0, 0xFF}};
    for (int c = 0; c < 256; ++c) {
        const QByteArray one(1, char(c));
        bool gone = false;
        for (const auto& r : removed) gone = gone || (c >= r.first && c <= r.second);
        QCOMPARE(DialFilter(one), gone ? QByteArray() : one);
        const bool strictKeeps = (c >= '0' && c <= '9') || QByteArray("PTWptw").contains(char(c));
        QCOMPARE(StrictDialFilter(one), strictKeeps ? one : QByteArray());
    }
    QCOMPARE(DialFilter(cp("+7 (812) 123-45-67, доб.")), QByteArray("7 812 1234567, "));
    QCOMPARE(StrictDialFilter(QByteArray("+7 (812) 123-45-67p2")), QByteArray("78121234567p2"));
    // The text forms work on code page 1251 bytes: Cyrillic letters (0xC0-0xFF) go, the
    // numero sign (0xB9) stays.
    QCOMPARE(DialFilter(QStringLiteral("т. 12 34 №5")), QStringLiteral(" 12 34 №5"));
    QCOMPARE(StrictDialFilter(QStringLiteral("т. 12 34 №5")), QStringLiteral("12345"));
}

void TestBookStore::loadsEveryFieldOfAVersion2File() {
    EntrySpec full{cp("Кузнецов Пётр"),
                   "8(812)555-01-02",
                   "555-99-99",
                   cp("Невский, 1"),
                   "p@example.ru",
                   "123456789",
                   "http://example.ru",
                   cp("строка1\rстрока2"),
                   7 /* unknown status, kept */,
                   1};
    // Junk after every text must be ignored.
    QVERIFY(zrktest::writeAll("book.phn", header(1) + groupBytes(cp("Семья"), "home.wav", 2, 'x') +
                                              entryBytes(full, 'z')));
    BookStore book;
    book.load();
    QCOMPARE(book.groupCount(), 2);
    QCOMPARE(book.group(0).Text, QStringLiteral("[Все группы]"));
    QCOMPARE(book.group(0).Group.Sound.text(), QString());
    QCOMPARE(book.group(0).Group.Action, 0);
    QCOMPARE(book.group(1).Text, QStringLiteral("Семья"));
    QCOMPARE(book.group(1).Group.Sound.text(), QStringLiteral("home.wav"));
    QCOMPARE(book.group(1).Group.Action, 2);
    QCOMPARE(book.count(), 1);
    const BookEntry& e = book.item(0).Entry;
    QCOMPARE(e.Name.text(), QStringLiteral("Кузнецов Пётр"));
    QCOMPARE(e.Phone.text(), QStringLiteral("8(812)555-01-02"));
    QCOMPARE(e.WorkPhone.text(), QStringLiteral("555-99-99"));
    QCOMPARE(e.Address.text(), QStringLiteral("Невский, 1"));
    QCOMPARE(e.EMail.text(), QStringLiteral("p@example.ru"));
    QCOMPARE(e.Icq.text(), QStringLiteral("123456789"));
    QCOMPARE(e.HomePage.text(), QStringLiteral("http://example.ru"));
    QCOMPARE(e.Note.text(), QStringLiteral("строка1\rстрока2"));
    QCOMPARE(e.Status, 7);
    QCOMPARE(e.Group, 1);
}

void TestBookStore::loadingStopsWhereTheFileEnds_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("groups");  // saved groups loaded (position 0 not counted)
    QTest::addColumn<QStringList>("entries");

    const QByteArray g = groupBytes("G", "", 0);
    const QByteArray a = entryBytes("A", "1");
    const QByteArray b = entryBytes("B", "2");
    QTest::newRow("no file") << QByteArray() << 0 << QStringList();
    QTest::newRow("shorter than its header") << header(0).left(23) << 0 << QStringList();
    QTest::newRow("foreign magic")
        << QByteArray("PHN\x03", 4) + header(0).mid(4) + a << 0 << QStringList();
    QTest::newRow("header only") << header(0) << 0 << QStringList();
    QTest::newRow("trailing partial entry")
        << header(1) + g + a + b + b.left(527) << 1 << QStringList{"A", "B"};
    QTest::newRow("count larger than the groups present")
        << header(3) + g + g << 2 << QStringList();
    // Entries standing where groups are due are read as groups, and what is left is short.
    QTest::newRow("entries where groups are due") << header(4) + g + g + a << 3 << QStringList();
    QTest::newRow("partial group") << header(2) + g + g.left(100) << 1 << QStringList();
    QTest::newRow("negative count reads no groups") << header(-5) + a << 0 << QStringList{"A"};
}

void TestBookStore::loadingStopsWhereTheFileEnds() {
    QFETCH(QByteArray, file);
    QFETCH(int, groups);
    QFETCH(QStringList, entries);
    if (!file.isNull()) QVERIFY(zrktest::writeAll("book.phn", file));
    zrktest::RecordingMessages shown;
    BookStore book;
    book.load();
    QCOMPARE(book.groupCount(), groups + 1);
    QCOMPARE(names(book), entries);
    QCOMPARE(shown.texts, QStringList());  // loading reports nothing

    // The next save keeps whatever was there as the backup and writes what was loaded.
    QVERIFY(book.SaveList());
    QCOMPARE(zrktest::readAll("book.bak"), file.isNull() ? QByteArray() : file);
    QCOMPARE(QFile::exists("book.bak"), !file.isNull());
    BookStore again;
    again.load();
    QCOMPARE(names(again), entries);
    QCOMPARE(again.groupCount(), groups + 1);
}

void TestBookStore::legacyFileIsConvertedAndKeptAsBackup() {
    const QByteArray legacy = QByteArray("PHN ", 4) +
                              legacyRecord(cp("Старый"), "12-34-56", 1, cp("заметка")) +
                              legacyRecord("B", "777", 42, "") + QByteArray(100, '\x01');
    QVERIFY(zrktest::writeAll("book.phn", legacy));
    BookStore book;
    book.load();
    QCOMPARE(book.groupCount(), 1);
    QCOMPARE(names(book), (QStringList{"Старый", "B"}));
    const BookEntry& e = book.item(0).Entry;
    QCOMPARE(e.Phone.text(), QStringLiteral("12-34-56"));
    QCOMPARE(e.Status, 1);
    QCOMPARE(e.Note.text(), QStringLiteral("заметка"));
    QCOMPARE(e.Group, 0);
    QVERIFY(e.WorkPhone.isEmpty() && e.Address.isEmpty() && e.EMail.isEmpty() && e.Icq.isEmpty() &&
            e.HomePage.isEmpty());
    QCOMPARE(book.item(1).Entry.Status, 42);
    QCOMPARE(book.WhoCall("123456").name, QStringLiteral("Старый"));

    QVERIFY(book.SaveList());
    QCOMPARE(zrktest::readAll("book.bak"), legacy);
    EntrySpec converted{cp("Старый"), "12-34-56", {}, {}, {}, {}, {}, cp("заметка"), 1, 0};
    QCOMPARE(zrktest::readAll("book.phn"),
             header(0) + entryBytes(converted) +
                 entryBytes(EntrySpec{"B", "777", {}, {}, {}, {}, {}, {}, 42, 0}));
}

void TestBookStore::lengthBytesNeverReachOutsideTheirField() {
    // Length bytes of 255 everywhere: each text is its whole field, nothing more.
    QByteArray rec = entryBytes(EntrySpec{}, 'a');
    for (int off : {0, 71, 122, 173, 244, 295, 311, 392}) rec[off] = char(0xFF);
    QByteArray grp = groupBytes("", "", 0, 'b');
    grp[0] = char(0xFF);
    QByteArray legacy = QByteArray("PHN ", 4) + legacyRecord(QByteArray(50, 'n'), "1", 0, "", 200);

    QVERIFY(zrktest::writeAll("book.phn", header(1) + grp + rec));
    BookStore book;
    book.load();
    QCOMPARE(book.count(), 1);
    const BookEntry& e = book.item(0).Entry;
    QCOMPARE(e.Name.text(), QString(70, 'a'));
    QCOMPARE(e.Phone.text(), QString(50, 'a'));
    QCOMPARE(e.Icq.text(), QString(15, 'a'));
    QCOMPARE(e.Note.text(), QString(133, 'a'));
    QCOMPARE(book.group(1).Text, QString(23, 'b'));
    // Saved with true lengths.
    QVERIFY(book.SaveList());
    const QByteArray saved = zrktest::readAll("book.phn");
    QCOMPARE(quint8(saved[24]), quint8(23));
    QCOMPARE(quint8(saved[24 + 284]), quint8(70));
    QCOMPARE(quint8(saved[24 + 284 + 295]), quint8(15));

    QVERIFY(zrktest::writeAll("book.phn", legacy));
    book.load();
    QCOMPARE(book.item(0).Entry.Name.text(), QString(50, 'n'));
    QCOMPARE(book.item(0).Entry.Phone.text(), QStringLiteral("1"));
}

void TestBookStore::savedFileMatchesTheLayoutByteForByte() {
    BookStore book;
    fillSample(book);
    // Junk left behind a shortened text in memory is not written.
    BookEntry& e = book.item(2).Entry;
    e.Name.setText("Сидоров-Длинный");
    e.Name.length = 7;
    e.pad1[0] = 'x';
    QVERIFY(book.SaveList());
    QCOMPARE(zrktest::readAll("book.phn"), sampleFile());

    BookStore again;
    again.load();
    QCOMPARE(again.serialize(), sampleFile());
    QCOMPARE(again.group(2).Text, QStringLiteral("Работа"));
}

void TestBookStore::saveKeepsThePreviousFileAsBackup() {
    zrktest::RecordingMessages shown;
    BookStore book;
    QVERIFY(book.SaveList());  // an empty book: just the header, no backup made
    QCOMPARE(zrktest::readAll("book.phn"), header(0));
    QVERIFY(!QFile::exists("book.bak"));

    fillSample(book);
    QVERIFY(book.SaveList());
    QCOMPARE(zrktest::readAll("book.bak"), header(0));
    book.AddItem(entry("Новый", "5"), true);
    QVERIFY(book.SaveList());
    QCOMPARE(zrktest::readAll("book.bak"), sampleFile());
    QCOMPARE(zrktest::readAll("book.phn"), sampleFile() + entryBytes(cp("Новый"), "5"));

    // The name comes from the settings; the backup stays "book.bak" in the current directory.
    ini().PhoneBookFile = "other.phn";
    QVERIFY(zrktest::writeAll("other.phn", "old other"));
    QVERIFY(book.SaveList());
    QCOMPARE(zrktest::readAll("book.bak"), QByteArray("old other"));
    QCOMPARE(zrktest::readAll("other.phn"), zrktest::readAll("book.phn"));

    QCOMPARE(shown.texts, QStringList());
    // No temporary file is left behind.
    QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden),
             (QStringList{"book.bak", "book.phn", "other.phn"}));
}

void TestBookStore::whoCallFindsTheFirstExactFilteredPhone() {
    BookStore book;
    book.AddItem(entry("Спейс", "12 34 56"), true);
    book.AddItem(entry("Дефис", "12-34-56", 1), true);
    book.AddItem(entry("Скобки", "(12)3456", 2), true);
    book.AddItem(entry("Межгород", "8-812-123456"), true);
    book.AddItem(entry("Пауза", "555p1"), true);

    CallerInfo who = book.WhoCall("123456");
    QCOMPARE(who.name, QStringLiteral("Дефис"));  // spaces stay under the dial filter
    QCOMPARE(who.status, 1);
    QCOMPARE(book.WhoCall("12 34 56").name, QStringLiteral("Спейс"));
    QCOMPARE(book.WhoCall("8812123456").name, QStringLiteral("Межгород"));
    QCOMPARE(book.WhoCall("555p1").name, QStringLiteral("Пауза"));

    // No prefix or suffix match, letter case counts, the number is not filtered.
    for (const char* miss : {"23456", "1234567", "555P1", "12-34-56", "", "Unknown"}) {
        who = book.WhoCall(miss);
        QVERIFY2(who.name.isEmpty() && who.status == -1, miss);
        QCOMPARE(who.group.Title.text(), QStringLiteral("Общая"));
        QCOMPARE(who.group.Sound.text(), QString());
        QCOMPARE(who.group.Action, 0);
    }
}

void TestBookStore::whoCallGroupRecord() {
    BookStore book;
    book.AddGroup(BookGroup::make("Друзья", "friend.wav", 1), true);
    book.AddItem(entry("В группе", "1", 0, 1), true);
    book.AddItem(entry("Общий", "2", 2, 0), true);
    book.AddItem(entry("Вне таблицы", "3", 1, 2), true);
    book.AddItem(entry("Отрицательная", "4", 5, -1), true);

    CallerInfo who = book.WhoCall("1");
    QCOMPARE(who.group.Title.text(), QStringLiteral("Друзья"));
    QCOMPARE(who.group.Sound.text(), QStringLiteral("friend.wav"));
    QCOMPARE(who.group.Action, 1);
    who = book.WhoCall("2");
    QCOMPARE(who.group.Title.text(), QStringLiteral("[Все группы]"));
    QCOMPARE(who.group.Action, 0);
    for (const char* n : {"3", "4"}) {
        who = book.WhoCall(n);
        QVERIFY(!who.name.isEmpty());  // still found
        QCOMPARE(who.group.Title.text(), QStringLiteral("Общая"));
    }
    QCOMPARE(book.WhoCall("4").status, 5);
}

void TestBookStore::isNumComparesStrictlyFilteredPhones() {
    BookStore book;
    QVERIFY(!book.IsNum("123456"));
    book.AddItem(entry("Дефис", "12-34-56"), true);
    QVERIFY(book.IsNum("123456"));
    QVERIFY(!book.IsNum("12345"));
    QVERIFY(!book.IsNum("1234567"));

    BookStore spaced;
    spaced.AddItem(entry("Спейс", "12 34 56"), true);
    QVERIFY(spaced.IsNum(StrictDialFilter(QStringLiteral("(12) 34-56"))));
    QCOMPARE(spaced.WhoCall("123456").status, -1);  // a duplicate, yet not found as a caller
    spaced.AddItem(entry("Пауза", "7w8"), true);
    QVERIFY(spaced.IsNum("7w8"));
    QVERIFY(!spaced.IsNum("7W8"));
}

void TestBookStore::editingAndRemoving() {
    BookStore book;
    fillSample(book);
    // Overwriting a group renames it in the selector.
    QCOMPARE(book.AddGroup(BookGroup::make("Коллеги", "w.wav", 2), false, 2), 2);
    QCOMPARE(book.group(2).Text, QStringLiteral("Коллеги"));
    QCOMPARE(book.AddItem(entry("Петров-2", "654321", 0, 2), false, 1), 1);
    QCOMPARE(names(book), (QStringList{"Иванов", "Петров-2", "Сидоров"}));
    QCOMPARE(book.AddItem(entry("Хвост", "9", 0, 2), true), 3);

    // Deleting group 1 moves later groups' entries down with their group.
    book.RemoveItem(0);
    book.RemoveGroup(1);
    QCOMPARE(book.groupCount(), 2);
    QCOMPARE(book.group(1).Text, QStringLiteral("Коллеги"));
    QCOMPARE(book.item(0).Entry.Group, 1);
    QCOMPARE(book.item(1).Entry.Group, 0);
    QCOMPARE(book.item(2).Entry.Group, 1);
    QCOMPARE(book.WhoCall("9").group.Title.text(), QStringLiteral("Коллеги"));

    // Deletion by phone takes the first identical phone only.
    book.AddItem(entry("Двойник", "654321"), true);
    FixedText<50> phone;
    phone.setText("654321");
    QCOMPARE(book.RemoveFirstByPhone(phone), 0);
    QCOMPARE(names(book), (QStringList{"Сидоров", "Хвост", "Двойник"}));
    phone.setText("65432");
    QCOMPARE(book.RemoveFirstByPhone(phone), -1);
}

void TestBookStore::backupThatCannotBeDeleted() {
    QVERIFY(zrktest::writeAll("book.phn", sampleFile()));
    QVERIFY(QDir().mkpath("book.bak/inside"));
    zrktest::RecordingMessages shown;
    BookStore book;
    book.load();
    book.AddItem(entry("Новый", "5"), true);
    QVERIFY(!book.SaveList());
    QCOMPARE(shown.captions, QStringList{"Ошибка"});
    QCOMPARE(shown.texts, QStringList{"Ошибка создания book.bak!"});
    QCOMPARE(zrktest::readAll("book.phn"), sampleFile());
    QCOMPARE(book.count(), 4);
    QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden), QStringList{"book.phn"});
}

void TestBookStore::bookOnAnotherFileSystem() {
    // The book cannot be moved to "book.bak" in the current directory: the book stays.
    const QString elsewhere = zrktest::otherFileSystemDir(box_->path());
    if (elsewhere.isEmpty()) QSKIP("no second writable file system to hold the book");
    QTemporaryDir dir(elsewhere + "/zrk-book-XXXXXX");
    QVERIFY(dir.isValid());
    ini().PhoneBookFile = dir.filePath("mine.phn");
    QVERIFY(zrktest::writeAll(ini().PhoneBookFile, sampleFile()));
    zrktest::RecordingMessages shown;
    BookStore book;
    book.load();
    QCOMPARE(book.count(), 3);
    book.AddItem(entry("Новый", "5"), true);
    QVERIFY(!book.SaveList());
    QCOMPARE(shown.texts, QStringList{"Ошибка создания book.phn!"});
    QCOMPARE(zrktest::readAll(ini().PhoneBookFile), sampleFile());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"mine.phn"});
}

void TestBookStore::missingDirectory() {
    zrktest::RecordingMessages shown;
    BookStore book;
    fillSample(book);
    ini().PhoneBookFile = "no-such-dir/book.phn";
    QVERIFY(!book.SaveList());
    QCOMPARE(shown.captions, QStringList{"Ошибка"});
    QCOMPARE(shown.texts, QStringList{"Ошибка создания no-such-dir/book.phn!"});
    QCOMPARE(book.count(), 3);
    QVERIFY(!QFile::exists("no-such-dir"));
}

void TestBookStore::readOnlyDirectory() {
    zrktest::RecordingMessages shown;
    BookStore book;
    fillSample(book);
    QVERIFY(QDir().mkdir("ro"));
    ini().PhoneBookFile = "ro/book.phn";
    QVERIFY(zrktest::writeAll("ro/book.phn", "previous"));
    QVERIFY(QFile::setPermissions("ro", QFile::ReadOwner | QFile::ExeOwner));
    const bool enforced = zrktest::readOnlyDirStopsWrites("ro");
    if (enforced) {
        QVERIFY(!book.SaveList());
        QCOMPARE(shown.texts, QStringList{"Ошибка создания ro/book.phn!"});
    }
    QFile::setPermissions("ro", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(zrktest::readAll("ro/book.phn"), QByteArray("previous"));
    if (!enforced) QSKIP("running as root: permission bits do not stop writes here");
}

void TestBookStore::writeFailingHalfWayLosesNothing() {
    QVERIFY(zrktest::writeAll("book.bak", "the save before"));
    QVERIFY(zrktest::writeAll("book.phn", sampleFile()));
    zrktest::RecordingMessages shown;
    BookStore book;
    book.load();
    for (int i = 0; i < 40; ++i) book.AddItem(entry("Человек", QString::number(i)), true);
    const QByteArray inMemory = book.serialize();
    {
        // Room for the header and a few records only.
        zrktest::FileSizeLimit limit(4000);
        QVERIFY(limit.ok());
        QVERIFY(!book.SaveList());
    }
    QCOMPARE(shown.captions, QStringList{"Ошибка"});
    QCOMPARE(shown.texts, QStringList{"Ошибка записи book.phn!"});
    QCOMPARE(book.serialize(), inMemory);
    QCOMPARE(zrktest::readAll("book.phn"), sampleFile());
    QCOMPARE(zrktest::readAll("book.bak"), QByteArray("the save before"));
    QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden),
             (QStringList{"book.bak", "book.phn"}));

    // With room again the same book is saved whole.
    QVERIFY(book.SaveList());
    QCOMPARE(zrktest::readAll("book.phn"), inMemory);
    QCOMPARE(zrktest::readAll("book.bak"), sampleFile());
}

QTEST_GUILESS_MAIN(TestBookStore)
#include "tst_bookstore.moc"
