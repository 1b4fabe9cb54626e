// The options dialog's rules that need no window: integer edits, file filters, schedule
// times, and the serial devices offered for the modem.
#include "core/platform/Registry.h"
#include "core/platform/SerialPorts.h"
#include "core/platform/Values.h"
#include "core/settings/OptionsRules.h"

#include "TestSupport.h"

#include <cerrno>

using namespace zrk;

class TestOptionRules : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { RegistryFile::resetUser(); }

    void integerEditTexts() {
        for (const char* bad :
             {"1x", "", " ", "-", "5 ", "1 2", "$10", "0x10", "٣", "2147483648", "-2147483649"})
            QVERIFY2(!readIntegerEdit(bad), bad);
        const qint32 lowest = std::numeric_limits<qint32>::min();
        for (const auto& [text, expected] : {std::pair{" -3", -3},
                                             {"+4", 4},
                                             {"007", 7},
                                             {"  12", 12},
                                             {"-2147483648", lowest},
                                             {"2147483647", 2147483647}})
            QVERIFY2(readIntegerEdit(text) == expected, text);
    }

    void fileFilters() {
        QCOMPARE(fileDialogFilter("Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*"),
                 QString("Файлы WAV (*.wav);;Все файлы (*.*)"));
        QCOMPARE(fileDialogFilter("Телефоны|*.phn;*.bak"), QString("Телефоны (*.phn *.bak)"));
    }

    void scheduleTimes() {
        // Untouched: the stored value as it was, date part and seconds included.
        QCOMPARE(scheduleTimeValue(0.0, QTime(0, 0)), 0.0);
        const double withSeconds = 36202.0 + (7 * 3600 + 30) / 86400.0;
        QCOMPARE(scheduleTimeValue(withSeconds, QTime(7, 0)), withSeconds);
        // Changed: the pickers' date, day 36202, and the new time.
        QCOMPARE(scheduleTimeValue(0.0, QTime(8, 0)), 36202.0 + 8 / 24.0);
        QCOMPARE(fromDateTimeValue(scheduleTimeValue(0.25, QTime(22, 15))),
                 QDateTime(QDate(1999, 2, 11), QTime(22, 15)));
    }

    void devicesOfferedForTheModem() {
        zrktest::Sandbox box;
        QDir root(box.path());
        for (const char* node :
             {"dev/ttyS0", "dev/ttyS1", "dev/ttyS10", "dev/ttyS2", "dev/ttyUSB0", "dev/ttyACM1",
              "dev/ttyACM0", "dev/tty0", "dev/ttyprintk", "dev/null"})
            QVERIFY(zrktest::writeAll(box.filePath(node), {}));
        // The kernel's ttyS nodes: a UART behind 0 and 10 only.
        QVERIFY(zrktest::writeAll(box.filePath("sys/class/tty/ttyS0/type"), "4\n"));
        QVERIFY(zrktest::writeAll(box.filePath("sys/class/tty/ttyS1/type"), "0\n"));
        QVERIFY(zrktest::writeAll(box.filePath("sys/class/tty/ttyS10/type"), "4\n"));
        root.mkpath("dev/serial/by-id");
        QVERIFY(
            QFile::link("../../ttyACM0", box.filePath("dev/serial/by-id/usb-Courier_56K-if00")));
        QVERIFY(QFile::link("../../ttyACM9",
                            box.filePath("dev/serial/by-id/usb-Gone-if00")));  // pulled out

        const QString dev = box.filePath("dev");
        const auto found = listSerialPorts(dev, box.filePath("sys"));
        QStringList paths;
        for (const auto& c : found) paths << c.path.mid(dev.size() + 1);
        QCOMPARE(paths, (QStringList{"serial/by-id/usb-Courier_56K-if00", "ttyACM0", "ttyACM1",
                                     "ttyUSB0", "ttyS0", "ttyS10"}));
        QCOMPARE(found.first().target, QFileInfo(box.filePath("dev/ttyACM0")).canonicalFilePath());
        QVERIFY(found.at(1).target.isEmpty());
        QVERIFY(listSerialPorts(box.filePath("nothing"), box.filePath("sys")).isEmpty());
    }

    void deviceProblemsInPlainWords() {
        QCOMPARE(serialDeviceProblemText("/dev/ttyACM0", 0, "dialout"), QString());
        const QString denied = serialDeviceProblemText("/dev/ttyACM0", EACCES, "dialout");
        QVERIFY2(denied.contains("/dev/ttyACM0") && denied.contains("группу dialout") &&
                     denied.contains("sudo adduser $USER dialout"),
                 qPrintable(denied));
        QVERIFY(serialDeviceProblemText("/dev/ttyUSB0", EACCES, "uucp").contains("группу uucp"));
        QVERIFY(serialDeviceProblemText("/dev/ttyUSB0", ENOENT, {}).contains("не найдено"));
        QVERIFY(serialDeviceProblem("/nonexistent/ttyUSB0").contains("не найдено"));
        QCOMPARE(serialDeviceProblem("/dev/null"), QString());
    }

    void deviceMapWrittenAndFound() {
        zrktest::Sandbox box;
        RegistryFile::resetUser();
        QCOMPARE(defaultSerialDevicePath(3), QString("/dev/ttyS2"));
        saveSerialDeviceLocation(3, {"/dev/serial/by-id/usb-Courier_56K-if00", true});
        RegistryFile::resetUser();  // from the file, as the next start reads it
        const SerialDeviceLocation loc = locateSerialDevice("Com3");
        QCOMPARE(loc.path, QString("/dev/serial/by-id/usb-Courier_56K-if00"));
        QVERIFY(loc.isVirtual);
        saveSerialDeviceLocation(3, {"/dev/ttyUSB0", false});
        QVERIFY(!locateSerialDevice("Com3").isVirtual);
        QVERIFY(zrktest::readAll(box.registryPath()).contains("\"Com3 Virtual\"=dword:00000000"));
    }
};

QTEST_GUILESS_MAIN(TestOptionRules)
#include "tst_optionrules.moc"
