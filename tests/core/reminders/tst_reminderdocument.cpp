// The reminder document without a window: its own tick, the end of the run, and the
// failures of its saves as values.
#include "core/platform/Clock.h"
#include "core/platform/Registry.h"
#include "core/reminders/ReminderDocument.h"
#include "core/settings/Settings.h"
#include "core/reminders/ReminderRecords.h"

#include "TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

using namespace zrk;

namespace {

const QDateTime k1358(QDate(2026, 1, 31), QTime(13, 58, 20));

}  // namespace

class TestReminderDocument : public QObject {
    Q_OBJECT
private slots:
    void init() {
        box_ = std::make_unique<zrktest::Sandbox>();
        RegistryFile::resetUser();
        ini() = TIni::defaults();
        setClockForTesting([] { return k1358; });
    }
    void cleanup() {
        setClockForTesting({});
        RegistryFile::resetUser();
        box_.reset();
    }

    // Without the main window's timer, the document's own runs while it holds date
    // reminders, and only then: a number reminder waits for a call, not for a tick.
    void ownTimerRunsWhileDateRemindersWait_data() {
        QTest::addColumn<QList<ReminderRecord>>("file");
        QTest::addColumn<bool>("ticking");
        QTest::addColumn<QStringList>("raised");
        QTest::newRow("none") << QList<ReminderRecord>{} << false << QStringList{};
        QTest::newRow("a number reminder")
            << QList<ReminderRecord>{byNumber("2345678", "номер\r")} << false << QStringList{};
        QTest::newRow("a date tomorrow")
            << QList<ReminderRecord>{byDate(k1358.addDays(1), "завтра\r")} << true
            << QStringList{};
        QTest::newRow("dates due now, in list order")
            << QList<ReminderRecord>{byDate(k1358, "сейчас\r"), byNumber("1", "номер\r"),
                                     byDate(k1358.addDays(-3), "давно\r")}
            << false << QStringList{"сейчас\r", "давно\r"};
    }
    void ownTimerRunsWhileDateRemindersWait() {
        QFETCH(QList<ReminderRecord>, file);
        QFETCH(QStringList, raised);
        if (!file.isEmpty()) QVERIFY(SaveReminders(file));
        ReminderDocument doc;
        QSignalSpy due(&doc, &ReminderDocument::due);
        QVERIFY(!doc.ownTimerActive());  // nothing raised before the views are there
        doc.refresh();
        QTEST(doc.ownTimerActive(), "ticking");
        QCOMPARE(due.size(), raised.isEmpty() ? 0 : 1);
        if (!raised.isEmpty())
            QCOMPARE(notesOf(due[0][0].value<QList<ReminderRecord>>()), raised);
        QCOMPARE(doc.list().count(), file.size() - raised.size());
    }

    // Once the end has begun nothing raises, ticks or edits; the alerts put back are due at
    // once, saved with the rest, and a second close saves nothing again.
    void theEndKeepsWhatIsPendingAndSavesOnce() {
        QVERIFY(SaveReminders({byDate(k1358.addDays(1), "завтра\r"), byNumber("2", "номер\r")}));
        ReminderDocument doc;
        QSignalSpy due(&doc, &ReminderDocument::due);
        doc.refresh();
        QVERIFY(doc.ownTimerActive());
        doc.stop();
        QVERIFY(!doc.ownTimerActive() && doc.isClosing());
        doc.store(byDate(k1358, "поздно\r"), 0);
        QVERIFY(!doc.raiseForNumber("2"));
        doc.tick();
        doc.refresh();
        QVERIFY(!doc.ownTimerActive());
        QCOMPARE(due.size(), 0);
        doc.putBack({byNumber("3", "на экране\r")});
        QCOMPARE(doc.close(), Failures());
        const QList<ReminderRecord> saved = LoadReminders();
        QCOMPARE(notesOf(saved), (QStringList{"завтра\r", "номер\r", "на экране\r"}));
        QCOMPARE(saved[2].Kind, quint8(ReminderByDate));
        QCOMPARE(dueKey(saved[2]), minuteKey(k1358));
        QCOMPARE(doc.close(), Failures());
        QCOMPARE(LoadReminders(QString::fromLatin1(kReminderBackup)).size(), 2);
    }

    // A save's failure comes out of `failed`, with the list in memory kept; the close's own
    // save is returned instead, and nothing is signalled after it.
    void failuresAsValues() {
        QVERIFY(SaveReminders({byNumber("2345678", "номер\r")}));
        QVERIFY(QDir().mkpath("reminder.bak/inside"));  // the old backup cannot go
        ReminderDocument doc;
        QSignalSpy failed(&doc, &ReminderDocument::failed);
        QVERIFY(doc.raiseForNumber("2345678"));
        const Failure expected{Failure::Kind::File, "Ошибка создания reminder.bak!", true,
                               "Ошибка"};
        QTRY_COMPARE(failed.size(), 1);
        QCOMPARE(failed[0][0].value<Failure>(), expected);
        QCOMPARE(doc.close(), Failures{expected});
        QCoreApplication::processEvents();
        QCOMPARE(failed.size(), 1);
        QCOMPARE(notesOf(LoadReminders()), QStringList{"номер\r"});
    }

private:
    std::unique_ptr<zrktest::Sandbox> box_;
};

QTEST_GUILESS_MAIN(TestReminderDocument)
#include "tst_reminderdocument.moc"
