#pragma once
// The value encoding the stored files share with earlier versions of the program.
#include <QDateTime>
#include <QtGlobal>

namespace zrk {

// Date-time as a double: whole days since 1899-12-30, the fraction is the time of day.
// Before 1899-12-30 the whole part is negative and the fraction still counts forward from
// midnight (-1.25 is 1899-12-29 06:00), as the files written by earlier versions hold it.
double toDateTimeValue(const QDateTime& dt);
QDateTime fromDateTimeValue(double value);
// Only the time of day of a value (hours and minutes, seconds, milliseconds).
QTime timeOfValue(double value);
double timeValue(const QTime& t);  // no whole-day part

}  // namespace zrk
