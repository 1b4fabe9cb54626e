#pragma once
// The program's set-up as its entry runs it: the application's name, the desk and the documents
// of the run, and the eight windows made in their start order, viewing them and wired to each
// other. Tests make the same.
#include "core/call/CallActions.h"
#include "core/book/BookDocument.h"
#include "core/call/CallDesk.h"
#include "core/contacts/ContactSyncer.h"
#include "core/reminders/ReminderDocument.h"
#include "gui/book/ItemInfo.h"
#include "gui/book/PhoneBook.h"
#include "gui/calls/ListRing.h"
#include "gui/main/RusCID.h"
#include "gui/reminders/ReminderWindows.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/WinAlert.h"

#include <QObject>

#include <functional>

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

// The windows of the run besides the main window, in their start order, hidden at first.
struct SideWindows {
    SideWindows(TRusCID& main, BookDocument& bookDocument, ReminderDocument& reminderDocument);
    TPhoneBook book;
    TAlertReminder alertReminder;
    TReminder reminders;
    TWinAlert alert;
    TListRing calls;
    TAllScreen allScreen;
    TItemInfo itemInfo;
};

class ProgramWindows : public QObject {
    // The documents read their files by the settings: those come first of all.
    const bool settingsRead_;

public:
    // The documents first (the book starts loading on a worker at once), then the main
    // window. `device`: the serial backend (none: the real one); `sound`: what plays the
    // sounds. `sideLater`: the side windows are made once the main window has painted (the
    // program's start: the window the user waits for comes first), or when a reported caller
    // asks for them, within a second in any case. Otherwise at once.
    ProgramWindows(std::shared_ptr<SerialDevice> device, std::shared_ptr<Sound> sound,
                   bool sideLater = false);
    ~ProgramWindows() override;

    // Makes the side windows, if not yet made, and wires them to the main window.
    void makeSideWindows();

    // Closes the program where nobody may be there to answer a box: a signal, the end of
    // the desktop session. What cannot be saved goes to the standard error stream.
    // A close that comes before the side windows are made makes them first: the windows the
    // settings show are closed and saved as they would be a moment later.
    void closeQuietly() {
        makeSideWindows();
        mainWindow.closeQuietly();
    }

    BookDocument bookDocument{BookDocument::Loading::InBackground};
    // The book's sync with the address book; gone before the book closes, so the book's last
    // save holds what the sync did.
    std::unique_ptr<contacts::ContactSyncer> syncer;
    ReminderDocument reminderDocument;
    // The line; the main window starts it (the port opened) while it is made, before the
    // others exist.
    CallDesk desk;
    // What the calls set off besides the caller's action: addresses, programs, speech.
    actions::CallActionRunner callActions{desk};
    TRusCID mainWindow;
    std::unique_ptr<SideWindows> side;

private:
    void startSync();
    // The book window's "sync now", or none while no address book is set.
    std::function<void()> syncCommand();

    bool makingSide_ = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace zrk
