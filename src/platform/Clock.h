#pragma once
// "Now" for the rules that depend on the time of day (port and sound schedule, reminders).
// Tests set it; the program always reads the wall clock.
#include <QDateTime>

namespace zrk {

namespace detail {
inline QDateTime& clockOverride() {
    static QDateTime fixed;
    return fixed;
}
}  // namespace detail

// The current local date and time, or the one a test has set.
inline QDateTime now() {
    const QDateTime& fixed = detail::clockOverride();
    return fixed.isValid() ? fixed : QDateTime::currentDateTime();
}

// For tests: from now on now() returns `fixed`; an invalid value puts the wall clock back.
inline void setNowForTesting(const QDateTime& fixed) {
    detail::clockOverride() = fixed;
}

}  // namespace zrk
