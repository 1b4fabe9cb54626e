#pragma once
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace zrk {

// Puts a window's frame in the middle of its screen's free area.
inline void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

}  // namespace zrk
