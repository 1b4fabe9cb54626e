#include "reminders/ReminderClock.h"

namespace zrk {
namespace {

std::function<QDateTime()>& clock() {
    static std::function<QDateTime()> c;
    return c;
}

}  // namespace

QDateTime reminderNow() {
    return clock() ? clock()() : QDateTime::currentDateTime();
}

void setReminderClock(std::function<QDateTime()> c) {
    clock() = std::move(c);
}

}  // namespace zrk
