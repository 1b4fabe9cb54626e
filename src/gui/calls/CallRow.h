#pragma once
// The texts of one call in the call list, apart from the window so they can be checked
// without one.
#include "core/call/LineStatus.h"

#include <QColor>
#include <QDateTime>
#include <QIcon>
#include <QLocale>
#include <QString>

namespace zrk {

// Time with seconds, "H:mm:ss". The locale's long time format is not used: it ends in a
// time-zone name.
QString callTimeText(const QTime& time);

// The locale's short date; where that holds blanks (the C and English locales spell the
// month) the numeric "dd.MM.yyyy", so that a date stays one word.
QString callDateText(const QDate& date, const QLocale& locale = QLocale::system());

// How a missed call's row is marked, alike in the call list and the history: a sign beside
// its number (a shape that reads without colour), its text in red, the words in the hint.
QIcon missedIcon();
QColor missedColour();
QString missedHint();

}  // namespace zrk
