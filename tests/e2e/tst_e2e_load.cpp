// Caller reports back to back through the modem simulator's pseudo-terminal into the real
// program: each is logged once and in order, and memory grows only by the calls listed.
//
// CTest sends 5,000 reports, and checks the memory in the sanitizer build too; by hand
// ZRK_LOAD_CALLS=100000 on a Release build gives the figures (reports per second, resident
// memory at 0, half and all calls, bytes per call).
#include "ModemSimDriver.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>

#include <csignal>

namespace {

// Resident memory of a process in kilobytes, from /proc.
qint64 residentKb(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Reads what the program appends to its call log, a line at a time.
class LogTail {
public:
    explicit LogTail(QString path) : file_(std::move(path)) {}
    // The caller numbers of the lines added since the last call ("12-34-56" as 123456).
    QList<int> newNumbers() {
        QList<int> numbers;
        if (!file_.isOpen() && !file_.open(QIODevice::ReadOnly)) return numbers;
        buf_ += file_.readAll();
        static const QRegularExpression call(QStringLiteral("(\\d\\d)-(\\d\\d)-(\\d\\d) \\r$"));
        for (qsizetype nl; (nl = buf_.indexOf('\n')) >= 0; buf_.remove(0, nl + 1)) {
            const auto m = call.match(QString::fromLatin1(buf_.left(nl)));
            if (m.hasMatch())
                numbers << (m.captured(1) + m.captured(2) + m.captured(3)).toInt();
            else
                ++otherLines;
        }
        return numbers;
    }
    int otherLines = 0;  // the header's lines

private:
    QFile file_;
    QByteArray buf_;
};

}  // namespace

class TestE2ELoad : public QObject {
    Q_OBJECT
private slots:
    void reportsBackToBackAreLoggedOnceInOrder() {
        bool given = false;
        const int calls = qEnvironmentVariableIntValue("ZRK_LOAD_CALLS", &given);
        const int total = given && calls >= 2 ? calls : 5000;
        constexpr int kFirst = 100000;  // six digits each, as the number is cut to six
        constexpr int kInFlight = 64;   // well within the terminal's queue: nothing is dropped

        zrktest::Sandbox box;
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        // No sounds: this is about the line, the call list and the log.
        QByteArray store = sim.settingsStore();
        store.replace("\"Minimized\"=dword:00000000\n",
                      "\"Minimized\"=dword:00000000\n\"Sound\"=dword:00000000\n");
        QVERIFY(zrktest::writeAll(box.registryPath(), store));
        qputenv("QT_QPA_PLATFORM", "offscreen");
#if defined(__SANITIZE_ADDRESS__)
        // AddressSanitizer holds freed blocks back and pads each block: without the hold, the
        // allocation stacks and the wider pads, the figure is the program's own plus a few
        // bytes a block, and the limit below holds in this build too.
        qputenv("ASAN_OPTIONS", qgetenv("ASAN_OPTIONS") +
                                    ":quarantine_size_mb=0:thread_local_quarantine_size_kb=0"
                                    ":malloc_context_size=0:max_redzone=16");
#endif
        QProcess zrk;
        zrk.setProcessChannelMode(QProcess::ForwardedChannels);
        zrk.start(QStringLiteral(ZRK_PRO), {});
        const auto end = qScopeGuard([&] {
            zrk.kill();
            zrk.waitForFinished(5000);
        });
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 20000));
        QTest::qWait(500);
        const qint64 pid = zrk.processId();
        QList<qint64> rss{residentKb(pid)};

        LogTail log(box.filePath("ZrkLog.txt"));
        int sent = 0, logged = 0;
        QElapsedTimer clock, idle;
        clock.start();
        idle.start();
        for (const int upTo : {total / 2, total}) {
            while (logged < upTo) {
                QByteArray commands;
                for (; sent < upTo && sent - logged < kInFlight; ++sent)
                    commands += "send CallerID: " + QByteArray::number(kFirst + sent) + ":1\n";
                if (!commands.isEmpty()) sim.process().write(commands);
                QTest::qWait(1);
                for (const int number : log.newNumbers()) {
                    QVERIFY2(number == kFirst + logged,
                             qPrintable(QStringLiteral("call %1 logged as %2")
                                            .arg(kFirst + logged)
                                            .arg(number)));
                    ++logged;
                    idle.start();
                }
                QVERIFY2(
                    idle.elapsed() < 20000,
                    qPrintable(QStringLiteral("stuck after %1 of %2 calls").arg(logged).arg(sent)));
                QVERIFY(zrk.state() == QProcess::Running);
            }
            rss << residentKb(pid);
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        const double perCall = (rss[2] - rss[1]) * 1024.0 / (total - total / 2);
        qInfo().noquote() << QStringLiteral(
                                 "%1 reports in %2 s: %3 per second; resident %4 / %5 / %6 kB "
                                 "at 0 / %7 / %1 calls; %8 bytes per listed call; %9 lines "
                                 "logged")
                                 .arg(total)
                                 .arg(seconds, 0, 'f', 1)
                                 .arg(total / seconds, 0, 'f', 0)
                                 .arg(rss[0])
                                 .arg(rss[1])
                                 .arg(rss[2])
                                 .arg(total / 2)
                                 .arg(perCall, 0, 'f', 0)
                                 .arg(logged + log.otherLines);
        // Nothing more comes: each call once.
        QTest::qWait(500);
        QCOMPARE(log.newNumbers().size(), 0);
        QCOMPARE(log.otherLines, 3);  // the header, once

        // A listed call is a row of five short texts; anything near a page per call is a leak.
        QVERIFY2(perCall < 2048, qPrintable(QString::number(perCall)));
        qInfo().noquote() << QStringLiteral("memory per listed call checked: %1 < 2048 bytes")
                                 .arg(perCall, 0, 'f', 0);
    }
};

QTEST_GUILESS_MAIN(TestE2ELoad)
#include "tst_e2e_load.moc"
