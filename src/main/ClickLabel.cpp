#include "main/ClickLabel.h"

#include <QMouseEvent>

namespace zrk {

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* e) {
    QLabel::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) emit doubleClicked();
}

}  // namespace zrk
