// The port component on real pseudo-terminals: the port name map, opening and its refusals,
// line settings as the kernel keeps them, transfers, DSR of a virtual device, and a device
// that disappears while open.
#include "TestSupport.h"
#include "core/platform/Registry.h"
#include "core/serial/Comm.h"

#include <QtTest>

#include <ctime>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zrk;

namespace {

// A pseudo-terminal: we hold the master (the "modem") and a second descriptor of the slave
// through which we look at the line settings.
struct Pty {
    int master = -1, look = -1;
    QString path;
    Pty() {
        char name[64];
        ::openpty(&master, &look, name, nullptr, nullptr);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        path = QString::fromLocal8Bit(name);
    }
    ~Pty() { hangUp(); }
    void hangUp() {
        ::close(std::exchange(look, -1));
        ::close(std::exchange(master, -1));
    }
    void send(const QByteArray& b) { QCOMPARE(::write(master, b.constData(), b.size()), b.size()); }

    // The settings as the kernel keeps them, the rate itself rather than a B-constant.
    struct Settings {
        tcflag_t iflag, oflag, cflag, lflag;
        cc_t line, cc[19];
        speed_t ispeed, ospeed;
    };
    Settings attrs() const {
        Settings t{};
        ::ioctl(look, _IOR('T', 0x2A, Settings), &t);  // TCGETS2
        return t;
    }
};

void mapPort(const QString& name, const QString& path) {
    RegKey k;
    k.openKey("Software\\Zrk Pro\\Devices", true);
    k.writeString(name, path);
    k.writeInteger(name + " Virtual", 1);
    k.closeKey();
}

QString errorOf(const std::function<void()>& f) try {
    f();
    return "(no error)";
} catch (const ECommError& e) {
    return e.message();
}

}  // namespace

class TestCommPty : public QObject {
    Q_OBJECT
    std::unique_ptr<zrktest::Sandbox> box;

private slots:
    void init() {
        box = std::make_unique<zrktest::Sandbox>();
        RegistryFile::resetUser();
    }
    void cleanup() {
        QTRY_COMPARE(TCommEventThread::running(), 0);
        box.reset();
        RegistryFile::resetUser();
    }

    void portNameMap() {
        QCOMPARE(locateSerialDevice("Com3").path, QStringLiteral("/dev/ttyS2"));
        QVERIFY(!locateSerialDevice("Com3").isVirtual);
        mapPort("Com12", "/dev/ttyACM0");
        QCOMPARE(locateSerialDevice("com12").path, QStringLiteral("/dev/ttyACM0"));
        QVERIFY(locateSerialDevice("COM12").isVirtual);
        RegKey k;  // values of the wrong type are ignored, not fatal
        k.openKey("Software\\Zrk Pro\\Devices", true);
        k.writeInteger("Com4", 7);
        k.writeString("Com4 Virtual", "1");
        k.closeKey();
        QCOMPARE(locateSerialDevice("Com4").path, QStringLiteral("/dev/ttyS3"));
        QVERIFY(!locateSerialDevice("Com4").isVirtual);
    }

    void openRefusals() {
        QVERIFY(zrktest::writeAll(box->filePath("plain"), "x"));
        QVERIFY(::mkfifo(QFile::encodeName(box->filePath("fifo")).constData(), 0600) == 0);
        const QString notADevice = "Неправильный определитель устройства (Ошибка: -1) ";
        const std::pair<QString, QString> cases[] = {
            {box->filePath("missing"), "Ошибка доступа к устройству (Ошибка: 2) "},
            {box->filePath("plain"), notADevice},
            {box->filePath("fifo"), notADevice},
            {"/dev/null", notADevice},
            {"plain", notADevice}};
        for (const auto& [name, text] : cases) {
            TComm c;
            c.SetDeviceName(name);
            QCOMPARE(errorOf([&] { c.Open(); }), text);
            QVERIFY(!c.IsOpen());
        }

        // One program, one modem: a second opening of the same line is refused.
        Pty pty;
        TComm first, second;
        first.SetDeviceName(pty.path);
        second.SetDeviceName(pty.path);
        first.Open();
        QVERIFY(errorOf([&] { second.Open(); }).startsWith("Ошибка доступа к устройству"));
        QVERIFY(!second.IsOpen());
        first.Close();
        second.Open();  // released by the close
        QVERIFY(second.IsOpen());
    }

    // A virtual device (mapped with "Virtual"): opening, DSR always on, receiving a batch with
    // nulls stripped, writing, an empty read, and closing and opening again.
    void virtualDeviceAtWork() {
        Pty pty;
        mapPort("Com7", pty.path);
        TComm comm;
        comm.SetDeviceName("Com7");
        comm.SetOptions({coNullStrip});
        QByteArray got;
        QList<int> counts;
        comm.OnRxChar = [&](QObject* s, qint32 n) {
            QCOMPARE(s, &comm);
            counts << n;
            QByteArray buf(comm.ReadBufSize(), '\0');
            got += buf.left(comm.Read(buf.data(), n));
        };
        QCOMPARE(errorOf([&] { comm.SetDTR(true); }),
                 QStringLiteral("Порт не открыт, чем то занят (Ошибка: -1) "));
        QVERIFY(!comm.ModemLineState(2));
        comm.Open();
        QVERIFY(errorOf([&] { comm.Open(); }).startsWith("Порт уже открыт"));
        QVERIFY(comm.SetRTS(true) && comm.SetDTR(true));
        QVERIFY(comm.ModemLineState(2));

        pty.send(QByteArray("RI\0NG\r\n", 7));
        QTRY_COMPARE(got, QByteArray("RING\r\n"));
        QCOMPARE(counts, QList<int>{7});  // one batch, the whole queue
        QCOMPARE(comm.Write("AT+SR\r\n", 7), 7);
        char buf[16];
        QByteArray sent;
        QTRY_COMPARE(sent += QByteArray(buf, qMax(0, int(::read(pty.master, buf, sizeof buf)))),
                     QByteArray("AT+SR\r\n"));
        QElapsedTimer t;
        t.start();
        QCOMPARE(comm.Read(buf, 16), 0);
        QVERIFY(t.elapsed() < 50);

        // Close and open again at once (the options dialog does that); no stale bytes.
        comm.Close();
        pty.send("junk");
        comm.Open();
        pty.send("OK\r");
        QTRY_COMPARE(got, QByteArray("RING\r\nOK\r"));
    }

    // A terminal named by its path: its line settings as the kernel keeps them, no modem lines,
    // a full line and a hang-up.
    void terminalByPath() {
        Pty pty;
        TComm comm;
        comm.SetDeviceName(pty.path);
        comm.SetBaudRate(br19200);
        QVERIFY(pty.attrs().ospeed != 19200);  // closed: stored only
        comm.Open();
        QVERIFY(pty.attrs().cflag & CLOCAL);
        // Rates without a POSIX name (14400, 56000, ...) go through the arbitrary-rate interface.
        for (int b = br110; b <= br256000; ++b) {
            comm.SetBaudRate(TBaudrate(b));
            QCOMPARE(pty.attrs().ospeed, speed_t(baudRateValue(TBaudrate(b))));
        }
        // A pseudo-terminal forces 8 data bits and drops PARENB; the other bits it keeps.
        const std::pair<TParity, tcflag_t> parities[] = {
            {paMark, PARODD | CMSPAR}, {paSpace, CMSPAR}, {paOdd, PARODD}, {paNone, 0}};
        for (const auto& [parity, bits] : parities) {
            comm.SetParity(parity);
            QCOMPARE(pty.attrs().cflag & (PARODD | CMSPAR), bits);
        }
        comm.SetStopbits(sb20);
        QVERIFY(pty.attrs().cflag & CSTOPB);
        comm.SetStopbits(sb10);
        QVERIFY(!(pty.attrs().cflag & CSTOPB));
        comm.SetDatabits(da4);  // no such size here: harmless
        comm.SetFlowControl(fcSoftware);
        QCOMPARE(pty.attrs().iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
        comm.SetFlowControl(fcCTS);
        comm.SetFlowControl(fcDefault);  // keeps what the device has
        QVERIFY(pty.attrs().cflag & CRTSCTS);
        QVERIFY(pty.attrs().iflag & IXON);
        comm.SetFlowControl(fcNone);
        QVERIFY(!(pty.attrs().cflag & CRTSCTS));
        QVERIFY(!(pty.attrs().iflag & (IXON | IXOFF)));
        comm.SetOptions({coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar});
        QVERIFY(pty.attrs().iflag & INPCK);
        comm.SetOptions({});
        QVERIFY(!(pty.attrs().iflag & INPCK));
        comm.EventChars().SetXonChar(0x12);
        QCOMPARE(pty.attrs().cc[VSTART], cc_t(0x12));

        QVERIFY(!comm.ModemLineState(2));
        const QString noLines = errorOf([&] { comm.SetDTR(true); });
        QVERIFY2(noLines.startsWith("EscapeCommFunction недоступна (Ошибка: ") &&
                     !noLines.contains("-1"),
                 qPrintable(noLines));

        // Nobody reads the line and it fills up: a write gives up at its limit. Then the modem
        // is pulled out: the owner hears of it once, the watch does not spin, transfers fail.
        comm.SetWriteTimeout(200);
        QList<qint32> errors;
        int rx = 0;
        comm.OnError = [&](QObject*, qint32 e) { errors << e; };
        comm.OnRxChar = [&](QObject*, qint32) { ++rx; };
        const QByteArray chunk(4096, 'x');
        QElapsedTimer t;
        int r = 0;
        for (int i = 0; i < 1000 && r != -1; ++i) {
            t.restart();
            r = comm.Write(chunk.constData(), chunk.size());
        }
        QCOMPARE(r, -1);
        QVERIFY2(t.elapsed() >= 190 && t.elapsed() < 1500,
                 qPrintable(QString::number(t.elapsed())));

        const std::clock_t cpuBefore = std::clock();  // the whole process, every thread
        pty.hangUp();
        QTRY_COMPARE(errors.size(), 1);
        QVERIFY(errors[0] & kCeIoError);
        QTest::qWait(300);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(rx, 0);
        QVERIFY2(std::clock() - cpuBefore < CLOCKS_PER_SEC / 7, "the watch spins on the hang-up");
        char buf[8];
        QCOMPARE(errorOf([&] { comm.Read(buf, 8); }), QStringLiteral("Ошибка чтения (Ошибка: 5) "));
        QVERIFY(errorOf([&] { comm.Write("AT\r\n", 4); }).startsWith("Ошибка записи"));
    }
};

QTEST_GUILESS_MAIN(TestCommPty)
#include "tst_comm_pty.moc"
