#include "gui/main/TrayGesture.h"

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
    // The second half of a gesture that began with a click, or a tray that reports only the
    // double click (no click before it): act now, once, and drop whatever else the tray
    // reports for it.
    if (wait_.isActive() || kind == Double) {
        if (wait_.isActive() && swallow_) return;
        swallow_ = true;
        wait_.start();
        act_();
        return;
    }
    swallow_ = false;
    wait_.start();
}

}  // namespace zrk
