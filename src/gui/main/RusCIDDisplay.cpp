// The main window's fonts and colours, size, talk timer, view toggles, dragging, keyboard,
// and its controls wired to their commands.
#include "core/call/CallDesk.h"
#include "core/call/CallerReport.h"
#include "core/platform/TimeText.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "gui/book/PhoneBook.h"
#include "gui/calls/HistoryWindow.h"
#include "gui/calls/ListRing.h"
#include "gui/desktop/ColorRef.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/Icons.h"
#include "gui/main/Palette.h"
#include "gui/main/RusCID.h"
#include "gui/reminders/ReminderWindows.h"
#include "gui/settings/Form.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"
#include "gui/windows/CIDAbout.h"

#include "gui/windows/FontFit.h"

#include <QAction>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

#include <type_traits>

namespace zrk {
namespace {

QFont pointFont(const QString& family, int points) {
    QFont f(family);
    f.setPointSize(qMax(1, points));
    return f;
}

}  // namespace

void TRusCID::InitFont() {
    const TIni& s = ini();
    c_.pNumber->setFont(pointFont(s.NumberFont, s.NumberSize));
    c_.pCountCall->setFont(pointFont(s.CounterFont, s.CounterSize));
    c_.pInfo->setFont(pointFont(s.InfoFont, s.InfoSize));
    const quint32 back = s.BackgroundColor;
    setColours(c_.pNumber, s.NumberColor, back);
    setColours(c_.pCountCall, s.CounterColor, back);
    setColours(c_.pInfo, s.InfoColor, back);
    setColours(c_.pClock, s.InfoColor, back);
    setColours(c_.pTimer, s.NotActiveColor, back);
    setColours(c_.pTools, s.InfoColor, back);
    for (QWidget* w : {c_.stSound, c_.stPort, c_.stButtons})
        setColours(w, toColorRef(w->palette().color(QPalette::WindowText)), back);
    setColours(c_.stPhones, s.NotActiveColor, back);
    setColours(c_.stZvon, back, back);  // the ring label stays invisible until a ring
    fitNumberFont(c_.pNumber);
}

void TRusCID::HeightForm() {
    Qt::WindowFlags flags = Qt::Window;
    if (c_.mPStayOnTop && c_.mPStayOnTop->isChecked()) flags |= Qt::WindowStaysOnTopHint;
    if (ini().Buttons) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        c_.pTools->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        c_.pTools->setLineWidth(2);
        setFixedSize(c_.pTools->width() + c_.pCountCall->width() + 10,
                     c_.pTools->height() + 4 * c_.sbKeys[1]->height() + 9);
        setTextColour(c_.stButtons, ini().InfoColor);
    } else {
        flags |= Qt::FramelessWindowHint;
        c_.pTools->setFrameStyle(QFrame::NoFrame);
        setFixedSize(c_.pTools->width(), c_.pTools->height());
        setTextColour(c_.stButtons, ini().NotActiveColor);
    }
    setFlagsShown(flags);
}

void TRusCID::applyStayOnTop(bool on) {
    setFlagsShown(windowFlags().setFlag(Qt::WindowStaysOnTopHint, on));
}

void TRusCID::setFlagsShown(Qt::WindowFlags flags) {
    if (windowFlags() == flags) return;
    const bool wasVisible = isVisible();
    s_.reflagging = true;
    setWindowFlags(flags);  // hides the window: bring it back as it was
    if (wasVisible) show();
    s_.reflagging = false;
}

void TRusCID::ViewSound() {
    setTextColour(c_.stSound, ini().Sound ? ini().InfoColor : ini().NotActiveColor);
}

void TRusCID::RunStopTimer(bool on) {
    if (on)
        c_.tTimer->start();
    else
        c_.tTimer->stop();
    setTextColour(c_.pTimer, on ? ini().InfoColor : ini().NotActiveColor);
}

void fitNumberFont(QLabel* number) {
    QFont f = number->font();
    f.setPointSize(qMax(1, ini().NumberSize));
    while (QFontMetrics(f).horizontalAdvance(number->text()) > number->width() && f.pointSize() > 1)
        f.setPointSize(f.pointSize() - 1);
    number->setFont(f);
}

void TRusCID::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            desk_.answer();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            desk_.dial();
            return;
        case Qt::Key_Backspace:
            desk_.backspace();
            return;
        default:
            break;
    }
    const QChar key = event->text().size() == 1 ? event->text().at(0) : QChar();
    if (key.isDigit() && key.unicode() < 128) {
        desk_.digit(key.unicode() - '0');  // also while the keypad is disabled
        return;
    }
    if (key == QLatin1Char('*')) desk_.flash();
    if (!key.isNull()) return;  // a typed character is this window's, whatever it is
    QWidget::keyPressEvent(event);
}

bool TRusCID::eventFilter(QObject* watched, QEvent* event) {
    // The display area moves the window: the grabbed point stays under the pointer.
    if (event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) s_.dragStart = e->position().toPoint();
    } else if (event->type() == QEvent::MouseMove) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->buttons() & Qt::LeftButton) {
            const QPoint p = e->position().toPoint();
            if (p != s_.dragStart)
                move(x() + p.x() - s_.dragStart.x(), y() + p.y() - s_.dragStart.y());
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == c_.pNumber) {
        desk_.dial();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TRusCID::wire() {
    // No error may escape into the toolkit: a window's command that fails is shown.
    const auto guarded = [this](const auto& f) {
        try {
            f();
        } catch (...) {
            HandleException(std::current_exception());
        }
    };
    // A menu item's trigger, a button's or a label's click.
    const auto on = [this, guarded](auto* sender, auto f) {
        using Sender = std::remove_pointer_t<decltype(sender)>;
        if constexpr (std::is_same_v<Sender, QAction>)
            connect(sender, &QAction::triggered, this, [guarded, f] { guarded(f); });
        else
            connect(sender, &Sender::clicked, this, [guarded, f] { guarded(f); });
    };

    on(c_.mPShow, [this] { mPShowClick(); });
    on(c_.mPStayOnTop, [this] { applyStayOnTop(c_.mPStayOnTop->isChecked()); });
    // A check mark of the menu switches its setting.
    const auto switches = [](QAction* item, bool TIni::*value) {
        return [item, value] {
            changeSettings(SettingsChange::Switched,
                           [item, value](TIni& s) { s.*value = item->isChecked(); });
        };
    };
    const auto toggleButtons = switches(c_.mPButton, &TIni::Buttons);
    on(c_.mPButton, toggleButtons);
    on(c_.stButtons, [this, toggleButtons] {
        c_.mPButton->setChecked(!c_.mPButton->isChecked());
        toggleButtons();
    });
    on(c_.mPClock, switches(c_.mPClock, &TIni::Clock));
    on(c_.mPTimer, switches(c_.mPTimer, &TIni::Timer));
    const auto showBook = [this] {
        if (!windows_.book) return;
        if (c_.mPBook->isChecked())
            windows_.book->show();
        else
            windows_.book->close();
    };
    on(c_.mPBook, showBook);
    const auto flipBook = [this, showBook] {
        c_.mPBook->setChecked(!c_.mPBook->isChecked());
        showBook();
    };
    on(c_.sbBook, flipBook);
    on(c_.stPhones, flipBook);
    CallDesk* d = &desk_;
    on(c_.mPOpenPort, [d] { d->openPort(); });
    on(c_.mPClosePort, [d] { d->closePort(); });
    on(c_.sbOpenClose, [d] { d->togglePort(); });
    on(c_.stPort, [d] { d->togglePort(); });
    on(c_.mPExit, [this] { close(); });
    on(c_.mPAbout, [this] {
        TCIDAbout about(this);
        about.exec();
    });
    on(c_.mPOpti, [this] {
        const auto host = makeOptionsHost();
        TOptions dialog(*host, this);
        dialog.exec();
    });
    on(c_.mPHistory, [this] {
        if (!c_.history) {
            // A window of its own, not kept over the main window; it reads the log anew each
            // time it opens, so a changed "Log File" is followed.
            c_.history = new HistoryWindow(*this, *this, ini().LogFile);
            c_.history->setAttribute(Qt::WA_DeleteOnClose);
        }
        c_.history->show();
        c_.history->raise();
        c_.history->activateWindow();
    });
    const auto showReminders = [this] {
        if (!windows_.reminders) return;
        c_.mPReminder->setChecked(!c_.mPReminder->isChecked());
        if (c_.mPReminder->isChecked()) {
            windows_.reminders->show();
            windows_.reminders->raise();
        } else {
            windows_.reminders->close();
        }
    };
    on(c_.mPReminder, [this, showReminders] {
        // The item has flipped its own check mark already.
        c_.mPReminder->setChecked(!c_.mPReminder->isChecked());
        showReminders();
    });
    on(c_.sbOpti, showReminders);
    on(c_.N9, [this] {
        if (windows_.reminders) windows_.reminders->addForNumber(c_.pNumber->text());
    });
    on(c_.N8, [this] {
        if (windows_.book) windows_.book->addWithNumber(c_.pNumber->text());
    });
    on(c_.sbHide, [this] {
        closeSideWindows();
        hideToTray();
    });
    on(c_.sbAnswer, [d] { d->answer(); });
    on(c_.mPAnswer, [d] { d->answer(); });
    on(c_.sbDial, [d] { d->dial(); });
    on(c_.mPReDial, [d] { d->dial(); });
    on(c_.sbFlash, [d] { d->flash(); });
    on(c_.N2, [d] { d->flash(); });
    on(c_.CID, [d] { d->identify(); });
    for (int k = 0; k <= 9; ++k) on(c_.sbKeys[k], [d, k] { d->digit(k); });
    on(c_.sbViewListRing, [this] {
        if (!windows_.calls) return;
        const bool wasShown = s_.callListShown;
        s_.callListShown = !s_.callListShown;
        if (wasShown)
            windows_.calls->close();
        else
            windows_.calls->show();
    });
    connect(c_.pCountCall, &ClickLabel::doubleClicked, this, [this, guarded] {
        guarded([this] {
            if (windows_.calls) windows_.calls->sbClearClick();
        });
    });
    on(c_.stSound,
       [] { changeSettings(SettingsChange::Switched, [](TIni& s) { s.Sound = !s.Sound; }); });
    on(c_.pTimer, [this] { RunStopTimer(!c_.tTimer->isActive()); });
    connect(c_.pTimer, &ClickLabel::doubleClicked, this, [this] {
        c_.tTimer->stop();
        s_.talkSeconds = 0;
        c_.pTimer->setText(talkTimerText(0));
        setTextColour(c_.pTimer, ini().NotActiveColor);
    });
    connect(c_.tTimer, &QTimer::timeout, this, [this] {
        s_.talkSeconds = nextTalkSecond(s_.talkSeconds);
        c_.pTimer->setText(talkTimerText(s_.talkSeconds));
    });
    connect(c_.clockTimer, &QTimer::timeout, this,
            [this] { c_.pClock->setText(localTimeText(QTime::currentTime(), false)); });
}

}  // namespace zrk
