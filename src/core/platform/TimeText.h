#pragma once
// Times of day as the user's locale writes them (12 or 24 hours) for the windows; the files
// keep their own fixed forms.
#include <QLocale>
#include <QTime>

namespace zrk {

// The locale's short time format; with `seconds`, the seconds after the minutes.
inline QString localTimeFormat(bool seconds, const QLocale& locale = QLocale()) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (seconds && !format.contains(QLatin1Char('s'))) {
        const qsizetype minutes = format.lastIndexOf(QLatin1String("mm"));
        if (minutes >= 0) format.insert(minutes + 2, QLatin1String(":ss"));
    }
    return format;
}

inline QString localTimeText(const QTime& time, bool seconds, const QLocale& locale = QLocale()) {
    return locale.toString(time, localTimeFormat(seconds, locale));
}

}  // namespace zrk
