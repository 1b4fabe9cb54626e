// The call log read back: its lines (every date form a locale writes, code pages, damage), the
// filter over the calls, the chart's buckets, the CSV rows, and the loader that reads the log
// backwards on a worker thread and follows it while it grows.
//
// Log bytes are typed here as the log holds them: code page 1251, CR LF.
#include "TestSupport.h"
#include "core/history/CallHistory.h"
#include "core/history/HistoryLoader.h"
#include "core/history/LogLine.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>

using namespace zrk;

namespace {

// Cyrillic in code page 1251, as the program writes it.
const QByteArray kIvan = "\xC8\xE2\xE0\xED";                                       // Иван
const QByteArray kPetrov = "\xCF\xE5\xF2\xF0\xEE\xE2";                             // Петров
const QByteArray kPyotrCaps = "\xCF\xA8\xD2\xD0";                                  // ПЁТР
const QByteArray kRomashka = "\xCE\xCE\xCE \xAB\xD0\xEE\xEC\xE0\xF8\xEA\xE0\xBB";  // ООО «Ромашка»
const QByteArray kHeader = ";Zrk (USR Courier) v2.01b\r\n;notice\r\n\r\n";

QStringList numbersOf(const CallHistory& h, const std::vector<CallId>& ids) {
    QStringList out;
    for (CallId id : ids) out << h.number(id);
    return out;
}

// Each call as listed, newest first: "number name", with the time in front when asked for.
QStringList listed(const CallHistory& h, bool withTime = false) {
    QStringList out;
    for (CallId id : h.all()) {
        const QString call = h.name(id).isEmpty() ? h.number(id) : h.number(id) + ' ' + h.name(id);
        out << (withTime ? h.call(id).when.toString(Qt::ISODate) + ' ' + call : call);
    }
    return out;
}

QByteArray callLine(int i) {
    // Lines of differing lengths, so that chunk edges fall everywhere in a line.
    const QDate day = QDate(2020, 1, 1).addDays(i / 50);
    QByteArray name = i % 3 ? kIvan + QByteArray(i % 17, 'x') : QByteArray();
    return day.toString("dd.MM.yyyy").toLatin1() + ' ' + QByteArray::number(i % 24) + ":" +
           QByteArray::number(10 + i % 50) + ":00 " + QByteArray::number(100000 + i) + ' ' + name;
}

// Five calls, oldest first as the log holds them, with the header.
QByteArray selectLog() {
    return kHeader + "01.03.2024 10:00:00 8-915-123-45-67 " + kIvan + ' ' + kPetrov + "\r\n" +
           "02.03.2024 11:00:00 12-34-56 \r\n" + "05.03.2024 12:00:00 Unknown \r\n" +
           "10.03.2024 13:00:00 34-56-78 " + kPyotrCaps + "\r\n" + "damaged line\r\n" +
           "10.03.2024 14:00:00 +79150001122 " + kRomashka + "\r\n" +
           "11.03.2024 15:00:00 99-99-99 \xC5\x81ukasz 555 \xD0\x96\r\n";  // UTF-8: Łukasz 555 Ж
}

}  // namespace

class TestCallHistory : public QObject {
    Q_OBJECT

private slots:
    // --- one line -------------------------------------------------------------------------

    void parsesDamagedLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("header") << QByteArray(";Zrk (USR Courier) v2.01b");
        QTest::newRow("comment") << QByteArray("; 01.02.2024 10:00:00 12-34-56 ");
        QTest::newRow("blank") << QByteArray();
        QTest::newRow("blanks only") << QByteArray("   ");
        QTest::newRow("no such day") << QByteArray("31.02.2024 10:00:00 12-34-56 ");
        QTest::newRow("month 13 with dots") << QByteArray("01.13.2024 10:00:00 12-34-56 ");
        QTest::newRow("both over 12 with slashes") << QByteArray("13/13/2024 10:00:00 12-34-56 ");
        QTest::newRow("hour 24") << QByteArray("01.02.2024 24:00:00 12-34-56 ");
        QTest::newRow("minutes of one digit") << QByteArray("01.02.2024 10:0:00 12-34-56 ");
        QTest::newRow("no seconds") << QByteArray("01.02.2024 10:00 12-34-56 ");
        QTest::newRow("no number field") << QByteArray("01.02.2024 10:00:00");
        QTest::newRow("date only") << QByteArray("01.02.2024");
        QTest::newRow("words") << QByteArray("hello world foo bar");
        QTest::newRow("time first") << QByteArray("10:00:00 01.02.2024 12-34-56 ");
        QTest::newRow("mixed separators") << QByteArray("01.02/2024 10:00:00 12-34-56 ");
        QTest::newRow("four parts") << QByteArray("1.2.3.2024 10:00:00 12-34-56 ");
        QTest::newRow("year of one digit") << QByteArray("1.2.3 10:00:00 12-34-56 ");
        QTest::newRow("year of three digits") << QByteArray("1.2.024 10:00:00 12-34-56 ");
        QTest::newRow("year 1899") << QByteArray("01.02.1899 10:00:00 12-34-56 ");
        QTest::newRow("letter after the date") << QByteArray("01.02.2024x 10:00:00 12-34-56 ");
        QTest::newRow("NUL in the name") << QByteArray("01.02.2024 10:00:00 12-34-56 a\0b", 32);
        QTest::newRow("escape in the name") << QByteArray("01.02.2024 10:00:00 12-34-56 \x1b[2J");
        QTest::newRow("two blanks before the time") << QByteArray("01.02.2024  10:00:00 12-34-56 ");
        QTest::newRow("far too long")
            << QByteArray("01.02.2024 10:00:00 12-34-56 ") + QByteArray(2000, 'a');
        QTest::newRow("a number of 300 bytes")
            << QByteArray("01.02.2024 10:00:00 ") + QByteArray(300, '1') + " x";
        QTest::newRow("AM at hour 13") << QByteArray("01.02.2024 13:00:00 PM 12-34-56 ");
        QTest::newRow("UTF-16") << QByteArray("0\0001\0.\0000\0002\0.\0", 12);
    }

    void parsesDamagedLines() {
        QFETCH(QByteArray, line);
        CallHistory h = CallHistory::fromLog(line + "\r\n");
        QCOMPARE(h.size(), 0);
        QCOMPARE(h.skipped(), line.startsWith(';') ? 0 : 1);  // a remark is no damage
    }

    void parsesCallLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        const auto at = [](int y, int mo, int d, int h, int mi, int s) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
        };
        const QDateTime feb1 = at(2024, 2, 1, 10, 0, 0);
        const auto row = [](const char* tag, const QByteArray& line, const QDateTime& when,
                            const QString& number = "12-34-56", const QString& name = {}) {
            QTest::newRow(tag) << line << when << number << name;
        };
        row("dd.MM.yyyy, cp1251 name", "31.12.2024 9:05:07 12-34-56 " + kIvan,
            at(2024, 12, 31, 9, 5, 7), "12-34-56", "Иван");
        row("dd.MM.yy, Unknown, empty name", "01.02.24 23:59:59 Unknown ",
            at(2024, 2, 1, 23, 59, 59), "Unknown");
        row("d.M.yyyy, HH", "5.3.2024 08:00:00 34-56-78 ", at(2024, 3, 5, 8, 0, 0), "34-56-78");
        row("dd/MM/yyyy, day over 12", "25/12/2024 10:00:00 12-34-56 ", at(2024, 12, 25, 10, 0, 0));
        row("M/d/yy, day over 12", "12/25/24 10:00:00 12-34-56 ", at(2024, 12, 25, 10, 0, 0));
        row("yyyy-MM-dd, name with blanks",
            "2024-03-05 0:00:00 8-915-123-45-67 " + kIvan + ' ' + kPetrov, at(2024, 3, 5, 0, 0, 0),
            "8-915-123-45-67", "Иван Петров");
        row("yyyy/M/d", "2024/3/5 1:02:03 12-34-56 ", at(2024, 3, 5, 1, 2, 3));
        row("d-M-yy", "5-3-24 1:02:03 12-34-56 ", at(2024, 3, 5, 1, 2, 3));
        row("yyyy.MM.dd. with a closing dot", "2024.03.05. 1:02:03 12-34-56 ",
            at(2024, 3, 5, 1, 2, 3));
        row("two-digit year of the last century", "31.12.99 1:02:03 12-34-56 ",
            at(1999, 12, 31, 1, 2, 3));
        row("PM time", "13/4/2024 1:02:03 PM 12-34-56 ", at(2024, 4, 13, 13, 2, 3));
        row("12 AM is midnight", "13/4/2024 12:00:05 AM 12-34-56 ", at(2024, 4, 13, 0, 0, 5));
        row("+7 number", "01.02.2024 10:00:00 +79151234567 ", feb1, "+79151234567");
        row("groups separated by blanks", "01.02.2024 10:00:00 123 45 67 " + kIvan, feb1,
            "123 45 67", "Иван");
        row("a name that starts with digits stays the name",
            "01.02.2024 10:00:00 345678 12 \xEA\xE2.", feb1, "345678", "12 кв.");
        row("no blank after the number", "01.02.2024 10:00:00 12-34-56", feb1);
        row("an empty report: empty number", "01.02.2024 10:00:00  ", feb1, "");
        row("name with Ё and guillemets",
            "01.02.2024 10:00:00 12-34-56 " + kRomashka + ' ' + kPyotrCaps, feb1, "12-34-56",
            "ООО «Ромашка» ПЁТР");
        row("UTF-8 name", "01.02.2024 10:00:00 12-34-56 \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", feb1,
            "12-34-56", "Иван");
        row("UTF-8 byte-order mark",
            "\xEF\xBB\xBF"
            "01.02.2024 10:00:00 12-34-56 \xC5\x81ukasz",
            feb1, "12-34-56", "Łukasz");
        row("cp1251 that is not UTF-8: Алёна", "01.02.2024 10:00:00 12-34-56 \xC0\xEB\xB8\xED\xE0",
            feb1, "12-34-56", "Алёна");
        row("line end left on", "01.02.2024 10:00:00 12-34-56 " + kIvan + "\r\n", feb1, "12-34-56",
            "Иван");
        row("tab in a name", "01.02.2024 10:00:00 12-34-56 a\tb", feb1, "12-34-56", "a\tb");
    }

    void parsesCallLines() {
        QFETCH(QByteArray, line);
        const CallHistory h = CallHistory::fromLog(kHeader + line);
        QCOMPARE(h.size(), 1);
        QCOMPARE(h.skipped(), 0);  // the header is the log's own, not damage
        const LoggedCall back = h.call(h.all().at(0));
        QTEST(back.when, "when");
        QTEST(back.number, "number");
        QTEST(back.name, "name");
    }

    void slashDatesFollowTheFile_data() {
        QTest::addColumn<QByteArrayList>("learnFrom");
        QTest::addColumn<int>("fallback");  // SlashOrder
        QTest::addColumn<QByteArray>("date");
        QTest::addColumn<QDate>("expected");
        const auto row = [](const char* tag, const QByteArrayList& learnFrom, SlashOrder fallback,
                            const QByteArray& date, QDate expected) {
            QTest::newRow(tag) << learnFrom << int(fallback) << date << expected;
        };
        const SlashOrder dayFirst = SlashOrder::DayFirst, monthFirst = SlashOrder::MonthFirst;
        row("nothing learnt, day first", {}, dayFirst, "3/4/24", QDate(2024, 4, 3));
        row("nothing learnt, month first", {}, monthFirst, "3/4/24", QDate(2024, 3, 4));
        row("M/d/yy learnt from 12/25/24", {"12/25/24"}, dayFirst, "3/4/24", QDate(2024, 3, 4));
        row("dd/MM/yyyy learnt from 25/12/2024", {"25/12/2024"}, monthFirst, "03/04/2024",
            QDate(2024, 4, 3));
        row("two forms in one file: the short one", {"12/25/24", "25/12/2024"}, dayFirst, "3/4/24",
            QDate(2024, 3, 4));
        row("two forms in one file: the long one", {"12/25/24", "25/12/2024"}, monthFirst,
            "03/04/2024", QDate(2024, 4, 3));
        row("first learnt wins", {"1/13/24", "13/1/24"}, dayFirst, "3/4/24", QDate(2024, 3, 4));
        row("an unambiguous date ignores the order", {"12/25/24"}, dayFirst, "25/3/24",
            QDate(2024, 3, 25));
        row("dots are always day first", {"12/25/24"}, monthFirst, "3.4.24", QDate(2024, 4, 3));
    }

    void slashDatesFollowTheFile() {
        QFETCH(QByteArrayList, learnFrom);
        QFETCH(int, fallback);
        QFETCH(QByteArray, date);
        QFETCH(QDate, expected);
        DateOrders orders;
        orders.fallback = SlashOrder(fallback);
        for (const QByteArray& d : learnFrom) orders.learn(d);
        LogFields f;
        QVERIFY(parseLogFields(date + " 10:00:00 12-34-56 ", orders, &f));
        QCOMPARE(QDate::fromJulianDay(f.julianDay), expected);

        // A whole file decides from its own unambiguous lines, whatever the locale.
        if (learnFrom.size() == 1 && date.count('/') == 2) {
            const QByteArray log = learnFrom[0] + " 10:00:00 1 \r\n" + date + " 10:00:00 2 \r\n";
            const CallHistory h = CallHistory::fromLog(log);
            QCOMPARE(h.size(), 2);
            const auto ids = h.all();  // newest first: the second line's call is either
            QCOMPARE(h.date(h.number(ids[0]) == "2" ? ids[0] : ids[1]), expected);
        }
    }

    void splitsLinesOnEveryEnd() {
        // CR LF, LF alone, CR alone, and a last line without its end: four calls, no blank line.
        const QByteArray log =
            "01.02.2024 10:00:01 1 \r\n01.02.2024 10:00:02 2 \n"
            "01.02.2024 10:00:03 3 \r01.02.2024 10:00:04 4 ";
        const CallHistory h = CallHistory::fromLog(log);
        QCOMPARE(h.skipped(), 0);
        QCOMPARE(numbersOf(h, h.all()), (QStringList{"4", "3", "2", "1"}));
        // CR CR LF (a text file converted twice) leaves a blank line: counted, not a call.
        const CallHistory twice = CallHistory::fromLog("01.02.2024 10:00:01 1 \r\r\n");
        QCOMPARE(twice.size(), 1);
        QCOMPARE(twice.skipped(), 1);
    }

    void appendedOldLogIsSortedNewestFirst() {
        // The current log, then an old one with its own header appended to it: newest first all
        // the same, and neither header counted as damage.
        const QByteArray log = kHeader + "01.12.2026 10:00:00 1 \r\n09.12.2026 14:46:12 2 \r\n" +
                               kHeader + "05.03.2019 08:00:00 3 \r\n06.03.2019 09:00:00 4 \r\n" +
                               "09.12.2026 14:46:12 5 \r\n";
        const CallHistory h = CallHistory::fromLog(log);
        QCOMPARE(h.skipped(), 0);
        QVERIFY(!h.inTimeOrder());
        // Calls of one second keep the log's order: the later line first.
        QCOMPARE(numbersOf(h, h.all()), (QStringList{"5", "2", "1", "4", "3"}));
        QCOMPARE(numbersOf(h, h.select({{}, QDate(2019, 3, 6), QDate(2026, 12, 1)})),
                 (QStringList{"1", "4"}));
    }

    // Missed marks as the desk writes them name their call by date, time and number, wherever
    // they stand: after it in file order, before it read from the end, in another batch.
    void marksMissedCalls() {
        const QList<QByteArray> lines = {
            kHeader + "08.12.2026 12:00:06 34-56-78 " + kIvan + "\r\n",
            "08.12.2026 12:00:32 22-22-22 \r\n",
            ";missed 08.12.2026 12:00:06 34-56-78\r\n",
            "08.12.2026 12:01:00 34-56-78 " + kIvan + "\r\n",  // answered: same caller
            ";missed 08.12.2026 12:00:32 22-22-23\r\n",        // no such number then
            ";missed 08.12.2026 12:00:33 22-22-22\r\n" + kHeader};
        for (qsizetype split = 0; split <= lines.size(); ++split) {
            const QByteArray first = lines.mid(0, split).join(), last = lines.mid(split).join();
            CallHistory forward, backward;
            forward.appendNewer(parseLogBytes(first, {}, false));
            forward.appendNewer(parseLogBytes(last, {}, false));
            backward.appendOlder(parseLogBytes(last, {}, true));
            backward.appendOlder(parseLogBytes(first, {}, true));
            for (const CallHistory* h : {&forward, &backward}) {
                QStringList missed;
                for (CallId id : h->all())
                    if (h->missed(id)) missed << h->when(id).toString("HH:mm:ss ") + h->number(id);
                QCOMPARE(missed, QStringList{"12:00:06 34-56-78"});
                QCOMPARE(h->size() + h->skipped(), 3);
            }
        }
    }

    // --- the history ----------------------------------------------------------------------

    void selects_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("numbers");
        const auto row = [](const char* tag, const QString& text, const QStringList& numbers,
                            QDate from = QDate(), QDate to = QDate()) {
            QTest::newRow(tag) << text << from << to << numbers;
        };
        const QStringList all{"99-99-99", "+79150001122", "34-56-78",
                              "Unknown",  "12-34-56",     "8-915-123-45-67"};
        row("nothing: all, newest first", "", all);
        row("blanks only: all", "   ", all);
        row("no match", "777", {});
        row("digits", "123", {"12-34-56", "8-915-123-45-67"});
        row("digits with other separators", "1-2-3", {"12-34-56", "8-915-123-45-67"});
        row("digits with blanks and brackets", "(915) 123", {"8-915-123-45-67"});
        row("digits across groups", "3456", {"34-56-78", "12-34-56", "8-915-123-45-67"});
        row("digits of +7", "79150", {"+79150001122"});
        row("digits never match a name", "555", {});
        row("name, lower case", "иван", {"8-915-123-45-67"});
        row("name, upper case", "ПЕТРОВ", {"8-915-123-45-67"});
        row("ё finds е and Ё", "пётр", {"34-56-78", "8-915-123-45-67"});
        row("inside guillemets", "ромаш", {"+79150001122"});
        row("the number as logged", "unknown", {"Unknown"});
        row("a UTF-8 name outside cp1251", "łuk", {"99-99-99"});
        row("a UTF-8 name, ASCII part", "UKASZ", {"99-99-99"});
        row("a UTF-8 name, Cyrillic part", "ж", {"99-99-99"});
        row("not across number and name", "67 иван", {});
        row("not across two callers", "ромашка»9", {});
        row("date range, both ends", "", {"Unknown", "12-34-56"}, QDate(2024, 3, 2),
            QDate(2024, 3, 5));
        row("date range, open end", "", {"99-99-99", "+79150001122", "34-56-78"},
            QDate(2024, 3, 10));
        row("date range, open start", "", {"8-915-123-45-67"}, {}, QDate(2024, 3, 1));
        row("date range reversed", "", {}, QDate(2024, 3, 5), QDate(2024, 3, 2));
        row("text and range", "3456", {"34-56-78"}, QDate(2024, 3, 3));
    }

    void selects() {
        QFETCH(QString, text);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        const CallHistory h = CallHistory::fromLog(selectLog());
        QCOMPARE(h.size(), 6);
        QCOMPARE(h.skipped(), 1);
        QTEST(numbersOf(h, h.select({text, from, to})), "numbers");
    }

    void keepsOneCallerForBothCodePages() {
        // The same caller logged by the program and typed in by hand in UTF-8.
        const CallHistory h = CallHistory::fromLog(
            "01.02.2024 10:00:00 12-34-56 " + kIvan + "\r\n" +
            "01.02.2024 10:00:01 12-34-56 \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\r\n" +
            "01.02.2024 10:00:02 12-34-56 \r\n");
        QCOMPARE(h.size(), 3);
        QCOMPARE(h.callers(), 2);
        QCOMPARE(h.select({"иван", {}, {}}).size(), size_t(2));
        QVERIFY(!h.isValid(CallId(3)));
        QCOMPARE(h.call(CallId(3)).number, QString());  // a stale id is harmless
    }

    void findsEveryCallerWhileTheTableGrows() {
        // 5,000 callers, each calling three times, in rounds: the callers' table grows several
        // times, and every later call must find its caller, moved or not yet moved.
        QByteArray log;
        for (int round = 0; round < 3; ++round)
            for (int i = 0; i < 5000; ++i)
                log += "01.02.2024 10:00:00 " + QByteArray::number(100000 + i) + " n" +
                       QByteArray::number(i) + ".\r\n";
        const CallHistory h = CallHistory::fromLog(log);
        QCOMPARE(h.size(), 15000);
        QCOMPARE(h.callers(), 5000);
        for (int i : {0, 1, 1023, 1024, 2047, 4999}) {
            QCOMPARE(h.select({QString::number(100000 + i), {}, {}}).size(), size_t(3));
            QCOMPARE(h.select({"N" + QString::number(i) + ".", {}, {}}).size(), size_t(3));
        }
    }

    void charts_data() {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<int>("bucket");
        QTest::addColumn<QDate>("firstBucket");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QDate>("busiest");
        QTest::addColumn<int>("busiestCalls");
        QTest::addColumn<double>("average");
        // The log below: 1 Jan 2024 (a Monday) 2 calls, 3 Jan 1, 10 Jan 3, 15 Feb 1.
        // The busiest day, when not given, is 10 January with its 3 calls.
        const auto row = [](const char* tag, QDate from, QDate to, Bucket bucket, QDate first,
                            const QList<int>& counts, double average,
                            QDate busiest = QDate(2024, 1, 10), int busiestCalls = 3) {
            QTest::newRow(tag) << from << to << int(bucket) << first << counts << busiest
                               << busiestCalls << average;
        };
        const QDate jan1(2024, 1, 1);
        row("days", jan1, QDate(2024, 1, 10), Bucket::Day, jan1, {2, 0, 1, 0, 0, 0, 0, 0, 0, 3},
            0.6);
        row("62 days are still days", jan1, QDate(2024, 3, 2), Bucket::Day, jan1, {}, 7.0 / 62);
        row("weeks from Monday", QDate(2024, 1, 3), QDate(2024, 3, 31), Bucket::Week, jan1,
            {1, 3, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}, 5.0 / 89);
        row("months", QDate(2023, 12, 15), QDate(2025, 1, 10), Bucket::Month, QDate(2023, 12, 1),
            {0, 6, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 7.0 / 393);
        row("open range: first to last call", {}, {}, Bucket::Day, jan1, {}, 7.0 / 46);
        row("open start", {}, QDate(2024, 1, 3), Bucket::Day, jan1, {2, 0, 1}, 1.0, jan1, 2);
        row("no call in range", QDate(2024, 6, 1), QDate(2024, 6, 3), Bucket::Day,
            QDate(2024, 6, 1), {0, 0, 0}, 0.0, QDate(), 0);
    }

    void charts() {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QList<int>, counts);
        QFETCH(double, average);
        const CallHistory h = CallHistory::fromLog(
            kHeader +
            "01.01.2024 10:00:00 1 \r\n01.01.2024 11:00:00 2 \r\n03.01.2024 10:00:00 3 \r\n" +
            "10.01.2024 10:00:00 4 \r\n10.01.2024 11:00:00 5 \r\n10.01.2024 12:00:00 6 \r\n" +
            "15.02.2024 10:00:00 7 \r\n");
        const CallChart c = chartOf(h, h.select({{}, from, to}), from, to);
        QTEST(int(c.bucket), "bucket");
        QVERIFY(!c.counts.empty());
        QTEST(c.counts.front().first, "firstBucket");
        if (!counts.isEmpty()) {
            QList<int> got;
            for (const auto& [start, n] : c.counts) got << n;
            QCOMPARE(got, counts);
        }
        QTEST(c.busiestDay, "busiest");
        QTEST(c.busiestDayCalls, "busiestCalls");
        QVERIFY2(qAbs(c.averagePerDay - average) < 1e-9,
                 qPrintable(QString::number(c.averagePerDay)));
        // Buckets follow each other without a gap and hold every call in range.
        int sum = 0;
        for (size_t i = 0; i < c.counts.size(); ++i) {
            sum += c.counts[i].second;
            if (i > 0) QVERIFY(c.counts[i - 1].first < c.counts[i].first);
        }
        QCOMPARE(sum, c.calls);
        QVERIFY(c.counts.back().first <= c.to);
    }

    void chartBusiestDayIsTheEarliestOfEquals() {
        const CallHistory h = CallHistory::fromLog(
            "05.01.2024 10:00:00 1 \r\n05.01.2024 10:00:00 1 \r\n02.01.2024 10:00:00 1 \r\n"
            "02.01.2024 10:00:00 1 \r\n");
        const CallChart c = chartOf(h, h.all(), {}, {});
        QCOMPARE(c.busiestDay, QDate(2024, 1, 2));
        QCOMPARE(c.busiestDayCalls, 2);
        // Rows outside the given range are not counted; no rows at all: nothing to chart.
        QCOMPARE(chartOf(h, h.all(), QDate(2024, 1, 3), QDate(2024, 1, 4)).calls, 0);
        QVERIFY(chartOf(h, {}, {}, {}).counts.empty());
    }

    void writesCsv() {
        const CallHistory h = CallHistory::fromLog(
            "01.02.2024 9:05:07 +7-915-123 " + kIvan + ", \"" + kPetrov + "\"\r\n" +
            "02.02.2024 10:00:00 Unknown \r\n" + "03.02.2024 10:00:00 12-34-56 =HYPERLINK(1)\r\n" +
            "04.02.2024 10:00:00 -x- @home\r\n");
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QString error;
        QVERIFY(writeHistoryCsv(h, h.all(), out, &error));
        QCOMPARE(out.data(),
                 QByteArray("\xEF\xBB\xBF"
                            "Дата,Время,Номер,Имя\r\n"
                            "2024-02-04,10:00:00,'-x-,'@home\r\n"
                            "2024-02-03,10:00:00,12-34-56,'=HYPERLINK(1)\r\n"
                            "2024-02-02,10:00:00,Unknown,\r\n"
                            "2024-02-01,09:05:07,+7-915-123,\"Иван, \"\"Петров\"\"\"\r\n"));
    }

    void csvReportsAFailingDevice() {
        const CallHistory h = CallHistory::fromLog("01.02.2024 9:05:07 1 \r\n");
        QBuffer closed;  // never opened: every write fails
        QString error;
        QTest::ignoreMessage(QtWarningMsg, "QIODevice::write (QBuffer): device not open");
        QVERIFY(!writeHistoryCsv(h, h.all(), closed, &error));
        QVERIFY(!error.isEmpty());
    }

    // --- the loader -----------------------------------------------------------------------

    void loaderFailsOnAMissingOrForeignFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("a directory") << "dir";
        QTest::newRow("a pipe") << "fifo";
        QTest::newRow("in a missing directory") << "nodir";
        QTest::newRow("UTF-16") << "utf16";
    }

    void loaderFailsOnAMissingOrForeignFile() {
        QFETCH(QString, kind);
        zrktest::Sandbox box;
        QString name = box.filePath("ZrkLog.txt");
        if (kind == "dir") QVERIFY(QDir().mkdir(name));
        if (kind == "fifo") QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
        if (kind == "nodir") name = box.filePath("none/ZrkLog.txt");
        using F = QStringConverter::Flag;
        if (kind == "utf16")
            QVERIFY(zrktest::writeAll(name, QStringEncoder(QStringConverter::Utf16LE, F::WriteBom)
                                                .encode(u"01.02.2024 10:00:00 12-34-56 \r\n")));
        HistoryLoader loader(name);
        QSignalSpy failed(&loader, &HistoryLoader::failed);
        QSignalSpy grown(&loader, &HistoryLoader::grown);
        loader.start();
        QVERIFY(failed.wait(5000));
        QVERIFY2(failed.at(0).at(0).toString().contains(name),
                 qPrintable(failed.at(0).at(0).toString()));
        QVERIFY(!loader.loading());
        // Told once, not every second.
        QTest::qWait(1300);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(grown.size(), 0);
        QCOMPARE(loader.history().size(), 0);
    }

    void loaderReadsNewestFirstAcrossChunks() {
        zrktest::Sandbox box;
        const QString name = box.filePath("ZrkLog.txt");
        // Some 3 MB: several chunks. Line ends of every kind, a damaged line now and then, and a
        // long damaged line of more than a chunk.
        QByteArray log = kHeader;
        int calls = 0, skipped = 0;
        for (int i = 0; i < 60000; ++i) {
            log += callLine(i);
            ++calls;
            log += i % 7 == 0 ? "\n" : i % 11 == 0 ? "\r" : "\r\n";
            if (i % 1000 == 999) {
                log += "garbage\r\n";
                ++skipped;
            }
            if (i == 30000) {
                log += QByteArray(2500000, 'z') + "\r\n";
                ++skipped;
            }
        }
        QVERIFY(zrktest::writeAll(name, log));
        const CallHistory whole = CallHistory::fromLog(log);
        QCOMPARE(whole.size(), calls);
        QCOMPARE(whole.skipped(), skipped);

        HistoryLoader loader(name);
        QSignalSpy grown(&loader, &HistoryLoader::grown);
        QSignalSpy loaded(&loader, &HistoryLoader::loaded);
        QSignalSpy progress(&loader, &HistoryLoader::progress);
        QStringList firstBatch;
        connect(&loader, &HistoryLoader::grown, this, [&] {
            if (firstBatch.isEmpty())
                firstBatch = numbersOf(loader.history(), loader.history().all());
        });
        loader.start();
        QVERIFY(loader.loading());
        QVERIFY(loaded.wait(20000));
        QVERIFY(!loader.loading());
        QVERIFY(grown.size() > 2);
        // The first batch holds the newest calls, newest first.
        QVERIFY(!firstBatch.isEmpty());
        QCOMPARE(firstBatch.front(), QString::number(100000 + 59999));
        QVERIFY(firstBatch.size() < calls / 10);
        QCOMPARE(progress.last().at(0).toLongLong(), qint64(log.size()));
        QCOMPARE(progress.last().at(1).toLongLong(), qint64(log.size()));

        const CallHistory& h = loader.history();
        QCOMPARE(h.size(), calls);
        QCOMPARE(h.skipped(), skipped);
        QCOMPARE(listed(h, true), listed(whole, true));
    }

    void loaderLearnsSlashOrdersDeepInTheFile() {
        // As the old program wrote it over the years: dd.MM.yyyy, then a run under en_US (M/d/yy),
        // a run under en_GB (dd/MM/yyyy), and dd.MM.yyyy again, each end far more than a read
        // ahead. Only days over 12 tell a run's order; the others must follow them.
        zrktest::Sandbox box;
        const QString name = box.filePath("ZrkLog.txt");
        QByteArray log = kHeader;
        QMap<QByteArray, QDate> truth;
        int n = 0;
        const auto run = [&](QDate from, int days, const char* form) {
            for (int d = 0; d < days; ++d) {
                for (int k = 0; k < 40; ++k) {
                    const QDate day = from.addDays(d);
                    const QByteArray number = QByteArray::number(100000 + n++);
                    log += day.toString(form).toLatin1() + " 10:00:00 " + number + " \r\n";
                    truth[number] = day;
                }
            }
        };
        run(QDate(2018, 1, 1), 700, "dd.MM.yyyy");
        run(QDate(2019, 11, 1), 60, "M/d/yy");
        run(QDate(2020, 1, 1), 60, "dd/MM/yyyy");
        run(QDate(2020, 3, 1), 700, "dd.MM.yyyy");
        QVERIFY(log.size() > 1024 * 1024);  // four times what was read at the ends
        QVERIFY(zrktest::writeAll(name, log));
        for (const char* locale : {"en_US", "ru_RU"}) {
            QLocale::setDefault(QLocale(locale));
            HistoryLoader loader(name);
            QSignalSpy loaded(&loader, &HistoryLoader::loaded);
            loader.start();
            QVERIFY(loaded.wait(30000));
            const CallHistory& h = loader.history();
            QCOMPARE(h.size(), qsizetype(truth.size()));
            int wrong = 0;
            for (CallId id : h.all())
                if (h.date(id) != truth.value(h.number(id).toLatin1())) ++wrong;
            QCOMPARE(wrong, 0);
        }
        QLocale::setDefault(QLocale::c());
    }

    void loaderFollowsAppendedLines_data() {
        // Each write lands once the loader has had a follow round or more; after each, the calls
        // as listed, newest first. The log starts with one call and a line still being written.
        QTest::addColumn<QByteArrayList>("writes");
        QTest::addColumn<QList<QStringList>>("after");
        const QString first = "11-11-11";
        QTest::newRow("a line ends in a later write")
            << QByteArrayList{"1:00:00 22-22", "-22 " + kIvan + "\r\n"}
            << QList<QStringList>{{first}, {"22-22-22 Иван", first}};
        QTest::newRow("CR now, LF later: one line end, not a blank line")
            << QByteArrayList{"1:00:00 22-22-22 " + kIvan + "\r",
                              "\n01.02.2024 12:00:00 33-33-33 \r\n01.02.2024 13:00:00 44-44-44 "
                              "\r\n"}
            << QList<QStringList>{{"22-22-22 Иван", first},
                                  {"44-44-44", "33-33-33", "22-22-22 Иван", first}};
        // The complete ones now, the partial one later, and no start over in between.
        QTest::newRow("complete lines and a partial one in one write")
            << QByteArrayList{"1:00:00 22-22-22 \r\n01.02.2024 14:00:00 55-55-55 \r\n01.02.2024 15:0",
                              "0:00 66-66-66 \r\n"}
            << QList<QStringList>{{"55-55-55", "22-22-22", first},
                                  {"66-66-66", "55-55-55", "22-22-22", first}};
    }

    void loaderFollowsAppendedLines() {
        QFETCH(QByteArrayList, writes);
        QFETCH(QList<QStringList>, after);
        zrktest::Sandbox box;
        const QString name = box.filePath("ZrkLog.txt");
        QVERIFY(zrktest::writeAll(name, kHeader + "01.02.2024 10:00:00 11-11-11 \r\n01.02.2024 1"));
        HistoryLoader loader(name);
        QSignalSpy loaded(&loader, &HistoryLoader::loaded);
        QSignalSpy reloaded(&loader, &HistoryLoader::reloaded);
        loader.start();
        QVERIFY(loaded.wait(5000));
        QCOMPARE(listed(loader.history()), QStringList{"11-11-11"});

        QFile f(name);
        QVERIFY(f.open(QIODevice::Append));
        QStringList before = listed(loader.history());
        for (int i = 0; i < writes.size(); ++i) {
            QCOMPARE(f.write(writes[i]), writes[i].size());
            QVERIFY(f.flush());
            if (after[i] == before) QTest::qWait(1500);  // nothing to take: the loader must wait
            QTRY_COMPARE_WITH_TIMEOUT(listed(loader.history()), after[i], 5000);
            QTest::qWait(1200);  // a follow round with the line as it is now
            QCOMPARE(listed(loader.history()), after[i]);
            before = after[i];
        }
        QCOMPARE(loader.history().skipped(), 0);
        QCOMPARE(reloaded.size(), 0);
        QCOMPARE(loaded.size(), 1);
    }

    void loaderStartsOverOnANewFile_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("logAtStart");  // five calls; else no file at all, told once
        QTest::addColumn<QStringList>("numbers");
        const QStringList fresh{"77-77-77"};
        QTest::newRow("truncated") << "truncate" << true << fresh;
        QTest::newRow("replaced by a rename") << "rename" << true << fresh;
        QTest::newRow("rewritten in place, longer")
            << "rewrite" << true << QStringList{"99-99-99", "88-88-88"};
        QTest::newRow("deleted, then made anew") << "delete" << true << fresh;
        QTest::newRow("missing, then made") << "make" << false << fresh;
    }

    void loaderStartsOverOnANewFile() {
        QFETCH(QString, how);
        QFETCH(bool, logAtStart);
        zrktest::Sandbox box;
        const QString name = box.filePath("ZrkLog.txt");
        QByteArray old = kHeader;
        for (int i = 0; i < 5; ++i)
            old += "01.02.2024 10:00:0" + QByteArray::number(i) + " 1" + QByteArray::number(i) +
                   " \r\n";
        if (logAtStart) QVERIFY(zrktest::writeAll(name, old));
        HistoryLoader loader(name);
        QSignalSpy loaded(&loader, &HistoryLoader::loaded);
        QSignalSpy reloaded(&loader, &HistoryLoader::reloaded);
        QSignalSpy failed(&loader, &HistoryLoader::failed);
        loader.start();
        QVERIFY(logAtStart ? loaded.wait(5000) : failed.wait(5000));
        QCOMPARE(loader.history().size(), logAtStart ? 5 : 0);

        const QByteArray fresh = "02.02.2024 10:00:00 77-77-77 \r\n";
        const QByteArray longer = "02.02.2024 10:00:00 88-88-88 \r\n" +
                                  QByteArray(old.size(), ' ') +
                                  "\r\n02.02.2024 10:00:00 99-99-99 \r\n";
        if (how == "truncate" || how == "make") {
            QVERIFY(zrktest::writeAll(name, fresh));
        } else if (how == "rename") {
            QVERIFY(zrktest::writeAll(name + ".new", fresh));
            QCOMPARE(::rename(QFile::encodeName(name + ".new").constData(),
                              QFile::encodeName(name).constData()),
                     0);
        } else if (how == "rewrite") {
            QFile f(name);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QCOMPARE(f.write(longer), longer.size());
            f.close();
        } else {
            QVERIFY(QFile::remove(name));
            QTest::qWait(1500);  // the loader keeps what it has while the file is gone
            QCOMPARE(loader.history().size(), 5);
            QVERIFY(zrktest::writeAll(name, fresh));
        }
        if (logAtStart) QVERIFY(reloaded.wait(5000));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), logAtStart ? 2 : 1, 5000);
        QTEST(numbersOf(loader.history(), loader.history().all()), "numbers");
        QCOMPARE(failed.size(), logAtStart ? 0 : 1);
    }

    void loaderNeverWrites() {
        zrktest::Sandbox box;
        const QString name = box.filePath("ZrkLog.txt");
        const QByteArray log = kHeader + "01.02.2024 10:00:00 12-34-56 " + kIvan + "\r\n01.02.20";
        QVERIFY(zrktest::writeAll(name, log));
        QVERIFY(QFile::setPermissions(name, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        const QDateTime modified = QFileInfo(name).lastModified();
        {
            HistoryLoader loader(name);
            QSignalSpy loaded(&loader, &HistoryLoader::loaded);
            loader.start();
            QVERIFY(loaded.wait(5000));
            QTest::qWait(1200);  // a follow round
        }
        QCOMPARE(zrktest::readAll(name), log);
        QCOMPARE(QFileInfo(name).lastModified(), modified);
        QCOMPARE(QDir(box.path()).entryList(QDir::Files), QStringList{"ZrkLog.txt"});
    }
};

QTEST_GUILESS_MAIN(TestCallHistory)
#include "tst_callhistory.moc"
