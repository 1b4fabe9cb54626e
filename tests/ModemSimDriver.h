#pragma once
// Drives zrk-modemsim from a test: start it, learn its device, feed it commands and read what
// the program sent to the modem. The waits run the event loop, so a port component in the
// test's own process keeps receiving meanwhile.
//
// The simulator's path comes from the compile definition ZRK_MODEMSIM (see tools/README.md):
//   target_compile_definitions(tst_x PRIVATE ZRK_MODEMSIM="$<TARGET_FILE:zrk-modemsim>")
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>

namespace zrktest {

class ModemSimDriver {
public:
#ifdef ZRK_MODEMSIM
    explicit ModemSimDriver(QStringList args = {}, QString program = QStringLiteral(ZRK_MODEMSIM))
#else
    ModemSimDriver(QStringList args, QString program)
#endif
        : program_(std::move(program)), args_(std::move(args)) {
        QObject::connect(&proc_, &QProcess::readyReadStandardOutput, [this] { drain(); });
    }
    ~ModemSimDriver() {
        stop();
    }
    ModemSimDriver(const ModemSimDriver&) = delete;
    ModemSimDriver& operator=(const ModemSimDriver&) = delete;

    // Starts the simulator and waits for its device line.
    bool start(int timeoutMs = 5000) {
        proc_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proc_.start(program_, args_);
        if (!proc_.waitForStarted(timeoutMs)) return false;
        return waitUntil([this] { return !device_.isEmpty(); }, timeoutMs);
    }

    QString devicePath() const {
        return device_;
    }
    QProcess& process() {
        return proc_;
    }

    // One command line for the simulator (see tools/README.md).
    void send(const QString& line) {
        proc_.write(line.toUtf8() + '\n');
        proc_.waitForBytesWritten(1000);
    }

    // Waits until the program has sent the line `text` to the modem (now or before).
    bool waitForReceived(const QString& text, int timeoutMs = 5000) {
        return waitUntil([&] { return rx_.contains(text); }, timeoutMs);
    }
    // Waits until the simulator has sent the line `text` to the program.
    bool waitForSent(const QString& text, int timeoutMs = 5000) {
        return waitUntil([&] { return tx_.contains(text); }, timeoutMs);
    }

    // Waits until the simulator has started the command `line` given by send() (so that
    // what the test does next happens after it).
    bool waitForCommand(const QString& line, int timeoutMs = 5000) {
        return waitUntil([&] { return done_.contains(line); }, timeoutMs);
    }

    // Lines the program sent, in order.
    QStringList received() const {
        return rx_;
    }
    // Lines the simulator sent, in order.
    QStringList sent() const {
        return tx_;
    }
    void clear() {
        rx_.clear();
        tx_.clear();
        done_.clear();
    }

    // Closes its input (it ends when idle), then SIGTERM, then kill.
    void stop() {
        if (proc_.state() == QProcess::NotRunning) return;
        proc_.closeWriteChannel();
        if (proc_.waitForFinished(1000)) return;
        proc_.terminate();
        if (!proc_.waitForFinished(2000)) {
            proc_.kill();
            proc_.waitForFinished(2000);
        }
    }

    template <typename Pred>
    bool waitUntil(Pred done, int timeoutMs) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > timeoutMs) return false;
            QEventLoop loop;
            QTimer::singleShot(5, &loop, &QEventLoop::quit);
            loop.exec();
            drain();
        }
        return true;
    }

private:
    void drain() {
        buf_ += proc_.readAllStandardOutput();
        qsizetype nl;
        while ((nl = buf_.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(buf_.left(nl));
            buf_.remove(0, nl + 1);
            if (line.startsWith(QLatin1String("DEVICE ")))
                device_ = line.mid(7);
            else if (line.startsWith(QLatin1String("RX ")))
                rx_.append(line.mid(3));
            else if (line.startsWith(QLatin1String("TX ")))
                tx_.append(line.mid(3));
            else if (line.startsWith(QLatin1String("DO ")))
                done_.append(line.mid(3));
        }
    }

    QString program_;
    QStringList args_;
    QProcess proc_;
    QByteArray buf_;
    QString device_;
    QStringList rx_;
    QStringList tx_;
    QStringList done_;
};

}  // namespace zrktest
