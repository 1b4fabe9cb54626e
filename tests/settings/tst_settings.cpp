#include "platform/Registry.h"
#include "settings/Schedule.h"
#include "settings/Settings.h"

#include "TestSupport.h"

using namespace zrk;

namespace {

const QByteArray kRoot = "[HKEY_CURRENT_USER\\Software\\Zrk Pro";

void writeStore(const QByteArray& body) {
    QVERIFY(zrktest::writeAll(RegistryFile::userPath(),
                              "Windows Registry Editor Version 5.00\n" + body));
    RegistryFile::resetUser();
}

// Loads the record from the store file as a fresh start of the program would.
TIni reloaded() {
    RegistryFile::resetUser();
    TIni s;
    LoadSettings(s);
    return s;
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void firstRunSavesEveryDefault() {
        zrktest::Sandbox box;
        const TIni s = reloaded();
        QVERIFY(s == TIni::defaults());
        QCOMPARE(s.categoryText(0), QString("[неизвестно]"));
        SaveSettings(s);
        QVERIFY(reloaded() == s);
        const QString text = QString::fromUtf8(zrktest::readAll(box.registryPath()));
        for (const char* key : {"]", "\\Modem]", "\\Action]", "\\Fonts]", "\\Categories]",
                                "\\Reminder Notes]", "\\Scheduler]", "\\Book Columns]", "\\Network]"})
            QVERIFY2(text.contains(kRoot + key), key);
        QCOMPARE(text.count("\n\""), 84);  // every value of the record, Version and Copyright
        for (const char* line : {"\"Port\"=dword:00000001", "\"Init\"=\"ATM2+S64=1+S73=2\"",
                                 "\"Port On\"=hex:", "\"0:\"=\"[неизвестно]\""})
            QVERIFY2(text.contains(QString::fromUtf8(line)), line);
        // Version and Copyright lead the root key.
        QVERIFY(text.contains(kRoot + "]\n\"Version\"=\"2.01b\"\n\"Copyright\"="));
    }

    void storedValuesOverlayDefaults() {
        zrktest::Sandbox box;
        writeStore(kRoot + "\\Modem]\n\"Port\"=dword:00000003\n");
        TIni s = reloaded();
        QCOMPARE(s.Port, 3);
        s.Port = TIni::defaults().Port;
        QVERIFY(s == TIni::defaults());
        // Any non-zero number is true and is written back as 1; values of others stay.
        writeStore(kRoot + "]\n\"StayOnTop\"=dword:00000005\n\"Minimized\"=dword:00000000\n" +
                   kRoot + "\\Modem]\n\"Future\"=\"x\"\n" + kRoot + "\\Raions]\n\"4\"=\"М|4\"\n");
        s = reloaded();
        QVERIFY(s.StayOnTop);
        QVERIFY(!s.Minimized);
        SaveSettings(s);
        const QByteArray text = zrktest::readAll(box.registryPath());
        for (const char* line : {"\"StayOnTop\"=dword:00000001", "\"Minimized\"=dword:00000000",
                                 "\"Future\"=\"x\"", "\"4\"=\"М|4\""})
            QVERIFY2(text.contains(line), line);
        // A value of a wrong type keeps its default and must not cost the user the values
        // stored after it. "Port Off" is a time in four bytes, "Port On" 0.5 (12:00).
        writeStore(kRoot + "\\Modem]\n\"Baud\"=\"long text\"\n\"Init\"=\"ATZ\"\n" + kRoot +
                   "\\Scheduler]\n\"Port OnOff\"=dword:00000001\n\"Port Off\"=hex:00,00,00,00\n"
                   "\"Port On\"=hex:00,00,00,00,00,00,e0,3f\n");
        QString error;
        try {
            LoadSettings(s);
        } catch (const ERegistryException& e) {
            error = e.message();
        }
        QCOMPARE(error, QString("Failed to get data for 'Baud'"));  // the first one
        QCOMPARE(s.Baud, TIni::defaults().Baud);
        QCOMPARE(s.PortOff, TIni::defaults().PortOff);
        QVERIFY(s.PortOnOff);
        QCOMPARE(s.PortOn, 0.5);
        QCOMPARE(s.Init, QString("ATZ"));
        SaveSettings(s);
        QVERIFY(reloaded() == s);  // the save replaced the bad values with good ones
    }

    void scheduleRule() {
        const auto hm = [](int h, int m) { return (h * 60 + m) / 1440.0; };
        // Each rule with the times it keeps the port closed and the times it leaves it open.
        const QList<std::tuple<double, double, QList<QTime>, QList<QTime>>> rules = {
            {0.0, hm(7, 0), {QTime(0, 0), QTime(6, 59, 59)}, {QTime(7, 0)}},
            {hm(22, 0), hm(6, 0), {QTime(23, 59)}, {QTime(6, 0), QTime(21, 59)}},
            {hm(8, 0), hm(7, 0), {QTime(12, 0)}, {QTime(7, 30)}},
            {hm(7, 0), hm(7, 0), {}, {QTime(7, 0)}},
            // Times from the options dialog carry a date; only the time of day counts.
            {36202.0, 36202.0 + hm(7, 0), {QTime(6, 59)}, {}},
            {0.0, 36202.0, {}, {QTime(3, 0)}}};
        for (const auto& [off, on, closed, open] : rules) {
            for (const QTime& t : closed) {
                QVERIFY2(scheduleOff(true, off, on, t), qPrintable(t.toString()));
                QVERIFY(!scheduleOff(false, off, on, t));  // the rule switched off
            }
            for (const QTime& t : open)
                QVERIFY2(!scheduleOff(true, off, on, t), qPrintable(t.toString()));
        }
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
