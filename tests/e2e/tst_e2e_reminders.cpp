// The real program with a reminder file made byte by byte: what is due is raised at start and
// leaves the file, a caller's number reminder is raised by the call, and alerts still open
// when the session ends come back at the next start.
#include "core/platform/Cp1251.h"

#include "ModemSimDriver.h"
#include "TestSupport.h"
#include "core/book/StoreTesting.h"

#include <QProcess>
#include <QScopeGuard>

#include <csignal>

using namespace zrktest;

namespace {

const QByteArray kMagic("RMD ", 4);

double today() {
    return double(QDate(1899, 12, 30).daysTo(QDate::currentDate()));
}

QByteArray record(quint8 kind, double date, double time, const char* number, const char* note) {
    return char(kind) + QByteArray(3, '\0') + le64(date) + le64(time) + field(26, cp(number)) +
           field(256, cp(note)) + QByteArray(2, '\0');
}

QByteArray noteOf(const QByteArray& rec) {
    return rec.mid(47, quint8(rec.at(46)));
}

QList<QByteArray> recordsIn(const QByteArray& file) {
    QList<QByteArray> out;
    for (qsizetype at = 4; at + 304 <= file.size(); at += 304) out << file.mid(at, 304);
    return out;
}

struct Program {
    Program() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        proc.setProcessChannelMode(QProcess::ForwardedChannels);
        proc.start(QStringLiteral(ZRK_PRO), {});
    }
    ~Program() {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(5000);
        }
    }
    bool terminate() {
        ::kill(pid_t(proc.processId()), SIGTERM);
        return proc.waitForFinished(10000) && proc.exitStatus() == QProcess::NormalExit &&
               proc.exitCode() == 0;
    }
    QProcess proc;
};

}  // namespace

class TestE2EReminders : public QObject {
    Q_OBJECT
private slots:
    void raisedAtStartOnACallAndAgainAfterTheEnd() {
        Sandbox box;
        const QByteArray due = record(1, today() - 1, 0.5, "", "просрочено\r");
        const QByteArray future = record(1, today() + 30, 0.5, "", "через месяц\r");
        const QByteArray byNumber = record(0, today(), 0, "34-56-78", "перезвонить\r");
        const QByteArray original = kMagic + due + future + byNumber;
        QVERIFY(writeAll(box.filePath("reminder.rmd"), original));

        ModemSimDriver sim;
        QVERIFY(sim.start());
        QVERIFY(
            writeAll(box.registryPath(), sim.settingsStore("\"Answer On Ring\"=dword:00000001\n")));
        const auto file = [&] { return readAll(box.filePath("reminder.rmd")); };
        {
            Program zrk;
            QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
            // What was due is raised at once and has left the file; the backup holds all.
            QTRY_COMPARE_WITH_TIMEOUT(file(), kMagic + future + byNumber, 10000);
            QCOMPARE(readAll(box.filePath("reminder.bak")), original);

            // A call from the reminder's number raises it.
            sim.send("call 4952345678 1 rings 2 interval 0.3");
            QVERIFY(sim.waitForReceived("AT+SR", 10000));
            QTRY_COMPARE_WITH_TIMEOUT(file(), kMagic + future, 10000);

            // Ended with both alerts still open: they are kept as reminders due at once.
            QVERIFY(zrk.terminate());
        }
        const QList<QByteArray> kept = recordsIn(file());
        QCOMPARE(kept.size(), 3);
        QCOMPARE(kept[0], future);
        QCOMPARE(noteOf(kept[1]), cp("просрочено\r"));
        QCOMPARE(noteOf(kept[2]), cp("перезвонить\r"));
        QCOMPARE(kept[2].at(0), char(1));  // now by date

        // The next start raises them again.
        Program again;
        QTRY_COMPARE_WITH_TIMEOUT(file(), kMagic + future, 10000);
        QVERIFY(again.terminate());
        QCOMPARE(recordsIn(file()).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestE2EReminders)
#include "tst_e2e_reminders.moc"
