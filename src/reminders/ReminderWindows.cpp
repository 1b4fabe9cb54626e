#include "reminders/ReminderWindows.h"

namespace zrk {

TAlertReminder::TAlertReminder(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("AlertReminder"));
}

TReminder::TReminder(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Reminder"));
    setWindowTitle(QStringLiteral("Напоминания"));
    records_ = LoadReminders();
}

}  // namespace zrk
