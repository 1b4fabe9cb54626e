#pragma once
// The list windows' frame (phone book, call list, reminder list): a fixed tool bar of flat
// buttons, icons from the desktop's theme, a list of rows sized for the desktop's font.
#include "gui/settings/Form.h"

#include <QAction>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

namespace zrk {

inline QToolBar* addFixedToolBar(QMainWindow* window, const char* name) {
    auto* toolbar = named<QToolBar>(name, window);
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(16, 16));
    toolbar->toggleViewAction()->setVisible(false);
    window->addToolBar(toolbar);
    return toolbar;
}

// A flat button at the end of `toolbar`, named for tests, that runs `slot` of `receiver`.
template <class Receiver, class Slot>
QToolButton* addToolButton(QToolBar* toolbar, const char* name, const QString& hint,
                           const QIcon& icon, Receiver* receiver, Slot slot) {
    auto* b = named<QToolButton>(name, toolbar);
    b->setToolTip(hint);
    b->setIcon(icon);
    b->setAutoRaise(true);
    toolbar->addWidget(b);
    QObject::connect(b, &QToolButton::clicked, receiver, slot);
    return b;
}

// A panel of `bar`, named for tests, at least `minWidth` wide.
inline QLabel* addStatusPanel(QStatusBar* bar, const char* name, int minWidth) {
    auto* panel = named<QLabel>(name, bar);
    panel->setMinimumWidth(minWidth);
    bar->addWidget(panel);
    return panel;
}

// The desktop theme's icon `name`, or the style's own where the theme has none.
inline QIcon themed(const char* name, QStyle::StandardPixmap fallback, const QWidget* widget) {
    return QIcon::fromTheme(QLatin1String(name), widget->style()->standardIcon(fallback));
}

// The design sizes suit a font whose digits are 6 pixels wide; a larger desktop font widens
// windows and columns alike, so that numbers and dates still fit.
inline double designScale(const QFont& font) {
    return qMax(1.0, QFontMetricsF(font).horizontalAdvance(QLatin1Char('0')) / 6.0);
}

// A list of rows, not a tree: whole rows selected, several at once, nothing edited in place,
// fixed columns the user may widen. Uniform rows keep a long list quick to show and scroll.
inline void setUpList(QTreeView* view, const char* name) {
    view->setObjectName(QLatin1String(name));
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setSortingEnabled(false);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setIconSize(QSize(16, 16));
    view->header()->setStretchLastSection(false);
    view->header()->setSectionsMovable(false);
}

// A list the focus enters with rows to choose from but none chosen chooses its first row, so
// that the keys have a row to act on. Never added to a selection the user made: a command
// would act on the first row too.
inline void selectFirstRow(QAbstractItemView* view) {
    QItemSelectionModel* selection = view->selectionModel();
    if (view->model()->rowCount() < 2 || selection->hasSelection()) return;
    selection->setCurrentIndex(view->model()->index(0, 0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// `menu` pops up where the list is right-clicked (or the menu key pressed).
inline void setListPopup(QTreeView* view, QMenu* menu) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(
        view, &QWidget::customContextMenuRequested, menu,
        [view, menu](const QPoint& at) { menu->popup(view->viewport()->mapToGlobal(at)); });
}

}  // namespace zrk
