#pragma once
// The reminders' rules that need no window: which reminders a tick or a call raises,
// postponing, the texts of the list, the alert and the form's time field.
#include "core/reminders/ReminderList.h"

#include <QDateTime>
#include <QStringList>

#include <array>
#include <optional>

namespace zrk {

// A minute of the calendar as one number: later minutes are larger. Seconds play no part.
qint64 minuteKey(const QDate& date, int hour, int minute);
qint64 minuteKey(const QDateTime& dt);
// The minute a date reminder is due, from the calendar day of its date and the hour and
// minute of its time. A date that cannot be read is due at once: it is shown, not hidden.
qint64 dueKey(const ReminderRecord& r);

// Whether `r` waits for a call from `caller` (the prepared caller number, code page 1251):
// a number reminder whose number, without the characters a dialled number drops, is the
// same bytes.
bool numberMatches(const ReminderRecord& r, const QByteArray& caller);

// The rows a tick at `now` raises: every date reminder due by now's minute, in list order.
QList<int> dueNow(const ReminderList& list, const QDateTime& now);
// The rows a call from `caller` (the prepared caller number) raises: the first number
// reminder waiting for it, if any. One call raises one reminder at most.
QList<int> dueForCall(const ReminderList& list, const QString& caller);

// The postpone choices of the alert, "5 мин" to "2 недели", and what each gives from `now`
// by calendar arithmetic (seconds dropped).
const QStringList& alarmLaterItems();
QDateTime postponed(const QDateTime& now, int index);

// Sets kind-independent date and time fields from `when`.
void setDueTime(ReminderRecord& r, const QDateTime& when);

// A raised reminder postponed by the choice `index` from `now`: a date reminder (one by
// number becomes one) with the note as edited in the alert (`editedNote`, lines by "\n").
ReminderRecord postpone(ReminderRecord r, const QString& editedNote, const QDateTime& now,
                        int index);
// A raised reminder not dealt with when the program ends: a date reminder due at once, so
// that the next start raises it again rather than losing it.
ReminderRecord dueAgainAtOnce(ReminderRecord r, const QDateTime& now);

// The date as the list and the alert show it: the locale's short date (numeric where it would
// hold blanks); the time beside it is the locale's, with seconds.
QString reminderDateText(const QDate& date);
// H:mm:ss.
QString reminderTimeText(const QTime& time);

// The form's time field. An entry is the time without its seconds, padded to 5 characters
// ("9:35 ", "13:35"), or the locale's "9:35 AM" where its clock counts to 12; the quick-pick list offers now + 5, 10, 15, 30 minutes, then 1 to
// 23,5 hours in half hours; after a change of the date it offers 00:30 ... 23:30 with the
// next full hour selected.
QString timeEntryText(const QTime& time);
QStringList quickPickTimes(const QTime& now);
QStringList dayTimes();
int dayTimeSelection(const QTime& now);
// A stored time for the field: "9:05:00" -> "9:05".
QString timeFieldText(const QTime& time);
// What OK reads from the field: the locale's 12-hour time before any " (", else its first five
// characters without trailing blanks and colons, as hours and minutes; none when that is no
// time.
std::optional<QTime> parseTimeField(const QString& text);

// Notes keep their lines each ended by CR. A trailing CR adds no empty line.
QStringList noteLines(const QString& note);
QString noteText(const QStringList& lines);
// The lines of a multi-line edit's text (an empty edit has none; a final line break adds
// no empty line).
QStringList editLines(const QString& plainText);

// Templates are "title|note"; without "|" the whole text is both.
QString templateTitle(const QString& t);
QString templateNote(const QString& t);

// The alert's info line: "Напоминание по дате на: <date> <time>" or
// "Напоминание по номеру: <number>" (the part after "Напоминание " at most 36 characters).
QString alertInfo(const ReminderRecord& r);

// The list's columns: type, date/time, number, text.
std::array<QString, 4> rowTexts(const ReminderRecord& r);

}  // namespace zrk
