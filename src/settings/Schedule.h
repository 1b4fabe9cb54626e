#pragma once
#include <QTime>

namespace zrk {

// The daily schedule of the port and of the sounds.
//
// A schedule has an off time and an on time of day. It is off from the off time (reached
// at its minute: at 07:00:59 the time 07:00 is reached, at 06:59:59 it is not) until the
// on time; when the off time is later in the day than the on time, the off period runs
// across midnight (22:00-06:00 is off at 23:59 and at 05:59, on at 06:00). Only hours and
// minutes count; the whole-day part of a stored time is ignored. A schedule whose two
// times are equal does nothing, and so does one that is switched off.
//
// Every test of a schedule in the program goes through this one function, so that start-up,
// the options dialog and the periodic tick can never disagree.
bool scheduleOff(bool enabled, double offTime, double onTime, const QTime& now);
// Whether the schedule acts at all: switched on, with two different times.
bool scheduleInForce(bool enabled, double offTime, double onTime);

}  // namespace zrk
