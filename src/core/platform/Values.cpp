#include "core/platform/Values.h"

#include <cmath>

namespace zrk {
namespace {

const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;

}  // namespace

double toDateTimeValue(const QDateTime& dt) {
    const qint64 days = kEpoch.daysTo(dt.date());
    const double frac = timeValue(dt.time());
    return days >= 0 ? double(days) + frac : double(days) - frac;
}

QTime timeOfValue(double value) {
    if (!std::isfinite(value)) return QTime(0, 0);
    double frac = std::fabs(value - std::trunc(value));
    qint64 ms = std::llround(frac * kMsPerDay);
    if (ms >= kMsPerDay) ms = kMsPerDay - 1;
    return QTime::fromMSecsSinceStartOfDay(int(ms));
}

double timeValue(const QTime& t) {
    return t.isValid() ? double(t.msecsSinceStartOfDay()) / double(kMsPerDay) : 0.0;
}

QDateTime fromDateTimeValue(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6) return {};
    const double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    qint64 days = qint64(whole);
    qint64 ms = std::llround(frac * kMsPerDay);
    if (ms >= kMsPerDay) {  // rounding reached the next midnight: the following day
        ms -= kMsPerDay;
        days += 1;
    }
    return QDateTime(kEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

}  // namespace zrk
