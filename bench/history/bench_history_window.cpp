// The call history window over a big log, as a user meets it: how soon after the window is
// made its first rows are there and painted, how long the event loop stood at most while the
// rest came in, how long a search typed into the window takes until the rows are shown
// again, and the peak memory of the process with the window.
//   bench-history-window LOG
// Make the log with `bench-history 1000000 --keep LOG`.
#include "ProcStatus.h"
#include "gui/calls/HistoryModel.h"
#include "gui/calls/HistoryWindow.h"
#include "WindowBench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace zrk;
using namespace zrk::bench;

namespace {

// The processor time this thread has used.
double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        std::fprintf(stderr, "usage: bench-history-window LOG (bench-history N --keep LOG)\n");
        return 2;
    }
    const QString log = app.arguments()[1];
    const long rssBefore = statusKb("VmRSS:");

    NoLine line;
    NoHost host;
    QElapsedTimer t;
    t.start();
    HistoryWindow window(line, host, log);
    window.resize(720, 600);
    window.show();
    const HistoryModel& model = window.model();
    if (!runUntil([&] { return model.rowCount() > 0; }, 60000)) {
        std::fprintf(stderr, "no rows within a minute\n");
        return 1;
    }
    const double firstRows = ms(t);
    QCoreApplication::processEvents();  // the paint of those rows
    const double firstPainted = ms(t);

    // The longest the event loop stood while the rest of the log came in: a 1 ms timer's
    // gaps. A gap is also what this thread spent waiting for a core that other programs held:
    // its own processor time in the gap tells the work done from the wait. The load is over
    // when the row count stops growing for a second.
    struct Stall {
        double at, length, cpu;
        int rows;
    };
    std::vector<Stall> stalls;  // those over a frame and a half
    double longestStall = 0, longestCpu = 0;
    QElapsedTimer tick;
    tick.start();
    double cpuAtTick = threadCpuMs();
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const double gap = ms(tick), cpu = threadCpuMs() - cpuAtTick;
        tick.restart();
        cpuAtTick = threadCpuMs();
        longestStall = std::max(longestStall, gap);
        longestCpu = std::max(longestCpu, cpu);
        if (gap > 25) stalls.push_back({ms(t) - gap, gap, cpu, model.rowCount()});
    });
    beat.start(1);
    int lastRows = -1;
    QElapsedTimer still;
    still.start();
    runUntil(
        [&] {
            if (model.rowCount() != lastRows) {
                lastRows = model.rowCount();
                still.restart();
            }
            return still.elapsed() > 1000;
        },
        120000);
    beat.stop();
    const double loaded = ms(t) - 1000;

    // A search as typed and confirmed with Enter: the filter over every call, the table
    // reset and painted.
    auto* search = window.findChild<QLineEdit*>(QStringLiteral("eSearch"));
    std::vector<std::pair<const char*, QString>> queries = {
        {"digits \"45-6\"", QStringLiteral("45-6")},
        {"name \"иван\"", QStringLiteral("иван")},
        {"no match", QStringLiteral("zzzz")},
        {"cleared", QString()}};
    std::printf("log: %s, %d calls shown\n", qPrintable(log), lastRows);
    std::printf("first rows in the model: %.1f ms; painted: %.1f ms\n", firstRows, firstPainted);
    std::printf(
        "whole log in: %.0f ms; longest event-loop stand meanwhile: %.1f ms; the most "
        "processor time of the window's thread in one stand: %.1f ms\n",
        loaded, longestStall, longestCpu);
    for (const Stall& s : stalls)
        std::printf("  stood %.1f ms (%.1f ms of it working) from %.0f ms, then %d rows\n",
                    s.length, s.cpu, s.at, s.rows);
    for (const auto& [label, text] : queries) {
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            search->setText(run % 2 ? QString() : text);
            emit search->returnPressed();
            QCoreApplication::processEvents();
            search->setText(text);
            QElapsedTimer s;
            s.start();
            emit search->returnPressed();
            QCoreApplication::processEvents();
            times.push_back(ms(s));
        }
        std::sort(times.begin(), times.end());
        std::printf("search %-16s %7.1f ms (median of 5), %d rows\n", label, times[2],
                    model.rowCount());
    }
    std::printf("memory: RSS %.1f MB before the window, peak %.1f MB with it\n",
                double(rssBefore) / 1024, double(statusKb("VmHWM:")) / 1024);
    return 0;
}
