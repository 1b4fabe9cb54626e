// The reminder file against records built byte by byte, and the save's rotation and faults.
#include "core/reminders/ReminderStore.h"

#include "core/book/StoreTesting.h"

#include "TestSupport.h"

#include <QtTest>

using namespace zrk;
using namespace zrktest;

namespace {

const QByteArray kMagic("RMD ", 4);

// kind, padding, date, time, number, note, padding; `fill` after the texts and in padding.
QByteArray recordBytes(quint8 kind, double date, double time, const QByteArray& number,
                       const QByteArray& note, char fill = '\0', int numberLength = -1) {
    return char(kind) + QByteArray(3, fill) + le64(date) + le64(time) +
           field(26, number, fill, numberLength) + field(256, note, fill) + QByteArray(2, fill);
}

ReminderRecord record(double date, const QString& number, const QString& note) {
    ReminderRecord r = ReminderRecord::empty();
    r.Kind = ReminderByDate;
    r.Date = date;
    r.Time = 0.5;
    r.Number.setText(number);
    r.Note.setText(note);
    return r;
}

}  // namespace

class TestReminderStore : public QObject {
    Q_OBJECT

private slots:
    void init() { box_ = std::make_unique<Sandbox>(); }
    void cleanup() { box_.reset(); }

    void recordsRoundTripByteForByte() {
        // Padding and the bytes after each text are junk, as in a record edited in place; they
        // are kept as found. A damaged length byte never reads past the number into the note.
        const QByteArray file = kMagic + recordBytes(1, 45000.0, 0.75, "123", cp("врач\r"), 'q') +
                                recordBytes(0, -2.0, 0.5, "12-34-56", cp("а\rб\r")) +
                                recordBytes(0, 0, 0, QByteArray(25, '5'), "note", '\0', 200);
        QVERIFY(writeAll("reminder.rmd", file));
        QStringList loaded;
        for (const ReminderRecord& r : LoadReminders())
            loaded << QStringList{QString::number(r.Kind), QString::number(r.Date),
                                  QString::number(r.Time), r.Number.text(), r.Note.text()}
                          .join('|');
        QCOMPARE(loaded, (QStringList{"1|45000|0.75|123|врач\r", "0|-2|0.5|12-34-56|а\rб\r",
                                      "0|0|0|" + QString(25, '5') + "|note"}));
        QVERIFY(SaveReminders(LoadReminders()));
        QCOMPARE(readAll("reminder.rmd"), file);

        // Texts set by the editor are cut to their fields.
        const ReminderRecord cut = record(1.0, QString(40, '7'), QString(300, QChar(0x0416)));
        QCOMPARE(cut.Number.text(), QString(25, '7'));
        QCOMPARE(cut.Note.text(), QString(255, QChar(0x0416)));
    }

    void loadingStopRules_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("loaded");
        const QByteArray rec = recordBytes(1, 1.0, 0.5, "1", "x");
        QTest::newRow("no file") << QByteArray() << 0;
        QTest::newRow("shorter than the magic") << QByteArray("RMD") << 0;
        QTest::newRow("magic only") << kMagic << 0;
        QTest::newRow("foreign magic") << QByteArray("RMD\0", 4) + rec << 0;
        QTest::newRow("two records and a partial one") << kMagic + rec + rec + rec.left(303) << 2;
    }

    void loadingStopRules() {
        QFETCH(QByteArray, file);
        if (!file.isNull()) QVERIFY(writeAll("reminder.rmd", file));
        QTEST(int(LoadReminders().size()), "loaded");  // reports nothing: it has no way to
    }

    void savesRotateTheBackupAndAnEmptyListLeavesNoFile() {
        QVERIFY(writeAll("reminder.rmd", "not a reminder file"));
        QVERIFY(SaveReminders({record(2.0, "1", "один")}));
        const QByteArray first = kMagic + recordBytes(1, 2.0, 0.5, "1", cp("один"));
        QCOMPARE(readAll("reminder.rmd"), first);
        QCOMPARE(readAll("reminder.bak"), QByteArray("not a reminder file"));
        // Twice: the backup keeps the last set that was on disk.
        QVERIFY(SaveReminders({}));
        QVERIFY(SaveReminders({}));
        QCOMPARE(readAll("reminder.bak"), first);
        QCOMPARE(filesIn(), QStringList{"reminder.bak"});
    }

    void failedSavesLoseNothing() {
        const QByteArray old = kMagic + recordBytes(1, 1.0, 0.5, "1", "x");
        QVERIFY(writeAll("reminder.rmd", old));
        // "reminder.bak" cannot be deleted, also for an empty list, which would remove the file.
        QVERIFY(QDir().mkpath("reminder.bak/inside"));
        FileError withRecords, empty;
        QVERIFY(!SaveReminders({record(5.0, "", "new")}, &withRecords));
        QVERIFY(!SaveReminders({}, &empty));
        for (const FileError& e : {withRecords, empty}) {
            QCOMPARE(e.message, QString("Ошибка создания reminder.bak!"));
            QVERIFY(e.code != 0);
        }
        QCOMPARE(readAll("reminder.rmd"), old);
        QCOMPARE(filesIn(), QStringList{"reminder.rmd"});

        // A write that fails half way.
        QVERIFY(QDir().rmpath("reminder.bak/inside") && writeAll("reminder.bak", "older"));
        QList<ReminderRecord> many;
        FileError halfWay;
        for (int i = 0; i < 20; ++i) many << record(i, QString::number(i), "n");
        {
            FileSizeLimit limit(1000);
            QVERIFY(limit.ok);
            QVERIFY(!SaveReminders(many, &halfWay));
        }
        QCOMPARE(halfWay.message, QString("Ошибка записи reminder.rmd!"));
        QCOMPARE(halfWay.code, EFBIG);
        QCOMPARE(readAll("reminder.rmd"), old);
        QCOMPARE(readAll("reminder.bak"), QByteArray("older"));
        QCOMPARE(filesIn(), (QStringList{"reminder.bak", "reminder.rmd"}));
        QVERIFY(SaveReminders(many));
        QCOMPARE(LoadReminders().size(), 20);
    }

private:
    std::unique_ptr<Sandbox> box_;
};

QTEST_GUILESS_MAIN(TestReminderStore)
#include "tst_reminderstore.moc"
