#pragma once
// Reminder records as a test writes them, and their notes for comparing.
#include "core/reminders/ReminderRules.h"

inline zrk::ReminderRecord byDate(const QDateTime& when, const QString& note) {
    zrk::ReminderRecord r = zrk::ReminderRecord::empty();
    r.Kind = zrk::ReminderByDate;
    zrk::setDueTime(r, when);
    r.Note.setText(note);
    return r;
}

inline zrk::ReminderRecord byNumber(const QString& number, const QString& note) {
    zrk::ReminderRecord r = zrk::ReminderRecord::empty();
    r.Kind = zrk::ReminderByNumber;
    r.Number.setText(number);
    r.Note.setText(note);
    return r;
}

inline QStringList notesOf(const QList<zrk::ReminderRecord>& records) {
    QStringList out;
    for (const auto& r : records) out << r.Note.text();
    return out;
}
