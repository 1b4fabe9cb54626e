#pragma once
// The daily schedules of the port and of the sounds.
#include <QTime>

namespace zrk {

struct TIni;

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

// The port's and the sound's schedule as the main window applies them. At start and on
// options OK the window asks whether the port is to stay closed and the sound off now; on
// its periodic tick it asks what changed.
//
// A schedule acts when its state changes between two ticks, not on every tick: a port the
// user opens by hand at night stays open, and a machine that slept through the off time
// still closes at its next tick. The state the first tick compares with is the one taken at
// start (and again when the options are confirmed), so an edge between the start and the
// first tick is acted on too. A schedule out of force never acts, whatever it did before.
class ScheduleRules {
public:
    enum Change { None, TurnOff, TurnOn };

    static bool portOff(const TIni& ini, const QTime& now);
    static bool soundOff(const TIni& ini, const QTime& now);

    void take(const TIni& ini, const QTime& now);
    Change portChange(const TIni& ini, const QTime& now);
    Change soundChange(const TIni& ini, const QTime& now);

private:
    static Change step(bool& last, bool inForce, bool off);

    // On, as before any schedule was looked at.
    bool portOff_ = false;
    bool soundOff_ = false;
};

}  // namespace zrk
