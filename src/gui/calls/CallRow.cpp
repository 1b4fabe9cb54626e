#include "gui/calls/CallRow.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace zrk {

QString callTimeText(const QTime& time) {
    return time.toString(QStringLiteral("H:mm:ss"));
}

QString callDateText(const QDate& date, const QLocale& locale) {
    const QString text = locale.toString(date, QLocale::ShortFormat);
    const bool oneWord = !text.isEmpty() && std::none_of(text.begin(), text.end(),
                                                         [](QChar c) { return c.isSpace(); });
    return oneWord ? text : date.toString(QStringLiteral("dd.MM.yyyy"));
}

QColor missedColour() {
    return QColor(0xB7, 0x1C, 0x1C);
}

QIcon missedIcon() {
    // The usual sign of a missed call: an arrow that came in and went away again.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(missedColour(), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(4, 10), QPointF(14, 22), QPointF(28, 8)}));
    p.drawPolyline(QPolygonF({QPointF(19, 8), QPointF(28, 8), QPointF(28, 17)}));
    p.end();
    return QIcon(pixmap);
}

QString missedHint() {
    return QCoreApplication::translate("zrk::CallRow", "Пропущенный звонок");
}

}  // namespace zrk
