#pragma once
// One line per window for keeping where it was left: a window calls restore() when it is
// created and save() when it closes.
#include "core/platform/Failure.h"

#include <QList>
#include <QString>

class QHeaderView;
class QWidget;

namespace zrk {

class WindowPlacement {
public:
    // `keyName` below the settings root, e.g. "Position\\Main". Resizable windows keep their
    // size too.
    WindowPlacement(QString keyName, bool resizable) : key_(std::move(keyName)), resizable_(resizable) {}

    // Column widths of a list window, one key per column: `<keyName>\Section<index>`.
    // `keyIndexes` gives each column's index in the key name (-1: not kept); empty means
    // the column's own position.
    void setColumns(QHeaderView* header, QList<int> keyIndexes = {});

    // A stored value of a wrong type or a store that cannot be written raises
    // ERegistryException. restore() tells whether a place was stored; without one the window
    // is not moved.
    bool restore(QWidget* window) const;
    void save(const QWidget* window) const;
    // The same for windows that have nobody to hand the error to: it goes to the failure
    // presenter, and the window goes on with what it has.
    bool restoreOrReport(QWidget* window) const noexcept;
    void saveOrReport(QWidget* window) const noexcept;
    // The same, what failed returned as values for whoever closes the window.
    Failures saveForClose(const QWidget* window) const noexcept;

    // At the end of the program: keeps the place and closes `window`, whose close then finds
    // closingForExit() and leaves the keeping here. What fails is returned, never shown:
    // nobody may be there to click a box.
    Failures closeForExit(QWidget* window);
    bool closingForExit() const { return closing_; }
    // The user's close: the place is kept, unless closeForExit does it.
    void saveOnClose(QWidget* window) const noexcept {
        if (!closing_) saveOrReport(window);
    }

private:
    int keyIndex(int column) const;
    QString columnKey(int index) const;

    QString key_;
    bool resizable_;
    QHeaderView* header_ = nullptr;
    QList<int> keyIndexes_;
    bool closing_ = false;
};

}  // namespace zrk
