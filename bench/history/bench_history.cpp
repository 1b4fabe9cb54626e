// The call history with a big log: writes a log of a million calls (some 50 MB) and prints
// how soon the newest calls are there, how long the whole load takes, the longest time the
// UI thread spent on one hand-over (and the longest the event loop stood), the filter's and
// the chart's times, and the peak memory of the process.
//   bench-history [calls] [--unique] [--keep FILE]
// --unique gives every call a number of its own (the worst case for memory); --keep writes
// the log to FILE and leaves it there.
#include "core/history/CallHistory.h"
#include "core/history/HistoryLoader.h"
#include "ProcStatus.h"
#include "core/platform/Cp1251.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <random>

using namespace zrk;

namespace {

QByteArray makeLog(int calls, bool unique) {
    const QStringList first = {QStringLiteral("Иван"),    QStringLiteral("Пётр"),
                               QStringLiteral("Анна"),    QStringLiteral("Ольга"),
                               QStringLiteral("Сергей"),  QStringLiteral("Мария"),
                               QStringLiteral("Алексей"), QStringLiteral("Елена")};
    const QStringList last = {QStringLiteral("Иванов"),      QStringLiteral("Петрова"),
                              QStringLiteral("Сидоров"),     QStringLiteral("Кузнецова"),
                              QStringLiteral("Смирнов"),     QStringLiteral("Попова"),
                              QStringLiteral("ООО Ромашка"), QStringLiteral("Васильев")};
    std::mt19937 rng(42);
    const int callers = 30000;
    std::vector<QByteArray> number(callers), name(callers);
    const auto grouped = [](quint64 n, int digits) {
        QByteArray d = QByteArray::number(n).rightJustified(digits, '0');
        QByteArray out;
        // Groups of two from the right, the first one longer: 8-915-123-45-67 style.
        for (qsizetype i = 0; i < d.size(); ++i) {
            const qsizetype left = d.size() - i;
            if (i > 0 && (left == 2 || left == 4 || (digits == 11 && (left == 7 || left == 10))))
                out += '-';
            out += d[i];
        }
        return out;
    };
    for (int c = 0; c < callers; ++c) {
        number[size_t(c)] =
            c % 3 ? grouped(89000000000ull + rng() % 999999999, 11) : grouped(rng() % 1000000, 6);
        if (c % 5 < 4)
            name[size_t(c)] =
                toCp1251(first[int(rng() % 8)] + QLatin1Char(' ') + last[int(rng() % 8)]);
    }
    QByteArray log = toCp1251(QStringLiteral(";Zrk (USR Courier) v2.01b\r\n;бенчмарк\r\n\r\n"));
    log.reserve(qsizetype(calls) * 52);
    QDate day(1995, 1, 1);
    int secs = 8 * 3600;
    for (int i = 0; i < calls; ++i) {
        secs += int(rng() % 900);
        if (secs >= 86400) {
            secs = 8 * 3600 + int(rng() % 3600);
            day = day.addDays(1);
        }
        // A few callers call often, most seldom.
        const double u = std::uniform_real_distribution<double>(0, 1)(rng);
        const size_t c = size_t(double(callers) * u * u * u) % size_t(callers);
        QByteArray num = unique ? grouped(89000000000ull + quint64(i), 11) : number[c];
        log += day.toString(QStringLiteral("dd.MM.yyyy")).toLatin1() + ' ' +
               QTime::fromMSecsSinceStartOfDay(secs * 1000)
                   .toString(QStringLiteral("H:mm:ss"))
                   .toLatin1() +
               ' ' + num + ' ' + name[c] + "\r\n";
    }
    return log;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F>
double timeMs(F&& f, int runs = 7) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        f();
        t.push_back(double(e.nsecsElapsed()) / 1e6);
    }
    return median(t);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int calls = 1000000;
    bool unique = false;
    QString keep;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--unique"))
            unique = true;
        else if (args[i] == QLatin1String("--keep") && i + 1 < args.size())
            keep = args[++i];
        else
            calls = args[i].toInt();
    }

    QTemporaryDir dir;
    const QString path = keep.isEmpty() ? dir.filePath(QStringLiteral("ZrkLog.txt")) : keep;
    {
        const QByteArray log = makeLog(calls, unique);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(log) != log.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("log: %d calls, %.1f MB%s\n", calls, double(log.size()) / 1e6,
                    unique ? ", every number distinct" : "");
    }
    const long rssBefore = statusKb("VmRSS:");

    HistoryLoader loader(path);
    QElapsedTimer clock;
    double firstMs = -1, loadMs = -1;
    qint64 longestGapUs = 0;
    QElapsedTimer gap;
    QTimer tick;  // how long the event loop stands between two turns while the load runs
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, &app, [&] {
        longestGapUs = std::max(longestGapUs, gap.nsecsElapsed() / 1000);
        gap.restart();
    });
    QObject::connect(&loader, &HistoryLoader::grown, &app, [&] {
        if (firstMs < 0) firstMs = double(clock.nsecsElapsed()) / 1e6;
    });
    QObject::connect(&loader, &HistoryLoader::loaded, &app, [&] {
        loadMs = double(clock.nsecsElapsed()) / 1e6;
        tick.stop();
        app.quit();
    });
    QObject::connect(&loader, &HistoryLoader::failed, &app, [&](const QString& m) {
        std::fprintf(stderr, "failed: %s\n", qPrintable(m));
        app.exit(1);
    });
    clock.start();
    gap.start();
    tick.start();
    loader.start();
    if (app.exec() != 0) return 1;

    const CallHistory& h = loader.history();
    std::printf("first batch handed over: %.1f ms\n", firstMs);
    std::printf("whole load: %.0f ms\n", loadMs);
    std::printf("longest hand-over on the UI thread: %.1f ms; longest event-loop stand: %.1f ms\n",
                double(loader.longestHandOverUs()) / 1000, double(longestGapUs) / 1000);
    std::printf("calls %lld, skipped %lld, distinct callers %lld, history %.1f MB\n",
                qlonglong(h.size()), qlonglong(h.skipped()), qlonglong(h.callers()),
                double(h.memoryUsed()) / 1e6);

    size_t n = 0;
    const QDate last = h.date(h.all().front());
    const auto report = [&](const char* what, const HistoryFilter& f) {
        const double ms = timeMs([&] { n = h.select(f).size(); });
        std::printf("select %-28s %7.1f ms  (%zu rows)\n", what, ms, n);
    };
    report("all", {});
    report("digits \"45-6\"", {QStringLiteral("45-6"), {}, {}});
    report("name \"иван\"", {QStringLiteral("иван"), {}, {}});
    report("name \"ромашка\"", {QStringLiteral("ромашка"), {}, {}});
    report("no match \"zzz\"", {QStringLiteral("zzz"), {}, {}});
    report("last 30 days", {{}, last.addDays(-29), last});
    report("last year + name \"петр\"", {QStringLiteral("петр"), last.addDays(-364), last});
    const std::vector<CallId> all = h.all();
    const double chartAll = timeMs([&] { chartOf(h, all, {}, {}); });
    const std::vector<CallId> year = h.select({{}, last.addDays(-364), last});
    const double chartYear = timeMs([&] { chartOf(h, year, last.addDays(-364), last); });
    std::printf("chartOf all calls (months): %.1f ms; last year (weeks): %.1f ms\n", chartAll,
                chartYear);
    std::printf("RSS before the load %.1f MB, peak RSS %.1f MB\n", double(rssBefore) / 1024,
                double(statusKb("VmHWM:")) / 1024);
    return 0;
}
