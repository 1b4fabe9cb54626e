#pragma once
// The calls of the log in memory, compact enough for a million of them: each call is a small
// fixed record (date, time, caller), and each distinct caller (number and name) is kept once,
// its texts in shared byte buffers with their search forms beside them.
#include "calls/LogLine.h"

#include <QByteArray>
#include <QDate>
#include <QIODevice>
#include <QString>

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

    // The calls that match, newest first (the log's last line first).
    std::vector<CallId> select(const HistoryFilter& filter) const;
    // Every call, newest first.
    std::vector<CallId> all() const { return select({}); }

    // Filling. Older calls come newest first (a log read from its end); newer calls are those
    // written after the load, in file order. Older calls are taken only before any newer one.
    void appendOlder(const LogBatch& batch);
    void appendNewer(const LogBatch& batch);
    void clear();
    void reserve(qsizetype calls);  // older calls expected

    // Bytes in use (reserved room not counted), for the benchmark's figures.
    qsizetype memoryUsed() const;

private:
    struct Data;
    std::unique_ptr<Data> d;
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

// The rows as CSV for a spreadsheet: UTF-8 with a byte-order mark, CR LF, RFC 4180 quoting,
// header "Дата","Время","Номер","Имя", the date as yyyy-MM-dd. False with `error` set (for the
// user) when the device fails.
bool writeHistoryCsv(const CallHistory& history, const std::vector<CallId>& rows, QIODevice& out,
                     QString* error);

}  // namespace zrk
