// The desk without a window: a fake modem's bytes in, the modem's commands and the desk's
// signals out. What a view shows of these is the window tests' business.
#include "core/call/CallDesk.h"

#include "core/platform/Clock.h"
#include "core/platform/Cp1251.h"
#include "core/platform/Registry.h"
#include "core/platform/Values.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "core/serial/FakeSerialDevice.h"

#include "BookSamples.h"
#include "TestSupport.h"
#include "core/net/NcidTestServer.h"

#include <QScopeGuard>
#include <QTimer>

using namespace zrk;

namespace {

// A desk on a fake modem, its signals written down as short lines.
struct Desk {
    explicit Desk(const QByteArray& storeBody = {}, bool dsr = true) {
        RegistryFile::resetUser();
        zrktest::writeAll(box.registryPath(),
                          "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n" +
                              storeBody);
        RegistryFile::resetUser();
        LoadSettings(ini());
        book.AddGroup(group("Спам", ActionHangUp), true);              // 1
        book.AddGroup(group("Молчать", ActionIgnore), true);           // 2
        book.AddGroup(group("Музыка", ActionNone, "band.wav"), true);  // 3
        book.AddItem(entry("Иванов Иван", "345678", StatusNormal), true);
        book.AddItem(entry("Продавец", "111111", StatusNormal, 1), true);
        book.AddItem(entry("Начальник", "222222", StatusPriority), true);
        book.AddItem(entry("Гитарист", "333333", StatusBad, 3), true);
        book.AddItem(entry("Плохой", "444444", StatusBad), true);
        if (dsr) device->status = kMsDsrOn;
        desk.setLookup([this](const QString& n) { return book.WhoCall(n); });
        desk.setNumberReminder([this](const QString& n) { said << "remind " + n; });
        QObject::connect(&desk, &CallDesk::statusChanged, [this](int code, bool over) {
            said << QString("status %1%2").arg(code).arg(over ? " over" : "");
        });
        QObject::connect(&desk, &CallDesk::portChanged,
                         [this](bool on) { said << (on ? "port on" : "port off"); });
        QObject::connect(&desk, &CallDesk::ringing,
                         [this](bool n) { said << (n ? "ring new" : "ring"); });
        QObject::connect(&desk, &CallDesk::wave, [this](RingSound s, const QString& file) {
            said << "wave " + QStringList{"silent", "speaker", "file"}[int(s)] + " " + file;
        });
        QObject::connect(
            &desk, &CallDesk::callListed,
            [this](const QString& shown, const QString& name, int status, const QString& line) {
                said << QString("listed %1|%2|%3|%4").arg(shown, name).arg(status).arg(line);
            });
        QObject::connect(&desk, &CallDesk::answered,
                         [this](bool in) { said << (in ? "answered incoming" : "answered"); });
        QObject::connect(&desk, &CallDesk::showMessage,
                         [this](const QString& name, const QString& shown, const QString& group) {
                             said << "message " + name + "|" + shown + "|" + group;
                         });
        QObject::connect(&desk, &CallDesk::redialCountdown,
                         [this](int s) { said << QString("redial in %1").arg(s); });
        QObject::connect(&desk, &CallDesk::failed,
                         [this](const Failure& f) { said << "failed " + f.text; });
        QObject::connect(&desk, &CallDesk::callerIdentified,
                         [this](const CallerShown& c) { shown = c; });
        QObject::connect(&desk, &CallDesk::callEvent, [this](CallEvent e, const CallerShown& c) {
            const QString kind = QStringList{"ring", "caller", "answer", "missed"}[int(e)];
            events << (c.shown.isEmpty() ? kind : kind + " " + c.shown);
        });
    }
    ~Desk() {
        desk.close();
        RegistryFile::resetUser();
    }
    void feed(const QByteArray& bytes) {
        desk.processBatch(bytes.constData(), qint32(bytes.size()));
    }
    QByteArray takeSent() { return std::exchange(device->output, {}); }
    QStringList take() { return std::exchange(said, {}); }
    // Only the lines that start with one of `kinds`.
    QStringList take(const QStringList& kinds) {
        QStringList out;
        for (const QString& line : take())
            for (const QString& kind : kinds)
                if (line.startsWith(kind)) out << line;
        return out;
    }
    QTimer* timer(const char* name) const { return desk.findChild<QTimer*>(name); }

    zrktest::Sandbox box;
    std::shared_ptr<FakeSerialDevice> device = std::make_shared<FakeSerialDevice>();
    BookStore book;
    CallDesk desk{device};
    QStringList said;
    QStringList events;
    CallerShown shown;
};

const QByteArray kWav =
    "\"Play WAV\"=dword:00000001\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Action]\n\"On Bad\"=dword:00000000\n"
    "\"Sound on Bad\"=\"bad.wav\"\n\"Sound on Prior\"=\"prior.wav\"\n";

QString log() {
    return fromCp1251(zrktest::readAll("ZrkLog.txt"));
}

QByteArray network(const zrktest::NcidTestServer& server) {
    return "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Network]\n\"NCID Server\"=\"" +
           server.address().toUtf8() + "\"\n";
}

}  // namespace

class TestCallDesk : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        setClockForTesting({});
        setNowForTesting({});
    }

    // The port: opened with the modem's init when DSR is up, closed without a command, and
    // every failure of the port leaves it off, said, and ready for the next opening.
    void port() {
        Desk d;
        d.desk.start();
        QCOMPARE(d.device->openedName, QString("Com2"));
        QCOMPARE(d.takeSent(), QByteArray("ATM2+S64=1+S73=2\r\n"));
        QCOMPARE(d.take({"port", "status"}), (QStringList{"port on", "status 1"}));
        d.desk.closePort();
        QVERIFY(d.takeSent().isEmpty() && !d.device->isOpen());
        QCOMPARE(d.take({"port", "status"}), (QStringList{"port off", "status 4"}));

        d.device->escapeError = EIO;  // raising RTS fails once the device is open
        d.desk.openPort();
        QVERIFY(!d.desk.portActive());
        QCOMPARE(d.take({"port", "failed"}).size(), 2);  // port off, said once
        d.device->escapeError = 0;
        d.desk.openPort();  // no "port already open"
        QVERIFY(d.desk.portActive());

        d.take();
        d.device->errorFlags = kCeIoError;  // the modem pulled out
        d.device->raise(kEvErr, true);
        QTRY_VERIFY(!d.desk.portActive());
        QVERIFY(!d.device->isOpen());
        QCOMPARE(d.take({"status", "failed"}).size(), 2);

        Desk noDsr({}, false);
        noDsr.desk.start();
        QVERIFY(!noDsr.desk.portActive() && !noDsr.device->isOpen());
        QCOMPARE(noDsr.take({"port", "status", "failed"}), (QStringList{"port off", "status 4"}));
        QCOMPARE(noDsr.takeSent(), QByteArray("ATM2+S64=1+S73=2\r\n"));  // said all the same
    }

    // The modem's lines as the desk hears them: the batches it gets, what it sends back, the
    // statuses and rings it says.
    void modemLines_data() {
        QTest::addColumn<QByteArray>("store");
        QTest::addColumn<QList<QByteArray>>("batches");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QStringList>("said");
        const QByteArray ring2 =
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Answer On Ring\"=dword:00000002\n";
        const auto row = [](const char* tag, const QList<QByteArray>& batches,
                            const QStringList& said, const QByteArray& sent = {},
                            const QByteArray& store = {}) {
            QTest::newRow(tag) << store << batches << sent << said;
        };
        const QStringList threeRings{"ring new", "status 3", "ring",
                                     "status 3", "ring",     "status 3"};
        row("a ring split across batches, asked at the third",
            {"RI", "NG\r\n", QByteArray("\nRI\0NG\r", 7), "RING\r\n"}, threeRings, "AT+SR\r\n",
            ring2);
        row("words that are no ring", {"ring\r RING\rRING \r"}, {}, {}, ring2);
        row("three rings in one batch ask once", {"RING\r\nRING\r\nRING\r\n"}, threeRings,
            "AT+SR\r\n");
        row("no carrier without a dial says nothing",
            {"NO CARRIER\r\nBUSY\r\nERROR\r\nRINGING\r\n"}, {"status 5", "status 6", "status 8"});
        row("a beep rings without a call", {"BEEP\r\n"}, {});
    }
    void modemLines() {
        QFETCH(QByteArray, store);
        QFETCH(QList<QByteArray>, batches);
        QFETCH(QStringList, said);
        Desk d(store);
        d.desk.start();
        d.takeSent();
        d.take();
        for (const QByteArray& b : batches) d.feed(b);
        QTEST(d.takeSent(), "sent");
        QCOMPARE(d.desk.ringActive(), said.contains("ring new"));
        QCOMPARE(d.take({"ring", "status"}), said);
        QCOMPARE(d.desk.ringCount(), 0);
    }

    // A reported caller: the sound by class, the action, the list, the count, the log, the
    // number left to dial back.
    void caller_data() {
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<int>("callerClass");
        QTest::addColumn<QString>("number");
        const auto row = [](const char* tag, const QByteArray& report, const QStringList& said,
                            const QString& logged, int callerClass, const QString& number,
                            const QByteArray& sent = {}) {
            QTest::newRow(tag) << report << said << sent << logged << callerClass << number;
        };
        row("not in the book, a category", "2345679:1",
            {"listed 34-56-79||-1|", "wave file ring.wav"}, " 34-56-79 \r\n", -1, "345679");
        row("in the book, normal: silent", "2345678:1",
            {"listed 34-56-78|Иванов Иван|0|", "wave file "}, " 34-56-78 Иванов Иван\r\n", 0,
            "345678");
        row("hang-up group: hung up before it is listed, rings no more", "111111",
            {"answered incoming", "listed 11-11-11|Продавец|0|"}, " 11-11-11 Продавец\r\n", 0,
            "111111", "+++~~~ATH0\r\nATM2+S64=1+S73=2\r\n");
        row("priority: the message, its sound", "222222",
            {"message Начальник|22-22-22|[Общая]", "listed 22-22-22|Начальник|2|",
             "wave file prior.wav"},
            " 22-22-22 Начальник\r\n", 2, "222222");
        row("a group's sound whatever the status", "333333",
            {"listed 33-33-33|Гитарист|1|", "wave file band.wav"}, " 33-33-33 Гитарист\r\n", 9,
            "333333");
        row("bad, acted on: its sound", "444444",
            {"listed 44-44-44|Плохой|1|", "wave file bad.wav"}, " 44-44-44 Плохой\r\n", 1,
            "444444");
        row("a word instead of a number: whole", "Restricted",
            {"listed Restricted||-1|", "wave file ring.wav"}, " Restricted \r\n", -1, "");
        row("withheld: nothing to dial back", "Unknown",
            {"listed Unknown||-1|", "wave file ring.wav"}, " Unknown \r\n", -1, "");
    }
    void caller() {
        QFETCH(QByteArray, report);
        QFETCH(QByteArray, sent);
        QFETCH(QString, logged);
        QFETCH(QString, number);
        Desk d(kWav);
        d.desk.start();
        d.feed("RING\r\n");
        d.takeSent();
        d.take();
        d.feed("CallerID: " + report + "\r\n");
        QTEST(d.take({"answered", "message", "listed", "wave"}), "said");
        QCOMPARE(d.takeSent(), sent);
        QCOMPARE(d.desk.ringActive(), sent.isEmpty());
        QCOMPARE(d.desk.callCount(), 1);
        QVERIFY2(log().endsWith(logged), qPrintable(log()));
        QTEST(d.desk.callerClass(), "callerClass");
        QCOMPARE(d.desk.currentNumber(), number);
        QCOMPARE(d.shown.dialable, !number.isEmpty());
    }

    // One call, one entry: the report asked at every ring of a call is that call again;
    // a silence between rings, or an answer, ends the call.
    void oneCallOneEntry() {
        QDateTime t(QDate(2026, 12, 8), QTime(12, 0));
        setNowForTesting({});
        setClockForTesting([&t] { return t; });
        Desk d;
        d.desk.start();
        const auto ring = [&](int seconds, const QByteArray& number) {
            t = t.addSecs(seconds);
            d.takeSent();
            d.feed("RING\r\n");
            QCOMPARE(d.takeSent(), QByteArray("AT+SR\r\n"));  // asked again every ring
            t = t.addSecs(1);
            d.feed("CallerID: " + number + ":1\r\n");
        };
        const QList<std::tuple<int, QByteArray, int, bool>> rows = {
            {0, "2345678", 1, false},  {5, "2345678", 1, true},  {5, "2345678", 1, true},
            {30, "2345678", 2, false}, {4, "7654321", 3, false}, {20, "222222", 4, false},
            {5, "222222", 4, true},    {20, "333333", 5, false}, {5, "333333", 5, true}};
        for (const auto& [after, number, count, again] : rows) {
            ring(after, number);
            QCOMPARE(d.desk.callCount(), count);
            QCOMPARE(d.shown.again, again);
            const QStringList said = d.take();
            QCOMPARE(said.filter("message ").size(), number == "222222" && !again ? 1 : 0);
            QCOMPARE(said.filter("listed ").size(), again ? 0 : 1);  // one entry in the list
            QCOMPARE(d.desk.ringActive(), number != "333333");
        }
        d.desk.answer();
        ring(2, "333333");  // answered: whatever rings next is a new call
        QCOMPARE(d.desk.callCount(), 6);
        // Two call lines; the first call, missed at the second's ring, has its mark as well.
        QCOMPARE(log().count(" 34-56-78 Иванов Иван\r\n"), 2);
        QCOMPARE(log().count(";missed 08.12.2026 12:00:01 34-56-78\r\n"), 1);
        t = t.addSecs(20);
        d.take();
        d.feed("RING\r\n");
        QCOMPARE(d.take({"ring"}), QStringList{"ring new"});
    }

    // Each event once per call; one gone quiet unanswered is missed and marked in the log with
    // its line's date, time and number. Steps: r ring, c<number> report, a answer, q silence,
    // g 20 s pass, s<number> the server's call, x the server's record, p the port closed.
    void callEvents_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("marks");
        const auto row = [](const char* tag, const char* steps, const char* events,
                            const char* marks = "") {
            QTest::newRow(tag) << steps << events << marks;
        };
        row("never identified: missed, nothing to mark; the port closed: not missed",
            "r r q g r c2345678:1 p q", "ring, missed, ring, caller 34-56-78");
        row("hung up by its action: no answer, no miss; answered, once more after: no miss",
            "r c111111 q g r c2345678:1 a q a",
            "ring, caller 11-11-11, ring, caller 34-56-78, answer 34-56-78");
        row("asked three times: one caller, one miss, one mark",
            "r c2345678:1 r c2345678:1 r c2345678:1 q", "ring, caller 34-56-78, missed 34-56-78",
            "08.12.2026 12:00:06 34-56-78");
        row("a new call after a silence ends the last one", "r c2345678:1 g r c222222 q",
            "ring, caller 34-56-78, missed 34-56-78, ring, caller 22-22-22, missed 22-22-22",
            "08.12.2026 12:00:06 34-56-78, 08.12.2026 12:00:32 22-22-22");
        row("the next call at once after the silence ended the last one",
            "r c2345678:1 q r c222222 q",
            "ring, caller 34-56-78, missed 34-56-78, ring, caller 22-22-22, missed 22-22-22",
            "08.12.2026 12:00:06 34-56-78, 08.12.2026 12:00:12 22-22-22");
        row("the server's call like our own, its record fires nothing", "s111111 q x",
            "ring, caller 11-11-11, missed 11-11-11", "08.12.2026 12:00:05 11-11-11");
    }
    void callEvents() {
        QFETCH(QString, steps);
        QDateTime t(QDate(2026, 12, 8), QTime(12, 0));
        setClockForTesting([&t] { return t; });
        Desk d;
        d.desk.start();
        d.timer("tCallOver")->setInterval(1);
        for (const QString& step : steps.split(' ')) {
            const QByteArray arg = step.mid(1).toUtf8();
            switch (step[0].toLatin1()) {
                case 'r': t = t.addSecs(5), d.feed("RING\r\n"); break;
                case 'c': t = t.addSecs(1), d.feed("CallerID: " + arg + "\r\n"); break;
                case 's': t = t.addSecs(5), d.desk.remoteReport(arg); break;
                case 'x': d.desk.remoteRecord("5551234", "-", {}, t, "[пропущен]"); break;
                case 'a': d.desk.answer(); break;
                case 'p': d.desk.closePort(); break;
                case 'g': t = t.addSecs(20); break;
                case 'q': QTRY_VERIFY(!d.timer("tCallOver")->isActive()); break;
            }
        }
        QTEST(d.events.join(", "), "events");
        const QStringList marks =
            log().split("\r\n").filter(";missed ").replaceInStrings(";missed ", "");
        for (const QString& mark : marks)  // the call's own line has the same fields
            QVERIFY2(log().contains("\n" + mark + " "), qPrintable(log()));
        QTEST(marks.join(", "), "marks");
    }

    // A dial, its redial countdown, and the attempts used up.
    void dialAndRedial() {
        Desk d(
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"ReDial\"=dword:00000001\n"
            "\"Prefix\"=dword:00000001\n");
        d.desk.start();
        d.desk.setNumber("7-7,7", false);  // only what a dial can send stays
        QCOMPARE(d.desk.currentNumber(), QString("77,7"));
        d.takeSent();
        d.take();
        d.desk.dial();
        for (int attempt = 1; attempt <= 3; ++attempt) {
            d.feed("BUSY\r");
            if (attempt == 3) break;
            QVERIFY(d.timer("tReDial")->isActive());
            for (int tick = 0; tick < 5; ++tick) d.desk.redialTick();  // the fifth dials
            QVERIFY(!d.timer("tReDial")->isActive());
        }
        QCOMPARE(d.takeSent(), QByteArray("ATDT77,7\r\nATDT77,7\r\nATDT77,7\r\n"));
        QCOMPARE(d.take({"redial", "status 5"}),
                 (QStringList{"status 5 over", "redial in 4", "redial in 3", "redial in 2",
                              "redial in 1", "status 5 over", "redial in 4", "redial in 3",
                              "redial in 2", "redial in 1", "status 5 over"}));
        QVERIFY(!d.timer("tReDial")->isActive());  // attempts used up: no countdown
        d.desk.answer();
        QCOMPARE(d.take({"answered", "status"}), (QStringList{"answered", "status 1"}));
        d.feed("NO CARRIER\r");  // nothing is being dialled now
        QVERIFY(d.take().isEmpty());
    }

    // The schedules, 22:00 to 06:00: what the first tick compares with is the state at
    // start; the tick acts on edges only, so a port opened by hand at night stays open; a
    // schedule switched off, or given equal times, never acts. Each tick: its time, what was
    // done before it (o: port opened by hand, c: closed, x: schedules off, X: off and
    // confirmed, e: on = off confirmed), and the port and the sound after it.
    void schedules_data() {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<bool>("onAtStart");
        QTest::addColumn<QStringList>("ticks");
        QTest::newRow("a night from a start at 21:59:45")
            << QTime(21, 59, 45) << true
            << QStringList{"22:00:15 . 00", "23:00 . 00", "23:30 o 10", "23:45 c 00",
                           "05:59 . 00", "06:00 . 11"};
        QTest::newRow("the morning edge after a start at 05:59:45")
            << QTime(5, 59, 45) << false << QStringList{"06:00:15 . 11"};
        QTest::newRow("switched off by day") << QTime(21, 0) << true
                                             << QStringList{"21:30 x 11", "22:30 . 11"};
        QTest::newRow("switched off at night")
            << QTime(23, 0) << false << QStringList{"23:01 . 00", "23:02 x 00", "06:00 . 00"};
        QTest::newRow("switched off by the options at night")
            << QTime(23, 0) << false
            << QStringList{"23:01 . 00", "23:02 X 00", "23:30 . 00", "06:00 . 00"};
        QTest::newRow("equal times at night")
            << QTime(23, 0) << false << QStringList{"23:01 . 00", "23:02 e 00", "06:00 . 00"};
    }
    void schedules() {
        QFETCH(QTime, start);
        QFETCH(QStringList, ticks);
        const QByteArray night =
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Scheduler]\n"
            "\"Port OnOff\"=dword:00000001\n\"Sound OnOff\"=dword:00000001\n";
        QDateTime t(QDate(2026, 12, 8), start);
        setClockForTesting([&t] { return t; });
        Desk d(night);
        ini().PortOff = ini().SoundOff = timeValue(QTime(22, 0));
        ini().PortOn = ini().SoundOn = timeValue(QTime(6, 0));
        d.desk.start();
        QFETCH(bool, onAtStart);
        QCOMPARE(d.desk.portActive(), onAtStart);
        QCOMPARE(ini().Sound, onAtStart);
        // Closed by the schedule at start: never opened, so the modem heard nothing.
        QCOMPARE(d.device->openedName.isEmpty() && d.takeSent().isEmpty(), !onAtStart);
        QVERIFY(d.timer("tSchedule")->isActive());
        QCOMPARE(d.timer("tSchedule")->interval(), 30000);
        for (const QString& tick : ticks) {
            const QStringList f = tick.split(' ');
            if (f[1] == "o") d.desk.openPort();
            if (f[1] == "c") d.desk.closePort();
            if (f[1] == "x") ini().PortOnOff = ini().SoundOnOff = false;
            if (f[1] == "X")
                changeSettings(SettingsChange::Confirmed,
                               [](TIni& s) { s.PortOnOff = s.SoundOnOff = false; });
            if (f[1] == "e")  // as the options' OK gives them
                changeSettings(SettingsChange::Confirmed,
                               [](TIni& s) { s.PortOn = s.SoundOn = s.PortOff; });
            t = QDateTime(t.date(), QTime::fromString(f[0], f[0].size() > 5 ? "hh:mm:ss" : "hh:mm"));
            d.desk.scheduleTick();
            QVERIFY2(d.desk.portActive() == (f[2][0] == '1'), qPrintable(tick));
            QVERIFY2(ini().Sound == (f[2][1] == '1'), qPrintable(tick));
        }
    }

    // The server's calls: rung and shown as the modem's, with their line, never hung up or
    // sent back; a call over before it rang is listed and logged with its mark and time.
    void remoteCalls() {
        Desk d;
        d.desk.start();
        d.takeSent();
        d.take();
        d.desk.remoteReport("111111", "Склад", "NO NAME");
        QCOMPARE(d.take({"ring", "answered", "listed"}),
                 (QStringList{"ring new", "listed 11-11-11|Продавец|0|Склад"}));
        QVERIFY(d.takeSent().isEmpty());
        d.desk.remoteReport("5551234", "-", "Петров");
        QCOMPARE(d.take({"listed"}), QStringList{"listed 55-12-34|Петров|-1|"});
        d.desk.remoteRecord("2345678", "-", "A", QDateTime(QDate(2026, 12, 8), QTime(9, 7)),
                            "[пропущен]");
        QCOMPARE(d.take({"ring", "listed"}),
                 QStringList{"listed 34-56-78|Иванов Иван [пропущен]|0|"});
        QCOMPARE(d.desk.callCount(), 3);
        QVERIFY2(log().endsWith(" 9:07:00 34-56-78 Иванов Иван [пропущен]\r\n"), qPrintable(log()));
        QVERIFY(!log().contains("Склад"));  // the line is the list's, not the log's
    }

    // The server's calls through the link: its log at the first connection is old news; its
    // callers ring and are listed, never hung up or sent back; its blocked calls, and those
    // it had while the link was down, are listed and logged with their mark and ring nothing.
    void serverCallsThroughTheLink() {
        zrktest::NcidTestServer server;
        server.callLog = {"CID: *DATE*12072026*TIME*1800*LINE*-*NMBR*2345678*MESG*NONE*NAME*A*",
                          "CIDINFO: *LINE*-*RING*1*TIME*18:00:00*"};
        QVERIFY(server.start());
        Desk d(network(server));
        d.desk.start();
        QTRY_COMPARE(d.desk.networkState(), QString("подключено"));
        QTest::qWait(100);
        d.takeSent();
        QCOMPARE(d.take({"ring", "listed"}), QStringList{});
        QVERIFY(log().isEmpty());
        server.sendToAll("CIDINFO: *LINE*-*RING*1*TIME*09:05:00*\r\n");
        QTRY_VERIFY(d.desk.ringActive());
        const QByteArray cid = "CID: *DATE*12082026*TIME*0906*LINE*-*MESG*NONE*NMBR*";
        server.sendToAll(cid + "4952345678*NAME*X*\r\n" + cid + "5551234*NAME*Петров*\r\n" +
                         cid + "5559999*NAME*NO NAME*\r\n" + cid + "111111*NAME*Y*\r\n" + cid +
                         "OUT-OF-AREA*NAME*NO NAME*\r\n");
        QTRY_COMPARE(d.desk.callCount(), 5);
        QCOMPARE(d.take({"listed"}),
                 (QStringList{"listed 34-56-78|Иванов Иван|0|", "listed 55-12-34|Петров|-1|",
                              "listed 55-99-99||-1|", "listed 11-11-11|Продавец|0|",
                              "listed Unknown||-1|"}));
        server.sendToAll("HUP: *DATE*12082026*TIME*0906*LINE*-*NMBR*2345678*MESG*NONE*NAME*A*\r\n");
        QTRY_COMPARE(d.desk.callCount(), 6);
        server.stop();
        server.callLog = {"CID: *DATE*12082026*TIME*0907*LINE*-*NMBR*5551234*MESG*NONE*NAME*B*"};
        QVERIFY(server.start(server.port()));
        QTRY_COMPARE(d.desk.callCount(), 7);
        QCOMPARE(d.take({"ring", "listed"}),
                 (QStringList{"listed 34-56-78|Иванов Иван [заблокирован]|0|",
                              "listed 55-12-34|B [пропущен]|-1|"}));
        QVERIFY2(log().contains(" 34-56-78 Иванов Иван\r\n") &&
                     log().contains(" 55-12-34 Петров\r\n") &&
                     log().contains(" 34-56-78 Иванов Иван [заблокирован]\r\n") &&
                     log().contains(" 9:07:00 55-12-34 B [пропущен]\r\n"),
                 qPrintable(log()));
        QVERIFY(d.takeSent().isEmpty());
        QVERIFY(server.calls().isEmpty());
    }

    // The desk's own calls go to the server once each, in its words, and are known when the
    // server hands them back under its own names: neither listed nor counted again.
    void ownCallsGoToTheServerOnce() {
        zrktest::NcidTestServer server;
        server.lineId = "POTS";
        server.aliases = {{QString("Иванов Иван").toUtf8(), "Boss"}};
        QVERIFY(server.start());
        Desk d(network(server));
        d.desk.start();
        QTRY_COMPARE(d.desk.networkState(), QString("подключено"));
        setNowForTesting(QDateTime(QDate(2026, 12, 8), QTime(9, 5, 30)));
        for (const char* report : {"2345678:1", "5551234:1", "Unknown"})
            d.feed(QByteArray("RING\r\nCallerID: ") + report + "\r\n");
        QVERIFY(server.waitForCalls(3));
        QCOMPARE(server.calls(),
                 QList<QByteArray>({
                     "CALL: ###DATE12080905...CALLIN...LINE-...NMBR345678...NAMEИванов Иван+++",
                     "CALL: ###DATE12080905...CALLIN...LINE-...NMBR551234...NAMENO NAME+++",
                     "CALL: ###DATE12080905...CALLIN...LINE-...NMBROUT-OF-AREA...NAMENO NAME+++",
                 }));
        QTest::qWait(200);
        QCOMPARE(d.take({"listed"}).size(), 3);
        QCOMPARE(d.desk.callCount(), 3);
        QCOMPARE(server.calls().size(), 3);
    }

    // A log that cannot be written is said, and the line goes on: the next call is counted.
    void logFailureKeepsTheLine() {
        Desk d("\"Log File\"=\"/dev/full\"\n");
        d.desk.start();
        d.feed("RING\r\nCallerID: 2345678:1\r\nRING\r\nCallerID: 3456789:1\r\n");
        QCOMPARE(d.take({"failed"}).size(), 2);  // the presenter says it once
        QCOMPARE(d.desk.callCount(), 2);
        QVERIFY(d.desk.portActive());
    }
};

QTEST_GUILESS_MAIN(TestCallDesk)
#include "tst_calldesk.moc"
