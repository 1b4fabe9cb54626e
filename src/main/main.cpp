#include "book/PhoneBook.h"
#include "calls/ListRing.h"
#include "main/RusCID.h"
#include "platform/QuitSignals.h"
#include "platform/Sound.h"
#include "platform/UserMessages.h"
#include "reminders/ReminderWindows.h"
#include "windows/AllScreen.h"
#include "windows/WinAlert.h"

#include <QApplication>
#include <QMessageBox>

namespace {

// The edge of the event loop: an error that got this far is handed to the main window's
// handler and never unwinds into the toolkit.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    std::function<void(std::exception_ptr)> onError;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            if (onError) onError(std::current_exception());
            return false;
        }
    }
};

// The stores' file errors, shown as the user must acknowledge them.
class MessageBoxes final : public zrk::UserMessages {
public:
    void error(const QString& caption, const QString& text) override {
        QMessageBox::critical(QApplication::activeWindow(), caption, text);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zrk Pro 2.01b"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zrk Pro 2.01b"));
    QApplication::setQuitOnLastWindowClosed(false);  // the tray keeps a hidden program alive
    MessageBoxes boxes;
    zrk::setUserMessages(&boxes);
    // A signal or the end of the desktop session closes the program as the main window's
    // close does: port closed, positions and settings saved. Installed first, so that a
    // signal during start-up waits for the event loop instead of killing the program.
    zrk::TRusCID* mainWindowPtr = nullptr;
    zrk::installQuitSignals([&mainWindowPtr] {
        if (mainWindowPtr) mainWindowPtr->closeQuietly();
    });

    // The windows of the run, in their start order; the main window opens the port while
    // it is created, before the others exist.
    zrk::TRusCID mainWindow;
    app.onError = [&mainWindow](std::exception_ptr e) { mainWindow.HandleException(e); };
    mainWindow.setSound(zrk::makeDesktopSound());
    zrk::TPhoneBook book(&mainWindow);
    zrk::TAlertReminder alertReminder(&mainWindow);
    zrk::TReminder reminders(mainWindow, alertReminder, &mainWindow);
    reminders.setBook(&book.store());
    // The phone book's reminder command opens the form by: reminders.addForNumber(phone).
    zrk::TWinAlert alert(mainWindow, &mainWindow);
    zrk::TListRing calls(mainWindow, &mainWindow);
    zrk::TAllScreen allScreen(mainWindow, &mainWindow);
    zrk::TItemInfo itemInfo(&mainWindow);
    mainWindow.setRunWindows({&book, &alertReminder, &reminders, &alert, &calls, &allScreen,
                              &itemInfo});

    mainWindowPtr = &mainWindow;
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &mainWindow,
                     [&mainWindow] { mainWindow.closeQuietly(); });
    mainWindow.show();
    const int rc = app.exec();
    mainWindowPtr = nullptr;
    zrk::setUserMessages(nullptr);
    return rc;
}
