#pragma once
// Sizing a display font to its panel. Both work in points from the font's own size and only
// measure; they never touch a widget.
#include <QFont>
#include <QSize>
#include <QString>

namespace zrk {

// Grows `font` by 5 points at a time until `text` is at least as wide as `area` or at least
// as tall: the first such size is returned. An empty text, or one that already reaches the
// area, keeps the font as it is; the font never shrinks.
QFont growFontToFit(QFont font, const QString& text, const QSize& area);

// Shrinks `font` by 1 point at a time while `text` is wider than `width` and the size is
// above 1.
QFont shrinkFontToWidth(QFont font, const QString& text, int width);

// Narrows `font` (its stretch, never its height) until `text` fits in `width`, down to half
// its width: panels laid out for a narrow bitmap face keep their character height in the
// wider faces of this desktop.
QFont condenseToWidth(QFont font, const QString& text, int width);

}  // namespace zrk
