#include "gui/main/Icons.h"

#include "gui/windows/StatusIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace zrk {
namespace {

// A handset lying on its side.
void drawHandset(QPainter& p, const QRectF& r, const QColor& c) {
    QPainterPath path;
    const qreal w = r.width(), h = r.height();
    path.moveTo(r.left() + 0.05 * w, r.top() + 0.55 * h);
    path.cubicTo(r.left() + 0.05 * w, r.top() + 0.15 * h, r.left() + 0.95 * w, r.top() + 0.15 * h,
                 r.left() + 0.95 * w, r.top() + 0.55 * h);
    path.lineTo(r.left() + 0.75 * w, r.top() + 0.75 * h);
    path.lineTo(r.left() + 0.62 * w, r.top() + 0.55 * h);
    path.lineTo(r.left() + 0.38 * w, r.top() + 0.55 * h);
    path.lineTo(r.left() + 0.25 * w, r.top() + 0.75 * h);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

}  // namespace

QIcon trayIcon(int index) {
    static const QColor colours[3] = {QColor(0, 200, 0), QColor(128, 128, 128), QColor(255, 60, 0)};
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        icon.addPixmap(paintedPixmap(size, [size, index](QPainter& p) {
            p.setBrush(Qt::black);
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(QRectF(0, 0, size, size), size / 5.0, size / 5.0);
            drawHandset(p, QRectF(size * 0.1, size * 0.15, size * 0.8, size * 0.7),
                        colours[qBound(0, index, 2)]);
        }));
    }
    return icon;
}

QIcon appIcon() {
    return trayIcon(0);
}

QIcon answerGlyph() {
    return QIcon(paintedPixmap(
        16, [](QPainter& p) { drawHandset(p, QRectF(0, 2, 16, 12), QColor(0, 128, 0)); }));
}

QIcon resetGlyph() {
    return QIcon(paintedPixmap(16, [](QPainter& p) {
        p.setPen(QPen(QColor(160, 0, 0), 2));
        p.drawLine(4, 4, 12, 12);
        p.drawLine(12, 4, 4, 12);
    }));
}

QIcon portGlyph(bool open) {
    return QIcon(paintedPixmap(16, [open](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(open ? QColor(0, 160, 0) : QColor(160, 0, 0));
        p.drawEllipse(QRectF(3, 3, 10, 10));
    }));
}

}  // namespace zrk
