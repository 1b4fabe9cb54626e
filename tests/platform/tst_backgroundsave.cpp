// The save worker on its own: saves waiting behind a running one merged into the newest,
// failures told once on the owner's thread, nothing left running when it goes.
#include "platform/BackgroundSave.h"

#include "SaveGate.h"

#include <QThread>
#include <QtTest>

#include <cerrno>
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

    void aFailureIsToldOnceOnTheOwnersThread() {
        QStringList ran;
        QStringList told;
        BackgroundSave saver;
        connect(&saver, &BackgroundSave::failed, this, [&](const FileError& e) {
            QCOMPARE(QThread::currentThread(), thread());
            told << e.message;
        });
        // Through the signal; the close that follows has nothing left to tell.
        saver.schedule(named(ran, "a", false));
        QTRY_COMPARE(told, QStringList{"a: full"});
        QVERIFY(!saver.finish());

        // Taken by the close: the signal stays silent.
        saver.schedule(named(ran, "b", false));
        const std::optional<FileError> failure = saver.finish();
        QVERIFY(failure);
        QCOMPARE(failure->code, ENOSPC);
        QCOMPARE(failure->message, QString("b: full"));
        QCoreApplication::processEvents();
        QCOMPARE(told.size(), 1);

        // A job that throws fails like one that says so.
        saver.schedule([](FileError*) -> bool { throw std::runtime_error("out of memory"); });
        QCOMPARE(saver.finish()->message, QString("out of memory"));

        // A later save that succeeds leaves nothing to tell: the disk holds the newer book.
        {
            SaveGate gate;
            saver.schedule(named(ran, "c", false));
            QVERIFY(gate.held());
            saver.schedule(named(ran, "d"));
            gate.open();
            QVERIFY(!saver.finish());
        }
        QCoreApplication::processEvents();
        QCOMPARE(told.size(), 1);
        QCOMPARE(ran.mid(2), (QStringList{"c", "d"}));
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
