// Two real programs and an NCID server: a call into the one with the modem (the gateway)
// appears in the one without (the client), and how long that takes.
#include "core/platform/Cp1251.h"

#include "ModemSimDriver.h"
#include "TestSupport.h"
#include "core/net/NcidTestServer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>

namespace {

// One program in a directory of its own, with its own settings store.
struct Desk {
    QTemporaryDir dir;
    QProcess proc;

    bool start(const QByteArray& store) {
        if (!zrktest::writeAll(dir.filePath("config/zrk-pro/registry.reg"), store)) return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        proc.setProcessEnvironment(env);
        proc.setWorkingDirectory(dir.path());
        proc.setProcessChannelMode(QProcess::ForwardedChannels);
        proc.start(QStringLiteral(ZRK_PRO), {});
        return proc.waitForStarted(10000);
    }
    QString log() const { return zrk::fromCp1251(zrktest::readAll(dir.filePath("ZrkLog.txt"))); }
    // The program killed as by a crash, and started again in the same directory.
    bool crashAndRestart() {
        proc.kill();
        proc.waitForFinished(5000);
        proc.start(QStringLiteral(ZRK_PRO), {});
        return proc.waitForStarted(10000);
    }
    ~Desk() {
        proc.kill();
        proc.waitForFinished(5000);
    }
};

// Waits in steps of a millisecond, the event loop running (a qWaitFor step is ten).
bool waitFine(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

}  // namespace

class TestE2ENcid : public QObject {
    Q_OBJECT
private slots:
    void gatewayCallReachesTheClient() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        Desk gateway, client;
        QVERIFY(gateway.start(sim.settingsStore() +
                              server.settingsKey() + "\"Receive Calls\"=dword:00000000\n"));
        // No modem on the client's desk: "Нет модема" is its port.
        QVERIFY(
            client.start("Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Minimized\"=dword:00000000\n"
                         "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n"
                         "\"Port\"=dword:00000004\n" +
                         server.settingsKey() + "\"Send Calls\"=dword:00000000\n"));
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        QVERIFY(server.waitForClients(2, 10000));

        QList<qint64> total, network;
        for (int i = 0; i < 5; ++i) {
            sim.clear();
            const QString shown = QStringLiteral("23-45-6%1 ").arg(i);
            sim.send(QStringLiteral("call 49523456%1 1 rings 1 interval 0.2").arg(i));
            QElapsedTimer fromReport;
            QVERIFY2(waitFine(
                         [&] {
                             if (!fromReport.isValid())
                                 for (const QString& l : sim.sent())
                                     if (l.startsWith("CallerID:")) fromReport.start();
                             return client.log().contains(shown);
                         },
                         10000),
                     qPrintable(QString("server had %1 calls; gateway log: %2; client log: %3")
                                    .arg(server.calls().size())
                                    .arg(gateway.log(), client.log())));
            const qint64 end = QDateTime::currentMSecsSinceEpoch();
            QVERIFY(fromReport.isValid());
            total.append(fromReport.elapsed());
            network.append(end - server.lastCallAtMs);
            QVERIFY(gateway.log().contains(shown));
            QVERIFY(sim.waitForCommand(
                QStringLiteral("call 49523456%1 1 rings 1 interval 0.2").arg(i)));
            QTest::qWait(300);  // the simulator's call is over
        }
        QCOMPARE(server.calls().size(), 5);
        qInfo() << "modem report to the client's log, ms:" << total
                << "of which server to client:" << network;
        std::sort(total.begin(), total.end());
        QVERIFY2(total[2] < 100, "the median call took 100 ms or more");
    }

    // Calls identified while the server is away wait in the data directory: a crash of the
    // program loses none, the next run sends them, in order.
    void queuedCallsOutliveACrash() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        const quint16 port = server.port();
        server.stop();
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        Desk gateway;
        QVERIFY(gateway.start(sim.settingsStore() +
                              server.settingsKey() + "\"Receive Calls\"=dword:00000000\n"));
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        for (int i = 0; i < 3; ++i) {
            const QString command = QStringLiteral("call 49523456%1 1 rings 1 interval 0.2").arg(i);
            sim.send(command);
            QVERIFY(QTest::qWaitFor(
                [&] { return gateway.log().contains(QStringLiteral("23-45-6%1 ").arg(i)); },
                10000));
            QVERIFY(sim.waitForCommand(command));
            QTest::qWait(300);
        }
        QVERIFY(gateway.crashAndRestart());
        QVERIFY(server.start(port));
        QVERIFY(server.waitForCalls(3, 15000));
        QTest::qWait(300);
        QCOMPARE(server.calls().size(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY(server.calls()[i].contains("NMBR23456" + QByteArray::number(i) + "..."));
    }
};

QTEST_GUILESS_MAIN(TestE2ENcid)
#include "tst_e2e_ncid.moc"
