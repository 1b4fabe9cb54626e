// The port component's own rules, with a fake device behind it: event delivery and handler
// order, the setter rules, the escapes, the failing steps of opening and the time limits.
#include "FakeSerialDevice.h"
#include "core/serial/Comm.h"

#include <QtTest>

#include <thread>

using namespace zrk;

namespace {

struct Rig {
    std::shared_ptr<FakeSerialDevice> dev = std::make_shared<FakeSerialDevice>();
    TComm comm{nullptr, dev};
};

QString errorText(const std::function<void()>& f) try {
    f();
    return QStringLiteral("(no error)");
} catch (const ECommError& e) {
    return e.message();
}

}  // namespace

class TestCommFake : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_COMPARE(TCommEventThread::running(), 0); }

    // Every handler in its fixed order; an event not monitored and an empty queue call none.
    void handlersInFixedOrderOnlyForWhatHappened() {
        Rig r;
        QStringList calls;
        using C = TCustomComm;
        const std::pair<TNotifyEvent C::*, const char*> plain[] = {
            {&C::OnBreak, "break"},    {&C::OnCts, "cts"},   {&C::OnDsr, "dsr"},
            {&C::OnRing, "ring"},      {&C::OnRlsd, "rlsd"}, {&C::OnRxFlag, "rxflag"},
            {&C::OnTxEmpty, "txempty"}};
        for (const auto& [h, name] : plain) r.comm.*h = [&calls, name](QObject*) { calls << name; };
        r.comm.OnError = [&](QObject*, qint32 e) { calls << QString("error %1").arg(e); };
        r.comm.OnRxChar = [&](QObject* s, qint32 n) {
            QCOMPARE(s, &r.comm);
            calls << QString("rx %1").arg(n);
        };
        r.comm.Open();
        QCOMPARE(r.dev->eventMask, 0x1FFu);
        r.dev->input = "abc";
        r.dev->errorFlags = kCeFrame;
        r.dev->raise(0x1FF);
        QTRY_COMPARE(calls, QStringList({"break", "cts", "dsr", "error 8", "ring", "rlsd", "rx 3",
                                         "rxflag", "txempty"}));
        r.comm.Close();

        calls.clear();
        r.comm.SetMonitorEvents({evRxChar, evRing});
        r.comm.Open();
        r.dev->raise(kEvRxChar | kEvBreak | kEvRing);  // nothing queued
        QTRY_COMPARE(calls, QStringList{"ring"});
        r.dev->input = "x";
        r.dev->raise(kEvRxChar | kEvTxEmpty);
        QTRY_COMPARE(calls, QStringList({"ring", "rx 1"}));
    }

    // A queue larger than the owner's buffer comes in buffer-sized pieces, at once; an owner
    // that reads nothing is not called again until more arrives.
    void largeQueueComesInPieces() {
        Rig r;
        r.comm.SetReadBufSize(16);
        QList<int> counts;
        bool reading = true;
        r.comm.OnRxChar = [&](QObject*, qint32 n) {
            counts << n;
            char buf[16];
            if (reading) QCOMPARE(r.comm.Read(buf, n), n);
        };
        r.comm.Open();
        r.dev->input = QByteArray(40, 'a');
        r.dev->raise(kEvRxChar);
        QTRY_COMPARE(counts, QList<int>({16, 16, 8}));

        counts.clear();
        reading = false;
        r.dev->input = QByteArray(40, 'b');
        r.dev->raise(kEvRxChar);
        QTest::qWait(150);
        r.dev->raise(kEvRxChar);  // a wake-up that brings nothing new is no event
        QTest::qWait(150);
        QCOMPARE(counts, QList<int>{16});
        r.dev->input += "c";
        r.dev->raise(kEvRxChar);
        QTRY_COMPARE(counts, QList<int>({16, 16}));
    }

    // A handler's error is reported and the watch goes on, also after a handler that closed
    // and reopened the port; a batch already on its way when the port closes reaches no handler.
    void handlersThatThrowOrClose() {
        Rig r;
        std::exception_ptr reported;
        r.comm.setHandlerErrorReporter([&](std::exception_ptr p) { reported = p; });
        int calls = 0;
        r.comm.OnRxChar = [&](QObject*, qint32) {
            if (++calls == 1) throw ECommError("Ошибка записи", 5);
            r.comm.Close();
            r.comm.Open();
        };
        r.comm.Open();
        r.dev->input = "a";
        r.dev->raise(kEvRxChar);
        QTRY_VERIFY(reported);
        QCOMPARE(errorText([&] { std::rethrow_exception(reported); }),
                 QStringLiteral("Ошибка записи (Ошибка: 5) "));
        for (int i = 2; i <= 3; ++i) {
            r.dev->input += "b";
            r.dev->raise(kEvRxChar);
            QTRY_COMPARE(calls, i);
        }

        int rings = 0;
        r.comm.OnRing = [&](QObject*) { ++rings; };
        r.dev->raise(kEvRing);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // delivery now waits
        r.comm.Close();
        r.comm.Open();
        QTest::qWait(100);
        QCOMPARE(rings, 0);
    }

    // The flag word that reaches the device for each flow control, on top of what the device
    // reported: only "none" clears bits, the others add theirs, and the options are applied
    // last. The XON/XOFF limits are a quarter of the read buffer.
    void lineSettingsReachingTheDevice() {
        const quint32 device = 0x1013;  // binary, parity check, DTR and RTS enabled
        const struct {
            TFlowControl flow;
            TCommOptions options;
            quint32 flags;
        } cases[] = {
            {fcNone, {}, 0x0001},
            {fcNone, {coParityCheck, coNullStrip}, 0x0803},
            {fcCTS, {}, 0x1011 | 0x0004 | 0x2000},
            {fcDTR, {}, 0x1011 | 0x0008 | 0x0020},
            {fcSoftware, {}, 0x1011 | 0x0100 | 0x0200},
            {fcDefault, {}, 0x1011},
            {fcDefault, {coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar}, 0x14d3},
        };
        for (const auto& c : cases) {
            Rig r;
            r.dev->reported.flags = device;
            r.comm.SetFlowControl(c.flow);
            r.comm.SetOptions(c.options);
            r.comm.Open();
            QCOMPARE(r.dev->written.size(), 1);
            QCOMPARE(QString::number(r.dev->written.last().flags, 16),
                     QString::number(c.flags, 16));
            r.comm.Close();
        }
        for (const auto& [buffer, limit] : {std::pair{4096, 1024}, {10, 2}, {7, 1}, {3, 0}}) {
            Rig r;
            r.comm.SetReadBufSize(buffer);
            r.comm.Open();
            QCOMPARE(r.dev->written.last().xonLim, quint16(limit));
            QCOMPARE(r.dev->written.last().xoffLim, quint16(limit));
            r.comm.Close();
        }
    }

    void rulesOfAnOpenPort() {
        Rig r;
        r.comm.SetDeviceName("Com5");
        r.comm.SetDatabits(da5);  // closed: stored only
        QVERIFY(r.dev->written.isEmpty());
        r.comm.Open();
        QCOMPARE(r.dev->openedName, QStringLiteral("Com5"));
        QCOMPARE(r.dev->written.last().byteSize, quint8(5));
        r.comm.SetDeviceName("Com5");  // the same name is no change
        r.comm.SetReadTimeout(5);      // always allowed
        for (const auto& change : std::initializer_list<std::function<void()>>{
                 [&] { r.comm.SetDeviceName("Com6"); }, [&] { r.comm.SetReadBufSize(10); },
                 [&] { r.comm.SetWriteBufSize(10); }, [&] { r.comm.SetMonitorEvents({}); },
                 [&] { r.comm.Open(); }})
            QCOMPARE(errorText(change), QStringLiteral("Порт уже открыт (Ошибка: -1) "));
        QCOMPARE(r.comm.DeviceName(), QStringLiteral("Com5"));

        // DTR and RTS, and the modem lines 1..4: CTS, DSR, ring, carrier.
        QVERIFY(r.comm.SetRTS(true));
        QVERIFY(r.comm.SetDTR(true));
        QVERIFY(r.comm.SetDTR(false));
        QCOMPARE(r.dev->escapes, QList<int>({3, 5, 6}));
        r.dev->escapeError = ENOTTY;
        QCOMPARE(errorText([&] { r.comm.SetRTS(false); }),
                 QStringLiteral("EscapeCommFunction недоступна (Ошибка: 25) "));
        r.dev->status = kMsDsrOn | kMsRlsdOn;
        for (int line = 0; line <= 5; ++line)
            QCOMPARE(r.comm.ModemLineState(line), line == 2 || line == 4);

        // A step after the opening fails with the device left open.
        const std::tuple<int FakeSerialDevice::*, int, const char*> cases[] = {
            {&FakeSerialDevice::timeoutsError, EIO, "Ошибка обновления CommTimeouts (Ошибка: 5) "},
            {&FakeSerialDevice::lineError, EINVAL,
             "Ошибка обновления DataControlBlock (Ошибка: 22) "},
            {&FakeSerialDevice::queueError, ENOMEM, "Ошибка инициализации буферов (Ошибка: 12) "}};
        for (const auto& [step, error, text] : cases) {
            Rig f;
            (*f.dev).*step = error;
            QCOMPARE(errorText([&] { f.comm.Open(); }), QString::fromUtf8(text));
            QVERIFY(f.comm.IsOpen());
        }
    }

    // A write to a line that drains slowly but steadily still ends at the limit; a transfer
    // waiting for the lock another thread holds gives up at its limit.
    void transferLimits() {
        struct SlowLine : FakeSerialDevice {
            int waitWritable(int ms) override {
                std::this_thread::sleep_for(std::chrono::milliseconds(qBound(0, ms, 10)));
                output.remove(0, qMin<qsizetype>(output.size(), 8));
                return 1;
            }
        };
        auto slow = std::make_shared<SlowLine>();
        slow->writeRoom = 16;
        TComm comm(nullptr, slow);
        comm.SetWriteTimeout(100);
        comm.SetReadTimeout(100);
        comm.Open();
        const QByteArray big(4000, 'x');
        QElapsedTimer t;
        t.start();
        QCOMPARE(comm.Write(big.constData(), qint32(big.size())), -1);
        QVERIFY2(t.elapsed() < 600, qPrintable(QString::number(t.elapsed())));

        std::atomic<bool> held{false};
        std::thread other([&] {
            comm.Lock();
            held = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            comm.Unlock();
        });
        while (!held) std::this_thread::yield();
        char buf[8];
        t.restart();
        QCOMPARE(comm.Read(buf, 8), -1);
        QVERIFY(t.elapsed() >= 90 && t.elapsed() < 500);
        other.join();
        // The lock is the owner's to take around its own transfers.
        comm.Lock();
        QCOMPARE(comm.Read(buf, 8), 0);
        comm.Unlock();
    }
};

QTEST_GUILESS_MAIN(TestCommFake)
#include "tst_comm_fake.moc"
