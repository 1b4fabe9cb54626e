// A filter and a chart kept over a history that grows the way a loading log makes it grow:
// older calls a batch at a time (newest batch first), then calls logged after the load. Each
// update must give exactly the calls a search over the whole history would give, in the same
// places, without looking at the whole history again.
#include "core/history/CallHistory.h"
#include "core/history/LogLine.h"
#include "core/platform/Cp1251.h"

#include <QtTest>

using namespace zrk;

namespace {

// The log's calls as they arrive, each batch's lines in file order. Read from the file's
// end, its older calls come as three batches: A (the newest lines), B, then C; after the load,
// two more calls are logged. One caller of the later calls has a name outside code page 1251,
// so the program logged it in UTF-8: the first such caller turns up only after the load.
const char* const kSteps[4][2] = {
    {"09.03.2026 8:00:00 8-915-111-22-33 Иванов Иван",  // A
     "10.03.2026 18:00:00 12-34-56 ООО Ромашка"},
    {"05.03.2026 11:00:00 45-67-89 Петрова Анна",  // B
     "05.03.2026 12:00:00 8-495-000-11-22 Сидоров Пётр"},
    {"01.03.2026 9:00:00 8-915-111-22-33 Иванов Иван",  // C
     "02.03.2026 10:00:00 45-67-89 Петрова Анна"},
    {"11.03.2026 9:30:00 8-800-555-35-35 Иванова Łucja",  // logged after the load
     "11.03.2026 10:00:00 45-67-89 Петрова Анна"},
};

// Step `step` of the history's growth: A, B, C, then the newer calls.
void grow(CallHistory& h, int step) {
    QByteArray bytes;
    for (const char* line : kSteps[step]) {
        const QString text = QString::fromUtf8(line);
        bytes += (text.contains(QChar(0x0141)) ? text.toUtf8() : toCp1251(text)) + "\r\n";
    }
    const bool older = step < 3;
    const LogBatch batch = parseLogBytes(bytes, DateOrders::fromSystemLocale(), older);
    if (older)
        h.appendOlder(batch);
    else
        h.appendNewer(batch);
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

// The chart asked of a query's rows over from..to (null: open), and what it must show.
struct Chart {
    QDate from, to;
    QList<int> counts;  // per day, from the chart's first day
    QDate busiest;
    int busiestCalls = 0, calls = 0;
    double average = 0.0;
};
Chart chart(const QList<int>& counts, QDate busiest, int busiestCalls, int calls, double average,
            QDate from = {}, QDate to = {}) {
    return {from, to, counts, busiest, busiestCalls, calls, average};
}

}  // namespace

Q_DECLARE_METATYPE(Chart)

class HistoryGrowthTest : public QObject {
    Q_OBJECT
private slots:
    // Each row: the filter; the rows it gives after each arrival (A, B, C, then the newer
    // calls; fewer steps stop the growth early); the chart of those rows at the end.
    void queryAndChartFollowTheGrowth_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QList<QStringList>>("afterEachStep");
        QTest::addColumn<Chart>("chart");
        const auto row = [](const char* tag, const QString& text, const QList<QStringList>& steps,
                            const Chart& chart, QDate from = QDate(), QDate to = QDate()) {
            QTest::newRow(tag) << text << from << to << steps << chart;
        };
        const QList<QStringList> everyStep{
            {L6, L5}, {L6, L5, L4, L3}, {L6, L5, L4, L3, L2, L1}, {N2, N1, L6, L5, L4, L3, L2, L1}};
        // A caller that matches comes first in a later batch, and then again in a batch after.
        row("digits: a caller first seen in a later batch", "45-67",
            {{}, {L3}, {L3, L2}, {N2, L3, L2}},
            chart({1, 0, 0, 1, 0, 0, 0, 0, 0, 1}, QDate(2026, 3, 2), 1, 3, 0.3));
        // The caller of C's first line was already searched when A came.
        row("name: a caller seen again, and the first UTF-8 caller after the load", "иван",
            {{L5}, {L5}, {L5, L1}, {N1, L5, L1}},
            chart({1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}, QDate(2026, 3, 1), 1, 3, 3.0 / 11));
        row("name outside code page 1251: only the UTF-8 caller", "łucja", {{}, {}, {}, {N1}},
            chart({1}, QDate(2026, 3, 11), 1, 1, 1.0));
        row("nothing matches", "zzz", {{}, {}, {}, {}}, Chart{});
        const QDate mar5(2026, 3, 5), mar10(2026, 3, 10), mar1(2026, 3, 1), mar8(2026, 3, 8);
        row("dates only: later calls fall outside", "",
            {{L6, L5}, {L6, L5, L4, L3}, {L6, L5, L4, L3}, {L6, L5, L4, L3}},
            chart({2, 0, 0, 0, 1, 1}, mar5, 2, 4, 4.0 / 6, mar5, mar10), mar5, mar10);
        row("dates and digits", "8-915", {{}, {}, {L1}, {L1}},
            chart({1, 0, 0, 0, 0, 0, 0, 0}, mar1, 1, 1, 1.0 / 8, mar1, mar8), mar1, mar8);
        // Older days come in front of the counts, a later day behind them; of two days with
        // two calls, the earlier is the busiest.
        row("every call", "", everyStep,
            chart({1, 1, 0, 0, 2, 0, 0, 0, 1, 1, 2}, QDate(2026, 3, 5), 2, 8, 8.0 / 11));
        row("nothing yet", "", {}, Chart{});
        row("the first batch", "", everyStep.mid(0, 1),
            chart({1, 1}, QDate(2026, 3, 9), 1, 2, 1.0));
        row("chart of a range within the days", "", everyStep,
            chart({0, 2, 0}, QDate(2026, 3, 5), 2, 2, 2.0 / 3, QDate(2026, 3, 4),
                  QDate(2026, 3, 6)));
        row("chart of a range past both ends", "", everyStep,
            chart({0, 0, 1, 1, 0, 0, 2, 0, 0, 0, 1, 1, 2, 0}, QDate(2026, 3, 5), 2, 8, 8.0 / 14,
                  QDate(2026, 2, 27), QDate(2026, 3, 12)));
        row("chart of a range before every call", "", everyStep,
            chart({0, 0, 0}, QDate(), 0, 0, 0.0, QDate(2026, 2, 1), QDate(2026, 2, 3)));
    }
    void queryAndChartFollowTheGrowth() {
        QFETCH(QString, text);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QList<QStringList>, afterEachStep);
        QFETCH(Chart, chart);
        CallHistory h;
        HistoryQuery query(HistoryFilter{text, from, to});
        std::vector<CallId> rows;
        CallDays days;
        for (int step = 0; step < afterEachStep.size(); ++step) {
            grow(h, step);
            std::vector<CallId> front, back;
            QVERIFY(query.update(h, &front, &back));
            QVERIFY(query.caughtUp(h));
            // Newer calls go before the rows so far, older ones after.
            rows.insert(rows.begin(), front.begin(), front.end());
            rows.insert(rows.end(), back.begin(), back.end());
            QCOMPARE(shown(h, rows), afterEachStep[step]);
            days.add(h, front);
            days.add(h, back);
            // Another update with nothing new adds nothing.
            front.clear();
            back.clear();
            QVERIFY(query.update(h, &front, &back));
            QVERIFY(front.empty() && back.empty());
        }
        QCOMPARE(shown(h, rows), shown(h, h.select(HistoryFilter{text, from, to})));
        const CallChart got = days.chart(chart.from, chart.to);
        QList<int> counts;
        for (const auto& [start, n] : got.counts) counts << n;
        QCOMPARE(counts, chart.counts);
        QCOMPARE(got.busiestDay, chart.busiest);
        QCOMPARE(got.busiestDayCalls, chart.busiestCalls);
        QCOMPARE(got.calls, chart.calls);
        QCOMPARE(got.averagePerDay, chart.average);
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
};

QTEST_GUILESS_MAIN(HistoryGrowthTest)
#include "tst_historygrowth.moc"
