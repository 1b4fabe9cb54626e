#include "core/platform/Registry.h"

#include "SaveGate.h"
#include "TestSupport.h"
#include "core/book/StoreTesting.h"
#include "core/book/WithoutRootOverride.h"

#include <QScopeGuard>
#include <QThread>

#include <optional>

using namespace zrk;

namespace {

// As the registry editor writes it: CRLF, a comment, foreign keys and types, folded lines.
const QByteArray kSample =
    "Windows Registry Editor Version 5.00\r\n\r\n; a comment the program may drop\r\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\r\n"
    "\"Port\"=dword:00000003\r\n\"Init\"=\"AT \\\"quoted\\\" C:\\\\modem\\\\\"\r\n"
    "\"Odd\"=hex(7):41,00,00,00\r\n\"Text\"=hex(1):41,00,54,00,5a,00,00,00\r\n"
    "\"Num\"=hex(4):03,00,00,00\r\n"
    "[HKEY_CURRENT_USER\\Software\\Other Program]\r\n\"Keep\"=\"me\"\r\n@=\"default\"\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Foreign]\r\n\"X\"=dword:00000001\r\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Scheduler]\r\n\"Port Off\"=hex:00,00,00,00\r\n"
    "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,\\\r\n"
    "  19,1a,1b,1c,1d,1e,1f\r\n"
    "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n";

QString errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ERegistryException& e) {
        return e.message();
    }
    return {};
}

// The sample as two holders left it: our Modem values and the other holder's Port, the other
// program's key as it was, and the window place under `position`, left open for more checks.
void expectMerged(RegKey& r, const QString& position) {
    QVERIFY(r.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
    QCOMPARE(r.readString("Init"), QString("ATZ"));
    QCOMPARE(r.readInteger("Port"), 7);
    QVERIFY(!r.valueExists("Odd"));
    QVERIFY(r.valueExists("Num"));
    QVERIFY(r.openKeyReadOnly("Software\\Other Program"));
    QCOMPARE(r.readString("Keep"), QString("me"));
    QVERIFY(r.openKeyReadOnly("Software\\Zrk Pro\\Position\\" + position));
    QCOMPARE(r.readInteger("Left"), 10);
}

}  // namespace

class TestRegistry : public QObject {
    Q_OBJECT
private slots:
    void readsWritesAndKeepsWhatItDoesNotKnow() {
        zrktest::Sandbox box;
        const QString path = box.filePath("r.reg");
        const QString text = "a\\b\"c\r\nd ё";
        QByteArray big;
        for (int i = 0; i < 300; ++i) big.append(char(i));
        QVERIFY(zrktest::writeAll(path, kSample));
        {
            RegistryFile file(path);
            RegKey reg(file);
            QVERIFY(reg.openKey("Software\\Zrk Pro\\Modem", false));
            reg.writeInteger("port", -2);  // replaces "Port", keeping its spelling
            QVERIFY(reg.openKey("Software\\Zrk Pro\\Deep\\Path", true));
            reg.writeString("Q", text);
            reg.writeBinary("Big", big);
            reg.writeTime("T", 36202.75);
        }
        const QByteArray saved = zrktest::readAll(path);
        QVERIFY(saved.contains("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Deep]"));  // parents too
        QVERIFY(saved.contains("\"Port\"=dword:fffffffe"));
        QVERIFY(saved.contains("\"Q\"=\"a\\\\b\\\"c\\r\\nd ё\""));
        QVERIFY(saved.contains("[HKEY_LOCAL_MACHINE\\Software\\Foreign]\n\"X\"="));
        QVERIFY(saved.contains("\"Odd\"=hex(7):41,00,00,00"));
        for (const QByteArray& line : saved.split('\n')) QVERIFY(line.size() <= 82);

        RegistryFile file(path);
        RegKey reg(file);
        QVERIFY(!reg.openKeyReadOnly("Software\\Zrk Pro\\New"));  // never created by a read
        QVERIFY(!file.findKey("Software\\Zrk Pro\\New"));
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Deep\\Path"));
        QCOMPARE(reg.readString("Q"), text);
        QCOMPARE(reg.readBinary("Big"), big);
        QCOMPARE(reg.readTime("T"), 36202.75);
        // Key and value names compare without regard to letter case.
        QVERIFY(reg.openKeyReadOnly("software\\zrk pro\\MODEM"));
        QCOMPARE(reg.readInteger("PORT"), -2);
        QCOMPARE(reg.readString("init"), QString("AT \"quoted\" C:\\modem\\"));
        QCOMPARE(reg.readString("Text"), QString("ATZ"));  // a text and a number given as bytes
        QCOMPARE(reg.readInteger("Num"), 3);
        // A text that fits a number's four bytes has the wrong type; a longer one is too big.
        const QString wrongType = "Invalid data type for '%1'";
        const QString tooBig = "Failed to get data for '%1'";
        QCOMPARE(errorOf([&] { reg.readInteger("Text"); }), wrongType.arg("Text"));
        QCOMPARE(errorOf([&] { reg.readInteger("Init"); }), tooBig.arg("Init"));
        QCOMPARE(errorOf([&] { reg.readString("Port"); }), wrongType.arg("Port"));
        QCOMPARE(errorOf([&] { reg.readInteger("Missing"); }), tooBig.arg("Missing"));
        QCOMPARE(errorOf([&] { reg.writeInteger("Port", 1); }),
                 QString("Failed to set data for 'Port'"));
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Scheduler"));
        QCOMPARE(reg.readBinary("Long"), big.left(32));
        QCOMPARE(reg.readString("Expand"), QString("%A%"));  // expandable: taken literally
        QCOMPARE(errorOf([&] { reg.readTime("Port Off"); }), wrongType.arg("Port Off"));  // 4 bytes
        QCOMPARE(errorOf([&] { reg.readTime("Long"); }), tooBig.arg("Long"));
        QVERIFY(reg.openKeyReadOnly("Software\\Other Program"));
        QCOMPARE(reg.readString("Keep"), QString("me"));
        QCOMPARE(reg.readString(""), QString("default"));
        QVERIFY(!reg.openKeyReadOnly("Software\\Foreign"));  // another root is not ours
    }

    // A damaged file is moved aside, never overwritten, and a later one does not replace it.
    void damagedFilesAreMovedAside() {
        zrktest::Sandbox box;
        const QString path = box.filePath("d.reg");
        const QByteArray head = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n";
        // A number of another size than four bytes is damage too, not a zero.
        const QByteArray damaged[] = {head + "\"x\"=dword:zz\n", head + "\"x\"=hex(4):03,00\n",
                                      "garbage"};
        const char* aside[] = {".bad", ".bad2", ".bad3"};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(zrktest::writeAll(path, damaged[i]));
            RegistryFile file(path);
            QVERIFY(file.loadError().contains(path + aside[i]));
            QVERIFY(file.loadError().contains(i < 2 ? "строка 3" : "строка 1"));
        }
        for (int i = 0; i < 3; ++i) QCOMPARE(zrktest::readAll(path + aside[i]), damaged[i]);
    }

    // Two holders of one file (two programs): each save writes what that holder changed onto
    // the file as it is then; what the other changed in the meantime stays.
    void savesMergeWhatEachChanged() {
        zrktest::Sandbox box;
        const QString path = box.filePath("m.reg");
        QVERIFY(zrktest::writeAll(path, kSample));
        RegistryFile one(path), two(path);
        RegKey a(one), b(two);
        QVERIFY(a.openKey("Software\\Zrk Pro\\Modem", true));
        a.writeString("Init", "ATZ");
        a.writeInteger("Port", 3);  // as it was: not a change
        QVERIFY(a.deleteValue("Odd"));
        a.closeKey();
        QVERIFY(b.openKey("Software\\Zrk Pro\\Modem", true));
        b.writeInteger("Port", 7);
        b.writeString("Init", "AT \"quoted\" C:\\modem\\");  // what it read: not a change
        QVERIFY(b.openKey("Software\\Zrk Pro\\Position\\Main", true));
        b.writeInteger("Left", 10);
        b.closeKey();
        QVERIFY(one.deleteKey("Software\\Zrk Pro\\Scheduler"));
        QVERIFY(one.save());

        RegistryFile after(path);
        RegKey r(after);
        expectMerged(r, "Main");
        QVERIFY(!r.keyExists("Software\\Zrk Pro\\Scheduler"));
        // Each holder now holds the file as saved.
        QVERIFY(RegKey(one).openKeyReadOnly("Software\\Zrk Pro\\Position\\Main"));
    }

    // Saves handed to the worker, while the first one is out (held at the door, or refused by
    // the folder): a write returns at once, reads see our own values, the file stays as it
    // was, and a failure is told once, by the value that was being saved. Once the way is
    // clear, our values go with the next save, merged with another holder's save made in
    // between, and what changed after the hand-over outlives taking up the merged file.
    void backgroundSavesKeepEveryValue_data() {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("held: returns at once and merges") << false << QStringList{};
        QTest::newRow("refused: told once, kept for the next save")
            << true << QStringList{"Failed to set data for 'Init'"};
    }
    void backgroundSavesKeepEveryValue() {
        QFETCH(bool, refused);
        QFETCH(QStringList, told);
        zrktest::Sandbox box;
        const QString dir = box.filePath("folder");
        const QString path = dir + "/b.reg";
        QVERIFY(zrktest::writeAll(path, kSample));
        QStringList reported;
        RegistryFile::setFailureReporter([&reported](const QString& t) { reported << t; });
        std::optional<zrktest::SaveGate> gate;
        if (refused)
            BackgroundSave::setJobWrapper([](const std::function<void()>& run) {
                zrktest::WithoutRootOverride plainUser;
                run();
            });
        else
            gate.emplace();
        const auto restore = qScopeGuard([&gate] {
            gate.reset();
            BackgroundSave::setJobWrapper({});
            RegistryFile::setFailureReporter({});
        });
        RegistryFile ours(path), other(path);
        ours.setSavesInBackground(true);
        if (refused) QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner));
        RegKey a(ours);
        QVERIFY(a.openKey("Software\\Zrk Pro\\Modem", true));
        a.writeString("Init", "ATZ");
        QVERIFY(a.deleteValue("Odd"));
        a.closeKey();
        if (gate) QVERIFY(gate->held());
        QTRY_COMPARE(reported, told);
        if (refused) QVERIFY(!ours.finishSaves());  // told already
        QVERIFY(a.openKey("Software\\Zrk Pro\\Position\\BookItem", true));
        a.writeInteger("Left", 10);
        a.closeKey();  // behind the first one
        QCOMPARE(zrktest::readAll(path), kSample);
        QVERIFY(a.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(a.readString("Init"), QString("ATZ"));
        QVERIFY(!a.valueExists("Odd"));
        QVERIFY(a.openKeyReadOnly("Software\\Zrk Pro\\Position\\BookItem"));
        QCOMPARE(a.readInteger("Left"), 10);
        if (refused) {
            // At a close the failure comes back to the closer instead.
            QCOMPARE(ours.finishSaves().value_or("none"), told.value(0));
            QCoreApplication::processEvents();
            QCOMPARE(reported, told);
            QCOMPARE(zrktest::readAll(path), kSample);
            QVERIFY(
                QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        {
            RegKey b(other);
            QVERIFY(b.openKey("Software\\Zrk Pro\\Modem", true));
            b.writeInteger("Port", 7);
            b.writeString("Init", "ATQ");  // ours is saved later: ours wins
        }
        if (gate) {
            gate->open();
            // No events meanwhile: written, not yet taken up; a change now must outlive that.
            for (QDeadlineTimer t(5000); gate->ran < 2 && !t.hasExpired();) QThread::msleep(2);
            QCOMPARE(gate->ran.load(), 2);
        }
        QVERIFY(a.openKey("Software\\Zrk Pro\\Position\\BookItem", true));
        a.writeInteger("Top", 20);
        QCoreApplication::processEvents();
        QVERIFY(!ours.finishSaves());
        if (gate) {
            QVERIFY(a.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
            QCOMPARE(a.readInteger("Port"), 7);  // taken up while Top waits for its save
        }
        QVERIFY(a.openKey("Software\\Zrk Pro\\Position\\BookItem", false));
        QCOMPARE(a.readInteger("Top"), 20);
        a.closeKey();
        QVERIFY(!ours.finishSaves());
        QVERIFY(a.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(a.readInteger("Port"), 7);  // the other holder's, taken up
        QCoreApplication::processEvents();
        QCOMPARE(reported, told);

        RegistryFile after(path);
        RegKey r(after);
        expectMerged(r, "BookItem");
        QCOMPARE(r.readInteger("Top"), 20);
    }

    void failedSaveLeavesTheOldFileWhole() {
        zrktest::Sandbox box;
        const QString path = box.filePath("f.reg");
        QVERIFY(zrktest::writeAll(path, kSample));
        RegistryFile file(path);
        RegKey reg(file);
        // A file-size limit makes the write of the larger new file fail half way.
        QVERIFY(reg.openKey("Software\\Zrk Pro", true));
        reg.writeBinary("Huge", QByteArray(64 * 1024, 'x'));
        {
            zrktest::FileSizeLimit small(4096);
            QVERIFY(small.ok);
            QCOMPARE(errorOf([&] { reg.closeKey(); }), QString("Failed to set data for 'Huge'"));
        }
        QCOMPARE(zrktest::readAll(path), kSample);
        QCOMPARE(QDir(box.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"f.reg"});
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
