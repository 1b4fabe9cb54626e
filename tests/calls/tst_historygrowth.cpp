// A filter and a chart kept over a history that grows the way a loading log makes it grow:
// older calls a batch at a time (newest batch first), then calls logged after the load. Each
// update must give exactly the calls a search over the whole history would give, in the same
// places, without looking at the whole history again.
#include "calls/CallHistory.h"
#include "calls/LogLine.h"
#include "platform/Cp1251.h"

#include <QtTest>

using namespace zrk;

namespace {

// The log in file order. Read from its end, its older calls come as three batches: A (the
// newest lines), B, then C; after the load, two more calls are logged. One caller of the
// later calls has a name outside code page 1251, so the program logged it in UTF-8: the first
// such caller turns up only after the load.
const char* const kBatchC[] = {
    "01.03.2026 9:00:00 8-915-111-22-33 Иванов Иван",
    "02.03.2026 10:00:00 45-67-89 Петрова Анна",
};
const char* const kBatchB[] = {
    "05.03.2026 11:00:00 45-67-89 Петрова Анна",
    "05.03.2026 12:00:00 8-495-000-11-22 Сидоров Пётр",
};
const char* const kBatchA[] = {
    "09.03.2026 8:00:00 8-915-111-22-33 Иванов Иван",
    "10.03.2026 18:00:00 12-34-56 ООО Ромашка",
};
const char* const kNewer[] = {
    "11.03.2026 9:30:00 8-800-555-35-35 Иванова Łucja",
    "11.03.2026 10:00:00 45-67-89 Петрова Анна",
};

template <size_t N>
LogBatch batchOf(const char* const (&lines)[N], bool newestFirst) {
    QByteArray bytes;
    for (const char* line : lines) {
        const QString text = QString::fromUtf8(line);
        bytes += (text.contains(QChar(0x0141)) ? text.toUtf8() : toCp1251(text)) + "\r\n";
    }
    return parseLogBytes(bytes, DateOrders::fromSystemLocale(), newestFirst);
}

// The history after `steps` steps of its growth: A, B, C, then the newer calls.
void grow(CallHistory& h, int step) {
    if (step == 0) h.appendOlder(batchOf(kBatchA, true));
    if (step == 1) h.appendOlder(batchOf(kBatchB, true));
    if (step == 2) h.appendOlder(batchOf(kBatchC, true));
    if (step == 3) h.appendNewer(batchOf(kNewer, false));
}

// "dd.MM HH:mm number" of each row.
QStringList shown(const CallHistory& h, const std::vector<CallId>& rows) {
    QStringList out;
    for (CallId id : rows)
        out << h.when(id).toString(QStringLiteral("dd.MM HH:mm ")) + h.number(id);
    return out;
}

const QString L1 = QStringLiteral("01.03 09:00 8-915-111-22-33");
const QString L2 = QStringLiteral("02.03 10:00 45-67-89");
const QString L3 = QStringLiteral("05.03 11:00 45-67-89");
const QString L4 = QStringLiteral("05.03 12:00 8-495-000-11-22");
const QString L5 = QStringLiteral("09.03 08:00 8-915-111-22-33");
const QString L6 = QStringLiteral("10.03 18:00 12-34-56");
const QString N1 = QStringLiteral("11.03 09:30 8-800-555-35-35");
const QString N2 = QStringLiteral("11.03 10:00 45-67-89");

}  // namespace

class HistoryGrowthTest : public QObject {
    Q_OBJECT
private slots:
    void queryFollowsTheGrowth_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QList<QStringList>>("afterEachStep");  // A, B, C, newer
        const QDate none;
        // A caller that matches comes first in a later batch, and then again in a batch after.
        QTest::newRow("digits: a caller first seen in a later batch")
            << "45-67" << none << none << QList<QStringList>{{}, {L3}, {L3, L2}, {N2, L3, L2}};
        // The caller of C's first line was already searched when A came.
        QTest::newRow("name: a caller seen again, and the first UTF-8 caller after the load")
            << "иван" << none << none << QList<QStringList>{{L5}, {L5}, {L5, L1}, {N1, L5, L1}};
        QTest::newRow("name outside code page 1251: only the UTF-8 caller")
            << "łucja" << none << none << QList<QStringList>{{}, {}, {}, {N1}};
        QTest::newRow("nothing matches")
            << "zzz" << none << none << QList<QStringList>{{}, {}, {}, {}};
        QTest::newRow("dates only: later calls fall outside")
            << "" << QDate(2026, 3, 5) << QDate(2026, 3, 10)
            << QList<QStringList>{{L6, L5}, {L6, L5, L4, L3}, {L6, L5, L4, L3}, {L6, L5, L4, L3}};
        QTest::newRow("dates and digits") << "8-915" << QDate(2026, 3, 1) << QDate(2026, 3, 8)
                                          << QList<QStringList>{{}, {}, {L1}, {L1}};
        QTest::newRow("every call") << "" << none << none
                                    << QList<QStringList>{{L6, L5},
                                                          {L6, L5, L4, L3},
                                                          {L6, L5, L4, L3, L2, L1},
                                                          {N2, N1, L6, L5, L4, L3, L2, L1}};
    }
    void queryFollowsTheGrowth() {
        QFETCH(QString, text);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QList<QStringList>, afterEachStep);
        CallHistory h;
        HistoryQuery query(HistoryFilter{text, from, to});
        std::vector<CallId> rows;
        for (int step = 0; step < 4; ++step) {
            grow(h, step);
            std::vector<CallId> front, back;
            QVERIFY(query.update(h, &front, &back));
            QVERIFY(query.caughtUp(h));
            // Newer calls go before the rows so far, older ones after.
            rows.insert(rows.begin(), front.begin(), front.end());
            rows.insert(rows.end(), back.begin(), back.end());
            QCOMPARE(shown(h, rows), afterEachStep[step]);
            // Another update with nothing new adds nothing.
            front.clear();
            back.clear();
            QVERIFY(query.update(h, &front, &back));
            QVERIFY(front.empty() && back.empty());
        }
        QCOMPARE(shown(h, rows), shown(h, h.select(HistoryFilter{text, from, to})));
    }

    void queryTakesOlderCallsAFewAtATimeUntilCleared() {
        CallHistory h;
        for (int step = 0; step < 3; ++step) grow(h, step);
        HistoryQuery query({});
        std::vector<CallId> rows;
        QVERIFY(query.update(h, &rows, &rows, 4));
        QCOMPARE(shown(h, rows), (QStringList{L6, L5, L4, L3}));
        QVERIFY(!query.caughtUp(h));
        QVERIFY(query.update(h, &rows, &rows, 4));
        QCOMPARE(shown(h, rows), (QStringList{L6, L5, L4, L3, L2, L1}));
        QVERIFY(query.caughtUp(h));
        // Calls logged after the load are few: they all come at once, whatever the limit.
        grow(h, 3);
        QVERIFY(!query.caughtUp(h));
        std::vector<CallId> front, back;
        QVERIFY(query.update(h, &front, &back, 0));
        QCOMPARE(shown(h, front), (QStringList{N2, N1}));
        QVERIFY(back.empty());
        QVERIFY(query.caughtUp(h));
        // The log was replaced: the query's place in it means nothing now.
        h.clear();
        QVERIFY(!query.update(h, &front, &back));
        QCOMPARE(front.size(), size_t(2));
    }

    void chartFollowsTheGrowth_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QList<int>>("counts");  // per day, from the chart's first day
        QTest::addColumn<QDate>("busiest");
        QTest::addColumn<int>("busiestCalls");
        QTest::addColumn<int>("calls");
        QTest::addColumn<double>("average");
        const QDate none;
        QTest::newRow("nothing yet") << 0 << none << none << QList<int>{} << none << 0 << 0 << 0.0;
        QTest::newRow("the first batch")
            << 1 << none << none << QList<int>{1, 1} << QDate(2026, 3, 9) << 1 << 2 << 1.0;
        // Older days come in front of the counts, a later day behind them; of two days with
        // two calls, the earlier is the busiest.
        QTest::newRow("all of it")
            << 4 << none << none << QList<int>{1, 1, 0, 0, 2, 0, 0, 0, 1, 1, 2} << QDate(2026, 3, 5)
            << 2 << 8 << 8.0 / 11;
        QTest::newRow("a range within the days")
            << 4 << QDate(2026, 3, 4) << QDate(2026, 3, 6) << QList<int>{0, 2, 0}
            << QDate(2026, 3, 5) << 2 << 2 << 2.0 / 3;
        QTest::newRow("a range past both ends")
            << 4 << QDate(2026, 2, 27) << QDate(2026, 3, 12)
            << QList<int>{0, 0, 1, 1, 0, 0, 2, 0, 0, 0, 1, 1, 2, 0} << QDate(2026, 3, 5) << 2 << 8
            << 8.0 / 14;
        QTest::newRow("a range before every call") << 4 << QDate(2026, 2, 1) << QDate(2026, 2, 3)
                                                   << QList<int>{0, 0, 0} << none << 0 << 0 << 0.0;
    }
    void chartFollowsTheGrowth() {
        QFETCH(int, steps);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QList<int>, counts);
        QFETCH(QDate, busiest);
        QFETCH(int, busiestCalls);
        QFETCH(int, calls);
        QFETCH(double, average);
        CallHistory h;
        HistoryQuery query({});
        CallDays days;
        for (int step = 0; step < steps; ++step) {
            grow(h, step);
            std::vector<CallId> front, back;
            QVERIFY(query.update(h, &front, &back));
            days.add(h, front);
            days.add(h, back);
        }
        const CallChart chart = days.chart(from, to);
        QList<int> got;
        for (const auto& [start, n] : chart.counts) got << n;
        QCOMPARE(got, counts);
        QCOMPARE(chart.busiestDay, busiest);
        QCOMPARE(chart.busiestDayCalls, busiestCalls);
        QCOMPARE(chart.calls, calls);
        QCOMPARE(chart.averagePerDay, average);
    }
};

QTEST_GUILESS_MAIN(HistoryGrowthTest)
#include "tst_historygrowth.moc"
