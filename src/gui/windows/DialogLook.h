#pragma once
// What the program's small dialogs share in look: a fixed-size frame with a close box only,
// and blue underlined labels that act as links.
#include <QDialog>

class QLabel;
class QMessageBox;

namespace zrk {

inline constexpr Qt::WindowFlags kFixedDialogFlags =
    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
    Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The design size, or more where the desktop's font needs it: no caption is ever cut.
void fixDialogSize(QDialog* dialog, int width, int height);

// Blue, underlined, with the hand cursor. The caller watches its clicks.
void styleAsLink(QLabel* label);

// Makes `box` the question before a delete, as desktops ask it: `caption` names the action,
// and the button that does it says "Удалить" beside "Отмена". That button is the box's Yes,
// the default; Cancel, Esc and the close box answer Cancel.
void askBeforeDelete(QMessageBox& box, const QString& caption, const QString& text);

}  // namespace zrk
