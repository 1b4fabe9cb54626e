#include "main/TrayGesture.h"

namespace zrk {

TrayGesture::TrayGesture(std::function<void()> act, int intervalMs, QObject* parent)
    : QObject(parent), act_(std::move(act)) {
    wait_.setSingleShot(true);
    wait_.setInterval(intervalMs);
    connect(&wait_, &QTimer::timeout, this, [this] {
        if (swallow_) {
            swallow_ = false;
            return;
        }
        act_();
    });
}

void TrayGesture::clicked(Click kind) {
    if (wait_.isActive()) {
        // The second half of a gesture that began with a click: act now, once, and drop
        // whatever else the tray reports for it.
        if (swallow_) return;
        swallow_ = true;
        wait_.start();
        act_();
        return;
    }
    if (kind == Double) {
        // A tray that reports only the double click (no click before it).
        swallow_ = true;
        wait_.start();
        act_();
        return;
    }
    swallow_ = false;
    wait_.start();
}

}  // namespace zrk
