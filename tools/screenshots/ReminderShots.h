#pragma once
// The reminder windows for zrk-screenshots: the list, the alert with one and with several
// reminders, the reminder form in both modes and the template editor.
#include <QString>

class QWidget;

namespace zrk {
class TAlertReminder;
class TReminder;
}  // namespace zrk

using SaveShot = void (*)(QWidget* w, const QString& dir, const char* name);

void saveReminderShots(zrk::TReminder& list, zrk::TAlertReminder& alert, const QString& out,
                       SaveShot save);
