#include "gui/desktop/DesktopNotifications.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QFileInfo>
#include <QTimer>
#include <QVariantMap>

namespace zrk {
namespace {

// The "image-data" hint: width, height, row stride, alpha, bits per sample, channels, bytes.
struct ImageData {
    QImage image;
};

}  // namespace
}  // namespace zrk

Q_DECLARE_METATYPE(zrk::ImageData)

namespace zrk {
namespace {

QDBusArgument& operator<<(QDBusArgument& out, const ImageData& data) {
    const QImage image = data.image.convertToFormat(QImage::Format_RGBA8888);
    out.beginStructure();
    out << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
        << QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    out.endStructure();
    return out;
}

// Only ever sent: what is read back is dropped.
const QDBusArgument& operator>>(const QDBusArgument& in, ImageData& data) {
    data = ImageData{};
    in.beginStructure();
    int width = 0, height = 0, stride = 0, bits = 0, channels = 0;
    bool alpha = false;
    QByteArray bytes;
    in >> width >> height >> stride >> alpha >> bits >> channels >> bytes;
    in.endStructure();
    return in;
}

QDBusMessage method(const QString& name) {
    return QDBusMessage::createMethodCall(DesktopNotifications::kService,
                                          DesktopNotifications::kPath,
                                          DesktopNotifications::kService, name);
}

}  // namespace

DesktopNotifications::DesktopNotifications(QObject* parent) : QObject(parent) {
    static const int registered = [] {
        qDBusRegisterMetaType<ImageData>();
        return 0;
    }();
    Q_UNUSED(registered);
}

bool DesktopNotifications::connectBus() {
    if (bus_) return bus_->isConnected();
    // Without an address the bus library would start a bus of its own for the display: a
    // process left behind, and a wait on the window's thread. No session bus, no service.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS").isEmpty() &&
        (runtime.isEmpty() || !QFileInfo(runtime + QStringLiteral("/bus")).exists())) {
        bus_ = QDBusConnection(QString());  // never connected
        return false;
    }
    bus_ = QDBusConnection::sessionBus();
    if (!bus_->isConnected()) return false;
    // A service that restarts (or another that takes its place) may offer other things.
    auto* watcher =
        new QDBusServiceWatcher(kService, *bus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] { caps_.reset(); });
    // The service's signals are re-emitted as they come.
    bus_->connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                  SIGNAL(actionInvoked(uint, QString)));
    bus_->connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                  SIGNAL(closed(uint, uint)));
    bus_->connect(kService, kPath, kService, QStringLiteral("ActivationToken"), this,
                  SIGNAL(activationToken(uint, QString)));
    return true;
}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::show(const Notice& notice, quint32 replaces, Done done) {
    Request request{notice, replaces, std::move(done)};
    if (!connectBus()) {
        fail(std::move(request.done));
        return;
    }
    if (caps_) {
        send(std::move(request));
        return;
    }
    waiting_.append(std::move(request));
    probe();
}

void DesktopNotifications::probe() {
    if (probing_) return;
    probing_ = true;
    // Asking also starts a service that the bus starts on demand.
    auto* watcher = new QDBusPendingCallWatcher(
        bus_->asyncCall(method(QStringLiteral("GetCapabilities")), timeoutMs_), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* w) { probed(w); });
}

void DesktopNotifications::probed(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    probing_ = false;
    const QDBusPendingReply<QStringList> reply = *watcher;
    const QList<Request> waiting = std::exchange(waiting_, {});
    if (reply.isError()) {
        caps_.reset();  // asked again next time: the service may have come by then
        for (const Request& r : waiting)
            if (r.done) r.done(std::nullopt);
        return;
    }
    caps_ = reply.value();
    for (const Request& r : waiting) send(r);
}

void DesktopNotifications::send(Request request) {
    const Notice& n = request.notice;
    const QStringList caps = caps_.value_or(QStringList());
    QStringList actions;
    if (caps.contains(QLatin1String("actions")))
        for (const Action& a : n.actions) actions << a.key << a.label;
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(n.urgency)));
    if (!n.desktopEntry.isEmpty()) hints.insert(QStringLiteral("desktop-entry"), n.desktopEntry);
    if (!n.image.isNull())
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(ImageData{n.image}));
    // A name such as "Smith & <Sons>" must read as written, not as markup.
    const QString body =
        caps.contains(QLatin1String("body-markup")) ? n.body.toHtmlEscaped() : n.body;
    QDBusMessage m = method(QStringLiteral("Notify"));
    m << n.appName << request.replaces << n.appIcon << n.summary << body << actions << hints
      << qint32(n.expireMs);
    auto* watcher = new QDBusPendingCallWatcher(bus_->asyncCall(m, timeoutMs_), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, done = std::move(request.done)](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<uint> reply = *w;
                if (reply.isError()) caps_.reset();
                if (!done) return;
                if (reply.isError())
                    done(std::nullopt);
                else
                    done(reply.value());
            });
}

void DesktopNotifications::close(quint32 id) {
    if (id == 0 || !connectBus()) return;
    QDBusMessage m = method(QStringLiteral("CloseNotification"));
    m << id;
    bus_->send(m);
}

void DesktopNotifications::fail(Done done) {
    if (!done) return;
    QTimer::singleShot(0, this, [done = std::move(done)] { done(std::nullopt); });
}

}  // namespace zrk
