// The save worker on its own: saves waiting behind a running one merged into the newest,
// failures told once on the owner's thread, nothing left running when it goes.
#include "core/platform/BackgroundSave.h"

#include "SaveGate.h"

#include <QThread>
#include <QtTest>

#include <cerrno>
#include <optional>
#include <stdexcept>

using namespace zrk;
using zrktest::SaveGate;

namespace {

// A job that notes its name among `ran` (read once the worker is idle).
BackgroundSave::Job named(QStringList& ran, const QString& name, bool ok = true) {
    return [&ran, name, ok](FileError* error) {
        ran << name;
        if (!ok) *error = FileError{ENOSPC, name + ": full"};
        return ok;
    };
}

}  // namespace

class TestBackgroundSave : public QObject {
    Q_OBJECT
private slots:
    void savesWaitingBehindARunningOneAreMerged() {
        SaveGate gate;
        QStringList ran;
        BackgroundSave saver;
        saver.schedule(named(ran, "first"));
        QVERIFY(gate.held());
        for (int i = 2; i <= 50; ++i) saver.schedule(named(ran, QString::number(i)));
        gate.open();
        QVERIFY(!saver.finish());
        QCOMPARE(ran, (QStringList{"first", "50"}));
        // Idle, the next one runs on its own.
        saver.schedule(named(ran, "later"));
        QVERIFY(!saver.finish());
        QCOMPARE(ran.last(), QString("later"));
    }

    // A failure is told once: through the signal on the owner's thread, or, when the close
    // comes first, to the closer alone. Afterwards the saver goes on as before.
    void aFailureIsToldOnce_data() {
        QTest::addColumn<QStringList>("jobs");  // "x" succeeds, "!x" finds the disk full, "throw"
        QTest::addColumn<bool>("held");         // the first job waits until all are handed over
        QTest::addColumn<bool>("eventsFirst");  // the owner's events run before the close
        QTest::addColumn<QStringList>("told");  // through the signal
        QTest::addColumn<QString>("atClose");   // what the close returns, if anything
        QTest::addColumn<QStringList>("ran");
        QTest::newRow("through the signal; the close has nothing left to tell")
            << QStringList{"!a"} << false << true << QStringList{"a: full"} << ""
            << QStringList{"a"};
        QTest::newRow("taken by the close: the signal stays silent")
            << QStringList{"!b"} << false << false << QStringList{} << "b: full"
            << QStringList{"b"};
        QTest::newRow("a job that throws fails like one that says so")
            << QStringList{"throw"} << false << false << QStringList{} << "out of memory"
            << QStringList{};
        // The disk holds the newer book.
        QTest::newRow("a later save that succeeds leaves nothing to tell")
            << QStringList{"!c", "d"} << true << true << QStringList{} << ""
            << QStringList{"c", "d"};
    }
    void aFailureIsToldOnce() {
        QFETCH(QStringList, jobs);
        QFETCH(bool, held);
        QFETCH(bool, eventsFirst);
        QFETCH(QStringList, told);
        std::optional<SaveGate> gate;
        if (held) gate.emplace();
        QStringList done, heard;
        BackgroundSave saver;
        connect(&saver, &BackgroundSave::failed, this, [&](const FileError& e) {
            QCOMPARE(QThread::currentThread(), thread());
            heard << e.message;
        });
        for (const QString& job : jobs) {
            const bool first = job == jobs.first();
            if (job == "throw")
                saver.schedule(
                    [](FileError*) -> bool { throw std::runtime_error("out of memory"); });
            else
                saver.schedule(
                    named(done, job.startsWith('!') ? job.mid(1) : job, !job.startsWith('!')));
            if (gate && first) QVERIFY(gate->held());  // the rest wait behind it
        }
        if (gate) gate->open();
        if (eventsFirst) QTRY_COMPARE(heard, told);
        const std::optional<FileError> failure = saver.finish();
        QTEST(failure ? failure->message : QString(), "atClose");
        if (failure && jobs != QStringList{"throw"}) QCOMPARE(failure->code, ENOSPC);
        QCoreApplication::processEvents();
        QCOMPARE(heard, told);
        QTEST(done, "ran");

        saver.schedule(named(done, "later"));
        QVERIFY(!saver.finish());
        QCOMPARE(done.last(), QString("later"));
        QCoreApplication::processEvents();
        QCOMPARE(heard, told);
    }

    void goingWaitsForTheRunningAndTheWaitingSave() {
        SaveGate gate;
        QStringList ran;
        {
            BackgroundSave saver;
            saver.schedule(named(ran, "running"));
            QVERIFY(gate.held());
            saver.schedule(named(ran, "waiting"));
            gate.openAfter(100);
        }
        QCOMPARE(ran, (QStringList{"running", "waiting"}));
    }
};

QTEST_GUILESS_MAIN(TestBackgroundSave)
#include "tst_backgroundsave.moc"
