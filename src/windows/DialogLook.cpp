#include "windows/DialogLook.h"

#include <QLabel>

namespace zrk {

void fixDialogSize(QDialog* dialog, int width, int height) {
    const QSize hint = dialog->sizeHint();
    dialog->setFixedSize(qMax(width, hint.width()), qMax(height, hint.height()));
}

void styleAsLink(QLabel* label) {
    QFont f = label->font();
    f.setUnderline(true);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(pal);
    label->setCursor(Qt::PointingHandCursor);
}

}  // namespace zrk
