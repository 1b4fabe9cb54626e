#pragma once
// What the reminders ask of the main window, which owns the sound player and the menu.
#include <QString>

namespace zrk {

class ReminderHost {
public:
    virtual ~ReminderHost() = default;
    // The list window was closed: its menu item loses the check mark.
    virtual void reminderListClosed() = 0;
    // Stops what plays and plays `fileName` once, without waiting.
    virtual void playReminderSound(const QString& fileName) = 0;
};

}  // namespace zrk
