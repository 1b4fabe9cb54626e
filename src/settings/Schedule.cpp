#include "settings/Schedule.h"

#include "platform/Values.h"

namespace zrk {
namespace {
int minuteOfDay(const QTime& t) { return t.hour() * 60 + t.minute(); }
}  // namespace

bool scheduleInForce(bool enabled, double offTime, double onTime) {
    return enabled && offTime != onTime &&
           minuteOfDay(timeOfValue(offTime)) != minuteOfDay(timeOfValue(onTime));
}

bool scheduleOff(bool enabled, double offTime, double onTime, const QTime& now) {
    if (!scheduleInForce(enabled, offTime, onTime)) return false;
    const int off = minuteOfDay(timeOfValue(offTime));
    const int on = minuteOfDay(timeOfValue(onTime));
    const int n = minuteOfDay(now);
    if (off < on) return n >= off && n < on;
    return n >= off || n < on;
}

}  // namespace zrk
