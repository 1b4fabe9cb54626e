#pragma once
// The pictures of a caller's phone-book status (0 normal, 1 bad, 2 priority), drawn rather
// than loaded so that the program needs no image files. Also the program's own icon.
#include <QIcon>
#include <QPixmap>

#include <functional>

class QPainter;

namespace zrk {

inline constexpr int kStatusImageCount = 3;

// A transparent square of `size` pixels with what `draw` paints on it, smoothed.
QPixmap paintedPixmap(int size, const std::function<void(QPainter&)>& draw);

// The status picture, `size` pixels square (16 and 32 are the sizes in use); a null pixmap
// for a status outside 0..2.
QPixmap statusPixmap(int status, int size);
// The status picture in both sizes, for list views and menus; a null icon outside 0..2.
QIcon statusIcon(int status);

// A small black caller-ID display with a green number.
QPixmap programPixmap(int size);
// The application's window icon when it has one, else programPixmap in the usual sizes.
QIcon programIcon();

}  // namespace zrk
