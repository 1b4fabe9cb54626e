#include "gui/windows/StatusIcons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>

namespace zrk {

QPixmap paintedPixmap(int size, const std::function<void(QPainter&)>& draw) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return pm;
}

namespace {

// A green disc with a white tick: nothing special about this caller.
void drawNormal(QPainter& p, qreal s) {
    p.setPen(QPen(QColor(0, 100, 0), s / 16));
    p.setBrush(QColor(40, 170, 60));
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    QPen tick(Qt::white, s * 0.13, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(tick);
    p.setBrush(Qt::NoBrush);
    const QPointF pts[] = {{s * 0.28, s * 0.52}, {s * 0.44, s * 0.68}, {s * 0.72, s * 0.34}};
    p.drawPolyline(pts, 3);
}

// A red no-entry sign: a caller the user does not want.
void drawBad(QPainter& p, qreal s) {
    p.setPen(QPen(QColor(120, 0, 0), s / 16));
    p.setBrush(QColor(210, 30, 30));
    p.drawEllipse(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.22, s * 0.42, s * 0.56, s * 0.16));
}

// A gold star: a caller who comes first.
void drawPriority(QPainter& p, qreal s) {
    QPolygonF star;
    const QPointF c(s / 2, s * 0.53);
    const qreal outer = s * 0.47, inner = s * 0.19;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? outer : inner;
        const qreal a = qDegreesToRadians(-90.0 + i * 36.0);
        star << QPointF(c.x() + r * qCos(a), c.y() + r * qSin(a));
    }
    p.setPen(QPen(QColor(150, 100, 0), s / 20));
    p.setBrush(QColor(250, 200, 20));
    p.drawPolygon(star);
}

}  // namespace

QPixmap statusPixmap(int status, int size) {
    if (status < 0 || status >= kStatusImageCount || size <= 0) return {};
    static void (*const kDraw[kStatusImageCount])(QPainter&, qreal) = {drawNormal, drawBad,
                                                                       drawPriority};
    return paintedPixmap(size, [status, size](QPainter& p) { kDraw[status](p, size); });
}

QIcon statusIcon(int status) {
    if (status < 0 || status >= kStatusImageCount) return {};
    QIcon icon;
    icon.addPixmap(statusPixmap(status, 16));
    icon.addPixmap(statusPixmap(status, 32));
    return icon;
}

QPixmap programPixmap(int size) {
    return paintedPixmap(size, [s = qreal(size)](QPainter& p) {
        p.setPen(QPen(QColor(90, 90, 90), qMax<qreal>(1, s / 16)));
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(s * 0.04, s * 0.18, s * 0.92, s * 0.64), s * 0.1, s * 0.1);
        // Three digit-like green bars, as the display shows a number.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 255, 0));
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(s * (0.16 + i * 0.25), s * 0.36, s * 0.16, s * 0.28));
    });
}

QIcon programIcon() {
    const QIcon app = QGuiApplication::windowIcon();
    if (!app.isNull()) return app;
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(programPixmap(size));
    return icon;
}

}  // namespace zrk
