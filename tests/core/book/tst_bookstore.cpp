// The phone book store against files built byte by byte from the record layouts.
#include "core/book/BookBytes.h"
#include "core/book/BookStore.h"
#include "core/book/StoreTesting.h"
#include "core/book/WithoutRootOverride.h"
#include "core/settings/Settings.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <limits>
#include <thread>

using namespace zrk;
using namespace zrktest;

namespace {

// The book as it is in `file`, stored as "Phone Book File".
void loadFrom(BookStore& book, const QByteArray& file) {
    QVERIFY(writeAll(ini().PhoneBookFile, file));
    book.load();
}

// The sample book with one entry added, as before a save.
void loadChanged(BookStore& book) {
    loadFrom(book, sampleFile());
    book.AddItem(entry("Новый", "5"), true);
}

// Entry i of a book with more text than one of the store's blocks holds: sizes vary, so
// that texts end at every kind of place and some do not fit what is left of a block.
QByteArray longEntry(int i) {
    const auto t = [i](int size, char c) { return QByteArray(1 + (i * 37 + size) % size, c); };
    return entryBytes({t(70, 'n'), QByteArray::number(i), t(50, 'w'), t(70, 'a'), t(50, 'e'),
                       t(15, 'i'), t(70, 'h'), t(133, 'z')},
                      i % 3, i % 3);
}

QByteArray longEntries(int from, int n) {
    QByteArray out;
    for (int i = from; i < from + n; ++i) out += longEntry(i);
    return out;
}

void addLongEntries(BookStore& b, int from, int n) {
    for (int i = from; i < from + n; ++i) {
        BookEntry e;
        std::memcpy(&e, longEntry(i).constData(), sizeof e);
        b.AddItem(e, true);
    }
}

QStringList names(const BookStore& b) {
    QStringList n;
    for (int i = 0; i < b.count(); ++i) n << b.text(i, FieldName);
    return n;
}

// Saves `book` where the save must fail: the error handed back says `message`, with the
// errno of the failure, and the book in memory stays as it was.
void expectSaveFails(BookStore& book, const QString& message) {
    const QByteArray before = book.serialize();
    FileError error;
    QVERIFY(!book.SaveList(&error));
    QCOMPARE(error.message, message);
    QVERIFY(error.code != 0);
    QCOMPARE(book.serialize(), before);
}

}  // namespace

class TestBookStore : public QObject {
    Q_OBJECT

private slots:
    void init() {
        box_ = std::make_unique<Sandbox>();
        ini() = TIni::defaults();
    }
    void cleanup() { box_.reset(); }

    void filtersRemoveExactlyTheirSets() {
        // The removed ranges of the dial filter, as the book's users have always seen them.
        const QList<QPair<int, int>> removed = {
            {0x21, 0x2B}, {0x2D, 0x2F}, {0x3A, 0x4F}, {0x51, 0x53}, {0x55, 0x56}, {0x58, 0x5F},
            {0x61, 0x6F}, {0x71, 0x73}, {0x75, 0x76}, {0x78, 0x7D}, {0xC0, 0xFF}};
        for (int c = 0; c < 256; ++c) {
            const QByteArray one(1, char(c));
            bool gone = false;
            for (const auto& r : removed) gone = gone || (c >= r.first && c <= r.second);
            QCOMPARE(DialFilter(one), gone ? QByteArray() : one);
            const bool strict = (c >= '0' && c <= '9') || QByteArray("PTWptw").contains(char(c));
            QCOMPARE(StrictDialFilter(one), strict ? one : QByteArray());
        }
        // The text forms work on code page 1251 bytes: Cyrillic letters (0xC0-0xFF) go, the
        // numero sign (0xB9) stays.
        QCOMPARE(DialFilter(QStringLiteral("т. 12 34 №5")), QStringLiteral(" 12 34 №5"));
        QCOMPARE(StrictDialFilter(QStringLiteral("т. 12 34 №5")), QStringLiteral("12345"));
    }

    void loadsWhatIsWholeAndSavesIt_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("saved");  // by the next save; the file becomes the backup

        const QByteArray g = groupBytes("G", "", 0);
        const QByteArray a = entryBytes({"A", "1"});
        const QByteArray b = entryBytes({"B", "2"});
        const auto row = [](const char* tag, const QByteArray& file, const QStringList& names,
                            const QByteArray& saved) {
            QTest::newRow(tag) << file << names << saved;
        };
        row("no file", {}, {}, header(0));
        row("junk after every text", sampleFile('z'), {"Иванов", "Петров", "Сидоров"},
            sampleFile());
        row("shorter than its header", header(0).left(23), {}, header(0));
        row("foreign magic", QByteArray("PHN\x03", 4) + header(0).mid(4) + a, {}, header(0));
        row("trailing partial entry", header(1) + g + a + b + b.left(527), {"A", "B"},
            header(1) + g + a + b);
        row("count larger than the groups present", header(3) + g + g + g.left(100), {},
            header(2) + g + g);
        row("negative count", header(-5) + a, {"A"}, header(0) + a);

        // Length bytes of 255: each text is its whole field, nothing more.
        QByteArray rec = entryBytes({}, 0, 0, 'a');
        for (int off : {0, 71, 122, 173, 244, 295, 311, 392}) rec[off] = char(0xFF);
        const auto n = [](int size) { return QByteArray(size, 'a'); };
        row("length bytes past their fields",
            header(1) + groupBytes("", "", 0, 'b').replace(0, 1, "\xFF") + rec, {QString(70, 'a')},
            header(1) + groupBytes(QByteArray(23, 'b'), "", 0) +
                entryBytes({n(70), n(50), n(50), n(70), n(50), n(15), n(70), n(133)}));

        // Kept as they are: zeros inside a text, texts filling their fields, statuses and
        // groups that mean nothing to this version.
        constexpr qint32 kMax = std::numeric_limits<qint32>::max();
        const QByteArrayList full{n(70), n(50), n(50), n(70), n(50), n(15), n(70), n(133)};
        const QByteArray zeros("a\0b\0", 4), splitPhone("1\0002", 3);
        const QByteArray odd = header(1) + g + entryBytes({zeros, splitPhone}, 7, 99) +
                               entryBytes(full, -3, -5) +
                               entryBytes({"\xFF\x80", QByteArray(1, '\0')}, kMax, -kMax - 1);
        row("odd values", odd, {QString::fromLatin1("a\0b\0", 4), QString(70, 'a'), "я\u0402"},
            odd);
        const QByteArray blank = header(0) + entryBytes({}, 1) + entryBytes({}, 2);
        row("only entries without texts", blank, {"", ""}, blank);

        // Converted with every field the old record lacks empty; the second name's length byte
        // is past its field.
        const QByteArrayList old{cp("Старый"), "12-34-56", {}, {}, {}, {}, {}, cp("заметка")};
        row("legacy",
            "PHN " + legacyRecord(cp("Старый"), "12-34-56", 1, cp("заметка")) +
                legacyRecord(QByteArray(50, 'n'), "777", 42, "", 200) + QByteArray(100, 1),
            {"Старый", QString(50, 'n')},
            header(0) + entryBytes(old, 1) + entryBytes({QByteArray(50, 'n'), "777"}, 42));
    }

    void loadsWhatIsWholeAndSavesIt() {
        QFETCH(QByteArray, file);
        if (!file.isNull()) QVERIFY(writeAll("book.phn", file));
        BookStore book;
        book.load();  // reports nothing: it has no way to
        QTEST(::names(book), "names");
        FileError error{-1, "untouched"};
        QVERIFY(book.SaveList(&error));
        QTEST(readAll("book.phn"), "saved");
        QCOMPARE(readAll("book.bak"), file);
        QCOMPARE(error.message, QString("untouched"));  // a save that succeeds says nothing
    }

    void bookMovedAsideIsLoadedFromTheBackup() {
        // A save killed after "book.phn" became "book.bak" (or failed to create the new
        // file) left the book only in the backup. Starting empty would let the second save
        // after it delete that copy.
        QVERIFY(writeAll("book.bak", sampleFile()));
        BookStore book;
        book.load();
        QCOMPARE(names(book), (QStringList{"Иванов", "Петров", "Сидоров"}));
        book.AddItem(entry("Новый", "5"), true);
        for (int save = 0; save < 2; ++save) {
            QVERIFY(book.SaveList());
            QCOMPARE(readAll("book.phn"), sampleFile() + entryBytes({cp("Новый"), "5"}));
        }
        QCOMPARE(readAll("book.bak"), sampleFile() + entryBytes({cp("Новый"), "5"}));

        // A new book named in another folder starts empty, not as the backup of this one.
        QVERIFY(QDir().mkpath("other"));
        ini().PhoneBookFile = "other/new.phn";
        book.load();
        QCOMPARE(book.count(), 0);
        ini().PhoneBookFile = "book.phn";

        // A book file of its own, even a damaged one, is what loads; the backup is not read.
        QVERIFY(writeAll("book.phn", header(0).left(10)) && writeAll("book.bak", sampleFile()));
        book.load();
        QCOMPARE(book.count(), 0);
        // The setting may name the backup itself: its save keeps it.
        ini().PhoneBookFile = "book.bak";
        book.load();
        QVERIFY(book.SaveList());
        QCOMPARE(readAll("book.bak"), sampleFile());
    }

    void saveKeepsTheBackupAndWritesNoJunk() {
        BookStore book;
        loadFrom(book, sampleFile());
        // Junk behind a shortened text of an edited entry is not written either.
        BookEntry e = book.entry(2);
        e.Name.setText("Сидоров-Длинный");
        e.Name.length = 7;
        e.pad1[0] = 'x';
        book.AddItem(e, false, 2);
        book.AddItem(entry("Новый", "5"), true);
        QVERIFY(book.SaveList());
        QCOMPARE(readAll("book.phn"), sampleFile() + entryBytes({cp("Новый"), "5"}));

        // The name comes from the settings; the backup stays "book.bak" in the current directory.
        ini().PhoneBookFile = "other.phn";
        QVERIFY(writeAll("other.phn", "old other"));
        QVERIFY(book.SaveList());
        QCOMPARE(readAll("book.bak"), QByteArray("old other"));
        QCOMPARE(readAll("other.phn"), readAll("book.phn"));
        QCOMPARE(filesIn(), (QStringList{"book.bak", "book.phn", "other.phn"}));
    }

    void whoCallAndIsNum() {
        BookStore book;
        book.AddGroup(BookGroup::make("Друзья", "friend.wav", 1), true);
        book.AddItem(entry("Спейс", "12 34 56"), true);
        book.AddItem(entry("Дефис", "12-34-56", 1, 1), true);
        book.AddItem(entry("Скобки", "(12)3456", 2), true);  // filters to the same as "Дефис"
        book.AddItem(entry("Пауза", "7 w-8"), true);
        book.AddItem(entry("Вне таблицы", "3", 1, 2), true);
        book.AddItem(entry("Отрицательная", "4", 5, -1), true);
        // name|status|group title|sound|action
        const auto who = [&](const QString& number) {
            const CallerInfo w = book.WhoCall(number);
            return QStringList{w.name, QString::number(w.status), w.group.Title.text(),
                               w.group.Sound.text(), QString::number(w.group.Action)}
                .join('|');
        };
        // Group 0 is the common group, named as the entry editor names it.
        QCOMPARE(who("12 34 56"), QString("Спейс|0|[Общая]||0"));
        QCOMPARE(who("123456"), QString("Дефис|1|Друзья|friend.wav|1"));
        QCOMPARE(who("7 w8"), QString("Пауза|0|[Общая]||0"));
        // A group outside the table: the caller is found, with the default group.
        QCOMPARE(who("3"), QString("Вне таблицы|1|Общая||0"));
        QCOMPARE(who("4"), QString("Отрицательная|5|Общая||0"));
        // No prefix or suffix match, letter case counts, the number itself is not filtered.
        for (const char* miss : {"23456", "1234567", "7 W8", "7w8", "12-34-56", "", "Unknown"})
            QVERIFY2(who(miss) == "|-1|Общая||0", miss);
        // An edited phone is found by its new number, its texts kept in place or moved.
        book.AddItem(entry("Дефис", "65-43-21"), false, 1);
        book.AddItem(entry("Спейс", "8 (495) 765-43-21"), false, 0);
        QCOMPARE(book.WhoCall("654321").name, QString("Дефис"));
        QCOMPARE(book.WhoCall("4957654321").name, QString("Спейс"));
        QCOMPARE(book.WhoCall("123456").name, QString("Скобки"));

        // The duplicate check filters strictly: blanks go too.
        QVERIFY(book.IsNum("7w8") && !book.IsNum("7W8"));
        for (const char* phone : {"12-34-56", "12 34 56", "(12) 34-56"}) {
            BookStore one;
            one.AddItem(entry("Тот же", phone), true);
            QVERIFY2(one.IsNum("123456") && !one.IsNum("12345") && !one.IsNum("1234567"), phone);
        }
        QVERIFY(!BookStore().IsNum("123456"));
    }

    void editingAndRemoving() {
        BookStore book;
        loadFrom(book, sampleFile());
        QCOMPARE(book.group(0).Text, QStringLiteral("[Все группы]"));
        QCOMPARE(book.group(2).Text, QStringLiteral("Работа"));
        // Overwriting a group renames it in the selector.
        QCOMPARE(book.AddGroup(BookGroup::make("Коллеги", "w.wav", 2), false, 2), 2);
        QCOMPARE(book.group(2).Text, QStringLiteral("Коллеги"));
        QCOMPARE(book.AddItem(entry("Петров-2", "654321", 0, 2), false, 1), 1);
        QCOMPARE(book.AddItem(entry("Хвост", "9", 0, 2), true), 3);
        QCOMPARE(names(book), (QStringList{"Иванов", "Петров-2", "Сидоров", "Хвост"}));

        // Deleting group 1 moves later groups' entries down with their group.
        book.RemoveItem(0);
        book.RemoveGroup(1);
        QCOMPARE(book.group(1).Text, QStringLiteral("Коллеги"));
        QCOMPARE(book.groupOf(0), 1);
        QCOMPARE(book.groupOf(1), 0);
        QCOMPARE(book.WhoCall("9").group.Title.text(), QStringLiteral("Коллеги"));

        // Removing several at once: any order, repeats once, the rest keep their order.
        for (const char* n : {"A", "B", "C", "D"}) book.AddItem(entry(n, "1"), true);
        book.RemoveItems({5, 2, 5, 0});
        QCOMPARE(names(book), (QStringList{"Сидоров", "A", "B", "D"}));
        book.RemoveItems({});
        QCOMPARE(book.count(), 4);
    }

    void editsKeepEveryOtherEntryWhole() {
        // Entries rewritten longer and shorter and removed in numbers, so that the book's
        // memory is reorganised more than once: every entry left reads and saves as written.
        BookStore book;
        QByteArray expected;
        const auto note = [](int i, int len) { return QByteArray(len, char('a' + i % 26)); };
        for (int i = 0; i < 3000; ++i)
            book.AddItem(entry(QString("Имя %1").arg(i), QString::number(i)), true);
        for (int round = 0; round < 3; ++round) {
            for (int i = 0; i < book.count(); ++i) {
                BookEntry e = entry(QString("Имя %1").arg(i), QString::number(i), round, 0);
                e.Note.setBytes(note(i, round == 1 ? 5 : 133));
                QCOMPARE(book.AddItem(e, false, i), i);
            }
        }
        std::vector<int> odd;
        for (int i = 1; i < book.count(); i += 2) odd.push_back(i);
        book.RemoveItems(odd);
        book.RemoveItem(0);
        for (int i = 2; i < 3000; i += 2) {
            const QByteArray n = QByteArray::number(i);
            expected += entryBytes({cp("Имя ") + n, n, {}, {}, {}, {}, {}, note(i, 133)}, 2, 0);
        }
        QCOMPARE(book.count(), 1499);
        QCOMPARE(book.serialize(), header(0) + expected);
        QCOMPARE(book.text(1498, FieldName), QString("Имя 2998"));
        QCOMPARE(book.WhoCall("2998").name, QString("Имя 2998"));
        QVERIFY(!book.IsNum("2999"));
    }

    void aCopyIsASnapshot_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("a few entries") << sampleFile();
        QTest::newRow("several blocks of text") << sampleFile() + longEntries(0, 400);
    }

    void aCopyIsASnapshot() {
        QFETCH(QByteArray, file);
        BookStore book;
        loadFrom(book, file);
        QVERIFY(writeAll("other.phn", header(0) + entryBytes({"Другой", "1"})));
        const QByteArray before = book.serialize();
        QCOMPARE(before, file);
        const QList<QPair<const char*, std::function<void(BookStore&)>>> edits{
            {"add", [](BookStore& b) { b.AddItem(entry("Новый", "5"), true); }},
            {"rewrite longer",
             [](BookStore& b) { b.AddItem(entry("Иванов-Длинный", "12345678"), false, 0); }},
            {"rewrite shorter", [](BookStore& b) { b.AddItem(entry("И", "1"), false, 0); }},
            {"status", [](BookStore& b) { b.setStatus(1, 0); }},
            {"group", [](BookStore& b) { b.setGroup(2, 1); }},
            {"remove", [](BookStore& b) { b.RemoveItem(0); }},
            {"remove several",
             [](BookStore& b) {
                 b.RemoveItems({2, 0});
             }},
            {"add group", [](BookStore& b) { b.AddGroup(BookGroup::make("Новая"), true); }},
            {"rename group", [](BookStore& b) { b.AddGroup(BookGroup::make("Новая"), false, 1); }},
            {"remove group", [](BookStore& b) { b.RemoveGroup(1); }},
            {"clear", [](BookStore& b) { b.clear(); }},
            {"load", [](BookStore& b) { b.load("other.phn"); }},
            {"add more than a block holds", [](BookStore& b) { addLongEntries(b, 1000, 300); }},
            {"remove the last entries, then add",
             [](BookStore& b) {
                 std::vector<int> last;
                 for (int i = std::max(0, b.count() - 150); i < b.count(); ++i) last.push_back(i);
                 b.RemoveItems(last);
                 b.AddItem(entry("Новый", "5"), true);
             }},
            {"rewrite until the texts are rebuilt",
             [](BookStore& b) {
                 // Each round drops as many bytes as the book holds: a few rounds pass the
                 // point where the store rebuilds its texts, whatever the book's size.
                 for (int round = 0, rounds = b.count() < 10 ? 700 : 3; round < rounds; ++round)
                     for (int i = 0; i < b.count(); ++i) b.AddItem(b.entry(i), false, i);
                 b.setStatus(0, 5);
             }},
        };
        for (const auto& [what, edit] : edits) {
            BookStore copy = book;
            BookStore assigned;
            assigned = book;
            edit(assigned);
            QVERIFY2(assigned.serialize() != before, what);
            QVERIFY2(copy.serialize() == before, what);
            QVERIFY2(book.serialize() == before, what);
            QVERIFY2(book.group(1).Text == QStringLiteral("Друзья"), what);
            QVERIFY2(book.WhoCall("123456").name == QStringLiteral("Иванов"), what);
            // The other way round: the original edited, the copy as it was.
            edit(book);
            QVERIFY2(copy.serialize() == before, what);
            book = copy;
        }

        // Both sides change after the copy, first in the block they last shared: each holds
        // its own changes only, also where one of them rebuilds its texts.
        {
            BookStore copy = book;
            addLongEntries(book, 1000, 300);
            copy.AddItem(entry("Второй", "2"), true);
            QCOMPARE(book.serialize(), before + longEntries(1000, 300));
            QCOMPARE(copy.serialize(), before + entryBytes({cp("Второй"), "2"}));
            for (int round = 0; round < 3; ++round)
                for (int i = 0; i < book.count(); ++i) book.AddItem(book.entry(i), false, i);
            copy.RemoveItem(copy.count() - 1);
            QCOMPARE(book.serialize(), before + longEntries(1000, 300));
            QCOMPARE(copy.serialize(), before);
            QCOMPARE(book.WhoCall("1299").name, QString(1 + (1299 * 37 + 70) % 70, 'n'));
            book = copy;
        }

        // Moved: the store moved from is an empty book that still works.
        BookStore moved = std::move(book);
        QCOMPARE(moved.serialize(), before);
        QCOMPARE(book.serialize(), header(0));
        QCOMPARE(book.groupCount(), 1);
        book.AddItem(entry("После", "1"), true);
        QCOMPARE(names(book), QStringList{"После"});
        moved = std::move(book);
        QCOMPARE(names(moved), QStringList{"После"});
        QCOMPARE(book.count(), 0);
    }

    void aCopySavesOnAnotherThreadWhileTheOriginalChanges() {
        BookStore book;
        for (int i = 0; i < 20000; ++i)
            book.AddItem(entry(QString("Имя %1").arg(i), QString::number(i)), true);
        const BookStore snapshot = book;
        const QByteArray expected = snapshot.serialize();
        bool saved = false;
        std::thread saver([&] { saved = snapshot.SaveList("snapshot.phn"); });
        for (int i = 0; i < 2000; ++i) {
            book.AddItem(entry("Другое имя, длиннее прежнего", "7"), false, i);
            book.setStatus(i + 1, 2);
            if (i % 100 == 0) book.RemoveItem(book.count() - 1);
        }
        saver.join();
        QVERIFY(saved);
        QCOMPARE(readAll("snapshot.phn"), expected);
        QCOMPARE(book.text(0, FieldName), QString("Другое имя, длиннее прежнего"));
    }

    // ---- saves that fail: each says why, and no good copy is lost ----

    void failedSavesLoseNothing() {
        BookStore book;
        loadChanged(book);
        QVERIFY(QDir().mkpath("book.bak/inside"));  // cannot be deleted
        expectSaveFails(book, "Ошибка создания book.bak!");
        QCOMPARE(readAll("book.phn"), sampleFile());
        QCOMPARE(filesIn(), QStringList{"book.phn"});

        // A write that fails half way: room for the header and a few records only.
        QVERIFY(QDir().rmpath("book.bak/inside") && writeAll("book.bak", "the save before"));
        for (int i = 0; i < 40; ++i) book.AddItem(entry("Человек", QString::number(i)), true);
        {
            FileSizeLimit limit(4000);
            QVERIFY(limit.ok);
            expectSaveFails(book, "Ошибка записи book.phn!");
        }
        QCOMPARE(readAll("book.phn"), sampleFile());
        QCOMPARE(readAll("book.bak"), QByteArray("the save before"));
        QCOMPARE(filesIn(), (QStringList{"book.bak", "book.phn"}));

        ini().PhoneBookFile = "no-such-dir/book.phn";
        expectSaveFails(book, "Ошибка создания no-such-dir/book.phn!");
        QVERIFY(!QFile::exists("no-such-dir"));
    }

    void bookOnAnotherFileSystem() {
        // The book cannot be renamed to "book.bak" in the current directory: it is copied
        // there instead, and the save goes through.
        const QString elsewhere = otherFileSystemDir(box_->path());
        if (elsewhere.isEmpty()) QSKIP("no second writable file system to hold the book");
        QTemporaryDir dir(elsewhere + "/zrk-book-XXXXXX");
        QVERIFY(dir.isValid());
        ini().PhoneBookFile = dir.filePath("mine.phn");
        BookStore book;
        loadChanged(book);
        QVERIFY(book.SaveList());
        QCOMPARE(readAll(ini().PhoneBookFile), sampleFile() + entryBytes({cp("Новый"), "5"}));
        QCOMPARE(readAll("book.bak"), sampleFile());
        QCOMPARE(filesIn(dir.path()), QStringList{"mine.phn"});
        QCOMPARE(filesIn(), QStringList{"book.bak"});
    }

    void readOnlyDirectory() {
        ini().PhoneBookFile = "ro/book.phn";
        BookStore book;
        loadChanged(book);
        QVERIFY(QFile::setPermissions("ro", QFile::ReadOwner | QFile::ExeOwner));
        {
            WithoutRootOverride notRoot;
            expectSaveFails(book, "Ошибка создания ro/book.phn!");
        }
        QFile::setPermissions("ro", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readAll("ro/book.phn"), sampleFile());
        QCOMPARE(filesIn("ro"), QStringList{"book.phn"});
    }

private:
    std::unique_ptr<Sandbox> box_;
};

QTEST_GUILESS_MAIN(TestBookStore)
#include "tst_bookstore.moc"
