#include "screenshots/ReminderShots.h"

#include "core/platform/Clock.h"
#include "gui/reminders/EditNotes.h"
#include "gui/reminders/ReMind.h"
#include "core/reminders/ReminderRules.h"
#include "gui/reminders/ReminderWindows.h"

namespace {

zrk::ReminderRecord reminder(bool byDate, const QDateTime& when, const char* number,
                             const char* note) {
    zrk::ReminderRecord r = zrk::ReminderRecord::empty();
    r.Kind = byDate ? zrk::ReminderByDate : zrk::ReminderByNumber;
    zrk::setDueTime(r, when);
    r.Number.setText(QString::fromUtf8(number));
    r.Note.setText(QString::fromUtf8(note));
    return r;
}

}  // namespace

void saveReminderShots(zrk::TReminder& list, zrk::TAlertReminder& alert, const QString& out,
                       SaveShot save) {
    const QDateTime now = zrk::now();
    list.document().store(reminder(true, now.addDays(1), "", "Сходить на обед\r"), 0);
    list.document().store(reminder(false, now, "23-45-67", "Перезвонить\rпро договор\r"), 0);
    list.document().store(reminder(true, now.addDays(3).addSecs(3600), "", "Совещание\r"), 0);
    list.document().store(reminder(false, now, "(495) 123-45-67", "Напомнить о встрече\r"), 0);
    list.ED();
    list.show();
    save(&list, out, "reminder-list");

    alert.InitForm(reminder(false, now, "2345678", "Перезвонить\rпро договор\r"));
    alert.View();
    alert.show();
    save(&alert, out, "reminder-alert");
    alert.InitForm(reminder(true, now, "", "Выключить чайник\r"));
    alert.InitForm(reminder(true, now, "", "Обед\r"));
    alert.View();
    save(&alert, out, "reminder-alert-queue");
    alert.takeAll();
    alert.hide();

    zrk::TReMind byDate(list, &list);
    byDate.show();
    save(&byDate, out, "reminder-form-date");
    zrk::TReMind byNumber(list, &list);
    byNumber.setNumber(QStringLiteral("23-45-67"));
    byNumber.ViewNote(3);
    byNumber.show();
    save(&byNumber, out, "reminder-form-number");
    zrk::TEditNotes notes(&list);
    notes.show();
    save(&notes, out, "reminder-templates");
}
