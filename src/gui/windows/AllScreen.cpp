#include "gui/windows/AllScreen.h"

#include "gui/desktop/ColorRef.h"
#include "gui/settings/Form.h"
#include "core/settings/Settings.h"
#include "gui/windows/FontFit.h"
#include "gui/windows/Line.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace zrk {

namespace {

QLabel* makePanel(QWidget* parent, const char* name) {
    auto* panel = named<QLabel>(name, parent);
    panel->setAlignment(Qt::AlignCenter);
    panel->setAutoFillBackground(true);
    panel->setFrameShape(QFrame::NoFrame);
    panel->setTextFormat(Qt::PlainText);
    return panel;
}

void paint(QLabel* panel, quint32 background, quint32 text) {
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, fromColorRef(background));
    pal.setColor(QPalette::WindowText, fromColorRef(text));
    panel->setPalette(pal);
}

void fill(QLabel* panel, const QString& text, const QString& face, int size, quint32 background,
          quint32 color) {
    panel->setText(text);
    paint(panel, background, color);
    QFont font(face);
    font.setPointSize(size > 0 ? size : 1);
    panel->setFont(growFontToFit(font, text, panel->size()));
}

}  // namespace

TAllScreen::TAllScreen(Line& line, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      line_(line),
      pNumber_(makePanel(this, "pNumber")),
      pInfo_(makePanel(this, "pInfo")) {
    setObjectName(QStringLiteral("AllScreen"));
    setFocusPolicy(Qt::StrongFocus);
    pNumber_->installEventFilter(this);
    pInfo_->installEventFilter(this);
    // The panels are sized now, not when the window is first shown, because InitForm
    // measures against them before the caller shows the window.
    const QScreen* screen = QGuiApplication::primaryScreen();
    resize(screen ? screen->geometry().size() : QSize(800, 600));
    placePanels(size());
    // Full screen rather than maximised: the number covers the task bar too, and the panel
    // sizes measured above stay the ones shown.
    setWindowState(Qt::WindowFullScreen);
}

void TAllScreen::placePanels(const QSize& size) {
    const int infoHeight = qMin(kInfoHeight, size.height());
    pInfo_->setGeometry(0, size.height() - infoHeight, size.width(), infoHeight);
    pNumber_->setGeometry(0, 0, size.width(), size.height() - infoHeight);
}

void TAllScreen::resizeEvent(QResizeEvent* event) {
    placePanels(event->size());
    QWidget::resizeEvent(event);
}

void TAllScreen::InitForm(const QString& number, const QString& info) {
    const TIni& s = ini();
    fill(pNumber_, number, s.NumberFont, s.NumberSize, s.BackgroundColor, s.NumberColor);
    fill(pInfo_, info, s.InfoFont, s.InfoSize, s.BackgroundColor, s.InfoColor);
}

void TAllScreen::setNumberColor(const QColor& color) {
    QPalette pal = pNumber_->palette();
    pal.setColor(QPalette::WindowText, color);
    pNumber_->setPalette(pal);
}

void TAllScreen::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape)
        return QWidget::keyPressEvent(event);
    try {
        line_.sbAnswerClick();
    } catch (...) {
        // Closed all the same: a window over the whole screen would hide the error.
        close();
        line_.HandleException(std::current_exception());
        return;
    }
    close();
}

bool TAllScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == pNumber_ || watched == pInfo_)) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zrk
