#pragma once
// TAllScreen: the full-screen number.
// The caller's number over the whole screen, for a user who wants to see it from across the
// room. Created once and reused for every call; the caller fills it with InitForm and shows
// it.
#include <QWidget>

class QLabel;

namespace zrk {

class Line;

class TAllScreen : public QWidget {
    Q_OBJECT
public:
    explicit TAllScreen(Line& line, QWidget* parent = nullptr);

    // Fills both panels from the display settings and grows each font until its text
    // reaches the panel's width or height.
    void InitForm(const QString& number, const QString& info);

    // The number's font colour; the main window blinks the number with it while the line
    // rings.
    void setNumberColor(const QColor& color);

    // Height of the information panel along the bottom edge.
    static constexpr int kInfoHeight = 89;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placePanels(const QSize& size);

    Line& line_;
    QLabel* pNumber_;
    QLabel* pInfo_;
};

}  // namespace zrk
