#pragma once
// "Now" for the rules that depend on the date and time of day (port and sound schedules,
// reminders and their quick-pick times). Tests set it; the program always reads the wall clock.
#include <QDateTime>

#include <functional>

namespace zrk {

namespace detail {
inline std::function<QDateTime()>& clockOverride() {
    static std::function<QDateTime()> clock;
    return clock;
}
}  // namespace detail

// The current local date and time, or what a test's clock says.
inline QDateTime now() {
    const auto& clock = detail::clockOverride();
    return clock ? clock() : QDateTime::currentDateTime();
}

// For tests: from now on now() asks `clock`; an empty function puts the wall clock back.
inline void setClockForTesting(std::function<QDateTime()> clock) {
    detail::clockOverride() = std::move(clock);
}

// For tests: a clock standing still at `fixed`; an invalid value puts the wall clock back.
inline void setNowForTesting(const QDateTime& fixed) {
    if (fixed.isValid()) setClockForTesting([fixed] { return fixed; });
    else setClockForTesting({});
}

}  // namespace zrk
