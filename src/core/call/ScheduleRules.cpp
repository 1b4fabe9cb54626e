#include "core/call/ScheduleRules.h"

#include "core/platform/Values.h"
#include "core/settings/Settings.h"

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

bool ScheduleRules::portOff(const TIni& ini, const QTime& now) {
    return scheduleOff(ini.PortOnOff, ini.PortOff, ini.PortOn, now);
}

bool ScheduleRules::soundOff(const TIni& ini, const QTime& now) {
    return scheduleOff(ini.SoundOnOff, ini.SoundOff, ini.SoundOn, now);
}

void ScheduleRules::take(const TIni& ini, const QTime& now) {
    portOff_ = portOff(ini, now);
    soundOff_ = soundOff(ini, now);
}

ScheduleRules::Change ScheduleRules::portChange(const TIni& ini, const QTime& now) {
    return step(portOff_, scheduleInForce(ini.PortOnOff, ini.PortOff, ini.PortOn),
                portOff(ini, now));
}

ScheduleRules::Change ScheduleRules::soundChange(const TIni& ini, const QTime& now) {
    return step(soundOff_, scheduleInForce(ini.SoundOnOff, ini.SoundOff, ini.SoundOn),
                soundOff(ini, now));
}

ScheduleRules::Change ScheduleRules::step(bool& last, bool inForce, bool off) {
    const bool before = last;
    last = off;  // out of force: on, what the next in-force tick compares with
    if (!inForce || before == off) return None;
    return off ? TurnOff : TurnOn;
}

}  // namespace zrk
