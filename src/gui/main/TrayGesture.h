#pragma once
// One click gesture on the tray icon, one action. XEmbed trays report a double click as a
// click followed by a double click, StatusNotifier trays as two clicks, and a plain click as
// one click: a click therefore waits for the double-click interval, and whatever follows
// within it belongs to the same gesture.
#include <QObject>
#include <QTimer>

#include <functional>

namespace zrk {

class TrayGesture : public QObject {
    Q_OBJECT
public:
    enum Click { Single, Double };

    TrayGesture(std::function<void()> act, int intervalMs, QObject* parent = nullptr);

    void clicked(Click kind);
    bool pending() const { return wait_.isActive(); }

private:
    std::function<void()> act_;
    QTimer wait_;
    bool swallow_ = false;  // the gesture has acted; its remaining clicks are dropped
};

}  // namespace zrk
