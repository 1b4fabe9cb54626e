#pragma once
// The program's set-up as its entry runs it: the application's name, and the eight windows of
// the run made in their start order and wired to each other. Tests make the same.
#include "book/ItemInfo.h"
#include "book/PhoneBook.h"
#include "calls/ListRing.h"
#include "main/RusCID.h"
#include "reminders/ReminderWindows.h"
#include "windows/AllScreen.h"
#include "windows/WinAlert.h"

#include <QObject>

#include <memory>

namespace zrk {

class SerialDevice;
class Sound;

// Removes from the data directory (the working directory) the temporary files of saves
// that a crash cut short, for the book and the reminder files; call once the directory's
// lock is held and the settings are loaded. Returns the names removed.
QStringList removeDataLeftovers();

// Names the application. Never a display name: the desktop would append it to every title.
void nameApplication();

class ProgramWindows : public QObject {
public:
    // `device`: the serial backend (none: the real one); `sound`: what plays the sounds.
    ProgramWindows(std::shared_ptr<SerialDevice> device, std::shared_ptr<Sound> sound);
    ~ProgramWindows() override;

    // Closes the program where nobody may be there to answer a box: a signal, the end of
    // the desktop session. What cannot be saved goes to the standard error stream.
    void closeQuietly() { mainWindow.closeQuietly(); }

private:
    std::shared_ptr<Sound> sound_;
    // The main window with its sound, before any other window can ring.
    TRusCID* sounded();

public:
    // In their start order: the main window opens the port while it is made, before the
    // others exist.
    TRusCID mainWindow;
    TPhoneBook book{sounded()};
    TAlertReminder alertReminder{&mainWindow};
    TReminder reminders{mainWindow, alertReminder, &mainWindow};
    TWinAlert alert{mainWindow, &mainWindow};
    TListRing calls{mainWindow, &mainWindow};
    TAllScreen allScreen{mainWindow, &mainWindow};
    TItemInfo itemInfo{&mainWindow};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace zrk
