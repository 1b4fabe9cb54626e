#include "core/reminders/ReminderRules.h"

#include "core/book/BookStore.h"
#include "core/platform/Cp1251.h"
#include "core/platform/TimeText.h"
#include "core/platform/Values.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>
#include <limits>

namespace zrk {
namespace {

// The calendar day of a stored date, as fromDateTimeValue() gives it, without making a
// date-time in the local time zone: that costs more than the whole rest of a tick.
QDate dayOfValue(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6) return {};
    const double whole = std::trunc(value);
    qint64 days = qint64(whole);
    if (std::llround(std::fabs(value - whole) * 86400000.0) >= 86400000) ++days;
    return QDate(1899, 12, 30).addDays(days);
}

// The date and time a date reminder is due, as the list and the alert show them.
QString dueText(const ReminderRecord& r) {
    return reminderDateText(dayOfValue(r.Date)) + QLatin1Char(' ') +
           localTimeText(timeOfValue(r.Time), true);
}

}  // namespace

qint64 minuteKey(const QDate& date, int hour, int minute) {
    return date.toJulianDay() * 1440 + hour * 60 + minute;
}

qint64 minuteKey(const QDateTime& dt) {
    return minuteKey(dt.date(), dt.time().hour(), dt.time().minute());
}

qint64 dueKey(const ReminderRecord& r) {
    const QDate day = dayOfValue(r.Date);
    if (!day.isValid()) return std::numeric_limits<qint64>::min();
    const QTime t = timeOfValue(r.Time);
    return minuteKey(day, t.hour(), t.minute());
}

bool numberMatches(const ReminderRecord& r, const QByteArray& caller) {
    return r.Kind == ReminderByNumber && DialFilter(r.Number.bytes()) == caller;
}

QList<int> dueNow(const ReminderList& list, const QDateTime& now) {
    const qint64 key = minuteKey(now);
    QList<int> due;
    for (int i = 0; i < list.count(); ++i)
        if (list.record(i).Kind == ReminderByDate && list.row(i).due <= key) due.append(i);
    return due;
}

QList<int> dueForCall(const ReminderList& list, const QString& caller) {
    const QByteArray number = toCp1251(caller);
    for (int i = 0; i < list.count(); ++i)
        if (numberMatches(list.record(i), number)) return {i};
    return {};
}

const QStringList& alarmLaterItems() {
    // Translated once, at the first alert: the language is chosen before.
    static const QStringList items = [] {
        QStringList list;
        for (const char* item : {QT_TRANSLATE_NOOP("zrk::ReminderRules", "5 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "10 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "15 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "20 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "25 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "30 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "35 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "40 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "45 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "50 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "55 мин"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "1 час"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "2 часа"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "3 часа"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "4 часа"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "5 часов"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "6 часов"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "7 часов"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "8 часов"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "1 день"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "2 дня"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "3 дня"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "4 дня"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "1 неделю"),
                                 QT_TRANSLATE_NOOP("zrk::ReminderRules", "2 недели")})
            list.append(QCoreApplication::translate("zrk::ReminderRules", item));
        return list;
    }();
    return items;
}

QDateTime postponed(const QDateTime& now, int index) {
    index = qBound(0, index, int(alarmLaterItems().size()) - 1);
    int minutes = 0, days = 0;
    if (index <= 10)
        minutes = 5 * (index + 1);
    else if (index <= 18)
        minutes = 60 * (index - 10);
    else if (index <= 22)
        days = index - 18;
    else
        days = index == 23 ? 7 : 14;
    // On the calendar, not on the clock: a change of daylight saving time moves nothing.
    const int total = now.time().hour() * 60 + now.time().minute() + minutes;
    days += total / 1440;
    const int m = total % 1440;
    return QDateTime(now.date().addDays(days), QTime(m / 60, m % 60));
}

void setDueTime(ReminderRecord& r, const QDateTime& when) {
    r.Date = toDateTimeValue(QDateTime(when.date(), QTime(0, 0)));
    r.Time = timeValue(when.time());
}

ReminderRecord postpone(ReminderRecord r, const QString& editedNote, const QDateTime& now,
                        int index) {
    r.Kind = ReminderByDate;
    r.Note.setText(noteText(editLines(editedNote)));
    setDueTime(r, postponed(now, index));
    return r;
}

ReminderRecord dueAgainAtOnce(ReminderRecord r, const QDateTime& now) {
    r.Kind = ReminderByDate;
    setDueTime(r, QDateTime(now.date(), QTime(now.time().hour(), now.time().minute())));
    return r;
}

QString reminderDateText(const QDate& date) {
    const QString text = QLocale().toString(date, QLocale::ShortFormat);
    return text.contains(QLatin1Char(' ')) ? date.toString(QStringLiteral("dd.MM.yyyy")) : text;
}

QString reminderTimeText(const QTime& time) {
    return time.toString(QStringLiteral("H:mm:ss"));
}

namespace {

// A locale whose clock counts twice to 12 ("2:36 PM"): the form's times are written and read
// its way; any other keeps the five-character H:mm entries.
bool twelveHourClock() {
    return QLocale().timeFormat(QLocale::ShortFormat).contains(QLatin1String("ap"),
                                                              Qt::CaseInsensitive);
}

// The narrow and no-break spaces of the locale's data are typed as plain blanks.
QString plainBlanks(QString s) {
    return s.replace(QChar(0x202F), QLatin1Char(' ')).replace(QChar(0x00A0), QLatin1Char(' '));
}

// "2 часа", "1,5 часа": the Russian source picks its form by the number, a translation by its
// own plural rules; a half takes the form of a fraction in both, with the language's decimal
// sign, as the words around it.
QString hoursText(int halfHours) {
    if (halfHours % 2)
        return QCoreApplication::translate("zrk::ReminderRules", "%1,5 часа").arg(halfHours / 2);
    const int n = halfHours / 2;
    const bool teen = n % 100 >= 11 && n % 100 <= 14;
    const char* source = QT_TRANSLATE_N_NOOP("zrk::ReminderRules", "%n часов");
    if (!teen && n % 10 == 1)
        source = QT_TRANSLATE_N_NOOP("zrk::ReminderRules", "%n час");
    else if (!teen && n % 10 >= 2 && n % 10 <= 4)
        source = QT_TRANSLATE_N_NOOP("zrk::ReminderRules", "%n часа");
    return QCoreApplication::translate("zrk::ReminderRules", source, nullptr, n);
}

}  // namespace

QString timeEntryText(const QTime& time) {
    if (twelveHourClock()) return localTimeText(time, false);
    const QString full = reminderTimeText(time);
    return full.left(full.size() - 3).leftJustified(5, QLatin1Char(' '));
}

QStringList quickPickTimes(const QTime& now) {
    const QTime base(now.hour(), now.minute());
    QStringList list;
    for (const auto& [offset, label] :
         {std::pair{5, QT_TRANSLATE_NOOP("zrk::ReminderRules", "5 минут")},
          std::pair{10, QT_TRANSLATE_NOOP("zrk::ReminderRules", "10 минут")},
          std::pair{15, QT_TRANSLATE_NOOP("zrk::ReminderRules", "15 минут")},
          std::pair{30, QT_TRANSLATE_NOOP("zrk::ReminderRules", "30 минут")}})
        list.append(timeEntryText(base.addSecs(offset * 60)) + QStringLiteral(" (") +
                    QCoreApplication::translate("zrk::ReminderRules", label) + QLatin1Char(')'));
    for (int halfHours = 2; halfHours <= 47; ++halfHours)
        list.append(timeEntryText(base.addSecs(halfHours * 30 * 60)) + QStringLiteral(" (") +
                    hoursText(halfHours) + QLatin1Char(')'));
    return list;
}

QStringList dayTimes() {
    QStringList list;
    for (int i = 1; i <= 47; ++i) list.append(timeEntryText(QTime(0, 0).addSecs(i * 30 * 60)));
    return list;
}

int dayTimeSelection(const QTime& now) {
    // The entry after the last half hour that starts in the current hour.
    return qMin(2 * now.hour() + 1, 46);
}

QString timeFieldText(const QTime& time) {
    if (twelveHourClock()) return localTimeText(time, false);
    QString s = reminderTimeText(time).left(5);
    while (s.endsWith(QLatin1Char(' ')) || s.endsWith(QLatin1Char(':'))) s.chop(1);
    return s;
}

std::optional<QTime> parseTimeField(const QString& text) {
    if (twelveHourClock()) {
        // A quick pick's words in brackets are not part of the time.
        const QString typed = plainBlanks(text.section(QStringLiteral(" ("), 0, 0)).trimmed();
        const QTime t = QLocale().toTime(typed, plainBlanks(localTimeFormat(false)));
        if (t.isValid()) return t;
    }
    QString s = text.left(5);
    while (s.endsWith(QLatin1Char(' ')) || s.endsWith(QLatin1Char(':'))) s.chop(1);
    s = s.trimmed();
    for (const char* format : {"H:mm", "H:m", "H"}) {
        const QTime t = QTime::fromString(s, QLatin1String(format));
        if (t.isValid()) return t;
    }
    return std::nullopt;
}

QStringList noteLines(const QString& note) {
    QStringList lines = note.split(QLatin1Char('\r'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QString noteText(const QStringList& lines) {
    return lines.isEmpty() ? QString() : lines.join(QLatin1Char('\r')) + QLatin1Char('\r');
}

QStringList editLines(const QString& plainText) {
    if (plainText.isEmpty()) return {};
    QStringList lines = plainText.split(QLatin1Char('\n'));
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QString templateTitle(const QString& t) {
    return t.section(QLatin1Char('|'), 0, 0);
}

QString templateNote(const QString& t) {
    const qsizetype bar = t.indexOf(QLatin1Char('|'));
    return bar < 0 ? t : t.mid(bar + 1);
}

QString alertInfo(const ReminderRecord& r) {
    return QCoreApplication::translate("zrk::ReminderRules", "Напоминание ") +
           (r.Kind == ReminderByDate
                ? QCoreApplication::translate("zrk::ReminderRules", "по дате на: ") + dueText(r)
                : (QCoreApplication::translate("zrk::ReminderRules", "по номеру: ") +
                   r.Number.text())
                      .left(36));
}

std::array<QString, 4> rowTexts(const ReminderRecord& r) {
    const bool byDate = r.Kind == ReminderByDate;
    return {byDate ? QCoreApplication::translate("zrk::ReminderRules", "Дата")
                   : QCoreApplication::translate("zrk::ReminderRules", "Номер"),
            byDate ? dueText(r) : QString(), byDate ? QString() : r.Number.text(),
            r.Note.text().replace(QLatin1Char('\r'), QLatin1Char(' '))};
}

}  // namespace zrk
