#pragma once
// Every "now" of the reminders (the tick, postponing, the quick-pick times, the forms) comes
// from here, so that tests can stand at 23:58 on 31 December without waiting for it.
#include <QDateTime>

#include <functional>

namespace zrk {

QDateTime reminderNow();
// Replaces the clock; an empty function puts the system clock back.
void setReminderClock(std::function<QDateTime()> clock);

}  // namespace zrk
