// The port component's own rules, with a fake device behind it: event delivery and handler
// order, the line-settings record it writes, the setter rules and the error texts.
#include "FakeSerialDevice.h"
#include "serial/Comm.h"

#include <QtTest>

#include <thread>

using namespace zrk;

namespace {

struct Rig {
    std::shared_ptr<FakeSerialDevice> dev = std::make_shared<FakeSerialDevice>();
    TComm comm{nullptr, dev};
    QStringList calls;

    void recordAll() {
        comm.OnBreak = [this](QObject*) { calls << "break"; };
        comm.OnCts = [this](QObject*) { calls << "cts"; };
        comm.OnDsr = [this](QObject*) { calls << "dsr"; };
        comm.OnError = [this](QObject*, qint32 e) { calls << QString("error %1").arg(e); };
        comm.OnRing = [this](QObject*) { calls << "ring"; };
        comm.OnRlsd = [this](QObject*) { calls << "rlsd"; };
        comm.OnRxChar = [this](QObject* s, qint32 n) {
            QCOMPARE(s, &comm);
            calls << QString("rx %1").arg(n);
        };
        comm.OnRxFlag = [this](QObject*) { calls << "rxflag"; };
        comm.OnTxEmpty = [this](QObject*) { calls << "txempty"; };
    }
};

QString errorText(const std::function<void()>& f, qint32* code = nullptr) {
    try {
        f();
    } catch (const ECommError& e) {
        if (code) *code = e.code();
        return e.message();
    }
    return QStringLiteral("(no error)");
}

}  // namespace

class TestCommFake : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_COMPARE(TCommEventThread::running(), 0); }

    void defaultsAndMessageFormat() {
        Rig r;
        QCOMPARE(r.comm.DeviceName(), QStringLiteral("Com2"));
        QCOMPARE(r.comm.ReadBufSize(), 4096);
        QCOMPARE(r.comm.WriteBufSize(), 2048);
        QCOMPARE(r.comm.ReadTimeout(), 1000);
        QCOMPARE(r.comm.BaudRate(), br9600);
        QCOMPARE(int(br9600), 6);
        QCOMPARE(int(da8), 4);
        QCOMPARE(r.comm.EventChars().XonChar(), quint8(17));
        QCOMPARE(r.comm.EventChars().XoffChar(), quint8(19));
        QCOMPARE(baudRateValue(br14400), 14400u);
        QCOMPARE(baudRateValue(br256000), 256000u);
        QCOMPARE(baudRateValue(TBaudrate(15)), 0u);
        QCOMPARE(commEventMask(kAllCommEvents), 0x1FFu);
        QCOMPARE(ECommError("Порт уже открыт", -1).message(),
                 QStringLiteral("Порт уже открыт (Ошибка: -1) "));
        QCOMPARE(ECommError("Ошибка чтения", 5).ErrorCode(), 5);
    }

    void batchCallsHandlersInFixedOrder() {
        Rig r;
        r.recordAll();
        r.comm.Open();
        QCOMPARE(r.dev->eventMask, 0x1FFu);
        r.dev->input = "abc";
        r.dev->errorFlags = kCeFrame;
        r.dev->raise(0x1FF);
        QTRY_COMPARE(r.calls.size(), 9);
        QCOMPARE(r.calls, QStringList({"break", "cts", "dsr", "error 8", "ring", "rlsd", "rx 3",
                                       "rxflag", "txempty"}));
    }

    void emptyQueueAndUnmonitoredEventsCallNothing() {
        Rig r;
        r.recordAll();
        r.comm.SetMonitorEvents({evRxChar, evRing});
        r.comm.Open();
        r.dev->raise(kEvRxChar | kEvBreak | kEvRing);  // nothing queued
        QTRY_COMPARE(r.calls, QStringList{"ring"});
        r.dev->input = "x";
        r.dev->raise(kEvRxChar | kEvTxEmpty);
        QTRY_COMPARE(r.calls, QStringList({"ring", "rx 1"}));
    }

    // A queue larger than the owner's buffer comes in buffer-sized pieces, at once; an owner
    // that reads nothing is not called again and again.
    void largeQueueComesInPieces() {
        Rig r;
        r.comm.SetReadBufSize(16);
        QList<int> counts;
        r.comm.OnRxChar = [&](QObject*, qint32 n) {
            counts << n;
            QByteArray buf(r.comm.ReadBufSize(), '\0');
            QCOMPARE(r.comm.Read(buf.data(), n), n);
        };
        r.comm.Open();
        r.dev->input = QByteArray(40, 'a');
        r.dev->raise(kEvRxChar);
        QTRY_COMPARE(counts, QList<int>({16, 16, 8}));

        counts.clear();
        r.comm.OnRxChar = [&](QObject*, qint32 n) { counts << n; };
        r.dev->input = QByteArray(40, 'b');
        r.dev->raise(kEvRxChar);
        QTest::qWait(200);
        QCOMPARE(counts, QList<int>{16});
        r.dev->raise(kEvRxChar);  // a wake-up that brings nothing new is no event
        QTest::qWait(100);
        QCOMPARE(counts, QList<int>{16});
        r.dev->input += "c";
        r.dev->raise(kEvRxChar);
        QTRY_COMPARE(counts, QList<int>({16, 16}));
    }

    void handlerErrorIsReportedAndWatchGoesOn() {
        Rig r;
        QStringList reported;
        r.comm.setHandlerErrorReporter([&](std::exception_ptr p) {
            try {
                std::rethrow_exception(p);
            } catch (const ECommError& e) {
                reported << e.message();
            }
        });
        int calls = 0;
        r.comm.OnRxChar = [&](QObject*, qint32) {
            ++calls;
            char b[8];
            r.comm.Read(b, 8);
            if (calls == 1) throw ECommError("Ошибка записи", 5);
        };
        bool txEmpty = false;
        r.comm.OnTxEmpty = [&](QObject*) { txEmpty = true; };
        r.comm.Open();
        r.dev->input = "a";
        r.dev->raise(kEvRxChar | kEvTxEmpty);
        QTRY_COMPARE(reported, QStringList{"Ошибка записи (Ошибка: 5) "});
        QVERIFY(!txEmpty);  // the rest of the failed batch is dropped
        r.dev->input = "b";
        r.dev->raise(kEvRxChar);
        QTRY_COMPARE(calls, 2);
    }

    // A batch already on its way when the port closes reaches no handler, and a handler may
    // close and reopen the port.
    void nothingAfterCloseAndCloseInsideHandler() {
        Rig r;
        int calls = 0;
        r.comm.OnRxChar = [&](QObject*, qint32) { ++calls; };
        r.comm.Open();
        r.dev->input = "a";
        r.dev->raise(kEvRxChar);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // delivery now waits
        r.comm.Close();
        r.comm.Open();
        QTest::qWait(100);
        QCOMPARE(calls, 0);

        r.comm.OnRxChar = [&](QObject*, qint32) {
            ++calls;
            r.comm.Close();
            r.comm.Open();
        };
        r.dev->input = "b";
        r.dev->raise(kEvRxChar);
        QTRY_COMPARE(calls, 1);
        r.dev->input = "c";
        r.dev->raise(kEvRxChar);
        QTRY_COMPARE(calls, 2);
        r.comm.Close();
        QVERIFY(!r.comm.IsOpen());
    }

    void deviceGoneIsToldOnceThenSilence() {
        Rig r;
        r.recordAll();
        r.comm.Open();
        r.dev->errorFlags = kCeIoError;
        r.dev->raise(kEvErr, true);
        QTRY_COMPARE(r.calls, QStringList{"error 1024"});
        r.dev->raise(kEvErr);
        QTest::qWait(100);
        QCOMPARE(r.calls.size(), 1);
        r.comm.Close();
    }

    void lineSettingsRecord() {
        Rig r;
        r.dev->reported.flags = kFlBinary | kFlDtrControlEnable | kFlRtsControlEnable | kFlOutX;
        r.comm.SetBaudRate(br14400);  // closed: stored only
        QVERIFY(r.dev->written.isEmpty());
        r.comm.Open();
        QCOMPARE(r.dev->written.size(), 1);
        SerialLineSettings s = r.dev->written.last();
        QCOMPARE(s.baudRate, 14400u);
        QCOMPARE(s.byteSize, quint8(8));
        QCOMPARE(s.xonLim, quint16(1024));
        QCOMPARE(s.xoffLim, quint16(1024));
        QCOMPARE(s.flags, r.dev->reported.flags);  // fcDefault keeps the device's flags

        r.comm.SetBaudRate(br14400);  // same value: nothing
        QCOMPARE(r.dev->written.size(), 1);
        r.comm.SetFlowControl(fcNone);
        QCOMPARE(r.dev->written.last().flags, quint32(kFlBinary));
        r.comm.SetOptions({coParityCheck, coNullStrip});
        QCOMPARE(r.dev->written.last().flags, quint32(kFlBinary | kFlParity | kFlNull));
        r.comm.SetFlowControl(fcCTS);
        QCOMPARE(r.dev->written.last().flags, r.dev->reported.flags | kFlOutxCtsFlow |
                                                  kFlRtsControlHandshake | kFlParity | kFlNull);
        r.dev->reported.flags = kFlBinary | kFlParity | kFlErrorChar;
        r.comm.SetOptions({});  // clears option bits the device had set
        QCOMPARE(r.dev->written.last().flags, kFlBinary | kFlOutxCtsFlow | kFlRtsControlHandshake);
        r.comm.SetFlowControl(fcSoftware);
        QCOMPARE(r.dev->written.last().flags, quint32(kFlBinary | kFlOutX | kFlInX));
        r.comm.SetFlowControl(fcDTR);
        QCOMPARE(r.dev->written.last().flags,
                 quint32(kFlBinary | kFlOutxDsrFlow | kFlDtrControlHandshake));

        r.comm.SetParity(paMark);
        r.comm.SetStopbits(sb15);
        r.comm.SetDatabits(da5);
        s = r.dev->written.last();
        QCOMPARE(int(s.parity), 3);
        QCOMPARE(int(s.stopBits), 1);
        QCOMPARE(int(s.byteSize), 5);

        const int n = int(r.dev->written.size());
        r.comm.EventChars().SetEvtChar('\r');
        QCOMPARE(r.dev->written.size(), n + 1);
        QCOMPARE(r.dev->written.last().evtChar, quint8('\r'));
        TCommEventChars other;
        other.SetXonChar(1);
        r.comm.EventChars().Assign(other);
        QCOMPARE(r.dev->written.size(), n + 1);
        QCOMPARE(r.comm.EventChars().XonChar(), quint8(1));
        QCOMPARE(r.comm.EventChars().EvtChar(), quint8(0));
    }

    void settersWhileOpen() {
        Rig r;
        r.comm.SetDeviceName("Com5");
        r.comm.Open();
        QCOMPARE(r.dev->openedName, QStringLiteral("Com5"));
        r.comm.SetDeviceName("Com5");  // the same name is no change
        qint32 code = 0;
        QCOMPARE(errorText([&] { r.comm.SetDeviceName("Com6"); }, &code),
                 QStringLiteral("Порт уже открыт (Ошибка: -1) "));
        QCOMPARE(code, -1);
        QCOMPARE(r.comm.DeviceName(), QStringLiteral("Com5"));
        QVERIFY(errorText([&] { r.comm.SetReadBufSize(10); }).startsWith("Порт уже открыт"));
        QVERIFY(errorText([&] { r.comm.SetWriteBufSize(10); }).startsWith("Порт уже открыт"));
        QVERIFY(errorText([&] { r.comm.SetMonitorEvents({}); }).startsWith("Порт уже открыт"));
        QVERIFY(errorText([&] { r.comm.Open(); }).startsWith("Порт уже открыт"));
        QVERIFY(r.comm.IsOpen());
        r.comm.SetReadTimeout(5);  // always allowed
        QCOMPARE(r.comm.ReadTimeout(), 5);
    }

    void openFailures() {
        Rig r;
        qint32 code = 0;
        r.dev->openResult = SerialOpenResult::AccessError;
        r.dev->openError = ENOENT;
        QCOMPARE(errorText([&] { r.comm.Open(); }, &code),
                 QStringLiteral("Ошибка доступа к устройству (Ошибка: 2) "));
        QCOMPARE(code, ENOENT);
        r.dev->openResult = SerialOpenResult::NotCharDevice;
        QCOMPARE(errorText([&] { r.comm.Open(); }, &code),
                 QStringLiteral("Неправильный определитель устройства (Ошибка: -1) "));
        QVERIFY(!r.comm.IsOpen());

        // Later steps fail with the device left open and watched.
        r.dev->openResult = SerialOpenResult::Ok;
        r.dev->timeoutsError = EIO;
        QCOMPARE(errorText([&] { r.comm.Open(); }),
                 QStringLiteral("Ошибка обновления CommTimeouts (Ошибка: 5) "));
        QVERIFY(r.comm.IsOpen());
        r.comm.Close();
        r.dev->timeoutsError = 0;
        r.dev->lineError = EINVAL;
        QCOMPARE(errorText([&] { r.comm.Open(); }),
                 QStringLiteral("Ошибка обновления DataControlBlock (Ошибка: 22) "));
        r.comm.Close();
        r.dev->lineError = 0;
        r.dev->queueError = ENOMEM;
        QCOMPARE(errorText([&] { r.comm.Open(); }),
                 QStringLiteral("Ошибка инициализации буферов (Ошибка: 12) "));
        r.comm.Close();
    }

    void escapesAndModemLines() {
        Rig r;
        qint32 code = 0;
        QCOMPARE(errorText([&] { r.comm.SetDTR(true); }, &code),
                 QStringLiteral("Порт не открыт, чем то занят (Ошибка: -1) "));
        QVERIFY(!r.comm.ModemLineState(2));
        r.comm.Open();
        QVERIFY(r.comm.SetRTS(true));
        QVERIFY(r.comm.SetDTR(true));
        QVERIFY(r.comm.SetDTR(false));
        QCOMPARE(r.dev->escapes, QList<int>({3, 5, 6}));
        r.dev->escapeError = ENOTTY;
        QCOMPARE(errorText([&] { r.comm.SetRTS(false); }),
                 QStringLiteral("EscapeCommFunction недоступна (Ошибка: 25) "));
        r.dev->status = kMsDsrOn | kMsRlsdOn;
        QVERIFY(!r.comm.ModemLineState(1));
        QVERIFY(r.comm.ModemLineState(2));
        QVERIFY(!r.comm.ModemLineState(3));
        QVERIFY(r.comm.ModemLineState(4));
        QVERIFY(!r.comm.ModemLineState(0));
        QVERIFY(!r.comm.ModemLineState(5));
    }

    void transfersAndTheirLimits() {
        Rig r;
        char buf[8];
        QCOMPARE(errorText([&] { r.comm.Read(buf, 8); }),
                 QStringLiteral("Ошибка чтения (Ошибка: 9) "));
        QCOMPARE(errorText([&] { r.comm.Write("AT\r\n", 4); }),
                 QStringLiteral("Ошибка записи (Ошибка: 9) "));
        r.comm.Open();
        QCOMPARE(r.comm.Read(buf, 8), 0);
        QCOMPARE(r.comm.Write("AT\r\n", 4), 4);
        QCOMPARE(r.dev->output, QByteArray("AT\r\n"));

        // A full output queue: -1 once the limit is over, not before.
        r.dev->writeRoom = 6;
        r.comm.SetWriteTimeout(150);
        QElapsedTimer t;
        t.start();
        QCOMPARE(r.comm.Write("ATZ\r\n", 5), -1);
        QVERIFY(t.elapsed() >= 140);
        QVERIFY(t.elapsed() < 1000);

        // A line that drains slowly but steadily: the limit still holds for the whole write.
        struct SlowLine : FakeSerialDevice {
            int waitWritable(int ms) override {
                std::this_thread::sleep_for(std::chrono::milliseconds(qBound(0, ms, 10)));
                output.remove(0, qMin<qsizetype>(output.size(), 8));
                return 1;
            }
        };
        auto slow = std::make_shared<SlowLine>();
        slow->writeRoom = 16;
        TComm slowComm(nullptr, slow);
        slowComm.SetWriteTimeout(100);
        slowComm.Open();
        const QByteArray big(4000, 'x');
        t.restart();
        QCOMPARE(slowComm.Write(big.constData(), qint32(big.size())), -1);
        QVERIFY2(t.elapsed() < 600, qPrintable(QString::number(t.elapsed())));
        slowComm.Close();

        // Another thread holds the transfer lock: both transfers give up at their limit.
        std::atomic<bool> held{false};
        std::thread other([&] {
            r.comm.Lock();
            held = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            r.comm.Unlock();
        });
        while (!held) std::this_thread::yield();
        r.comm.SetReadTimeout(100);
        t.restart();
        QCOMPARE(r.comm.Read(buf, 8), -1);
        QVERIFY(t.elapsed() >= 90 && t.elapsed() < 500);
        other.join();
        // The lock is the owner's to take around its own transfers.
        r.comm.Lock();
        QCOMPARE(r.comm.Read(buf, 8), 0);
        r.comm.Unlock();
    }
};

QTEST_GUILESS_MAIN(TestCommFake)
#include "tst_comm_fake.moc"
