// From a caller report on the serial line to the number painted on the main window, with a
// phone book of 100,000 entries: the program's own windows (as its entry makes them), the
// port on a pseudo-terminal, each report written to the terminal as a modem writes it. The
// clock starts when the write of the report's last byte returns and stops when the number's
// label has painted the new number (its paint handler returned, inside the same repaint that
// the window's backing store then flushes). Half the callers are in the book at spread
// positions, half are not. Prints median, p99 and max; asserts nothing.
//   bench-paint [calls (400)]
// Offscreen unless QT_QPA_PLATFORM says otherwise (e.g. xcb under Xvfb).
#include "gui/main/Program.h"

#include "common/PtyPort.h"
#include "core/platform/Registry.h"
#include "start/GeneratedBook.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

QElapsedTimer clock_;

// Lets the label paint, then notes the time and the text it painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QLabel* label) : label_(label) { label->installEventFilter(this); }
    qint64 paintedAt = -1;
    QString painted;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != label_ || event->type() != QEvent::Paint || inside_)
            return QObject::eventFilter(watched, event);
        inside_ = true;
        static_cast<QObject*>(label_)->event(event);
        inside_ = false;
        paintedAt = clock_.nsecsElapsed();
        painted = label_->text();
        return true;
    }

private:
    QLabel* label_;
    bool inside_ = false;
};

// Notes when the port's reader thread hands a batch to the window's thread: what comes
// before is the system's wake-up, what comes after is the program's own work.
class HandOffWatch : public QObject {
public:
    HandOffWatch() { qApp->installEventFilter(this); }
    qint64 at = -1;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MetaCall && at < 0 && watched->inherits("QThread"))
            at = clock_.nsecsElapsed();
        return QObject::eventFilter(watched, event);
    }
};

// Reads what the program sent to the modem, so that the terminal never fills.
void drain(int master) {
    char buf[4096];
    while (::read(master, buf, sizeof buf) > 0) {
    }
}

void writeAll(int master, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR && errno != EAGAIN) std::abort();
        if (n > 0) done += n;
    }
}

// Runs the event loop for `ms` milliseconds, or until `done` holds.
template <class F>
bool runUntil(int ms, int master, F done) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        drain(master);
    }
    return true;
}

struct Figures {
    double median, p99, max;
};

Figures figures(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v[size_t(0.99 * double(v.size() - 1) + 0.5)], v.back()};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path());
    QApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(20, std::atoi(argv[1])) : 400;
    constexpr int kEntries = 100000;
    {
        zrk::BookStore book;
        zrk::bench::fillGeneratedBook(book, kEntries);
        if (!book.SaveList(QString::fromLatin1(zrk::kBookFile))) return 1;
    }
    const int master = zrk::tools::mapPortToNewPty();
    if (master < 0) return 1;
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    zrk::RegistryFile::resetUser();
    zrk::nameApplication();

    zrk::ProgramWindows run(nullptr, nullptr, true);
    zrk::TRusCID& window = run.mainWindow;
    window.show();
    if (!runUntil(20000, master,
                  [&] { return run.side && run.side->book.isLoaded() && window.isVisible(); })) {
        std::fprintf(stderr, "the book did not load\n");
        return 1;
    }
    if (!run.desk.portActive()) {
        std::fprintf(stderr, "the port did not open\n");
        return 1;
    }
    runUntil(300, master, [] { return false; });
    PaintWatch watch(window.findChild<QLabel*>(QStringLiteral("pNumber")));
    HandOffWatch handOff;
    clock_.start();

    std::vector<double> found, missed, wakeUp, work;
    for (int i = 0; i < calls; ++i) {
        const bool hit = i % 2 == 0;
        const int entry = i * 7919 % kEntries;
        const QString digits =
            hit ? zrk::bench::generatedDigits(entry) : QString::number(900000 + i);
        // A ring first, as the line brings it; the report follows once the ring is handled.
        writeAll(master, "RING\r\n");
        runUntil(30, master, [] { return false; });
        const QString before = window.findChild<QLabel*>(QStringLiteral("pNumber"))->text();
        watch.paintedAt = -1;
        handOff.at = -1;
        writeAll(master, "CallerID: " + digits.toLatin1() + "\r\n");
        const qint64 sent = clock_.nsecsElapsed();
        if (!runUntil(5000, master, [&] {
                return watch.paintedAt >= 0 && watch.painted != before &&
                       QString(watch.painted).remove(QRegularExpression(QStringLiteral("\\D"))) ==
                           digits;
            })) {
            std::fprintf(stderr, "call %d (%s) was not painted: shown \"%s\"\n", i,
                         qPrintable(digits), qPrintable(window.findChild<QLabel*>(QStringLiteral("pNumber"))->text()));
            return 1;
        }
        if (hit && window.findChild<QLabel*>(QStringLiteral("pInfo"))->text() != zrk::bench::generatedName(entry)) {
            std::fprintf(stderr, "call %d (%s) not found in the book: \"%s\"\n", i,
                         qPrintable(digits), qPrintable(window.findChild<QLabel*>(QStringLiteral("pInfo"))->text()));
            return 1;
        }
        (hit ? found : missed).push_back(double(watch.paintedAt - sent) / 1e6);
        if (handOff.at >= sent) {
            wakeUp.push_back(double(handOff.at - sent) / 1e6);
            work.push_back(double(watch.paintedAt - handOff.at) / 1e6);
        }
        runUntil(20, master, [] { return false; });
    }
    std::vector<double> all = found;
    all.insert(all.end(), missed.begin(), missed.end());
    std::printf("report's last byte written -> number painted, %d entries, platform %s\n", kEntries,
                qPrintable(QGuiApplication::platformName()));
    const auto line = [](const char* what, const std::vector<double>& v) {
        const Figures f = figures(v);
        std::printf("%-22s median %7.3f ms  p99 %7.3f ms  max %7.3f ms  (%zu calls)\n", what,
                    f.median, f.p99, f.max, v.size());
    };
    line("caller in the book", found);
    line("caller not in the book", missed);
    line("all calls", all);
    line("  to the hand-off", wakeUp);
    line("  hand-off to paint", work);
    window.FormClose();
    return 0;
}
