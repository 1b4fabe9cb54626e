#include "platform/Registry.h"

#include "TestSupport.h"

#include <csignal>
#include <sys/resource.h>

using namespace zrk;

namespace {

const QByteArray kSample =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; a comment the program may drop\r\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\r\n"
    "\"Port\"=dword:00000003\r\n"
    "\"Init\"=\"AT \\\"quoted\\\" C:\\\\modem\\\\\"\r\n"
    "\"Odd\"=hex(7):41,00,00,00\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Other Program]\r\n"
    "\"Keep\"=\"me\"\r\n"
    "@=\"default\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Foreign]\r\n"
    "\"X\"=dword:00000001\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Scheduler]\r\n"
    "\"Port On\"=hex:ab,aa,aa,aa,aa,aa,d2,\\\r\n"
    "  3f\r\n"
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

}  // namespace

class TestRegistry : public QObject {
    Q_OBJECT
private slots:
    void parsesEveryTypeAndKeepsUnknownContent() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.filePath("r.reg"), kSample));
        RegistryFile file(box.filePath("r.reg"));
        QVERIFY(file.loadError().isEmpty());

        RegKey reg(file);
        // Key and value names compare without regard to letter case.
        QVERIFY(reg.openKeyReadOnly("software\\zrk pro\\MODEM"));
        QCOMPARE(reg.readInteger("PORT"), 3);
        QCOMPARE(reg.readString("init"), QString("AT \"quoted\" C:\\modem\\"));
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Scheduler"));
        QCOMPARE(reg.readTime("Port On"), 7.0 / 24.0 + 0.0);  // the continued line joined
        QCOMPARE(reg.readBinary("Long").size(), 32);
        QCOMPARE(reg.readBinary("Long").at(31), char(0x1f));
        QCOMPARE(reg.readString("Expand"), QString("%A%"));  // expandable: taken literally
        QVERIFY(!reg.openKeyReadOnly("Software\\Foreign"));  // another root is not ours

        // What the program does not know survives a write of its own values.
        QVERIFY(reg.openKey("Software\\Zrk Pro\\Modem", false));
        reg.writeString("Init", "ATZ");
        reg.closeKey();
        RegistryFile again(box.filePath("r.reg"));
        RegKey r2(again);
        QVERIFY(r2.openKeyReadOnly("Software\\Other Program"));
        QCOMPARE(r2.readString("Keep"), QString("me"));
        QCOMPARE(r2.readString(""), QString("default"));
        QVERIFY(r2.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(r2.dataType("Odd"), 7);
        QVERIFY(again.serialize().contains("[HKEY_LOCAL_MACHINE\\Software\\Foreign]"));
        QVERIFY(again.serialize().contains("\"Odd\"=hex(7):41,00,00,00"));
    }

    void textsAndNumbersWrittenAsBytes() {
        zrktest::Sandbox box;
        const QString path = box.filePath("b.reg");
        QVERIFY(zrktest::writeAll(path, "Windows Registry Editor Version 5.00\n\n"
                                        "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n"
                                        "\"Init\"=hex(1):41,00,54,00,5a,00,00,00\n"
                                        "\"Port\"=hex(4):03,00,00,00\n"));
        {
            RegistryFile file(path);
            QVERIFY(file.loadError().isEmpty());
            RegKey reg(file);
            QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
            QCOMPARE(reg.readString("Init"), QString("ATZ"));
            QCOMPARE(reg.readInteger("Port"), 3);
            // A save for another value must keep both as they were.
            QVERIFY(reg.openKey("Software\\Zrk Pro", true));
            reg.writeInteger("Other", 1);
            reg.closeKey();
        }
        RegistryFile again(path);
        RegKey reg(again);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(reg.readString("Init"), QString("ATZ"));
        QCOMPARE(reg.readInteger("Port"), 3);

        // A number of another size than four bytes is damage, not a zero.
        QVERIFY(zrktest::writeAll(path, "Windows Registry Editor Version 5.00\n\n"
                                        "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n"
                                        "\"Port\"=hex(4):03,00\n"));
        RegistryFile damaged(path);
        QVERIFY(!damaged.loadError().isEmpty());
    }

    void writesWhatItReads() {
        zrktest::Sandbox box;
        const QString path = box.filePath("w.reg");
        {
            RegistryFile file(path);
            RegKey reg(file);
            QVERIFY(reg.openKey("Software\\Zrk Pro\\Deep\\Path", true));
            reg.writeString("Q", "a\\b\"c\r\nd ё");
            reg.writeInteger("N", -2);
            reg.writeBool("B", true);
            QByteArray big;
            for (int i = 0; i < 300; ++i) big.append(char(i));
            reg.writeBinary("Big", big);
            reg.writeTime("T", 36202.75);
            reg.closeKey();
        }
        const QByteArray text = zrktest::readAll(path);
        QVERIFY(text.startsWith("Windows Registry Editor Version 5.00\n"));
        QVERIFY(text.contains("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Deep]"));  // parents too
        QVERIFY(text.contains("\"N\"=dword:fffffffe"));
        QVERIFY(text.contains("\"Q\"=\"a\\\\b\\\"c\\r\\nd ё\""));
        for (const QByteArray& line : text.split('\n')) QVERIFY(line.size() <= 82);

        RegistryFile file(path);
        RegKey reg(file);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Deep\\Path"));
        QCOMPARE(reg.readString("Q"), QString("a\\b\"c\r\nd ё"));
        QCOMPARE(reg.readInteger("N"), -2);
        QCOMPARE(reg.readInteger("B"), 1);
        QCOMPARE(reg.readBinary("Big").size(), 300);
        QCOMPARE(uchar(reg.readBinary("Big").at(299)), uchar(299 % 256));
        QCOMPARE(reg.readTime("T"), 36202.75);
    }

    void readRulesAndErrorTexts() {
        zrktest::Sandbox box;
        RegistryFile file(box.filePath("e.reg"));
        RegKey reg(file);
        QVERIFY(!reg.openKeyReadOnly("Software\\Zrk Pro"));  // never created by a read
        QVERIFY(!file.findKey("Software\\Zrk Pro"));
        QVERIFY(reg.openKey("Software\\Zrk Pro", true));
        reg.writeInteger("Five", 5);
        reg.writeString("Short", "12");
        reg.writeString("LongText", "12345");
        reg.writeBinary("Four", QByteArray(4, 0));
        reg.writeBinary("Nine", QByteArray(9, 0));

        QCOMPARE(reg.readBool("Five"), true);
        QCOMPARE(errorOf([&] { reg.readInteger("Short"); }), QString("Invalid data type for 'Short'"));
        QCOMPARE(errorOf([&] { reg.readInteger("LongText"); }),
                 QString("Failed to get data for 'LongText'"));
        QCOMPARE(errorOf([&] { reg.readTime("Four"); }), QString("Invalid data type for 'Four'"));
        QCOMPARE(errorOf([&] { reg.readTime("Five"); }), QString("Invalid data type for 'Five'"));
        QCOMPARE(errorOf([&] { reg.readTime("Nine"); }), QString("Failed to get data for 'Nine'"));
        QCOMPARE(errorOf([&] { reg.readString("Five"); }), QString("Invalid data type for 'Five'"));
        QCOMPARE(errorOf([&] { reg.readInteger("Missing"); }),
                 QString("Failed to get data for 'Missing'"));

        RegKey ro(file);
        QVERIFY(ro.openKeyReadOnly("Software\\Zrk Pro"));
        QCOMPARE(errorOf([&] { ro.writeInteger("X", 1); }), QString("Failed to set data for 'X'"));
    }

    void damagedFileIsMovedAsideNotOverwritten() {
        zrktest::Sandbox box;
        const QString path = box.filePath("d.reg");
        const QByteArray damaged = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:zz\n";
        QVERIFY(zrktest::writeAll(path, damaged));
        RegistryFile file(path);
        QVERIFY(file.loadError().contains(path + ".bad"));
        QVERIFY(file.loadError().contains("строка 3"));
        QCOMPARE(zrktest::readAll(path + ".bad"), damaged);
        QVERIFY(!QFile::exists(path));

        // A second damaged file does not replace the first one set aside.
        QVERIFY(zrktest::writeAll(path, "garbage"));
        RegistryFile second(path);
        QCOMPARE(zrktest::readAll(path + ".bad"), damaged);
        QCOMPARE(zrktest::readAll(path + ".bad2"), QByteArray("garbage"));
    }

    void failedSaveLeavesTheOldFileWhole() {
        zrktest::Sandbox box;
        const QString path = box.filePath("f.reg");
        RegistryFile file(path);
        RegKey reg(file);
        QVERIFY(reg.openKey("Software\\Zrk Pro", true));
        reg.writeString("Keep", "old");
        reg.closeKey();
        const QByteArray before = zrktest::readAll(path);

        // A file-size limit makes the write of the larger new file fail half way.
        QVERIFY(reg.openKey("Software\\Zrk Pro", true));
        reg.writeBinary("Huge", QByteArray(64 * 1024, 'x'));
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 4096;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString err = errorOf([&] { reg.closeKey(); });
        ::setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(err, QString("Failed to set data for 'Huge'"));
        QCOMPARE(zrktest::readAll(path), before);
        QCOMPARE(QDir(box.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"f.reg"});
    }
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
