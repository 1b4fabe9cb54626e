#include "gui/main/CallNotifier.h"

#include "gui/main/Icons.h"
#include "core/settings/Settings.h"

#include <QTimer>

namespace zrk {
namespace {

const QString kShowKey = QStringLiteral("default");
const QString kDialKey = QStringLiteral("call-back");
const QString kBookKey = QStringLiteral("add-to-book");
// Notifications of calls long gone are forgotten past this many (a service that never says
// it closed them must not make the list grow all day).
constexpr int kKeptCalls = 64;

}  // namespace

CallNotifier::CallNotifier(Window window, DesktopNotifications* service, QObject* parent)
    : QObject(parent), window_(std::move(window)), service_(service) {
    connect(service_, &DesktopNotifications::actionInvoked, this, &CallNotifier::invoked);
    connect(service_, &DesktopNotifications::closed, this, [this](quint32 id, quint32 reason) {
        if (!shownCalls_.remove(id) || id != currentId_) return;
        currentId_ = 0;
        // Closed by the user: the call's later rings do not bring it back.
        if (reason == 2) dismissed_ = true;
    });
    connect(service_, &DesktopNotifications::activationToken, this,
            [this](quint32 id, const QString& token) {
                if (shownCalls_.contains(id)) qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
            });
}

DesktopNotifications::Notice CallNotifier::noticeFor(const CallNotice& call) {
    DesktopNotifications::Notice n;
    n.appName = QStringLiteral("Zrk Pro");
    n.appIcon = QStringLiteral("ru.zrkpro.ZrkPro");
    n.desktopEntry = QStringLiteral("ru.zrkpro.ZrkPro");
    n.summary = call.name.isEmpty() ? call.shown : call.shown + QLatin1Char(' ') + call.name;
    QStringList body;
    for (const QString& line : {call.category, call.district})
        if (!line.isEmpty()) body << line;
    n.body = body.join(QLatin1Char('\n'));
    n.urgency = call.status == 2   ? DesktopNotifications::Urgency::Critical
                : call.status == 1 ? DesktopNotifications::Urgency::Low
                                   : DesktopNotifications::Urgency::Normal;
    n.actions = {{kShowKey, tr("Показать")}};
    if (call.dialable) {
        n.actions.append({kDialKey, tr("Перезвонить")});
        n.actions.append({kBookKey, tr("В книгу")});
    }
    return n;
}

void CallNotifier::callIdentified(const CallNotice& call, bool again, int mode) {
    const bool poppedUp = std::exchange(poppedUp_, false);
    if (!again) callEnded();
    if (mode == NotifyNever || dismissed_) return;
    if (!notified_) {
        const bool hidden = poppedUp || (window_.outOfSight && window_.outOfSight());
        if (mode != NotifyAlways && !hidden) return;
        notified_ = true;
    }
    send(call);
}

void CallNotifier::callEnded() {
    // A notification whose id is still to come is withdrawn when it comes (sent()). Its
    // actions stay good until the service says it is gone: a click may cross the withdrawal.
    if (currentId_ != 0) service_->close(currentId_);
    ++serial_;
    notified_ = dismissed_ = ballooned_ = pending_ = false;
    next_.reset();
    said_.reset();
    currentId_ = 0;
}

void CallNotifier::send(const CallNotice& call) {
    // The same words again would pop the same notification up again on some desktops.
    if (said_ == call) return;
    said_ = call;
    if (pending_) {
        next_ = call;  // its id is not known yet: sent in its place once it is
        return;
    }
    post(call);
}

void CallNotifier::post(const CallNotice& call) {
    pending_ = true;
    DesktopNotifications::Notice n = noticeFor(call);
    n.image = appIcon().pixmap(64, 64).toImage();
    const quint64 serial = serial_;
    service_->show(n, currentId_,
                   [this, serial, call](std::optional<quint32> id) { sent(serial, call, id); });
}

void CallNotifier::sent(quint64 serial, const CallNotice& call, std::optional<quint32> id) {
    if (serial != serial_) {
        if (id) service_->close(*id);  // the call ended before its notification was shown
        return;
    }
    if (id) {
        if (shownCalls_.size() >= kKeptCalls) shownCalls_.clear();
        shownCalls_.insert(*id, call);
    }
    pending_ = false;
    if (id) {
        currentId_ = *id;
        if (next_) post(*std::exchange(next_, std::nullopt));
        return;
    }
    next_.reset();
    if (ballooned_) return;
    ballooned_ = true;
    const DesktopNotifications::Notice n = noticeFor(call);
    if (window_.balloon) window_.balloon(n.summary, n.body, int(n.urgency));
}

void CallNotifier::invoked(quint32 id, const QString& key) {
    const auto it = shownCalls_.constFind(id);
    if (it == shownCalls_.cend()) return;  // another program's notification
    const CallNotice call = *it;
    // Out of the bus's dispatch: the book's form runs a loop of its own.
    QTimer::singleShot(0, this, [this, call, key] {
        if (key == kShowKey) {
            if (window_.bringForward) window_.bringForward();
        } else if (key == kDialKey && call.dialable) {
            if (window_.dial) window_.dial(call.shown);
        } else if (key == kBookKey && call.dialable) {
            if (window_.addToBook) window_.addToBook(call.shown);
        }
    });
}

}  // namespace zrk
