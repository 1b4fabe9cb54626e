#include "calls/LogLine.h"

namespace zrk {

void DateOrders::learn(QByteArrayView) {}
DateOrders DateOrders::fromSystemLocale() {
    return {};
}
bool parseLogFields(QByteArrayView, const DateOrders&, LogFields*) {
    return false;
}
std::optional<LoggedCall> parseLogLine(QByteArrayView) {
    return std::nullopt;
}

}  // namespace zrk
