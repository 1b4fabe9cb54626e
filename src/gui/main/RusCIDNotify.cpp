// The main window's side of the desktop notifications: when a call is out of sight, and what
// the notification's actions do here.
#include "gui/main/CallNotifier.h"
#include "gui/main/RusCID.h"

#include "core/call/CallDesk.h"
#include "gui/book/PhoneBook.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>

namespace zrk {

void TRusCID::buildNotifier() {
    auto* service = new DesktopNotifications(this);
    service->setObjectName(QStringLiteral("desktopNotifications"));
    CallNotifier::Window w;
    w.outOfSight = [this] { return outOfSight(); };
    w.bringForward = [this] { bringForward(); };
    // As the call list dials: the number as shown, dialled from the main window.
    w.dial = [this](const QString& shown) {
        desk_.setNumber(shown, false);
        desk_.dial();
    };
    w.addToBook = [this](const QString& shown) { addNumberToBook(shown); };
    w.balloon = [this](const QString& title, const QString& text, int urgency) {
        if (!trayAvailable() || !c_.icTray->isVisible()) return false;
        const QSystemTrayIcon::MessageIcon icon =
            urgency == 2 ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information;
        c_.icTray->showMessage(title, text, icon, 10000);
        return true;
    };
    c_.notifier = new CallNotifier(std::move(w), service, this);
    c_.notifier->setObjectName(QStringLiteral("callNotifier"));
    // The balloon's click is the notification's "Показать".
    connect(c_.icTray, &QSystemTrayIcon::messageClicked, this, [this] { bringForward(); });
}

bool TRusCID::outOfSight() const {
    if (!isVisible() || isMinimized()) return true;
    if (windowHandle() && !windowHandle()->isExposed()) return true;
    // Left on a screen that has since gone away.
    const QRect frame = frameGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->geometry().intersects(frame)) return false;
    return true;
}

void TRusCID::bringForward() {
    s_.hideOnIdle = false;  // a start hidden in the tray has been overtaken
    if (!isVisible() || isMinimized()) showNormal();
    raise();
    activateWindow();
}

}  // namespace zrk
