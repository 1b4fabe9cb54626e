#include "platform/Registry.h"
#include "settings/Schedule.h"
#include "settings/Settings.h"

#include "TestSupport.h"

using namespace zrk;

namespace {

void writeStore(const zrktest::Sandbox& box, const QByteArray& body) {
    QVERIFY(zrktest::writeAll(box.registryPath(),
                              "Windows Registry Editor Version 5.00\n\n" + body));
    RegistryFile::resetUser();
}

double hm(int h, int m) { return (h * 60 + m) / 1440.0; }

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void init() { RegistryFile::resetUser(); }

    void firstRunSavesEveryDefault() {
        zrktest::Sandbox box;
        RegistryFile::resetUser();
        TIni s;
        LoadSettings(s);
        QCOMPARE(s.Port, 1);
        QCOMPARE(s.Baud, 6);
        QCOMPARE(s.Init, QString("ATM2+S64=1+S73=2"));
        QCOMPARE(s.InfoFont, QString("MS Sans Serif"));
        QCOMPARE(s.NumberColor, 0x0000FF00u);
        QCOMPARE(s.OnBad, 2);
        QCOMPARE(s.categoryText(0), QString("[неизвестно]"));
        QVERIFY(s.categoryText(1).startsWith("[квартира, учреждение]|"));
        QCOMPARE(s.Notes[5], QString("Выгулять собаку|Собачка хочет пи-пи :))"));
        QCOMPARE(s.Columns, (std::array<bool, 8>{true, true, false, false, true, false, false, true}));
        QVERIFY(!scheduleOff(true, s.PortOff, s.PortOn, QTime(7, 0)));
        QVERIFY(scheduleOff(true, s.PortOff, s.PortOn, QTime(6, 59)));

        SaveSettings(s);
        const QString text = QString::fromUtf8(zrktest::readAll(box.registryPath()));
        for (const char* key : {"]", "\\Modem]", "\\Action]", "\\Fonts]", "\\Categories]",
                                "\\Reminder Notes]", "\\Scheduler]", "\\Book Columns]"})
            QVERIFY2(text.contains(QString("[HKEY_CURRENT_USER\\Software\\Zrk Pro") + key), key);
        QVERIFY(text.contains("\"Version\"=\"2.01b\""));
        QVERIFY(text.contains("\"Port\"=dword:00000001"));
        QVERIFY(text.contains("\"Port On\"=hex:"));
        QVERIFY(text.contains("\"Column7\"=dword:00000001"));
        QVERIFY(text.contains("\"0:\"=\"[неизвестно]\""));
        // Version and Copyright lead the root key; the values follow in their fixed order.
        QVERIFY(text.indexOf("\"Version\"") < text.indexOf("\"Copyright\""));
        QVERIFY(text.indexOf("\"Copyright\"") < text.indexOf("\"StayOnTop\""));
        QVERIFY(text.indexOf("\"Reminder Sound\"") < text.indexOf("\"Log File\""));

        RegistryFile::resetUser();
        TIni back;
        LoadSettings(back);
        QCOMPARE(back.Categories, s.Categories);
        QCOMPARE(back.PortOn, s.PortOn);
        QCOMPARE(back.InfoColor, s.InfoColor);
    }

    void storedValuesOverlayDefaults() {
        zrktest::Sandbox box;
        writeStore(box,
                   "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Port\"=dword:00000003\n");
        TIni s;
        LoadSettings(s);
        QCOMPARE(s.Port, 3);
        s.Port = TIni::defaults().Port;
        QVERIFY(s == TIni::defaults());
    }

    void nonZeroBooleanReadsTrueAndIsWrittenAsOne() {
        zrktest::Sandbox box;
        writeStore(box, "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"StayOnTop\"=dword:00000005\n"
                        "\"Minimized\"=dword:00000000\n");
        TIni s;
        LoadSettings(s);
        QVERIFY(s.StayOnTop);
        QVERIFY(!s.Minimized);
        SaveSettings(s);
        const QByteArray text = zrktest::readAll(box.registryPath());
        QVERIFY(text.contains("\"StayOnTop\"=dword:00000001"));
        QVERIFY(text.contains("\"Minimized\"=dword:00000000"));
    }

    void expandableTextIsReadLiterally() {
        zrktest::Sandbox box;
        writeStore(box, "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n"
                        "\"Log File\"=hex(2):25,00,48,00,25,00,00,00\n");
        TIni s;
        LoadSettings(s);
        QCOMPARE(s.LogFile, QString("%H%"));
    }

    // One value of a wrong type must not cost the user the values stored after it.
    void badValueKeepsItsDefaultAndTheRestSurvives() {
        zrktest::Sandbox box;
        writeStore(box, "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Scheduler]\n"
                        "\"Port OnOff\"=dword:00000001\n"
                        "\"Port Off\"=hex:00,00,00,00\n"
                        "\"Port On\"=hex:00,00,00,00,00,00,e0,3f\n"  // 0.5 = 12:00
                        "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Book Columns]\n"
                        "\"Column2\"=dword:00000001\n"
                        "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n"
                        "\"Baud\"=\"long text\"\n"
                        "\"Init\"=\"ATZ\"\n");
        TIni s;
        QString error;
        try {
            LoadSettings(s);
        } catch (const ERegistryException& e) {
            error = e.message();
        }
        QCOMPARE(error, QString("Failed to get data for 'Baud'"));  // the first one, once
        QCOMPARE(s.Baud, 6);
        QCOMPARE(s.PortOff, TIni::defaults().PortOff);
        QCOMPARE(s.PortOn, 0.5);
        QVERIFY(s.PortOnOff);
        QVERIFY(s.Columns[2]);
        QCOMPARE(s.Init, QString("ATZ"));

        SaveSettings(s);
        RegistryFile::resetUser();
        TIni back;
        LoadSettings(back);  // the save replaced the bad values with good ones
        QCOMPARE(back.PortOn, 0.5);
        QCOMPARE(back.Init, QString("ATZ"));
        QVERIFY(back.Columns[2]);
    }

    void unknownValuesSurviveASave() {
        zrktest::Sandbox box;
        writeStore(box, "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Future\"=\"x\"\n"
                        "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n\"495\"=\"Москва|495\"\n");
        TIni s;
        LoadSettings(s);
        SaveSettings(s);
        const QString text = QString::fromUtf8(zrktest::readAll(box.registryPath()));
        QVERIFY(text.contains("\"Future\"=\"x\""));
        QVERIFY(text.contains("\"495\"=\"Москва|495\""));
    }

    void scheduleRule_data() {
        QTest::addColumn<double>("off");
        QTest::addColumn<double>("on");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<bool>("closed");
        QTest::newRow("night 06:59") << 0.0 << hm(7, 0) << QTime(6, 59, 59) << true;
        QTest::newRow("night 07:00") << 0.0 << hm(7, 0) << QTime(7, 0) << false;
        QTest::newRow("night 07:00:59") << 0.0 << hm(7, 0) << QTime(7, 0, 59) << false;
        QTest::newRow("night 00:00") << 0.0 << hm(7, 0) << QTime(0, 0) << true;
        QTest::newRow("night 23:59") << 0.0 << hm(7, 0) << QTime(23, 59) << false;
        QTest::newRow("span 23:59") << hm(22, 0) << hm(6, 0) << QTime(23, 59) << true;
        QTest::newRow("span 05:59") << hm(22, 0) << hm(6, 0) << QTime(5, 59) << true;
        QTest::newRow("span 06:00") << hm(22, 0) << hm(6, 0) << QTime(6, 0) << false;
        QTest::newRow("span 21:59") << hm(22, 0) << hm(6, 0) << QTime(21, 59) << false;
        QTest::newRow("long 12:00") << hm(8, 0) << hm(7, 0) << QTime(12, 0) << true;
        QTest::newRow("long 07:30") << hm(8, 0) << hm(7, 0) << QTime(7, 30) << false;
        QTest::newRow("equal") << hm(7, 0) << hm(7, 0) << QTime(7, 0) << false;
        // Times from the options dialog carry a date; only the time of day counts.
        QTest::newRow("dated 06:59") << 36202.0 << 36202.0 + hm(7, 0) << QTime(6, 59) << true;
        QTest::newRow("same time other day") << 0.0 << 36202.0 << QTime(3, 0) << false;
    }
    void scheduleRule() {
        QFETCH(double, off);
        QFETCH(double, on);
        QFETCH(QTime, now);
        QFETCH(bool, closed);
        QCOMPARE(scheduleOff(true, off, on, now), closed);
        QVERIFY(!scheduleOff(false, off, on, now));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
