// Settings brought along from Windows: registry exports in both encodings, merged into the
// store; every kind of bad export leaves the store file as it was.
#include "core/platform/Cp1251.h"
#include "core/platform/Registry.h"
#include "core/settings/RegImport.h"
#include "core/settings/Settings.h"

#include "TestSupport.h"

using namespace zrk;

namespace {

const QByteArray kStore =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"StayOnTop\"=dword:00000000\n\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Future\"=\"x\"\n\"Init\"=\"ATQ0\"\n";

// As the Windows registry editor saves an export: UTF-16LE with its mark, CR LF lines.
QByteArray regedit5(const QString& body) {
    QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n") + body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace('\n', QStringLiteral("\r\n"));
    return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(text);
}

QByteArray regedit4(const QString& body) {
    QString text = QStringLiteral("REGEDIT4\n\n") + body;
    return toCp1251(text.replace('\n', QStringLiteral("\r\n")));
}

// Bytes as an export writes them, folded after `perLine` bytes with ",\" and two blanks.
QString hexBytes(const QByteArray& bytes, int perLine = 1000) {
    QString out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out += QString::asprintf("%02x", uchar(bytes[i]));
        if (i + 1 < bytes.size()) out += (i + 1) % perLine ? QStringLiteral(",") : QStringLiteral(",\\\n  ");
    }
    return out;
}

QByteArray utf16z(const QString& s) {
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2) + QByteArray(2, '\0');
}

ImportResult importBytes(const zrktest::Sandbox& box, const QByteArray& bytes) {
    const QString path = box.filePath("export.reg");
    zrktest::writeAll(path, bytes);
    RegistryFile::resetUser();
    return importRegistryExport(path, RegistryFile::user());
}

}  // namespace

class TestRegImport : public QObject {
    Q_OBJECT
private slots:
    void bothEncodingsMergeIntoTheStore() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.registryPath(), kStore));
        const QString root = QStringLiteral("[HKEY_CURRENT_USER\\Software\\Zrk Pro");
        ImportResult r = importBytes(
            box, regedit5(root +
                          "\\Modem]\n\"Port\"=dword:00000002\n\"Init\"=\"AT\\\\Z \\\"1\\\"\"\n\n" +
                          root + "\\Categories]\n\"1:\"=\"[кв]|Квартира\"\n\n" + root +
                          "\\Scheduler]\n\"Port On\"=hex:00,00,00,00,00,00,e0,3f\n\n" + root +
                          "]\n\"Log File\"=hex(2):" +
                          hexBytes(utf16z(QStringLiteral("C:\\Журналы\\zrk.txt")), 12) + "\n\n"));
        QVERIFY2(r.ok, qPrintable(r.message));
        QCOMPARE(r.keys, 4);
        QCOMPARE(r.values, 5);
        r = importBytes(
            box, regedit4(root + "\\Reminder Notes]\n\"1:\"=\"Обед|Сходить\"\n" + root +
                          "]\n\"WAV File on Ring\"=hex(2):" +
                          hexBytes(toCp1251(QStringLiteral("звонок.wav")) + '\0', 4) + "\n\n"));
        QVERIFY2(r.ok, qPrintable(r.message));

        RegistryFile::resetUser();
        TIni s;
        LoadSettings(s);
        QCOMPARE(s.Port, 2);
        QCOMPARE(s.Init, QString("AT\\Z \"1\""));
        QCOMPARE(s.Categories[0], QString("[кв]|Квартира"));
        QCOMPARE(s.PortOn, 0.5);
        QCOMPARE(s.LogFile, QString("C:\\Журналы\\zrk.txt"));
        QCOMPARE(s.Notes[0], QString("Обед|Сходить"));
        QCOMPARE(s.WAVFileOnRing, QString("звонок.wav"));
        QVERIFY(!s.StayOnTop);  // not in the exports: kept
        QVERIFY(zrktest::readAll(box.registryPath()).contains("\"Future\"=\"x\""));
    }

    // A running program would write its values over the import when it ends: refused while
    // one holds the settings, done once it has gone.
    void importWaitsForTheProgramsToEnd() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.registryPath(), kStore));
        const QByteArray init =
            regedit5("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Init\"=\"ATZ\"\n\n");
        {
            const RegistryHold running(box.registryPath(), RegistryHold::Shared);
            QVERIFY(running.held());
            const RegistryHold another(box.registryPath(), RegistryHold::Shared);
            QVERIFY(another.held());  // programs on two data directories share it
            const ImportResult r = importBytes(box, init);
            QVERIFY(!r.ok);
            QVERIFY2(
                r.message.contains("работает") && r.message.contains("ничего не импортировано"),
                qPrintable(r.message));
            QCOMPARE(zrktest::readAll(box.registryPath()), kStore);
        }
        const ImportResult r = importBytes(box, init);
        QVERIFY2(r.ok, qPrintable(r.message));
        QVERIFY(zrktest::readAll(box.registryPath()).contains("\"Init\"=\"ATZ\""));
        // While an import holds it, a starting program cannot take the settings alone either.
        const RegistryHold importing(box.registryPath(), RegistryHold::Alone);
        QVERIFY(importing.held());
        QVERIFY(!RegistryHold(box.registryPath(), RegistryHold::Alone).held());
    }

    void badExportsLeaveTheStoreAsItWas() {
        const QString modem = QStringLiteral("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n");
        const QByteArray good = regedit5(modem + "\"Port\"=dword:00000002\n\"Init\"=\"ATZ\"\n\n");
        const struct {
            const char* what;
            QByteArray bytes;
            const char* says;
        } cases[] = {
            {"another key", regedit5("[HKEY_LOCAL_MACHINE\\Software\\Zrk Pro]\n\"A\"=\"b\"\n"),
             "чужой раздел"},
            {"another program", regedit4("[HKEY_CURRENT_USER\\Software\\Zrk Pro Old]\n"), "чужой"},
            {"cut inside a character", good.left(good.size() - 3), "обрезан"},
            {"cut inside a text", good.left(good.size() - 12), "обрезан"},
            {"cut inside a byte list", regedit5(modem + "\"X\"=hex:01,02,\\\n  03,\\"), "обрезан"},
            // Cut at the end of a line: the rest of the bytes and every later value are gone.
            {"cut after a folded line", regedit5(modem + "\"X\"=hex:01,02,\\\n"), "обрезан"},
            {"cut after a folded line, then an empty one",
             regedit5(modem + "\"X\"=hex:01,02,\\\n\n"), "обрезан"},
            {"cut between two lines", good.left(good.size() - 4), "обрезан"},
            {"REGEDIT4 cut between two lines", regedit4(modem + "\"Init\"=\"ATZ\"\n"), "обрезан"},
            {"text for a number", regedit5(modem + "\"Port\"=\"два\"\n\n"), "неверного типа"},
            {"time of four bytes",
             regedit5("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Scheduler]\n"
                      "\"Port On\"=hex:00,00,e0,3f\n\n"),
             "неверного типа"},
            {"no header", QByteArray("[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n"), "не экспорт"},
            {"nothing in it", regedit5(QString()), "не содержит"},
        };
        for (const auto& c : cases) {
            zrktest::Sandbox box;
            QVERIFY(zrktest::writeAll(box.registryPath(), kStore));
            const ImportResult r = importBytes(box, c.bytes);
            QVERIFY2(!r.ok, c.what);
            QVERIFY2(r.message.contains(QString::fromUtf8(c.says)), qPrintable(r.message));
            QCOMPARE(zrktest::readAll(box.registryPath()), kStore);
        }
        zrktest::Sandbox box;
        RegistryFile::resetUser();
        QVERIFY(!importRegistryExport(box.filePath("missing.reg"), RegistryFile::user()).ok);

        // A store that cannot be written: said, and nothing changed in memory either.
        QVERIFY(zrktest::writeAll(box.filePath("config/zrk-pro"), "a file, not a folder"));
        const ImportResult r = importBytes(box, good);
        QVERIFY(!r.ok);
        QVERIFY2(r.message.contains("остался прежним"), qPrintable(r.message));
        QVERIFY(!RegistryFile::user().findKey("Software\\Zrk Pro\\Modem"));
    }
};

QTEST_GUILESS_MAIN(TestRegImport)
#include "tst_regimport.moc"
