// The port component on real pseudo-terminals: the port name map, opening and its refusals,
// line settings as the kernel keeps them, transfers, DSR of a virtual device, and a device
// that disappears while open.
#include "TestSupport.h"
#include "platform/Registry.h"
#include "serial/Comm.h"

#include <QtTest>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace zrk;

namespace {

// A pseudo-terminal: we hold the master (the "modem") and a second descriptor of the slave
// through which we look at the line settings.
struct Pty {
    int master = -1;
    int look = -1;
    QString path;
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ::grantpt(master);
        ::unlockpt(master);
        path = QString::fromLocal8Bit(::ptsname(master));
        look = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
    }
    ~Pty() {
        if (look >= 0) ::close(look);
        closeMaster();
    }
    void closeMaster() {
        if (master >= 0) ::close(master);
        master = -1;
    }
    void send(const QByteArray& b) { QCOMPARE(::write(master, b.constData(), b.size()), b.size()); }
    QByteArray take() {
        QByteArray all;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(master, buf, sizeof buf)) > 0) all.append(buf, int(n));
        return all;
    }
    tcflag_t cflag() const {
        termios t{};
        ::tcgetattr(look, &t);
        return t.c_cflag;
    }
    tcflag_t iflag() const {
        termios t{};
        ::tcgetattr(look, &t);
        return t.c_iflag;
    }
    speed_t rate() const {
        struct {
            tcflag_t f[4];
            cc_t line, cc[19];
            speed_t ispeed, ospeed;
        } t2{};
        ::ioctl(look, _IOR('T', 0x2A, t2), &t2);
        return t2.ospeed;
    }
};

void mapPort(int n, const QString& path, bool isVirtual) {
    RegKey k;
    k.openKey("Software\\Zrk Pro\\Devices", true);
    k.writeString(QString("Com%1").arg(n), path);
    if (isVirtual) k.writeInteger(QString("Com%1 Virtual").arg(n), 1);
    k.closeKey();
}

QString errorOf(const std::function<void()>& f, qint32* code = nullptr) {
    try {
        f();
    } catch (const ECommError& e) {
        if (code) *code = e.code();
        return e.message();
    }
    return "(no error)";
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
        QCOMPARE(locateSerialDevice("/dev/ttyUSB0").path, QStringLiteral("/dev/ttyUSB0"));
        mapPort(12, "/dev/ttyACM0", true);
        QCOMPARE(locateSerialDevice("com12").path, QStringLiteral("/dev/ttyACM0"));
        QVERIFY(locateSerialDevice("COM12").isVirtual);
        RegKey k;  // a value of the wrong type is ignored, not fatal
        k.openKey("Software\\Zrk Pro\\Devices", true);
        k.writeInteger("Com4", 7);
        k.writeString("Com4 Virtual", "1");
        k.closeKey();
        QCOMPARE(locateSerialDevice("Com4").path, QStringLiteral("/dev/ttyS3"));
        QVERIFY(!locateSerialDevice("Com4").isVirtual);
    }

    void openRefusals() {
        TComm comm;
        qint32 code = 0;
        comm.SetDeviceName(box->filePath("missing"));
        QCOMPARE(errorOf([&] { comm.Open(); }, &code),
                 QStringLiteral("Ошибка доступа к устройству (Ошибка: 2) "));
        QCOMPARE(code, ENOENT);

        QVERIFY(zrktest::writeAll(box->filePath("plain"), "x"));
        QVERIFY(::mkfifo(QFile::encodeName(box->filePath("fifo")).constData(), 0600) == 0);
        for (const QString& name : {box->filePath("plain"), box->filePath("fifo"),
                                    QStringLiteral("/dev/null"), QStringLiteral("plain")}) {
            TComm c;
            c.SetDeviceName(name);
            QCOMPARE(errorOf([&] { c.Open(); }, &code),
                     QStringLiteral("Неправильный определитель устройства (Ошибка: -1) "));
            QCOMPARE(code, -1);
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

    void openReceiveWriteReopen() {
        Pty pty;
        mapPort(7, pty.path, true);
        TComm comm;
        comm.SetDeviceName("Com7");
        QByteArray got;
        QList<int> counts;
        comm.OnRxChar = [&](QObject* s, qint32 n) {
            QCOMPARE(s, &comm);
            counts << n;
            QByteArray buf(comm.ReadBufSize(), '\0');
            const int r = comm.Read(buf.data(), n);
            QCOMPARE(r, n);
            got += buf.left(r);
        };
        comm.Open();
        QVERIFY(errorOf([&] { comm.Open(); }).startsWith("Порт уже открыт"));
        pty.send("RING\r\n");
        QTRY_COMPARE(got, QByteArray("RING\r\n"));
        QCOMPARE(counts, QList<int>{6});  // one batch, the whole queue
        QCOMPARE(comm.Write("AT+SR\r\n", 7), 7);
        QByteArray echoed;
        QTRY_COMPARE(echoed += pty.take(), QByteArray("AT+SR\r\n"));

        char buf[16];
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

    // An owner that leaves the bytes queued (its port inactive) hears of them once, and again
    // only when more arrive.
    void unreadBytesAreReportedOnce() {
        Pty pty;
        TComm comm;
        comm.SetDeviceName(pty.path);
        QList<int> counts;
        comm.OnRxChar = [&](QObject*, qint32 n) { counts << n; };
        comm.Open();
        pty.send("RING\r\n");
        QTRY_COMPARE(counts, QList<int>{6});
        QTest::qWait(200);
        QCOMPARE(counts, QList<int>{6});
        pty.send("OK\r\n");
        QTRY_COMPARE(counts, QList<int>({6, 10}));
    }

    void lineSettingsReachTheKernel() {
        Pty pty;
        TComm comm;
        comm.SetDeviceName(pty.path);
        comm.SetBaudRate(br19200);
        QVERIFY(pty.rate() != 19200);  // closed: stored only
        comm.Open();
        QCOMPARE(pty.rate(), speed_t(19200));
        // Rates without a POSIX name go through the arbitrary-rate interface.
        for (TBaudrate b : {br14400, br56000, br128000, br256000, br110, br115200}) {
            comm.SetBaudRate(b);
            QCOMPARE(pty.rate(), speed_t(baudRateValue(b)));
        }
        QVERIFY(pty.cflag() & CLOCAL);
        // A pseudo-terminal forces 8 data bits and drops PARENB; the other bits it keeps.
        const tcflag_t par = PARODD | CMSPAR;
        comm.SetParity(paMark);
        QCOMPARE(pty.cflag() & par, par);
        comm.SetParity(paSpace);
        QCOMPARE(pty.cflag() & par, tcflag_t(CMSPAR));
        comm.SetParity(paOdd);
        QCOMPARE(pty.cflag() & par, tcflag_t(PARODD));
        comm.SetParity(paNone);
        QCOMPARE(pty.cflag() & par, tcflag_t(0));
        comm.SetStopbits(sb20);
        QVERIFY(pty.cflag() & CSTOPB);
        comm.SetStopbits(sb10);
        QVERIFY(!(pty.cflag() & CSTOPB));
        comm.SetDatabits(da4);  // no such size here: harmless
        comm.SetDatabits(da7);
        comm.SetFlowControl(fcSoftware);
        QCOMPARE(pty.iflag() & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
        comm.SetFlowControl(fcCTS);
        QVERIFY(pty.cflag() & CRTSCTS);
        comm.SetFlowControl(fcDefault);  // keeps what the device has
        QVERIFY(pty.cflag() & CRTSCTS);
        QVERIFY(pty.iflag() & IXON);
        comm.SetFlowControl(fcNone);
        QVERIFY(!(pty.cflag() & CRTSCTS));
        QVERIFY(!(pty.iflag() & (IXON | IXOFF)));
        comm.SetOptions({coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar});
        QVERIFY(pty.iflag() & INPCK);
        comm.EventChars().SetXonChar(0x11 + 1);
        termios t{};
        ::tcgetattr(pty.look, &t);
        QCOMPARE(t.c_cc[VSTART], cc_t(0x12));
    }

    void nullStripOption() {
        Pty pty;
        TComm comm;
        comm.SetDeviceName(pty.path);
        comm.SetOptions({coNullStrip});
        comm.Open();
        pty.send(QByteArray("R\0I\0NG", 6));
        char buf[16];
        QTRY_VERIFY(comm.device().queuedBytes() == 6);
        QCOMPARE(comm.Read(buf, 16), 4);
        QCOMPARE(QByteArray(buf, 4), QByteArray("RING"));
    }

    void modemLinesVirtualAndReal() {
        Pty pty;
        mapPort(7, pty.path, true);
        TComm comm;
        comm.SetDeviceName("Com7");
        qint32 code = 0;
        QCOMPARE(errorOf([&] { comm.SetDTR(true); }, &code),
                 QStringLiteral("Порт не открыт, чем то занят (Ошибка: -1) "));
        QVERIFY(!comm.ModemLineState(2));
        comm.Open();
        QVERIFY(comm.SetRTS(true));
        QVERIFY(comm.SetDTR(true));
        QVERIFY(comm.ModemLineState(2));
        comm.Close();

        // Named by its path the terminal is no virtual device: it has no modem lines at all.
        comm.SetDeviceName(pty.path);
        comm.Open();
        QVERIFY(!comm.ModemLineState(2));
        QVERIFY(errorOf([&] { comm.SetDTR(true); }, &code)
                    .startsWith("EscapeCommFunction недоступна (Ошибка: "));
        QVERIFY(code > 0);
    }

    void writeTimeLimit() {
        Pty pty;  // nobody reads the master: the line fills up
        TComm comm;
        comm.SetDeviceName(pty.path);
        comm.SetWriteTimeout(200);
        comm.Open();
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
    }

    // The modem pulled out: the owner hears of it once, the watch does not spin, transfers
    // fail with their texts, and closing is fine.
    void deviceDisappears() {
        auto pty = std::make_unique<Pty>();
        TComm comm;
        comm.SetDeviceName(pty->path);
        QList<qint32> errors;
        int rx = 0;
        comm.OnError = [&](QObject*, qint32 e) { errors << e; };
        comm.OnRxChar = [&](QObject*, qint32) { ++rx; };
        comm.Open();
        ::close(pty->look);
        pty->look = -1;
        rusage before{};
        ::getrusage(RUSAGE_SELF, &before);
        pty->closeMaster();
        QTRY_COMPARE(errors.size(), 1);
        QVERIFY(errors[0] & kCeIoError);
        QTest::qWait(300);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(rx, 0);
        rusage after{};
        ::getrusage(RUSAGE_SELF, &after);
        const auto us = [](const rusage& r) {
            return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1000000LL + r.ru_utime.tv_usec +
                   r.ru_stime.tv_usec;
        };
        QVERIFY2(us(after) - us(before) < 150000, "the event thread spins on the hang-up");
        char buf[8];
        qint32 code = 0;
        QVERIFY(errorOf([&] { comm.Read(buf, 8); }, &code).startsWith("Ошибка чтения"));
        QCOMPARE(code, EIO);
        QVERIFY(errorOf([&] { comm.Write("AT\r\n", 4); }).startsWith("Ошибка записи"));
        comm.Close();
        QVERIFY(!comm.IsOpen());
    }
};

QTEST_GUILESS_MAIN(TestCommPty)
#include "tst_comm_pty.moc"
