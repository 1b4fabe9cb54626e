// The real line server, as systemd starts it: no display of any kind, the modem simulator on a
// pseudo-terminal, an NCID server that behaves as ncidd does, signals from outside.
#include "core/book/BookBytes.h"
#include "core/platform/Cp1251.h"

#include "ModemSimDriver.h"
#include "TestSupport.h"
#include "core/net/NcidTestServer.h"

#include <QFile>
#include <QProcess>

#include <csignal>

using zrktest::cp;

namespace {

// A book as the Windows program writes it: one group, then the entries (status 1: bad).
QByteArray book(const QList<std::pair<const char*, QByteArray>>& people, qint32 badFrom = 99) {
    QByteArray bytes = zrktest::header(1) + zrktest::groupBytes(cp("Общая"), "", 0);
    for (qsizetype i = 0; i < people.size(); ++i)
        bytes += zrktest::entryBytes({cp(people[i].first), people[i].second}, i >= badFrom ? 1 : 0);
    return bytes;
}

// One server: its data directory and settings file apart from each other, as in /var/lib and
// /etc; stderr kept for the test to read.
struct Line {
    zrktest::Sandbox box;
    QProcess proc;
    QString err;

    QString data(const char* name = "") const { return box.filePath(QStringLiteral("data/") + name); }
    QString config() const { return box.filePath(QStringLiteral("etc/registry.reg")); }
    QString log() const { return zrk::fromCp1251(zrktest::readAll(data("ZrkLog.txt"))); }

    void prepare(const QByteArray& store, const QByteArray& phn) {
        QVERIFY(zrktest::writeAll(config(), store));
        QVERIFY(zrktest::writeAll(data("book.phn"), phn));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(v);
        proc.setProcessEnvironment(env);
        QObject::connect(&proc, &QProcess::readyReadStandardError,
                         [this] { err += QString::fromLocal8Bit(proc.readAllStandardError()); });
    }
    bool start() {
        proc.start(QStringLiteral(ZRK_LINE), {"--data-dir", data(), "--config", config()});
        return proc.waitForStarted(10000);
    }
    int finish() {
        proc.waitForFinished(10000);
        err += QString::fromLocal8Bit(proc.readAllStandardError());
        return proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1;
    }
    void signal(int sig) { ::kill(pid_t(proc.processId()), sig); }
    // Another run on the same directory and runtime folder, to its end: its code and words.
    std::pair<int, QString> run(const QStringList& args) const {
        QProcess other;
        other.setProcessEnvironment(proc.processEnvironment());
        other.setProcessChannelMode(QProcess::MergedChannels);
        other.start(QStringLiteral(ZRK_LINE), QStringList{"--data-dir", data()} + args);
        // The test's own server answers from this event loop meanwhile.
        if (!QTest::qWaitFor([&] { return other.state() == QProcess::NotRunning; }, 15000)) other.kill();
        other.waitForFinished(1000);
        return {other.exitStatus() == QProcess::NormalExit ? other.exitCode() : -1,
                QString::fromLocal8Bit(other.readAll())};
    }
    ~Line() {
        proc.kill();
        proc.waitForFinished(5000);
    }
};

// The modem on `device` (a terminal: no modem-control lines), as the simulator's store has it.
QByteArray modemStore(const QString& device) {
    return "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Devices]\n"
           "\"Com2\"=\"" + device.toUtf8() + "\"\n\"Com2 Virtual\"=dword:00000001\n";
}

const QByteArray kHangUpOnBad = "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Action]\n\"On Bad\"=dword:00000003\n";

}  // namespace

class TestLine : public QObject {
    Q_OBJECT
private slots:
    // A named call is logged and reaches the server once; a bad one is hung up on; SIGHUP
    // takes up a changed book with the port left open; the process never maps Qt's GUI.
    void callsBlockingAndReload() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        Line line;
        line.prepare(sim.settingsStore() + kHangUpOnBad + server.settingsKey(),
                     book({{"Иванов Иван", "34-56-78"}, {"Продавец", "11-11-11"}}, 1));
        QVERIFY(line.start());
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        QVERIFY(server.waitForClients(1, 10000));

        const QByteArray maps = zrktest::readAll(QStringLiteral("/proc/%1/maps").arg(line.proc.processId()));
        QVERIFY(maps.contains("libQt6Core"));
        QVERIFY2(!maps.contains("libQt6Gui") && !maps.contains("libQt6Widgets"), maps.constData());

        // Asked about at the second ring and again at the fourth: one log line, one call sent.
        sim.send("call 4952345678 1 rings 4 interval 0.3");
        QTRY_VERIFY_WITH_TIMEOUT(line.log().contains("34-56-78 Иванов Иван"), 10000);
        QVERIFY(server.waitForCalls(1, 10000));
        QTRY_COMPARE_WITH_TIMEOUT(sim.received().count("AT+SR"), 2, 10000);
        QTest::qWait(500);
        QCOMPARE(line.log().count("34-56-78 Иванов Иван"), 1);
        QCOMPARE(server.calls().size(), 1);
        QCOMPARE(QString::fromUtf8(zrktest::NcidTestServer::field(server.calls()[0], "...NAME", '+')),
                 QStringLiteral("Иванов Иван"));
        QVERIFY(line.err.contains("Звонит 34-56-78 Иванов Иван"));

        sim.clear();
        sim.send("call 111111 1 rings 2 interval 0.3");
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        QCOMPARE(sim.receivedFrom("+++~~~ATH0", 2), QStringList({"+++~~~ATH0", "ATM2+S64=1+S73=2"}));

        // The book changed by another program: SIGHUP reads it, the line stays open.
        QVERIFY(zrktest::writeAll(line.data("book.phn"),
                                  book({{"Иванов Иван", "34-56-78"}, {"Петров Пётр", "22-22-22"}})));
        line.signal(SIGHUP);
        QTRY_COMPARE_WITH_TIMEOUT(line.err.count("Телефонная книга book.phn: записей 2"), 2, 10000);
        sim.clear();
        sim.send("call 4952222222 1 rings 2 interval 0.3");
        QTRY_VERIFY2_WITH_TIMEOUT(line.log().contains("22-22-22 Петров Пётр"), qPrintable(line.err + line.log()), 10000);
        QVERIFY(!sim.received().contains("ATM2+S64=1+S73=2"));  // never reopened
        QCOMPARE(line.err.count("Порт Com2 открыт"), 1);
        QVERIFY(server.waitForCalls(3, 10000));

        line.signal(SIGTERM);
        QCOMPARE(line.finish(), 0);
    }

    // The calls' programs run on the server too: a missed call once with its caller, a bad
    // caller's action by its filter; an address to open is no business of a server.
    void callActionsRunPrograms() {
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        Line line;
        const QString out = line.box.filePath("calls.txt");
        const QString script = line.box.filePath("to-chat.sh");
        QVERIFY(zrktest::writeAll(script, "#!/bin/sh\nprintf '%s|' \"$@\" >> '" + out.toUtf8() +
                                              "'\necho >> '" + out.toUtf8() + "'\n"));
        QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
        const auto key = [](int n) {
            return "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Call Actions\\" + QByteArray::number(n) +
                   "]\n";
        };
        line.prepare(sim.settingsStore() + key(0) + "\"Event\"=\"missed\"\n\"Kind\"=\"program\"\n" +
                         "\"Program\"=\"" + script.toUtf8() + "\"\n\"Argument 1\"=\"missed\"\n" +
                         "\"Argument 2\"=\"{number}\"\n\"Argument 3\"=\"{name}\"\n" + key(1) +
                         "\"Event\"=\"caller\"\n\"Kind\"=\"program\"\n\"Program\"=\"" +
                         script.toUtf8() + "\"\n\"Argument 1\"=\"bad {status}\"\n" +
                         "\"Statuses\"=dword:00000002\n" + key(2) +
                         "\"Event\"=\"caller\"\n\"Kind\"=\"url\"\n\"Template\"=\"x\"\n",
                     book({{"Иванов Иван", "34-56-78"}, {"Продавец", "11-11-11"}}, 1));
        QVERIFY(line.start());
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        // Asked about twice, then silence: one missed call.
        sim.send("call 4952345678 1 rings 4 interval 0.3");
        QTRY_VERIFY_WITH_TIMEOUT(line.log().contains("34-56-78 Иванов Иван"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 20000);
        sim.send("call 111111 1 rings 2 interval 0.3");
        QTRY_VERIFY2_WITH_TIMEOUT(zrktest::readAll(out).count('\n') == 3,
                                  zrktest::readAll(out) + line.err.toUtf8(), 20000);
        QTest::qWait(500);
        QCOMPARE(QString::fromUtf8(zrktest::readAll(out)),
                 QString("missed|34-56-78|Иванов Иван|\nbad bad|\nmissed|11-11-11|Продавец|\n"));
        QVERIFY2(!line.err.contains("Действие"), qPrintable(line.err));
        line.signal(SIGTERM);
        QCOMPARE(line.finish(), 0);
    }

    // Calls made while the server is away wait in the queue; SIGTERM leaves it and the log
    // whole, and the next run sends them in order.
    void sigtermKeepsTheQueue() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        const quint16 port = server.port();
        server.stop();
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        Line line;
        line.prepare(sim.settingsStore() + server.settingsKey(), book({}));
        QVERIFY(line.start());
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        for (const char* number : {"4951111111", "4953333333"}) {
            sim.send(QStringLiteral("call %1 1 rings 2 interval 0.3").arg(number));
            QVERIFY(sim.waitForCommand(QStringLiteral("call %1 1 rings 2 interval 0.3").arg(number), 10000));
        }
        QTRY_VERIFY_WITH_TIMEOUT(line.log().contains("33-33-33"), 10000);
        line.signal(SIGTERM);
        QCOMPARE(line.finish(), 0);
        QVERIFY(line.log().indexOf("11-11-11") < line.log().indexOf("33-33-33"));
        const QByteArray queue = zrktest::readAll(line.data("ncid-queue.txt"));
        QVERIFY2(queue.indexOf("NMBR111111") >= 0 && queue.indexOf("NMBR111111") < queue.indexOf("NMBR333333"),
                 queue.constData());

        QVERIFY(server.start(port));
        QVERIFY(line.start());
        QVERIFY(server.waitForCalls(2, 10000));
        QVERIFY(server.calls()[0].contains("NMBR111111"));
        QVERIFY(server.calls()[1].contains("NMBR333333"));
    }

    // --check says what is used and whether it works; a second server on the directory is
    // refused with the holder's name.
    void checkAndTheLock() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        Line line;
        line.prepare(sim.settingsStore() + server.settingsKey(), book({{"Иванов Иван", "34-56-78"}}));
        auto [rc, said] = line.run({"--config", line.config(), "--check"});
        QVERIFY2(rc == 0, qPrintable(said));
        QVERIFY(said.contains(sim.devicePath()));
        QVERIFY(said.contains("book.phn, записей 1"));
        QVERIFY(said.contains(server.address()));

        // A modem that is not there, a server nobody runs.
        const QString other = line.box.filePath("other.reg");
        QVERIFY(zrktest::writeAll(other, modemStore("/dev/zrk-no-such-modem") + server.settingsKey()));
        server.stop();
        std::tie(rc, said) = line.run({"--config", other, "--check"});
        QCOMPARE(rc, 1);
        QVERIFY2(said.contains("/dev/zrk-no-such-modem") && said.contains("не отвечает"), qPrintable(said));

        QVERIFY(line.start());
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        std::tie(rc, said) = line.run({"--config", line.config()});
        QCOMPARE(rc, 3);
        QVERIFY2(said.contains("в нём работает zrk-line"), qPrintable(said));
    }

    // A modem that comes after the server (plugged in late, not ready at boot) is taken up
    // without a restart; the trouble meanwhile is said once, not at every try.
    void aLateModemIsTakenUp() {
        Line line;
        const QString link = line.box.filePath("modem");
        line.prepare(modemStore(link), book({}));
        QVERIFY(line.start());
        QTRY_VERIFY_WITH_TIMEOUT(line.err.contains("Ошибка"), 10000);
        QTest::qWait(6000);  // past one more try
        zrktest::ModemSimDriver sim({"--link", link});
        QVERIFY(sim.start());
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 15000));
        QVERIFY2(line.err.count("Ошибка доступа к устройству") == 1, qPrintable(line.err));
    }
};

QTEST_GUILESS_MAIN(TestLine)
#include "tst_line.moc"
