#include "gui/windows/DialogLook.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

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

void askBeforeDelete(QMessageBox& box, const QString& caption, const QString& text) {
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel);
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("zrk::DialogLook", "Удалить"));
    box.button(QMessageBox::Cancel)->setText(QCoreApplication::translate("zrk::DialogLook", "Отмена"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
}

}  // namespace zrk
