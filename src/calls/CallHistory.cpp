#include "calls/CallHistory.h"

namespace zrk {

struct CallHistory::Data {};

void LogBatch::add(const LogFields&) {}

CallHistory::CallHistory() : d(std::make_unique<Data>()) {}
CallHistory::~CallHistory() = default;
CallHistory::CallHistory(CallHistory&&) noexcept = default;
CallHistory& CallHistory::operator=(CallHistory&&) noexcept = default;
CallHistory CallHistory::fromLog(QByteArrayView) {
    return {};
}
qsizetype CallHistory::size() const {
    return 0;
}
qsizetype CallHistory::skipped() const {
    return 0;
}
qsizetype CallHistory::callers() const {
    return 0;
}
LoggedCall CallHistory::call(CallId) const {
    return {};
}
QDateTime CallHistory::when(CallId) const {
    return {};
}
QDate CallHistory::date(CallId) const {
    return {};
}
QString CallHistory::number(CallId) const {
    return {};
}
QString CallHistory::name(CallId) const {
    return {};
}
std::vector<CallId> CallHistory::select(const HistoryFilter&) const {
    return {};
}
void CallHistory::appendOlder(const LogBatch&) {}
void CallHistory::appendNewer(const LogBatch&) {}
void CallHistory::clear() {}
qsizetype CallHistory::memoryUsed() const {
    return 0;
}

CallChart chartOf(const CallHistory&, const std::vector<CallId>&, QDate, QDate) {
    return {};
}
bool writeHistoryCsv(const CallHistory&, const std::vector<CallId>&, QIODevice&, QString*) {
    return false;
}

}  // namespace zrk
