#include "reminders/ReminderClock.h"

#include "platform/Clock.h"

namespace zrk {

// The program's one clock: the reminders and the schedules never disagree on the time.
QDateTime reminderNow() { return now(); }

void setReminderClock(std::function<QDateTime()> c) { setClockForTesting(std::move(c)); }

}  // namespace zrk
