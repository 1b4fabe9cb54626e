// The modem simulator as the program sees it: through the port component on the device the
// simulator reports, driven the way the end-to-end tests drive it.
#include "ModemSimDriver.h"
#include "TestSupport.h"
#include "core/serial/Comm.h"

#include <QtTest>

using namespace zrk;

namespace {

void command(TComm& port, const QByteArray& line) {
    QCOMPARE(port.Write(line + "\r\n", qint32(line.size()) + 2), qint32(line.size()) + 2);
}

}  // namespace

class TestModemSim : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_COMPARE(TCommEventThread::running(), 0); }

    void answersLikeTheModem() {
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        TComm port;
        port.SetDeviceName(sim.devicePath());
        port.Open();
        sim.send("call 2345678 rings 10 interval 0.2");
        sim.send("send BEEP");
        QTRY_COMPARE(sim.sent().count("RING"), 1);
        command(port, "AT+SR");
        QTRY_VERIFY(sim.sent().contains("CallerID: 2345678"));
        command(port, "+++~~~ATH0");
        // The hang-up ends the call: the next command runs long before ten rings.
        QTRY_VERIFY_WITH_TIMEOUT(sim.sent().contains("BEEP"), 1500);
        QVERIFY(sim.sent().count("RING") < 10);

        sim.clear();
        command(port, "AT+SR");  // no call now: the report is the last caller's
        sim.send("dial busy");
        QVERIFY(sim.waitForCommand("dial busy"));
        command(port, "ATDT123");
        command(port, "ATDP456");  // the next dial is back to the default
        QTRY_COMPARE(sim.sent(), QStringList({"CallerID: 2345678", "OK", "BUSY", "RINGING"}));
    }

    // The program closes and reopens its port; the simulator stays, as does the device path,
    // here a fixed link as a demo uses it, removed when the simulator ends.
    void survivesReopenAndEndsCleanly() {
        zrktest::Sandbox box;
        const QString link = box.filePath("modem");
        zrktest::ModemSimDriver sim({"--link", link});
        QVERIFY(sim.start());
        QCOMPARE(sim.devicePath(), link);
        QVERIFY(QFileInfo(link).isSymLink());
        for (int i = 0; i < 3; ++i) {
            TComm port;
            port.SetDeviceName(link);
            port.Open();
            command(port, "ATZ");
            QTRY_COMPARE(port.device().queuedBytes(), 6);  // CR LF OK CR LF, no echo
        }
        sim.process().terminate();
        QVERIFY(sim.process().waitForFinished(3000));
        QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
        QVERIFY(!QFileInfo::exists(link) && !QFileInfo(link).isSymLink());
    }

    // A script is played to its end, then the simulator ends with its input, unless looping; a
    // pause that makes no sense is no pause, not the end of the script.
    void scripts() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.filePath("s.sim"), "# two rings\nring\nwait 0.1\nring\n"));
        QVERIFY(zrktest::writeAll(box.filePath("odd.sim"),
                                  "ring\nwait -1\nring\nwait nan\nring\n"
                                  "call 1 interval -2 rings 2\nring\n"));
        const struct {
            const char* script;
            bool loop;
            int rings;
        } cases[] = {{"s.sim", false, 2}, {"odd.sim", false, 6}, {"s.sim", true, 5}};
        for (const auto& c : cases) {
            QStringList args{"--script", box.filePath(c.script)};
            if (c.loop) args << "--loop";
            zrktest::ModemSimDriver sim(args);
            QVERIFY(sim.start());
            sim.process().closeWriteChannel();
            QVERIFY(c.loop || sim.process().waitForFinished(3000));
            QVERIFY(QTest::qWaitFor([&] { return sim.sent().size() >= c.rings; }, 3000));
            QCOMPARE(sim.sent().count("RING"), sim.sent().size());
            if (!c.loop) QCOMPARE(sim.sent().size(), c.rings);
            QCOMPARE(sim.process().state(), c.loop ? QProcess::Running : QProcess::NotRunning);
        }
    }
};

QTEST_GUILESS_MAIN(TestModemSim)
#include "tst_modemsim.moc"
