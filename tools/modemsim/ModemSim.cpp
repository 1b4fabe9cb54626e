// zrk-modemsim: a caller-ID voice modem on a pseudo-terminal, for demos without hardware and
// for the end-to-end tests. See tools/README.md for the command line and the script format.
#include "core/platform/Cp1251.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(gSignalPipe[1], &c, 1);
}

void out(const QString& line) {
    const QByteArray b = line.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
    std::fflush(stdout);
}

void warn(const QString& line) {
    const QByteArray b = "zrk-modemsim: " + line.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

class ModemSim {
public:
    ModemSim(QString idCommand, QString prefix, bool loop)
        : idCommand_(idCommand.toUpper()), prefix_(std::move(prefix)), loop_(loop) {
        stepTimer_.setSingleShot(true);
        QObject::connect(&stepTimer_, &QTimer::timeout, [this] {
            auto f = std::move(onStep_);
            onStep_ = nullptr;
            if (f) f();
        });
    }

    ~ModemSim() {
        if (!link_.isEmpty()) {
            // Only our own link goes; someone may have replaced it meanwhile.
            const QByteArray l = QFile::encodeName(link_);
            char target[4096];
            const ssize_t n = ::readlink(l.constData(), target, sizeof target - 1);
            if (n > 0 && QByteArray(target, int(n)) == QFile::encodeName(slavePath_))
                ::unlink(l.constData());
        }
    }

    bool openPty(const QString& link) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) < 0 || ::unlockpt(master_) < 0) {
            warn(QStringLiteral("cannot open a pseudo-terminal: %1").arg(QString::fromLocal8Bit(strerror(errno))));
            return false;
        }
        slavePath_ = QString::fromLocal8Bit(::ptsname(master_));
        // We keep the other end open ourselves, so that the program may close and reopen the
        // port without the terminal going away under us.
        keepSlave_ = ::open(QFile::encodeName(slavePath_).constData(),
                            O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (keepSlave_ >= 0) {
            termios t{};
            if (::tcgetattr(keepSlave_, &t) == 0) {
                ::cfmakeraw(&t);
                ::tcsetattr(keepSlave_, TCSANOW, &t);
            }
        }
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        if (!link.isEmpty()) {
            const QByteArray l = QFile::encodeName(link);
            struct stat st {};
            if (::lstat(l.constData(), &st) == 0) {
                if (!S_ISLNK(st.st_mode)) {
                    warn(QStringLiteral("%1 exists and is not a link; not replacing it").arg(link));
                    return false;
                }
                ::unlink(l.constData());
            }
            if (::symlink(QFile::encodeName(slavePath_).constData(), l.constData()) < 0) {
                warn(QStringLiteral("cannot create the link %1: %2").arg(link, QString::fromLocal8Bit(strerror(errno))));
                return false;
            }
            link_ = link;
        }
        masterNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read);
        QObject::connect(masterNotifier_, &QSocketNotifier::activated, [this] { readMaster(); });
        out(QStringLiteral("DEVICE ") + (link_.isEmpty() ? slavePath_ : link_));
        return true;
    }

    bool loadScript(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            warn(QStringLiteral("cannot read the script %1").arg(path));
            return false;
        }
        for (const QByteArray& raw : f.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) script_.append(line);
        }
        return true;
    }

    void watchStdin() {
        stdinNotifier_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(stdinNotifier_, &QSocketNotifier::activated, [this] { readStdin(); });
    }

    void start() {
        QTimer::singleShot(0, [this] { next(); });
    }

private:
    // ---- the command queue --------------------------------------------------------------

    void next() {
        while (!busy_) {
            QString step;
            if (!commands_.isEmpty()) {
                step = commands_.takeFirst();
            } else if (scriptPos_ < script_.size()) {
                step = script_[scriptPos_++];
            } else if (loop_ && !script_.isEmpty()) {
                scriptPos_ = 0;
                continue;
            } else {
                if (stdinEof_) QCoreApplication::quit();
                return;
            }
            run(step);
        }
    }

    void after(double seconds, std::function<void()> f) {
        busy_ = true;
        onStep_ = std::move(f);
        // A negative or unreadable pause in a script would never end (a timer refuses a
        // negative interval) and a huge one overflows: take no pause, or at most a day.
        if (!(seconds > 0)) seconds = 0;
        stepTimer_.start(int(std::min(seconds, 86400.0) * 1000));
    }

    void run(const QString& step) {
        out(QStringLiteral("DO ") + step);
        const QStringList w = step.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString verb = w.value(0).toLower();
        if (verb == QLatin1String("ring")) {
            sendLine(QStringLiteral("RING"));
        } else if (verb == QLatin1String("send")) {
            sendLine(step.section(QLatin1Char(' '), 1, -1, QString::SectionSkipEmpty));
        } else if (verb == QLatin1String("wait")) {
            after(w.value(1).toDouble(), [this] {
                busy_ = false;
                next();
            });
        } else if (verb == QLatin1String("call") && w.size() >= 2) {
            startCall(w);
        } else if (verb == QLatin1String("dial") && w.size() >= 2) {
            dialAnswers_.append(w.mid(1));
        } else if (verb == QLatin1String("quit")) {
            QCoreApplication::quit();
            busy_ = true;  // run nothing more
        } else {
            warn(QStringLiteral("unknown command: %1").arg(step));
        }
    }

    // call <number> [category] [rings N] [interval S]
    void startCall(const QStringList& w) {
        QString report = w[1];
        int rings = 4;
        double interval = 1.0;
        for (int i = 2; i < w.size(); ++i) {
            if (w[i] == QLatin1String("rings") && i + 1 < w.size())
                rings = w[++i].toInt();
            else if (w[i] == QLatin1String("interval") && i + 1 < w.size())
                interval = w[++i].toDouble();
            else
                report += QLatin1Char(':') + w[i];
        }
        callReport_ = report;
        lastReport_ = report;
        ringsLeft_ = qMax(rings, 1);
        ringInterval_ = qMax(interval, 0.0);
        ringOnce();
    }

    void ringOnce() {
        sendLine(QStringLiteral("RING"));
        --ringsLeft_;
        after(ringInterval_, [this] {
            if (ringsLeft_ > 0)
                ringOnce();
            else
                endCall();
        });
    }

    void endCall() {
        stepTimer_.stop();
        onStep_ = nullptr;
        callReport_.clear();
        ringsLeft_ = 0;
        busy_ = false;
        QTimer::singleShot(0, [this] { next(); });
    }

    // ---- the line -----------------------------------------------------------------------

    void sendLine(const QString& text) {
        out(QStringLiteral("TX ") + text);
        const QByteArray b = "\r\n" + zrk::toCp1251(text) + "\r\n";
        // Nobody reading and the queue full: the bytes are lost, as on a real line.
        if (::write(master_, b.constData(), size_t(b.size())) < 0 && errno != EAGAIN)
            warn(QStringLiteral("write: %1").arg(QString::fromLocal8Bit(strerror(errno))));
    }

    void readMaster() {
        char buf[1024];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n < 0) {
            if (errno != EAGAIN && errno != EINTR) {
                warn(QStringLiteral("read: %1").arg(QString::fromLocal8Bit(strerror(errno))));
                masterNotifier_->setEnabled(false);
            }
            return;
        }
        for (ssize_t i = 0; i < n; ++i) {
            const char c = buf[i];
            if (c == '\r' || c == '\n') {
                if (!rx_.isEmpty()) received(zrk::fromCp1251(rx_));
                rx_.clear();
            } else {
                rx_.append(c);
            }
        }
    }

    void received(const QString& line) {
        out(QStringLiteral("RX ") + line);
        const QString u = line.toUpper();
        if (u.contains(QLatin1String("ATH"))) {
            // Hang-up (with or without the escape in front): the call is over.
            if (!callReport_.isEmpty()) endCall();
            sendLine(QStringLiteral("OK"));
        } else if (u.startsWith(idCommand_)) {
            const QString report = !callReport_.isEmpty()   ? callReport_
                                   : !lastReport_.isEmpty() ? lastReport_
                                                            : QStringLiteral("Unknown");
            sendLine(prefix_ + QLatin1Char(' ') + report);
            sendLine(QStringLiteral("OK"));
        } else if (u.startsWith(QLatin1String("ATD"))) {
            const QStringList answers = dialAnswers_.isEmpty()
                                            ? QStringList{QStringLiteral("ringing")}
                                            : dialAnswers_.takeFirst();
            int delay = 200;
            for (const QString& a : answers) {
                const QString text = dialText(a);
                QTimer::singleShot(delay, [this, text] { sendLine(text); });
                delay += 1000;
            }
        } else if (u.startsWith(QLatin1String("AT"))) {
            sendLine(QStringLiteral("OK"));
        }
    }

    static QString dialText(const QString& word) {
        const QString w = word.toLower();
        if (w == QLatin1String("busy")) return QStringLiteral("BUSY");
        if (w == QLatin1String("noanswer") || w == QLatin1String("nocarrier"))
            return QStringLiteral("NO CARRIER");
        if (w == QLatin1String("error")) return QStringLiteral("ERROR");
        if (w == QLatin1String("ok")) return QStringLiteral("OK");
        if (w == QLatin1String("beep")) return QStringLiteral("BEEP");
        return QStringLiteral("RINGING");
    }

    void readStdin() {
        char buf[1024];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (n <= 0) {
            stdinNotifier_->setEnabled(false);
            stdinEof_ = true;
            // A looping script plays on; otherwise we end once the queue is done.
            if (!loop_) next();
            return;
        }
        stdinBuf_.append(buf, int(n));
        qsizetype nl;
        while ((nl = stdinBuf_.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(stdinBuf_.left(nl)).trimmed();
            stdinBuf_.remove(0, nl + 1);
            if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
            if (line.compare(QLatin1String("quit"), Qt::CaseInsensitive) == 0) {
                QCoreApplication::quit();
                return;
            }
            commands_.append(line);
        }
        next();
    }

    QString idCommand_;
    QString prefix_;
    bool loop_;
    int master_ = -1;
    int keepSlave_ = -1;
    QString slavePath_;
    QString link_;
    QSocketNotifier* masterNotifier_ = nullptr;
    QSocketNotifier* stdinNotifier_ = nullptr;
    QByteArray rx_;
    QByteArray stdinBuf_;
    bool stdinEof_ = false;

    QStringList script_;
    qsizetype scriptPos_ = 0;
    QStringList commands_;
    bool busy_ = false;
    QTimer stepTimer_;
    std::function<void()> onStep_;

    QString callReport_;
    QString lastReport_;
    int ringsLeft_ = 0;
    double ringInterval_ = 1.0;
    QList<QStringList> dialAnswers_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zrk-modemsim"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("A caller-ID modem on a pseudo-terminal."));
    p.addHelpOption();
    p.addOption(
        {QStringLiteral("script"), QStringLiteral("Commands to play."), QStringLiteral("file")});
    p.addOption({QStringLiteral("loop"), QStringLiteral("Play the script again and again.")});
    p.addOption({QStringLiteral("link"), QStringLiteral("Create a symbolic link to the device."),
                 QStringLiteral("path")});
    p.addOption({QStringLiteral("id"), QStringLiteral("Identification command (AT+SR)."),
                 QStringLiteral("command"), QStringLiteral("AT+SR")});
    p.addOption({QStringLiteral("prefix"), QStringLiteral("Caller report prefix (CallerID:)."),
                 QStringLiteral("text"), QStringLiteral("CallerID:")});
    p.process(app);

    if (::pipe2(gSignalPipe, O_CLOEXEC) < 0) return 2;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGHUP, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    QSocketNotifier quitSignals(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quitSignals, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });

    ModemSim sim(p.value(QStringLiteral("id")), p.value(QStringLiteral("prefix")),
                 p.isSet(QStringLiteral("loop")));
    if (p.isSet(QStringLiteral("script")) && !sim.loadScript(p.value(QStringLiteral("script"))))
        return 2;
    if (!sim.openPty(p.value(QStringLiteral("link")))) return 2;
    sim.watchStdin();
    sim.start();
    return app.exec();
}
