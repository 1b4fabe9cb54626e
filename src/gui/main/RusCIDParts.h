#pragma once
// The main window's parts: its controls, menus, blink and clock timers, tray icon, notifier
// and failure presenter, made once by the window and kept together as a form's parts are.
// Every control carries its name as its objectName, so tests find it with findChild.
#include <QPoint>
#include <QPointer>
#include <QString>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class QToolButton;

namespace zrk {

class CallNotifier;
class ClickLabel;
class FailurePresenter;
class HistoryWindow;
class TrayGesture;

struct RusCIDParts {
    QFrame* pTools = nullptr;
    QLabel* pNumber = nullptr;
    QLabel* pInfo = nullptr;
    QLabel* pClock = nullptr;
    ClickLabel* stSound = nullptr;
    ClickLabel* stPhones = nullptr;
    ClickLabel* stPort = nullptr;
    ClickLabel* stButtons = nullptr;
    QLabel* stZvon = nullptr;
    ClickLabel* pTimer = nullptr;
    ClickLabel* pCountCall = nullptr;
    QToolButton* sbViewListRing = nullptr;
    QToolButton* sbAnswer = nullptr;
    QToolButton* sbKeys[10] = {};  // sb0 .. sb9
    QToolButton* sbFlash = nullptr;
    QToolButton* sbDial = nullptr;
    QToolButton* sbBook = nullptr;
    QToolButton* sbOpti = nullptr;
    QToolButton* sbOpenClose = nullptr;
    QToolButton* sbHide = nullptr;

    QMenu* PopupMenu1 = nullptr;
    QAction* mPShow = nullptr;
    QAction* mPStayOnTop = nullptr;
    QAction* mPButton = nullptr;
    QAction* mPClock = nullptr;
    QAction* mPTimer = nullptr;
    QAction* mPBook = nullptr;
    QAction* mPReminder = nullptr;
    QAction* mPHistory = nullptr;
    QAction* mPOpenPort = nullptr;
    QAction* mPClosePort = nullptr;
    QAction* mPOpti = nullptr;
    QAction* mPAbout = nullptr;
    QAction* mPExit = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* mPReDial = nullptr;
    QAction* N2 = nullptr;
    QAction* CID = nullptr;
    QAction* mPAnswer = nullptr;
    QAction* N8 = nullptr;
    QAction* N9 = nullptr;

    QTimer* tTimer = nullptr;     // the talk timer
    QTimer* tRing = nullptr;      // the ring label's blink
    QTimer* tRinging = nullptr;   // the strip's blink while the far end rings
    QTimer* clockTimer = nullptr;

    QSystemTrayIcon* icTray = nullptr;
    TrayGesture* trayGesture = nullptr;
    CallNotifier* notifier = nullptr;
    FailurePresenter* failures = nullptr;
    QPointer<HistoryWindow> history;
};

// The number's font made smaller until the number fits its panel.
void fitNumberFont(QLabel* number);

// What the window keeps of its own: blinks, the talk timer, the drag, the close.
struct RusCIDState {
    bool hideOnIdle = false;
    bool callListShown = false;
    bool closed = false;
    bool reflagging = false;  // a change of window flags hides and shows the window again
    bool quietClose = false;
    int blinkCount = 0;
    int blinkPhase = 0;  // shared by both blink timers
    int talkSeconds = 0;
    QPoint dragStart;
    QString infoHint;
};

}  // namespace zrk
