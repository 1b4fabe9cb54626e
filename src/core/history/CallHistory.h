#pragma once
// The calls of the log in memory, compact enough for a million of them: each call is a small
// fixed record (date, time, caller), and each distinct caller (number and name) is kept once,
// its texts in shared byte buffers with their search forms beside them.
#include "core/history/LogLine.h"

#include <QByteArray>
#include <QDate>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace zrk {

// Stable for the life of the history (until a reload); not dense: calls that arrive after
// the load have ids of their own range.
using CallId = quint32;

struct HistoryFilter {
    QString text{};      // only digits and separators: matches number digits (separators
                         // ignored); otherwise any part of the name (case-insensitive) or of the
                         // number as logged
    QDate from{}, to{};  // inclusive; a null date is open

    friend bool operator==(const HistoryFilter&, const HistoryFilter&) = default;
};

class CallHistory {
public:
    CallHistory();
    ~CallHistory();
    CallHistory(CallHistory&&) noexcept;
    CallHistory& operator=(CallHistory&&) noexcept;

    // A whole log read at once (tests, tools): lines in file order.
    static CallHistory fromLog(QByteArrayView bytes);

    qsizetype size() const;     // calls held
    qsizetype skipped() const;  // lines that were not calls
    qsizetype callers() const;  // distinct number-and-name pairs
    bool isValid(CallId id) const;

    LoggedCall call(CallId id) const;  // an invalid id gives an empty call
    QDateTime when(CallId id) const;
    QDate date(CallId id) const;
    QString number(CallId id) const;
    QString name(CallId id) const;
    // The call was marked missed in the log, before or after its own line.
    bool missed(CallId id) const;
    // Missed marks read so far (a view redraws its marks when they grow).
    qsizetype missedMarks() const;

    // The calls that match, newest first (by date and time; the log's last line first among
    // calls of one second).
    std::vector<CallId> select(const HistoryFilter& filter) const;
    // Every call, newest first.
    std::vector<CallId> all() const { return select({}); }

    // False once a call came out of time order (an older log appended to the current one):
    // rows in the log's order are then not newest first and must be sorted.
    bool inTimeOrder() const;
    // Sorts `rows` newest first; calls of one second keep the order given.
    void sortNewestFirst(std::vector<CallId>& rows) const;
    // The call's date and time as one number that grows with them.
    qint64 timeKey(CallId id) const;

    // Filling. Older calls come newest first (a log read from its end); newer calls are those
    // written after the load, in file order. Older calls are taken only before any newer one.
    void appendOlder(const LogBatch& batch);
    void appendNewer(const LogBatch& batch);
    void clear();
    void reserve(qsizetype calls);  // older calls expected

    // Bytes in use (reserved room not counted), for the benchmark's figures.
    qsizetype memoryUsed() const;

private:
    friend class HistoryQuery;
    struct Data;
    std::unique_ptr<Data> d;
};

// A filter kept over a growing history: the first update gives every call that matches, each
// later one only the calls (and looks only at the callers) added since, so that a window
// following a log as it loads never filters the whole of it again.
class HistoryQuery {
public:
    explicit HistoryQuery(HistoryFilter filter);

    const HistoryFilter& filter() const { return filter_; }

    // Adds the matching calls that came since the last update: the newer ones, newest first,
    // to `front` (they go before the rows given so far), the older ones to `back` (they go
    // after them). `front` and `back` may be the same list. False, and nothing added, when the
    // history no longer holds the calls seen (it was cleared): the query is of no more use.
    // At most `olderLimit` older calls are looked at: the rest wait for the next update.
    bool update(const CallHistory& history, std::vector<CallId>* front, std::vector<CallId>* back,
                size_t olderLimit = SIZE_MAX);
    // Every call of `history` has been looked at.
    bool caughtUp(const CallHistory& history) const;

private:
    HistoryFilter filter_;
    QString text_;           // the search as matched: no control characters
    std::vector<char> hit_;  // per caller seen: its number or name matches
    size_t olderSeen_ = 0, newerSeen_ = 0;
};

// Calls per day, week or month over a range (the chart), with its figures.
enum class Bucket { Day, Week, Month };
struct CallChart {
    Bucket bucket = Bucket::Day;  // Day up to 62 days, Week up to 366 days, Month beyond
    std::vector<std::pair<QDate, int>> counts{};  // bucket start, calls; empty buckets included;
                                                  // weeks start on Monday, months on the 1st
    QDate from{}, to{};                           // the range the chart covers
    QDate busiestDay{};                           // null when no call; the earliest of equals
    int busiestDayCalls = 0;
    int calls = 0;               // rows within the range
    double averagePerDay = 0.0;  // over the range's days (open range: first to last call)
};
CallChart chartOf(const CallHistory& history, const std::vector<CallId>& rows, QDate from,
                  QDate to);

// The calls per day of rows given a batch at a time, so that the chart follows a loading log
// without counting every row again.
class CallDays {
public:
    void add(const CallHistory& history, const std::vector<CallId>& rows);
    // The chart of the rows added so far, as chartOf gives it.
    CallChart chart(QDate from, QDate to) const;

private:
    qint64 first_ = 0;         // the day of counts_[0], as a Julian day
    std::vector<int> counts_;  // calls per day from first_ to the last day with a call
};

// The rows as CSV for a spreadsheet: UTF-8 with a byte-order mark, CR LF, RFC 4180 quoting,
// header "Дата","Время","Номер","Имя", the date as yyyy-MM-dd. False with `error` set (for the
// user) when the device fails. `going` hears the rows written now and then; its false stops
// the writing (false back, `error` untouched).
bool writeHistoryCsv(const CallHistory& history, const std::vector<CallId>& rows, QIODevice& out,
                     QString* error, const std::function<bool(size_t rows)>& going = {});

}  // namespace zrk
