#pragma once
#include <QLabel>

namespace zrk {

// A label that answers clicks and double clicks, like the panels and one-letter indicators
// of the main window.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
};

}  // namespace zrk
