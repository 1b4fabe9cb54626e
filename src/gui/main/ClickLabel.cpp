#include "gui/main/ClickLabel.h"

#include <QMouseEvent>

namespace zrk {

void ClickLabel::mousePressEvent(QMouseEvent* e) {
    inDoubleClick_ = false;  // a double click whose release never came ends here
    QLabel::mousePressEvent(e);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton) return;
    if (inDoubleClick_) {
        inDoubleClick_ = false;
        return;
    }
    if (rect().contains(e->position().toPoint())) emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* e) {
    QLabel::mouseDoubleClickEvent(e);
    if (e->button() != Qt::LeftButton) return;
    inDoubleClick_ = true;
    emit doubleClicked();
}

}  // namespace zrk
