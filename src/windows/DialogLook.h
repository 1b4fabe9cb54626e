#pragma once
// What the program's small dialogs share in look: a fixed-size frame with a close box only,
// and blue underlined labels that act as links.
#include <QDialog>

class QLabel;

namespace zrk {

inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The design size, or more where the desktop's font needs it: no caption is ever cut.
void fixDialogSize(QDialog* dialog, int width, int height);

// Blue, underlined, with the hand cursor. The caller watches its clicks.
void styleAsLink(QLabel* label);

}  // namespace zrk
