#include "core/platform/Registry.h"
#include "core/settings/LineClient.h"
#include "core/settings/Positions.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"

#include "TestSupport.h"

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

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

// The values of a saved store file by key (without the common root) and name, as written.
QMap<QString, QMap<QString, QString>> savedValues(const QString& path) {
    QMap<QString, QMap<QString, QString>> out;
    QString key;
    const QString root = QString::fromUtf8(kRoot);
    for (const QString& line : QString::fromUtf8(zrktest::readAll(path)).split('\n')) {
        if (line.startsWith(root) && line.endsWith(']')) {
            key = line.mid(root.size(), line.size() - root.size() - 1);
        } else if (line.startsWith('"')) {
            const qsizetype eq = line.indexOf(QStringLiteral("\"="));
            out[key][line.mid(1, eq - 1)] = line.mid(eq + 2);
        }
    }
    return out;
}

// A program of its own: loads the settings as a start does, changes what `change` changes,
// says so on `loaded`, waits for a byte on `go` and then saves as its end does (window
// places first). `background`: its saves go through the worker, as the program's do.
pid_t program(const std::function<void(TIni&)>& change, const TFormPlace& place, int loaded, int go,
              bool background) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    RegistryFile::resetUser();
    RegistryFile::user().setSavesInBackground(background);
    TIni s;
    LoadSettings(s);
    change(s);

    char byte = 1;
    if (::write(loaded, &byte, 1) != 1 || ::read(go, &byte, 1) != 1) ::_exit(3);
    try {
        if (place.Left >= 0) SavePosition(QStringLiteral("Position\\Main"), place, false);
        SaveSettings(s);
    } catch (...) {
        ::_exit(4);
    }
    ::_exit(RegistryFile::user().finishSaves() ? 5 : 0);
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
        // Each key and value is checked by firstSaveHoldsTheDocumentedDefaults; here, that
        // no value is written twice.
        const QString text = QString::fromUtf8(zrktest::readAll(box.registryPath()));
        QCOMPARE(text.count("\n\""), 92);  // every value of the record, Version and Copyright
        // Version and Copyright lead the root key.
        QVERIFY(text.contains(kRoot + "]\n\"Version\"=\"2.01b\"\n\"Copyright\"="));
    }

    // The first save of a new user, value by value, against the defaults as documented for
    // users (not the program's own table, which a wrong default would pass).
    void firstSaveHoldsTheDocumentedDefaults() {
        zrktest::Sandbox box;
        SaveSettings(reloaded());
        const QString on = "dword:00000001", off = "dword:00000000";
        const QString zeroTime = "hex:00,00,00,00,00,00,00,00";
        const QString seven = "hex:ab,aa,aa,aa,aa,aa,d2,3f";  // 07:00
        const QMap<QString, QMap<QString, QString>> expected = {
            {"",
             {{"Version", "\"2.01b\""}, {"StayOnTop", on}, {"Minimized", on},
              {"Popup On Call", on}, {"Buttons", on}, {"Screen", off}, {"Clock", on},
              {"Timer", on}, {"Double Click", on}, {"Play WAV", off},
              {"WAV File on Ring", "\"ring.wav\""}, {"Reminder Sound", "\"\""},
              {"Log File", "\"ZrkLog.txt\""}, {"Digits in phone number", "dword:00000006"},
              {"Separator of groups", "\"-\""}, {"Digits in group", "dword:00000002"},
              {"Phone Book", off}, {"Phone Book File", "\"book.phn\""}, {"Sound", on},
              {"Group", off}}},
            {"\\Modem",
             {{"Port", on}, {"Baud", "dword:00000006"}, {"Answer On Ring", off},
              {"Prefix", off}, {"Init", "\"ATM2+S64=1+S73=2\""}, {"Zrk", "\"AT+SR\""},
              {"HandUp", "\"+++~~~ATH0\""}, {"CallerID", "\"CallerID:\""}, {"ReDial", off},
              {"ReDialTry", "dword:00000003"}, {"ReDialWait", "dword:00000005"}}},
            {"\\Action",
             {{"On Normal", off}, {"On Bad", "dword:00000002"}, {"On Prior", on},
              {"Sound on Normal", "\"\""}, {"Sound on Bad", "\"\""}, {"Sound on Prior", "\"\""}}},
            {"\\Fonts",
             {{"Number Font", "\"Arial\""}, {"Counter Font", "\"Arial\""},
              {"Info Font", "\"MS Sans Serif\""}, {"Number Size", "dword:00000019"},
              {"Counter Size", "dword:0000000f"}, {"Info Size", "dword:00000008"},
              {"Background Color", off}, {"Number Color", "dword:0000ff00"},
              {"Counter Color", "dword:000000ff"}, {"Info Color", "dword:00ffff00"},
              {"Not Active Color", "dword:00808080"}}},
            {"\\Categories",
             {{"1:", "\"[квартира, учреждение]|Абоненты квартирные, учрежденческие, имеющие "
                     "право междугородной и международной связи на общих основаниях\""},
              {"2:", "\"[гостиница]|Абоненты гостиниц, имеющие право по категории 1, но с "
                     "немедленной оплатой переговоров\""},
              {"3:", "\"[без межгорода]|Абоненты не имеющие право выхода на междугородные и "
                     "международные сети\""},
              {"4:", "\"[приоритетный на межгород]|Абоненты, имеющие преимущество выхода на "
                     "междугородние и международные сети\""},
              {"5:", "\"[бесплатники]|Абоненты, имеющие право связи без тарификации, то есть "
                     "переговоры не оплачиваются, но учитываются\""},
              {"6:", "\"[автомат-межгород]|Категория междугородних телефонов-автоматов\""},
              {"7:", "\"[с дополнительными услугами]|Абоненты, имеющие право кроме "
                     "междугородной/международной связи, получать дополнительные платные "
                     "услуги\""},
              {"8:", "\"[приоритетный с доп.услугами]|Абоненты, имеющие преимущество при "
                     "установлении связи в междугородних сетях и право на платные услуги\""},
              {"9:", "\"[телефон-автомат]|Категория городских телефонов-автоматов\""},
              {"0:", "\"[неизвестно]\""}}},
            {"\\Reminder Notes",
             {{"1:", "\"Обед|Сходить на обед\""}, {"2:", "\"Совещание|Бегом к начальнику\""},
              {"3:", "\"Перезвонить|Перезвонить\""},
              {"4:", "\"Встретить подругу|Встреча на лавочке\""},
              {"5:", "\"Пить пиво|Пить пиво с друзьями\""},
              {"6:", "\"Выгулять собаку|Собачка хочет пи-пи :))\""},
              {"7:", "\"Выключить чайник|У тебя там чайник на плите\""}}},
            {"\\Scheduler",
             {{"Port OnOff", off}, {"Sound OnOff", off}, {"Port Off", zeroTime},
              {"Port On", seven}, {"Sound Off", zeroTime}, {"Sound On", seven}}},
            {"\\Book Columns",
             {{"Column0", on}, {"Column1", on}, {"Column2", off}, {"Column3", off},
              {"Column4", on}, {"Column5", off}, {"Column6", off}, {"Column7", on}}},
            // Our own: no server, so nothing is sent or received until one is named.
            {"\\Network",
             {{"NCID Server", "\"\""}, {"Send Calls", on}, {"Receive Calls", on},
              {"Line Label", "\"-\""}}},
            // Our own: a call is notified on the desktop when the window is out of sight.
            {"\\Notifications", {{"Show", "dword:00000001"}}},
            // Our own: no address book; once one is named, a sync every quarter of an hour.
            {"\\CardDAV",
             {{"URL", "\"\""}, {"User", "\"\""}, {"Password File", "\"\""}, {"Group", "\"\""},
              {"Interval", "dword:0000000f"}, {"Allow HTTP", off}}},
            // Our own: the desktop's language until the user chooses one.
            {"\\Language", {{"Language", "\"\""}}}};
        auto saved = savedValues(box.registryPath());
        QVERIFY(saved[""].take("Copyright").size() > 2);  // the notice is ours to word
        QCOMPARE(saved.keys(), expected.keys());
        for (auto key = expected.begin(); key != expected.end(); ++key) {
            for (auto v = key->begin(); v != key->end(); ++v)
                QVERIFY2(saved[key.key()].value(v.key()) == v.value(),
                         qPrintable(key.key() + " " + v.key() + " = " +
                                    saved[key.key()].value(v.key())));
            QCOMPARE(saved[key.key()].size(), key->size());  // nothing more
        }
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

    // The call actions as a .reg file holds them: read in their numbers' order up to the first
    // missing one, a value of a wrong type kept at its default; a removed action leaves no key
    // and a shorter argument list no old argument behind.
    void callActions() {
        zrktest::Sandbox box;
        writeStore(kRoot + "\\Call Actions\\0]\n\"Event\"=\"missed\"\n\"Kind\"=\"program\"\n"
                   "\"Program\"=\"/usr/local/bin/to-chat\"\n\"Argument 1\"=\"{number}\"\n"
                   "\"Argument 2\"=\"{name} ({group})\"\n\"Statuses\"=dword:00000005\n"
                   "\"Group\"=\"Клиенты\"\n\"Enabled\"=dword:00000001\n" +
                   kRoot + "\\Call Actions\\1]\n\"Event\"=\"caller\"\n\"Kind\"=\"speak\"\n"
                   "\"Template\"=\"Звонит {name}\"\n\"Enabled\"=\"yes\"\n" +
                   kRoot + "\\Call Actions\\3]\n\"Event\"=\"ring\"\n");
        TIni s;
        QString error;
        try {
            LoadSettings(s);
        } catch (const ERegistryException& e) {
            error = e.message();
        }
        QCOMPARE(error, QString("Invalid data type for 'Enabled'"));
        const CallActionSpec missed{"missed", "program", {}, "/usr/local/bin/to-chat",
                                    {"{number}", "{name} ({group})"}, 5, "Клиенты", true};
        // The second one's "Enabled" is no dword: it keeps its default.
        const CallActionSpec said{"caller", "speak", "Звонит {name}", {}, {}, 0, {}, true};
        QCOMPARE(s.CallActions, (QList<CallActionSpec>{missed, said}));

        s.CallActions[0].arguments = {"{digits}"};
        s.CallActions.removeAt(1);
        SaveSettings(s);
        const auto saved = savedValues(box.registryPath());
        QVERIFY(!saved.contains("\\Call Actions\\1"));
        QCOMPARE(saved["\\Call Actions\\0"].value("Argument 1"), QString("\"{digits}\""));
        QVERIFY(!saved["\\Call Actions\\0"].contains("Argument 2"));
        QCOMPARE(saved["\\Call Actions\\0"].value("Statuses"), QString("dword:00000005"));
        QCOMPARE(reloaded().CallActions, s.CallActions);
        s.CallActions.clear();
        SaveSettings(s);
        QVERIFY(!savedValues(box.registryPath()).contains("\\Call Actions\\0"));
    }

    // Two programs on two data directories share the settings file: whichever closes last,
    // what each of them changed is there, and what neither changed stays as it was.
    void twoProgramsKeepEachOthersChanges_data() {
        QTest::addColumn<bool>("optionsFirst");
        QTest::addColumn<bool>("background");
        QTest::newRow("options program closes first") << true << false;
        QTest::newRow("options program closes last") << false << false;
        QTest::newRow("both saved by workers at once") << true << true;
    }
    void twoProgramsKeepEachOthersChanges() {
        QFETCH(bool, optionsFirst);
        QFETCH(bool, background);
        zrktest::Sandbox box;
        writeStore("\n" + kRoot + "\\Modem]\n\"Init\"=\"ATQ0\"\n\"Baud\"=dword:00000003\n\n" +
                   kRoot + "\\Network]\n\"Line Label\"=\"Офис\"\n");
        int loaded[2], goA[2], goB[2];
        QVERIFY(::pipe(loaded) == 0 && ::pipe(goA) == 0 && ::pipe(goB) == 0);
        // One changes options, the other moves its window and sets another option.
        const pid_t a = program(
            [](TIni& s) {
                s.Init = QStringLiteral("ATZ");
                s.NcidServer = QStringLiteral("ncid.local:3333");
            },
            TFormPlace{}, loaded[1], goA[0], background);
        const pid_t b = program([](TIni& s) { s.Baud = 9; }, TFormPlace{123, 45, -1, -1}, loaded[1],
                                goB[0], background);
        QVERIFY(a > 0 && b > 0);
        char byte = 0;
        QVERIFY(::read(loaded[0], &byte, 1) == 1 && ::read(loaded[0], &byte, 1) == 1);
        const auto order = optionsFirst ? QList<std::pair<pid_t, int>>{{a, goA[1]}, {b, goB[1]}}
                                        : QList<std::pair<pid_t, int>>{{b, goB[1]}, {a, goA[1]}};
        if (background)  // both close at the same moment
            for (const auto& [pid, go] : order) QVERIFY(::write(go, "x", 1) == 1);
        for (const auto& [pid, go] : order) {
            if (!background) QVERIFY(::write(go, "x", 1) == 1);
            int status = -1;
            QCOMPARE(::waitpid(pid, &status, 0), pid);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        for (int fd : {loaded[0], loaded[1], goA[0], goA[1], goB[0], goB[1]}) ::close(fd);

        const TIni s = reloaded();
        QCOMPARE(s.Init, QString("ATZ"));
        QCOMPARE(s.NcidServer, QString("ncid.local:3333"));
        QCOMPARE(s.Baud, 9);
        QCOMPARE(s.LineLabel, QString("Офис"));
        TFormPlace place;
        LoadPosition(QStringLiteral("Position\\Main"), place);
        QCOMPARE(place.Left, 123);
        QCOMPARE(place.Top, 45);
    }

    // A change made through the record is announced once, with the record as it was, and
    // stays in memory: the store gets it with the next save. A follower that changes the
    // record again in its turn is announced in its turn.
    void changesAreAnnouncedAndLeftForTheNextSave() {
        zrktest::Sandbox box;
        ini() = TIni::defaults();
        SaveSettings(ini());
        const QByteArray stored = zrktest::readAll(box.registryPath());
        QList<std::tuple<bool, bool, SettingsChange>> seen;  // before.Sound, now, how
        const auto follower = QObject::connect(
            &settingsNotifier(), &SettingsNotifier::settingsChanged,
            [&seen](const TIni& before, SettingsChange how) {
                seen.append({before.Sound, ini().Sound, how});
                if (how == SettingsChange::Confirmed && ini().Sound)
                    changeSettings(SettingsChange::Switched, [](TIni& s) { s.Sound = false; });
            });
        changeSettings(SettingsChange::Switched, [](TIni& s) { s.Sound = false; });
        changeSettings(SettingsChange::Confirmed, [](TIni& s) {
            s.Sound = true;
            s.Init = QStringLiteral("ATZ");
        });
        QObject::disconnect(follower);
        const QList<std::tuple<bool, bool, SettingsChange>> expected = {
            {true, false, SettingsChange::Switched},
            {false, true, SettingsChange::Confirmed},
            {true, false, SettingsChange::Switched}};
        QVERIFY(seen == expected);
        QVERIFY(!ini().Sound);
        QCOMPARE(ini().Init, QString("ATZ"));
        QCOMPARE(zrktest::readAll(box.registryPath()), stored);
        changeSettings(SettingsChange::Switched, [](TIni&) {});  // nobody listens: no harm
    }

    // A desk beside the line server: the user's settings without the modem, receiving from
    // the server and sending nothing; made once, then left to the user.
    void lineClientSettings() {
        zrktest::Sandbox box;
        const QString user = box.filePath("registry.reg");
        QVERIFY(zrktest::writeAll(user, "Windows Registry Editor Version 5.00\n\n"
                                        "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Sound\"=dword:00000000\n"
                                        "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Port\"=dword:00000001\n"));
        const LineClient client = lineClientPlaces(user, box.filePath("data/zrk-pro"));
        QCOMPARE(client.dataDir, box.filePath("data/zrk-pro-client"));
        QCOMPARE(prepareLineClient(client, user), QString());
        TIni s;
        RegistryFile made(client.config);
        LoadSettings(s, made);
        QCOMPARE(s.Port, 4);  // "Нет модема"
        QCOMPARE(s.NcidServer, QStringLiteral("localhost"));
        QVERIFY(s.ReceiveCalls && !s.SendCalls && !s.Sound);
        QVERIFY(zrktest::writeAll(client.config, "Windows Registry Editor Version 5.00\n"));
        QCOMPARE(prepareLineClient(client, user), QString());
        QCOMPARE(zrktest::readAll(client.config), QByteArray("Windows Registry Editor Version 5.00\n"));
        // A folder that cannot be written is said, not taken for success.
        const LineClient nowhere = lineClientPlaces(box.filePath("none/registry.reg"), box.path());
        QVERIFY(!prepareLineClient(nowhere, user).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
