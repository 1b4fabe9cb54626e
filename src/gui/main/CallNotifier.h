#pragma once
// CallNotifier: one desktop notification per identified call. A later report of the same call
// (a later ring) updates it in place where it says something new; the next call gets one of
// its own. The call's end (answered, rung off, the port closed) withdraws it. Its actions bring the
// main window forward, dial the caller back or open the book's add form. Where the desktop
// has no notification service the tray's balloon says it; without a tray, nothing.
#include "gui/desktop/DesktopNotifications.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <optional>

namespace zrk {

// What a notification says about a call.
struct CallNotice {
    QString shown;     // the number as the window shows it
    QString name;      // the book's name, empty when not in the book
    QString category;  // the caller's category as the window shows it
    QString district;
    int status = -1;       // the book's status: 0 normal, 1 bad, 2 priority, -1 not in the book
    bool dialable = true;  // false for "Unknown" and words: nothing to dial or add

    bool operator==(const CallNotice&) const = default;
};

class CallNotifier : public QObject {
    Q_OBJECT
public:
    // What the notifier asks of the main window.
    struct Window {
        std::function<bool()> outOfSight;  // hidden, minimised, or not on the screen
        std::function<void()> bringForward;
        std::function<void(const QString& shown)> dial;
        std::function<void(const QString& shown)> addToBook;
        // The tray's balloon; false where there is no tray to show it.
        std::function<bool(const QString& title, const QString& text, int urgency)> balloon;
    };

    CallNotifier(Window window, DesktopNotifications* service, QObject* parent = nullptr);

    // A ring brought the window up: the call came while it was out of sight.
    void ringPoppedUp() { poppedUp_ = true; }
    // An identified call; `again`: a later report of the call notified last; `mode`: the
    // setting (NotifyMode).
    void callIdentified(const CallNotice& call, bool again, int mode);
    // The call is over: its notification leaves the desktop.
    void callEnded();

    // The texts and the look of a call's notification.
    static DesktopNotifications::Notice noticeFor(const CallNotice& call);

    // Where the tray's balloon goes: tests see it where the desktop has no tray.
    void setBalloon(std::function<bool(const QString&, const QString&, int)> balloon) {
        window_.balloon = std::move(balloon);
    }
    DesktopNotifications* service() const { return service_; }
    quint32 currentId() const { return currentId_; }

private:
    void send(const CallNotice& call);
    void post(const CallNotice& call);  // to the service, now
    void sent(quint64 serial, const CallNotice& call, std::optional<quint32> id);
    void invoked(quint32 id, const QString& key);

    Window window_;
    DesktopNotifications* service_;
    bool poppedUp_ = false;
    // The current call.
    quint64 serial_ = 0;
    bool notified_ = false;           // the call has its notification (or balloon)
    bool dismissed_ = false;          // the user closed it: later rings leave it closed
    bool ballooned_ = false;          // a balloon is said once per call
    bool pending_ = false;            // its Notify awaits the service's answer
    std::optional<CallNotice> next_;  // a later report, sent once the id is known
    std::optional<CallNotice> said_;  // what the call's notification says (or will)
    quint32 currentId_ = 0;
    // The notifications still on the desktop: what their actions act on.
    QHash<quint32, CallNotice> shownCalls_;
};

}  // namespace zrk
