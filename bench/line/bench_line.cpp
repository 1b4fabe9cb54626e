// Figures for the line server, run by hand on a Release build (they are reported, never
// asserted): resident memory idle with a 100,000-entry book, start to port open, and a
// caller report from the modem to the CALL line on an NCID server (p50, p99).
//   bench-line [entries] [calls]
#include "GeneratedBook.h"
#include "ModemSimDriver.h"
#include "core/net/NcidTestServer.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

// Waits with the event loop running, looking again as soon as anything arrives.
bool waitFine(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    QTimer wake;
    wake.start(20);
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

qint64 percentile(QList<qint64> v, int p) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? -1 : v[qMin(v.size() - 1, qsizetype(v.size() * p / 100))];
}

struct Server {
    QProcess proc;
    QString err;
    explicit Server(const QString& dir, const QString& config) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir);
        proc.setProcessEnvironment(env);
        QObject::connect(&proc, &QProcess::readyReadStandardError,
                         [this] { err += QString::fromLocal8Bit(proc.readAllStandardError()); });
        proc.start(QStringLiteral(ZRK_LINE), {"--data-dir", dir, "--config", config});
    }
    ~Server() {
        proc.terminate();
        if (!proc.waitForFinished(10000)) proc.kill();
    }
    long rssKb() const {
        QFile f(QStringLiteral("/proc/%1/status").arg(proc.processId()));
        if (!f.open(QIODevice::ReadOnly)) return -1;
        for (const QByteArray& l : f.readAll().split('\n'))
            if (l.startsWith("VmRSS:")) return l.mid(6).trimmed().split(' ').value(0).toLong();
        return -1;
    }
};

}  // namespace

int fail(const char* why) {
    std::fprintf(stderr, "bench-line: %s\n", why);
    return 1;
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int calls = argc > 2 ? std::atoi(argv[2]) : 200;
    QTemporaryDir dir;
    {
        zrk::BookStore book;
        zrk::bench::fillGeneratedBook(book, entries);
        if (!book.SaveList(dir.filePath("book.phn"))) return fail("the book cannot be written");
    }
    zrktest::NcidTestServer ncid;
    zrktest::ModemSimDriver sim;
    if (!ncid.start() || !sim.start()) return fail("no NCID server or simulator");
    const QString config = dir.filePath("registry.reg");
    QFile f(config);
    if (!f.open(QIODevice::WriteOnly)) return fail("the settings cannot be written");
    f.write(sim.settingsStore() + "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Network]\n\"NCID Server\"=\"" +
            ncid.address().toUtf8() + "\"\n");
    f.close();

    QList<qint64> startMs;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer t;
        t.start();
        Server s(dir.path(), config);
        if (!waitFine([&] { return s.err.contains("Com2"); }, 10000)) return fail(qPrintable(QStringLiteral("the port never opened: ") + s.err));
        startMs << t.elapsed();
    }
    std::printf("start to port open, ms (10 runs): median %lld, max %lld\n", percentile(startMs, 50),
                percentile(startMs, 100));

    Server s(dir.path(), config);
    const QString loaded = QStringLiteral("записей %1").arg(entries);
    if (!waitFine([&] { return s.err.contains(loaded) || s.err.contains(QStringLiteral("%1 entries").arg(entries)); },
                  30000) || !ncid.waitForClients(1, 10000))
        return fail(qPrintable(QStringLiteral("the book or the server never came: ") + s.err));
    QTest::qWait(1000);
    std::printf("resident memory idle, %d-entry book: %ld KB\n", entries, s.rssKb());

    QList<qint64> sendUs;
    for (int i = 0; i < calls; ++i) {
        const qsizetype before = ncid.calls().size();
        sim.clear();
        sim.send(QStringLiteral("call 495%1 1 rings 1 interval 0.1").arg(zrk::bench::generatedDigits(i * 37 % qMax(1, entries))));
        QElapsedTimer fromReport;
        if (!waitFine([&] {
                if (!fromReport.isValid())
                    for (const QString& l : sim.sent())
                        if (l.startsWith("CallerID:")) fromReport.start();
                return ncid.calls().size() > before;
            }, 10000))
            return fail("a call never reached the server");
        sendUs << (fromReport.isValid() ? fromReport.nsecsElapsed() / 1000 : -1);
        QTest::qWait(150);
    }
    std::printf("modem report to the NCID server's CALL line, us (%d calls): p50 %lld, p99 %lld\n", calls,
                percentile(sendUs, 50), percentile(sendUs, 99));
    std::sort(sendUs.begin(), sendUs.end());
    std::printf("the slowest five, us:");
    for (qsizetype i = qMax<qsizetype>(0, sendUs.size() - 5); i < sendUs.size(); ++i) std::printf(" %lld", sendUs[i]);
    std::printf("\n");
    return 0;
}
