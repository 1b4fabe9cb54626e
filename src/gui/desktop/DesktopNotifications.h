#pragma once
// DesktopNotifications: the desktop's notification service (org.freedesktop.Notifications on
// the session bus). Every call is asynchronous: a service that hangs or is slow to start
// never holds up the window. Where no service answers, the caller hears "unavailable" and
// shows the call its own way.
#include <QDBusConnection>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QDBusPendingCallWatcher;

namespace zrk {

class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    enum class Urgency : uchar { Low = 0, Normal = 1, Critical = 2 };
    struct Action {
        QString key;  // "default": the notification's own click
        QString label;
    };
    struct Notice {
        QString appName;
        QString appIcon;       // an icon name of the desktop's theme
        QImage image;          // drawn by the service where the icon name is not installed
        QString desktopEntry;  // the desktop file's id, without ".desktop"
        QString summary;
        QString body;  // plain text: escaped where the service reads markup
        Urgency urgency = Urgency::Normal;
        QList<Action> actions;  // left out where the service offers none
        int expireMs = -1;      // -1: the service's own choice
    };
    // The notification's id, or nothing: no service, or it failed or did not answer.
    using Done = std::function<void(std::optional<quint32> id)>;

    static inline const QString kService = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

    // The session bus is reached at the first notification, not before.
    explicit DesktopNotifications(QObject* parent = nullptr);
    ~DesktopNotifications() override;

    // Shows `notice`, in place of notification `replaces` (0: a new one). `done` runs later,
    // from the event loop, never from within this call.
    void show(const Notice& notice, quint32 replaces, Done done);
    // Withdraws notification `id` from the desktop; nothing waits for the answer.
    void close(quint32 id);

    // How long a call to the service may take before it counts as gone.
    void setCallTimeout(int ms) { timeoutMs_ = ms; }
    // What the service said it can do; empty until it was asked.
    QStringList capabilities() const { return caps_.value_or(QStringList()); }

signals:
    void actionInvoked(quint32 id, const QString& key);
    void closed(quint32 id, quint32 reason);
    // Lets the window activated by an action take the focus on Wayland.
    void activationToken(quint32 id, const QString& token);

private:
    struct Request {
        Notice notice;
        quint32 replaces = 0;
        Done done;
    };
    void probe();
    void probed(QDBusPendingCallWatcher* watcher);
    void send(Request request);
    void fail(Done done);
    bool connectBus();

    // The session bus; none where the session has none (it is never started for us).
    std::optional<QDBusConnection> bus_;
    std::optional<QStringList> caps_;
    bool probing_ = false;
    QList<Request> waiting_;  // for the service's capabilities
    int timeoutMs_ = 5000;
};

}  // namespace zrk
