#pragma once
// The list windows' tool bar: fixed in its place, small icons, no menu entry to hide it.
#include <QAction>
#include <QMainWindow>
#include <QToolBar>

namespace zrk {

inline QToolBar* addFixedToolBar(QMainWindow* window, const char* name) {
    auto* toolbar = new QToolBar(window);
    toolbar->setObjectName(QLatin1String(name));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(16, 16));
    toolbar->toggleViewAction()->setVisible(false);
    window->addToolBar(toolbar);
    return toolbar;
}

}  // namespace zrk
