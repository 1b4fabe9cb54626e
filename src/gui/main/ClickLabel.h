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
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    // The release that ends a double click is not another click: the timer's double click
    // would otherwise start it again right after resetting it.
    bool inDoubleClick_ = false;
};

}  // namespace zrk
