#pragma once
// The main window's pictures, drawn rather than shipped: the tray icons and button glyphs.
#include <QIcon>

namespace zrk {

// 0 port active, 1 port inactive, 2 ring highlight.
QIcon trayIcon(int index);
// The handset glyph of the answer button, the reset glyph, the open and closed port.
QIcon answerGlyph();
QIcon resetGlyph();
QIcon portGlyph(bool open);
QIcon appIcon();

}  // namespace zrk
