// The reminders' rules without a window: when a reminder is due, whom a number reminder
// waits for, postponing by the calendar, the form's time texts and the shown texts.
#include "core/reminders/ReminderList.h"
#include "core/reminders/ReminderRules.h"

#include <QtTest>

using namespace zrk;

namespace {

// Days since 1899-12-30 of a few calendar days, worked out by hand.
constexpr double k2026Jan31 = 46053;

ReminderRecord rec(quint8 kind, double date, double time, const char* number = "",
                   const char* note = "") {
    ReminderRecord r = ReminderRecord::empty();
    r.Kind = kind;
    r.Date = date;
    r.Time = time;
    r.Number.setText(QString::fromUtf8(number));
    r.Note.setText(QString::fromUtf8(note));
    return r;
}

}  // namespace

class TestReminderRules : public QObject {
    Q_OBJECT
private slots:
    // Due when the reminder's minute is at or before now; seconds never count; a reminder
    // by number is never due by the clock.
    void dueByTheMinute_data() {
        QTest::addColumn<quint8>("kind");
        QTest::addColumn<double>("date");
        QTest::addColumn<double>("time");
        QTest::addColumn<bool>("due");
        const double d = k2026Jan31;
        const double t1358 = (13 * 60 + 58) / 1440.0;
        const double t1359 = (13 * 60 + 59) / 1440.0;
        QTest::newRow("a minute early") << quint8(1) << d << t1359 << false;
        QTest::newRow("the current minute") << quint8(1) << d << t1358 << true;
        QTest::newRow("seconds later in the minute")
            << quint8(1) << d << t1358 + 50 / 86400.0 << true;
        QTest::newRow("tomorrow, earlier hour") << quint8(1) << d + 1 << 0.0 << false;
        QTest::newRow("yesterday, later hour") << quint8(1) << d - 1 << 0.99 << true;
        QTest::newRow("far in the past") << quint8(1) << -700000.0 << 0.0 << true;
        QTest::newRow("date with a time part counts by day")
            << quint8(1) << d + 0.9 << t1358 << true;
        QTest::newRow("unreadable date is shown, not hidden")
            << quint8(1) << std::numeric_limits<double>::quiet_NaN() << 0.0 << true;
        QTest::newRow("by number, past date") << quint8(0) << d - 5 << 0.0 << false;
        QTest::newRow("unknown kind") << quint8(7) << d - 5 << 0.0 << false;
    }
    void dueByTheMinute() {
        QFETCH(quint8, kind);
        QFETCH(double, date);
        QFETCH(double, time);
        QFETCH(bool, due);
        ReminderList list;
        list.append(rec(kind, date, time));
        const QDateTime now(QDate(2026, 1, 31), QTime(13, 58, 59));
        QCOMPARE(dueNow(list, now).size(), due ? 1 : 0);
    }

    // The caller's number against a stored number without what a dialled number drops.
    void numberMatching_data() {
        QTest::addColumn<quint8>("kind");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("caller");
        QTest::addColumn<bool>("match");
        const auto row = [](const char* tag, quint8 kind, const char* stored, const char* caller,
                            bool match) {
            QTest::newRow(tag) << kind << QString(stored) << QString(caller) << match;
        };
        row("brackets and hyphens", 0, "(34)56-78", "345678", true);
        row("same digits", 0, "2345678", "2345678", true);
        row("one digit off", 0, "34-56-79", "345678", false);
        row("a longer number", 0, "8345678", "345678", false);
        row("by date never matches", 1, "345678", "345678", false);
        row("empty against Unknown", 0, "", "Unknown", false);
    }
    void numberMatching() {
        QFETCH(quint8, kind);
        QFETCH(QString, stored);
        QFETCH(QString, caller);
        QTEST(numberMatches(rec(kind, 0, 0, stored.toUtf8().constData()), caller.toLatin1()),
              "match");
    }

    // Every postpone choice, by the calendar: month and year ends, the end of the day.
    void postponing_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("expected");
        const auto at = [](int y, int mo, int d, int h, int mi) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi));
        };
        const auto row = [](const char* tag, const char* item, const QDateTime& now,
                            const QDateTime& expected) {
            QTest::newRow(tag) << QString(item) << now << expected;
        };
        row("5 мин at 23:58", "5 мин", at(2026, 3, 14, 23, 58), at(2026, 3, 15, 0, 3));
        row("55 мин", "55 мин", at(2026, 3, 14, 10, 10), at(2026, 3, 14, 11, 5));
        row("1 час", "1 час", at(2026, 3, 14, 13, 58), at(2026, 3, 14, 14, 58));
        row("8 часов over the year end", "8 часов", at(2026, 12, 31, 20, 0), at(2027, 1, 1, 4, 0));
        row("1 день on 31 January", "1 день", at(2026, 1, 31, 9, 0), at(2026, 2, 1, 9, 0));
        row("4 дня over a leap day", "4 дня", at(2028, 2, 27, 9, 0), at(2028, 3, 2, 9, 0));
        row("1 неделю", "1 неделю", at(2026, 4, 28, 9, 0), at(2026, 5, 5, 9, 0));
        row("2 недели on 25 December", "2 недели", at(2026, 12, 25, 9, 0), at(2027, 1, 8, 9, 0));
        row("seconds dropped", "10 мин", QDateTime(QDate(2026, 1, 1), QTime(8, 0, 45)),
            at(2026, 1, 1, 8, 10));
    }
    void postponing() {
        QFETCH(QString, item);
        QFETCH(QDateTime, now);
        const qsizetype index = alarmLaterItems().indexOf(item);
        QVERIFY2(index >= 0, qPrintable(item));
        QTEST(postponed(now, int(index)), "expected");
    }

    // A call raises the first number reminder waiting for it, one at most. Postponing makes a
    // date reminder with the note as edited (cut to 255 characters); at the end of the
    // program a raised reminder comes back due at once, seconds dropped.
    void raisingAndComingBack() {
        ReminderList list;
        list.append(rec(1, k2026Jan31 + 5, 0, "345678", "дата"));
        list.append(rec(0, 0, 0, "(34)56-78", "первый"));
        list.append(rec(0, 0, 0, "345678", "второй"));
        QCOMPARE(dueForCall(list, "345678"), QList<int>{1});
        QCOMPARE(dueForCall(list, "2345678"), QList<int>{});
        QCOMPARE(dueNow(list, QDateTime(QDate(2026, 2, 5), QTime(0, 0))), QList<int>{0});

        const int hour = int(alarmLaterItems().indexOf("1 час"));
        const QDateTime late(QDate(2026, 1, 31), QTime(23, 30, 40));
        const ReminderRecord later = postpone(list.record(1), "новый\nтекст\n", late, hour);
        QCOMPARE(later.Kind, quint8(ReminderByDate));
        QCOMPARE(later.Note.text(), QString("новый\rтекст\r"));
        QCOMPARE(later.Number.text(), QString("(34)56-78"));
        QCOMPARE(dueKey(later), minuteKey(QDate(2026, 2, 1), 0, 30));
        QCOMPARE(postpone(list.record(1), QString(300, 'x'), late, hour).Note.text(),
                 QString(255, 'x'));

        const ReminderRecord again = dueAgainAtOnce(list.record(2), late);
        QCOMPARE(again.Kind, quint8(ReminderByDate));
        QCOMPARE(again.Note.text(), QString("второй"));
        QCOMPARE(dueKey(again), minuteKey(QDate(2026, 1, 31), 23, 30));
    }

    // The quick-pick list: four short steps, then 1 to 23,5 hours; wraps past midnight.
    void quickPickTimes_data() {
        QTest::addColumn<QTime>("now");
        // Items 0 to 5, then 6, 12 and 44 (2, 5 and 21 hours), then the last.
        QTest::addColumn<QStringList>("picked");
        QTest::newRow("13:58") << QTime(13, 58, 40)
                               << QStringList{"14:03 (5 минут)",  "14:08 (10 минут)",
                                              "14:13 (15 минут)", "14:28 (30 минут)",
                                              "14:58 (1 час)",    "15:28 (1,5 часа)",
                                              "15:58 (2 часа)",   "18:58 (5 часов)",
                                              "10:58 (21 час)",   "13:28 (23,5 часа)"};
        QTest::newRow("23:50") << QTime(23, 50)
                               << QStringList{"23:55 (5 минут)",  "0:00  (10 минут)",
                                              "0:05  (15 минут)", "0:20  (30 минут)",
                                              "0:50  (1 час)",    "1:20  (1,5 часа)",
                                              "1:50  (2 часа)",   "4:50  (5 часов)",
                                              "20:50 (21 час)",   "23:20 (23,5 часа)"};
    }
    void quickPickTimes() {
        QFETCH(QTime, now);
        const QStringList list = zrk::quickPickTimes(now);
        QCOMPARE(list.size(), 50);
        QTEST((list.mid(0, 7) + QStringList{list[12], list[44], list.last()}), "picked");
    }

    void wholeDayTimes_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("selected");
        QTest::newRow("00:10") << QTime(0, 10) << "1:00 ";
        QTest::newRow("13:58") << QTime(13, 58) << "14:00";
        QTest::newRow("23:50") << QTime(23, 50) << "23:30";
    }
    void wholeDayTimes() {
        QFETCH(QTime, now);
        const QStringList list = dayTimes();
        QCOMPARE(list.size(), 47);
        QCOMPARE(list.first(), QString("0:30 "));
        QCOMPARE(list.last(), QString("23:30"));
        QTEST(list.value(dayTimeSelection(now)), "selected");
    }

    // What OK reads from the time field; what the field shows for a stored time.
    void timeField_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QTime>("time");  // invalid: not a time, nothing is stored
        QTest::newRow("quick pick entry") << "14:03 (5 минут)" << QTime(14, 3);
        QTest::newRow("padded entry") << "9:35  (1,0 часов)" << QTime(9, 35);
        QTest::newRow("typed with seconds") << "09:30:15" << QTime(9, 30);
        QTest::newRow("trailing colon") << "7:" << QTime(7, 0);
        QTest::newRow("hour out of range") << "25:00" << QTime();
        QTest::newRow("letters") << "обед" << QTime();
        QTest::newRow("empty") << "" << QTime();
    }
    void timeField() {
        QFETCH(QString, text);
        QFETCH(QTime, time);
        QCOMPARE(parseTimeField(text), time.isValid() ? std::optional(time) : std::nullopt);
    }
    void storedTimeShownWithoutSeconds() {
        QCOMPARE(timeFieldText(QTime(9, 5, 0)), QString("9:05"));
        QCOMPARE(timeFieldText(QTime(21, 30, 59)), QString("21:30"));
        QCOMPARE(parseTimeField(timeFieldText(QTime(9, 5))), std::optional(QTime(9, 5)));
    }

    // Notes: lines each ended by CR; a trailing CR adds no line; templates "title|note".
    void notesAndTemplates() {
        QCOMPARE(noteLines("а\rб\r"), (QStringList{"а", "б"}));
        QCOMPARE(noteLines("без перевода"), QStringList{"без перевода"});
        QCOMPARE(noteLines("\r\r"), (QStringList{"", ""}));
        QCOMPARE(noteText(editLines("а\nб\n")), QString("а\rб\r"));
        QCOMPARE(noteText(editLines("")), QString());
        QCOMPARE(templateTitle("Перезвонить|Перезвонить"), QString("Перезвонить"));
        QCOMPARE(templateNote("Обед|Сходить|на обед"), QString("Сходить|на обед"));
        QCOMPARE(templateNote("без черты"), QString("без черты"));
        QCOMPARE(templateTitle("без черты"), QString("без черты"));
    }

    // The alert's line and the list's columns.
    void shownTexts() {
        QCOMPARE(alertInfo(rec(0, 0, 0, "2345678")), QString("Напоминание по номеру: 2345678"));
        const ReminderRecord byDate = rec(1, k2026Jan31, 0.5, "123", "а\rб\r");
        QVERIFY(alertInfo(byDate).startsWith("Напоминание по дате на: "));
        QVERIFY(alertInfo(byDate).endsWith(" 12:00:00"));

        const auto date = rowTexts(byDate);
        QCOMPARE(date[0], QString("Дата"));
        QVERIFY(date[1].endsWith(" 12:00:00"));
        QCOMPARE(date[2], QString());
        QCOMPARE(date[3], QString("а б "));
        // A number's row shows no date, though its record has one.
        const auto number = rowTexts(rec(0, k2026Jan31, 0.5, "34-56-78", "x"));
        QCOMPARE(QStringList(number.begin(), number.end()),
                 (QStringList{"Номер", "", "34-56-78", "x"}));
    }
};

QTEST_GUILESS_MAIN(TestReminderRules)
#include "tst_reminderrules.moc"
