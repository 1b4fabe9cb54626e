#pragma once
// What the reminders ask of the main window, which owns the reminder timer, the port, the
// sound indicator and the sound player.
#include <QString>

namespace zrk {

class ReminderHost {
public:
    virtual ~ReminderHost() = default;
    // Starts (30 s) or stops the reminder timer.
    virtual void setReminderTimer(bool on) = 0;
    // The daily port and sound schedules: the part of every tick before the reminders.
    virtual void runSchedules() = 0;
    // The list window was closed: its menu item loses the check mark.
    virtual void reminderListClosed() = 0;
    // Stops what plays and plays `fileName` once, without waiting.
    virtual void playReminderSound(const QString& fileName) = 0;
};

}  // namespace zrk
