#pragma once
// Every message box that comes on screen while this lives, as "caption: text", closed at
// once: a test sees what the user would have been told and never waits on a box.
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace zrktest {

struct ShownBoxes : QObject {
    ShownBoxes() { qApp->installEventFilter(this); }
    ~ShownBoxes() override { qApp->removeEventFilter(this); }
    Q_DISABLE_COPY(ShownBoxes)

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (box && event->type() == QEvent::Show) {
            shown << box->windowTitle() + ": " + box->text();
            icons << box->icon();
            modal << (box->windowModality() != Qt::NonModal);
            QTimer::singleShot(0, box, [box] { box->close(); });
        }
        return false;
    }

    QStringList shown;
    QList<QMessageBox::Icon> icons;
    QList<bool> modal;
};

}  // namespace zrktest
