// The reminder file against records built byte by byte, and the save's rotation and faults.
#include "reminders/ReminderStore.h"

#include "book/FileFaults.h"
#include "book/RecordingMessages.h"

#include "TestSupport.h"

#include <QDir>
#include <QtTest>

#include <cstring>

using namespace zrk;

namespace {

const QByteArray kMagic("RMD ", 4);

QByteArray le64(double v) {
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    QByteArray b(8, '\0');
    for (int i = 0; i < 8; ++i) b[i] = char((bits >> (8 * i)) & 0xFF);
    return b;
}

QByteArray field(int size, const QByteArray& text, char fill = '\0', int lengthByte = -1) {
    QByteArray f(size, fill);
    f[0] = char(lengthByte >= 0 ? lengthByte : text.size());
    for (int i = 0; i < text.size() && 1 + i < size; ++i) f[1 + i] = text[i];
    return f;
}

// kind, padding, date, time, number, note, padding; `fill` after the texts and in padding.
QByteArray recordBytes(quint8 kind, double date, double time, const QByteArray& number,
                       const QByteArray& note, char fill = '\0', int numberLength = -1) {
    QByteArray r;
    r += char(kind);
    r += QByteArray(3, fill);
    r += le64(date);
    r += le64(time);
    r += field(26, number, fill, numberLength);
    r += field(256, note, fill);
    r += QByteArray(2, fill);
    return r;
}

QByteArray cp(const char* utf8) {
    return toCp1251(QString::fromUtf8(utf8));
}

ReminderRecord record(quint8 kind, double date, double time, const QString& number,
                      const QString& note) {
    ReminderRecord r = ReminderRecord::empty();
    r.Kind = kind;
    r.Date = date;
    r.Time = time;
    r.Number.setText(number);
    r.Note.setText(note);
    return r;
}

}  // namespace

class TestReminderStore : public QObject {
    Q_OBJECT

private slots:
    void init() { box_ = std::make_unique<zrktest::Sandbox>(); }
    void cleanup() { box_.reset(); }

    void loadsRecordsFieldByField();
    void loadingStopRules_data();
    void loadingStopRules();
    void savedFileIsTheRecordsByteForByte();
    void textsAreCutToTheirFields();
    void savesRotateTheBackup();
    void emptyListLeavesNoFile();
    void backupThatCannotBeDeleted();
    void writeFailingHalfWayLosesNothing();

private:
    std::unique_ptr<zrktest::Sandbox> box_;
};

void TestReminderStore::loadsRecordsFieldByField() {
    // Padding and the bytes after each text are junk, as in a record edited in place.
    QVERIFY(zrktest::writeAll("reminder.rmd",
                              kMagic + recordBytes(1, 45000.0, 0.75, "123", cp("врач\r"), 'q') +
                                  recordBytes(0, -2.0, 0.5, "12-34-56", cp("а\rб\r"))));
    const QList<ReminderRecord> r = LoadReminders();
    QCOMPARE(r.size(), 2);
    QCOMPARE(int(r[0].Kind), 1);
    QCOMPARE(double(r[0].Date), 45000.0);
    QCOMPARE(double(r[0].Time), 0.75);
    QCOMPARE(r[0].Number.text(), QStringLiteral("123"));
    QCOMPARE(r[0].Note.text(), QStringLiteral("врач\r"));
    QCOMPARE(int(r[1].Kind), 0);
    QCOMPARE(double(r[1].Date), -2.0);
    QCOMPARE(r[1].Number.text(), QStringLiteral("12-34-56"));
    QCOMPARE(r[1].Note.text(), QStringLiteral("а\rб\r"));
}

void TestReminderStore::loadingStopRules_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("loaded");
    const QByteArray rec = recordBytes(1, 1.0, 0.5, "1", "x");
    QTest::newRow("no file") << QByteArray() << 0;
    QTest::newRow("shorter than the magic") << QByteArray("RMD") << 0;
    QTest::newRow("magic only") << kMagic << 0;
    QTest::newRow("foreign magic") << QByteArray("RMD\0", 4) + rec << 0;
    QTest::newRow("two records and a partial one")
        << kMagic + rec + rec + QByteArray(100, 'z') << 2;
}

void TestReminderStore::loadingStopRules() {
    QFETCH(QByteArray, file);
    QFETCH(int, loaded);
    if (!file.isNull()) QVERIFY(zrktest::writeAll("reminder.rmd", file));
    zrktest::RecordingMessages shown;
    QCOMPARE(LoadReminders().size(), loaded);
    QVERIFY(shown.texts.isEmpty());
}

void TestReminderStore::savedFileIsTheRecordsByteForByte() {
    ReminderRecord edited = record(0, 44000.0, 0.25, "654321", "позвонить");
    // What an edit leaves behind a shorter text is kept as it is, as is the padding.
    std::memcpy(edited.Number.chars + 6, "99", 2);
    edited.pad1[1] = 7;
    const QList<ReminderRecord> list{record(1, 45123.0, 0.5, "", "a\rb\r"), edited};
    QVERIFY(SaveReminders(list));
    QByteArray editedBytes = recordBytes(0, 44000.0, 0.25, "654321", cp("позвонить"));
    editedBytes[2] = 7;
    editedBytes[20 + 7] = '9';
    editedBytes[20 + 8] = '9';
    const QByteArray expected = kMagic + recordBytes(1, 45123.0, 0.5, "", "a\rb\r") + editedBytes;
    QCOMPARE(zrktest::readAll("reminder.rmd"), expected);
    const QList<ReminderRecord> back = LoadReminders();
    QCOMPARE(back.size(), 2);
    QCOMPARE(serializeReminders(back), expected);
}

void TestReminderStore::textsAreCutToTheirFields() {
    ReminderRecord r = record(1, 1.0, 0.0, QString(40, '7'), QString(300, QChar(0x0416)));
    QCOMPARE(r.Number.text(), QString(25, '7'));
    QCOMPARE(r.Note.text(), QString(255, QChar(0x0416)));
    // A damaged length byte never reads past the number into the note.
    QVERIFY(zrktest::writeAll(
        "reminder.rmd", kMagic + recordBytes(0, 0, 0, QByteArray(25, '5'), "note", '\0', 200)));
    const QList<ReminderRecord> loaded = LoadReminders();
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(loaded[0].Number.text(), QString(25, '5'));
    QCOMPARE(loaded[0].Note.text(), QStringLiteral("note"));
}

void TestReminderStore::savesRotateTheBackup() {
    const QByteArray foreign("not a reminder file");
    QVERIFY(zrktest::writeAll("reminder.rmd", foreign));
    QVERIFY(LoadReminders().isEmpty());
    const QList<ReminderRecord> first{record(1, 2.0, 0.5, "1", "один")};
    QVERIFY(SaveReminders(first));
    QCOMPARE(zrktest::readAll("reminder.bak"), foreign);
    const QByteArray firstFile = zrktest::readAll("reminder.rmd");
    QVERIFY(SaveReminders({record(0, 3.0, 0.5, "2", "два")}));
    QCOMPARE(zrktest::readAll("reminder.bak"), firstFile);
    QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden),
             (QStringList{"reminder.bak", "reminder.rmd"}));
}

void TestReminderStore::emptyListLeavesNoFile() {
    zrktest::RecordingMessages shown;
    QVERIFY(zrktest::writeAll("reminder.rmd", kMagic));
    QVERIFY(LoadReminders().isEmpty());
    QVERIFY(SaveReminders({}));
    QVERIFY(!QFile::exists("reminder.rmd"));
    QCOMPARE(zrktest::readAll("reminder.bak"), kMagic);
    // Again: the backup keeps the last set that was on disk.
    QVERIFY(SaveReminders({}));
    QCOMPARE(zrktest::readAll("reminder.bak"), kMagic);
    QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden), QStringList{"reminder.bak"});
    QVERIFY(shown.texts.isEmpty());
}

void TestReminderStore::backupThatCannotBeDeleted() {
    const QByteArray old = kMagic + recordBytes(1, 1.0, 0.5, "1", "x");
    QVERIFY(zrktest::writeAll("reminder.rmd", old));
    QVERIFY(QDir().mkpath("reminder.bak/inside"));
    zrktest::RecordingMessages shown;
    QVERIFY(!SaveReminders({record(1, 5.0, 0.5, "", "new")}));
    QCOMPARE(shown.captions, QStringList{"Ошибка"});
    QCOMPARE(shown.texts, QStringList{"Ошибка создания reminder.bak!"});
    QCOMPARE(zrktest::readAll("reminder.rmd"), old);
    QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden), QStringList{"reminder.rmd"});
    // The same for an empty list, which would otherwise remove the file.
    shown.texts.clear();
    QVERIFY(!SaveReminders({}));
    QCOMPARE(shown.texts, QStringList{"Ошибка создания reminder.bak!"});
    QCOMPARE(zrktest::readAll("reminder.rmd"), old);
}

void TestReminderStore::writeFailingHalfWayLosesNothing() {
    const QByteArray old = kMagic + recordBytes(1, 1.0, 0.5, "1", "x");
    QVERIFY(zrktest::writeAll("reminder.bak", "older"));
    QVERIFY(zrktest::writeAll("reminder.rmd", old));
    zrktest::RecordingMessages shown;
    QList<ReminderRecord> many;
    for (int i = 0; i < 20; ++i) many << record(1, i, 0.5, QString::number(i), "n");
    {
        zrktest::FileSizeLimit limit(1000);
        QVERIFY(limit.ok());
        QVERIFY(!SaveReminders(many));
    }
    QCOMPARE(shown.texts, QStringList{"Ошибка записи reminder.rmd!"});
    QCOMPARE(zrktest::readAll("reminder.rmd"), old);
    QCOMPARE(zrktest::readAll("reminder.bak"), QByteArray("older"));
    QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden),
             (QStringList{"reminder.bak", "reminder.rmd"}));
    QVERIFY(SaveReminders(many));
    QCOMPARE(LoadReminders().size(), 20);
}

QTEST_GUILESS_MAIN(TestReminderStore)
#include "tst_reminderstore.moc"
