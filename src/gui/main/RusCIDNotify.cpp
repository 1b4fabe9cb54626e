// The main window's side of the desktop notifications: when a call is out of sight, and what
// the notification's actions do here.
#include "gui/main/CallNotifier.h"
#include "gui/main/RusCID.h"

#include "gui/book/PhoneBook.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

namespace zrk {

void TRusCID::buildNotifier() {
    auto* service = new DesktopNotifications(this);
    service->setObjectName(QStringLiteral("desktopNotifications"));
    CallNotifier::Window w;
    w.outOfSight = [this] { return outOfSight(); };
    w.bringForward = [this] { safely([this] { bringForward(); }); };
    // As the call list dials: the number as shown, dialled from the main window.
    w.dial = [this](const QString& shown) {
        safely([this, &shown] {
            ViewNumber(shown, false);
            sbDialClick();
        });
    };
    w.addToBook = [this](const QString& shown) {
        safely([this, &shown] {
            if (windows_.book) windows_.book->addWithNumber(shown);
        });
    };
    w.balloon = [this](const QString& title, const QString& text, int urgency) {
        return showBalloon(title, text, urgency);
    };
    notifier_ = new CallNotifier(std::move(w), service, this);
    notifier_->setObjectName(QStringLiteral("callNotifier"));
    tCallOver = new QTimer(this);
    tCallOver->setObjectName(QStringLiteral("tCallOver"));
    tCallOver->setSingleShot(true);
    tCallOver->setInterval(int(CallEpisode::kRingGapMs));
    connect(tCallOver, &QTimer::timeout, notifier_, &CallNotifier::callEnded);
    // The balloon's click is the notification's "Показать".
    connect(icTray, &QSystemTrayIcon::messageClicked, this,
            [this] { safely([this] { bringForward(); }); });
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
    HideOnIdle = false;  // a start hidden in the tray has been overtaken
    if (!isVisible() || isMinimized()) showNormal();
    raise();
    activateWindow();
}

bool TRusCID::showBalloon(const QString& title, const QString& text, int urgency) {
    if (!trayAvailable() || !icTray->isVisible()) return false;
    const QSystemTrayIcon::MessageIcon icon =
        urgency == 2 ? QSystemTrayIcon::Warning : QSystemTrayIcon::Information;
    icTray->showMessage(title, text, icon, 10000);
    return true;
}

}  // namespace zrk
