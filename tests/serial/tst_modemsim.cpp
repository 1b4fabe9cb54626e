// The modem simulator as the program sees it: through the port component on the device the
// simulator reports, driven the way the end-to-end tests drive it.
#include "ModemSimDriver.h"
#include "TestSupport.h"
#include "platform/Registry.h"
#include "serial/Comm.h"

#include <QtTest>

#include <signal.h>

using namespace zrk;

namespace {

// The port as the main window uses it: lines assembled from the received bytes.
struct Line {
    TComm comm;
    QStringList lines;
    QByteArray partial;
    explicit Line(const QString& device) {
        comm.SetDeviceName(device);
        comm.OnRxChar = [this](QObject*, qint32 n) {
            QByteArray buf(comm.ReadBufSize(), '\0');
            const int r = comm.Read(buf.data(), n);
            for (int i = 0; i < r; ++i) {
                if (buf[i] == '\r') {
                    if (!partial.isEmpty()) lines << QString::fromLatin1(partial);
                    partial.clear();
                } else if (buf[i] != '\n' && buf[i] != 0) {
                    partial += buf[i];
                }
            }
        };
        comm.Open();
    }
    void send(const QByteArray& cmd) {
        QCOMPARE(comm.Write(cmd + "\r\n", cmd.size() + 2), cmd.size() + 2);
    }
};

}  // namespace

class TestModemSim : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_COMPARE(TCommEventThread::running(), 0); }

    void answersLikeTheModem() {
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        Line line(sim.devicePath());
        line.send("ATM2+S64=1+S73=2");
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2"));
        QTRY_COMPARE(line.lines, QStringList{"OK"});

        sim.send("call 2345678 1 rings 2 interval 0.3");
        QTRY_COMPARE(line.lines.count("RING"), 1);
        line.send("AT+SR");
        QTRY_VERIFY(line.lines.contains("CallerID: 2345678:1"));
        QTRY_COMPARE(line.lines.count("RING"), 2);

        line.lines.clear();
        sim.send("dial busy");
        QVERIFY(sim.waitForCommand("dial busy"));
        line.send("ATDT123");
        QTRY_COMPARE(line.lines, QStringList{"BUSY"});
        line.send("ATDP456");  // the next dial is back to the default
        QTRY_COMPARE(line.lines, QStringList({"BUSY", "RINGING"}));
        sim.send("dial ringing nocarrier");
        QVERIFY(sim.waitForCommand("dial ringing nocarrier"));
        line.send("ATDT789");
        QTRY_COMPARE_WITH_TIMEOUT(line.lines,
                                  QStringList({"BUSY", "RINGING", "RINGING", "NO CARRIER"}), 5000);

        line.lines.clear();
        line.send("+++~~~ATH0");
        QTRY_COMPARE(line.lines, QStringList{"OK"});
        // No call now: the report is the last caller's.
        line.send("AT+SR");
        QTRY_VERIFY(line.lines.contains("CallerID: 2345678:1"));
        QCOMPARE(sim.received(), QStringList({"ATM2+S64=1+S73=2", "AT+SR", "ATDT123", "ATDP456",
                                              "ATDT789", "+++~~~ATH0", "AT+SR"}));
    }

    void hangUpStopsTheRinging() {
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        Line line(sim.devicePath());
        sim.send("call Unknown rings 10 interval 0.2");
        sim.send("send BEEP");
        QTRY_VERIFY(line.lines.count("RING") >= 1);
        line.send("AT+SR");
        QTRY_VERIFY(line.lines.contains("CallerID: Unknown"));
        line.send("+++~~~ATH0");
        // The next command runs as soon as the call is over, long before ten rings.
        QTRY_VERIFY_WITH_TIMEOUT(line.lines.contains("BEEP"), 1500);
        QVERIFY(line.lines.count("RING") < 10);
    }

    // The program closes and reopens its port; the simulator stays, as does the device path,
    // here a fixed link as a demo uses it.
    void survivesReopenAndEndsCleanly() {
        zrktest::Sandbox box;
        const QString link = box.filePath("modem");
        zrktest::ModemSimDriver sim({"--link", link});
        QVERIFY(sim.start());
        QCOMPARE(sim.devicePath(), link);
        QVERIFY(QFileInfo(link).isSymLink());
        {
            Line line(link);
            line.send("AT");
            QTRY_COMPARE(line.lines, QStringList{"OK"});
        }
        for (int i = 0; i < 3; ++i) {
            Line line(link);
            line.send("ATZ");
            QTRY_COMPARE(line.lines, QStringList{"OK"});
        }
        sim.process().terminate();
        QVERIFY(sim.process().waitForFinished(3000));
        QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
    }

    void endsOnInputEofUnlessLooping() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.filePath("s.sim"), "# two rings\nring\nwait 0.1\nring\n"));
        zrktest::ModemSimDriver once({"--script", box.filePath("s.sim")});
        QVERIFY(once.start());
        once.process().closeWriteChannel();
        QVERIFY(once.process().waitForFinished(3000));
        // The script was played to its end first.
        QVERIFY(once.waitUntil([&] { return once.sent().size() == 2; }, 1000));
        QCOMPARE(once.sent(), QStringList({"RING", "RING"}));

        // A pause that makes no sense is no pause, not the end of the script.
        QVERIFY(zrktest::writeAll(box.filePath("odd.sim"),
                                  "ring\nwait -1\nring\nwait nan\nring\ncall 1 interval -2 "
                                  "rings 2\nring\n"));
        zrktest::ModemSimDriver odd({"--script", box.filePath("odd.sim")});
        QVERIFY(odd.start());
        odd.process().closeWriteChannel();
        QVERIFY(odd.process().waitForFinished(3000));
        QVERIFY(odd.waitUntil([&] { return odd.sent().size() == 6; }, 1000));

        zrktest::ModemSimDriver looping({"--script", box.filePath("s.sim"), "--loop"});
        QVERIFY(looping.start());
        looping.process().closeWriteChannel();
        QVERIFY(looping.waitUntil([&] { return looping.sent().size() >= 5; }, 3000));
        QCOMPARE(looping.process().state(), QProcess::Running);
        looping.stop();
        QCOMPARE(looping.process().state(), QProcess::NotRunning);
    }
};

QTEST_GUILESS_MAIN(TestModemSim)
#include "tst_modemsim.moc"
