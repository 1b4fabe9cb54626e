#pragma once
// Drives zrk-modemsim from a test: start it, learn its device, feed it commands and read what
// the program sent to the modem. The waits run the event loop, so a port component in the
// test's own process keeps receiving meanwhile.
//
// The simulator's path comes from the compile definition ZRK_MODEMSIM (see tools/README.md):
//   target_compile_definitions(tst_x PRIVATE ZRK_MODEMSIM="$<TARGET_FILE:zrk-modemsim>")
#include <QProcess>
#include <QStringList>
#include <QTest>

namespace zrktest {

class ModemSimDriver {
public:
    explicit ModemSimDriver(QStringList args = {}) : args_(std::move(args)) {
        QObject::connect(&proc_, &QProcess::readyReadStandardOutput, [this] { drain(); });
    }
    ~ModemSimDriver() {  // SIGTERM (it removes its link and ends), then kill
        proc_.terminate();
        if (!proc_.waitForFinished(3000)) proc_.kill();
        proc_.waitForFinished(1000);
    }

    // Starts the simulator and waits for its device line.
    bool start(int timeoutMs = 5000) {
        proc_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proc_.start(QStringLiteral(ZRK_MODEMSIM), args_);
        return proc_.waitForStarted(timeoutMs) &&
               QTest::qWaitFor([this] { return !device_.isEmpty(); }, timeoutMs);
    }
    QString devicePath() const { return device_; }
    // A settings store for the program: port "Com2" is this simulator's device (a terminal has
    // no DSR line), and `modem` holds values of the "Modem" key.
    QByteArray settingsStore(const QByteArray& modem = {}) const {
        const QByteArray key = "\n[HKEY_CURRENT_USER\\Software\\Zrk Pro";
        return "Windows Registry Editor Version 5.00\n" + key +
               "]\n\"Minimized\"=dword:00000000\n" + key + "\\Devices]\n\"Com2\"=\"" +
               device_.toUtf8() + "\"\n\"Com2 Virtual\"=dword:00000001\n" + key + "\\Modem]\n" +
               modem;
    }
    QProcess& process() { return proc_; }

    // One command line for the simulator (see tools/README.md).
    void send(const QString& line) {
        proc_.write(line.toUtf8() + '\n');
        proc_.waitForBytesWritten(1000);
    }
    // Waits until the program has sent the line `text` to the modem (now or before).
    bool waitForReceived(const QString& text, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return rx_.contains(text); }, timeoutMs);
    }
    // Waits until the simulator has started the command `line` given by send() (so that what
    // the test does next happens after it).
    bool waitForCommand(const QString& line, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return done_.contains(line); }, timeoutMs);
    }
    // The `count` lines the program sent from its first `text` on; none when it sent no `text`.
    QStringList receivedFrom(const QString& text, qsizetype count) const {
        const qsizetype at = rx_.indexOf(text);
        return at < 0 ? QStringList() : rx_.mid(at, count);
    }
    // Lines the program sent and lines the simulator sent, in order.
    QStringList received() const { return rx_; }
    QStringList sent() const { return tx_; }
    // How many `line`s the simulator had sent when the program first sent `reply`; -1 if it
    // has not sent it. Counted in the simulator's own order, which a slow test cannot blur.
    int sentBefore(const QString& reply, const QString& line) const {
        int n = 0;
        for (const QString& l : order_) {
            if (l == QLatin1String("RX ") + reply) return n;
            if (l == QLatin1String("TX ") + line) ++n;
        }
        return -1;
    }
    void clear() { rx_ = tx_ = done_ = order_ = {}; }

private:
    void drain() {
        buf_ += proc_.readAllStandardOutput();
        for (qsizetype nl; (nl = buf_.indexOf('\n')) >= 0; buf_.remove(0, nl + 1)) {
            const QString line = QString::fromUtf8(buf_.left(nl));
            const QString rest = line.section(' ', 1);
            if (line.startsWith(QLatin1String("DEVICE "))) device_ = rest;
            if (line.startsWith(QLatin1String("RX ")) || line.startsWith(QLatin1String("TX ")))
                order_.append(line);
            if (line.startsWith(QLatin1String("RX "))) rx_.append(rest);
            if (line.startsWith(QLatin1String("TX "))) tx_.append(rest);
            if (line.startsWith(QLatin1String("DO "))) done_.append(rest);
        }
    }

    QStringList args_;
    QProcess proc_;
    QByteArray buf_;
    QString device_;
    QStringList rx_, tx_, done_, order_;
};

}  // namespace zrktest
