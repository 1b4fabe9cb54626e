#pragma once
// PlacedDialog: a dialog that opens where the user left it. Each one restores its place when
// it is made; closing it by any button, Esc or the close box keeps the place.
#include "gui/settings/WindowPlacement.h"

#include <QDialog>

namespace zrk {

class PlacedDialog : public QDialog {
    Q_OBJECT
public:
    // `key` below the settings root, e.g. "Position\\Options".
    PlacedDialog(const QString& key, QWidget* parent, Qt::WindowFlags flags = {})
        : QDialog(parent, flags), placement_(key, false) {}

    void done(int result) override;

protected:
    WindowPlacement placement_;
};

}  // namespace zrk
