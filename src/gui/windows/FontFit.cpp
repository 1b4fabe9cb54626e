#include "gui/windows/FontFit.h"

#include <QFontMetrics>

namespace zrk {

namespace {

// A text of nothing but zero-width characters never gets wider; its height does, but the
// loop must end even on a font whose metrics stop growing.
constexpr int kLargestPointSize = 2000;

bool reaches(const QFont& font, const QString& text, const QSize& area) {
    const QFontMetrics fm(font);
    return fm.horizontalAdvance(text) >= area.width() || fm.height() >= area.height();
}

}  // namespace

QFont growFontToFit(QFont font, const QString& text, const QSize& area) {
    if (text.isEmpty()) return font;
    int size = font.pointSize();
    if (size <= 0) return font;  // a pixel-sized font has no point size to grow
    while (!reaches(font, text, area) && size + 5 <= kLargestPointSize) {
        size += 5;
        font.setPointSize(size);
    }
    return font;
}

QFont shrinkFontToWidth(QFont font, const QString& text, int width) {
    int size = font.pointSize();
    while (size > 1 && QFontMetrics(font).horizontalAdvance(text) > width) {
        --size;
        font.setPointSize(size);
    }
    return font;
}

QFont condenseToWidth(QFont font, const QString& text, int width) {
    for (int stretch = 100; stretch >= 50; stretch -= 2) {
        font.setStretch(stretch);
        if (QFontMetrics(font).horizontalAdvance(text) <= width) break;
    }
    return font;
}

}  // namespace zrk
