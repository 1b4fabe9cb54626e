// The main window as the desk's view: the line's status, the port, rings and their sounds,
// the identified caller, the count, the answer; and the call commands sent to the desk.
#include "gui/main/CallNotifier.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/Icons.h"
#include "gui/main/Palette.h"
#include "gui/main/RusCID.h"

#include "core/call/CallDesk.h"
#include "core/call/LineStatus.h"
#include "core/settings/Settings.h"
#include "gui/book/PhoneBook.h"
#include "gui/calls/ListRing.h"
#include "gui/desktop/ColorRef.h"
#include "gui/desktop/Sound.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/FailurePresenter.h"
#include "gui/windows/WinAlert.h"

#include <QAction>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace zrk {

void TRusCID::wireDesk() {
    CallDesk* d = &desk_;
    connect(d, &CallDesk::statusChanged, this, [this](int code, bool dialOver) {
        c_.pInfo->setText(code <= 0 ? QString() : QStringLiteral("* %1 *").arg(statusText(code)));
        setInfoHint(s_.infoHint, false);
        setTray(-1, QStringLiteral("Zrk: ") + statusText(code));
        if (code == 7 && windows_.alert && windows_.alert->isVisible()) windows_.alert->close();
        if (dialOver) {
            c_.tRinging->stop();
            setTextColour(c_.pInfo, ini().InfoColor);
        }
        if (code == 8) {
            c_.tRinging->setInterval(200);
            s_.blinkCount = 0;
            c_.tRinging->start();
        }
    });
    connect(d, &CallDesk::portChanged, this, &TRusCID::showPort);
    connect(d, &CallDesk::noModem, this, [this] {
        c_.pInfo->setText(tr("* Нет модема *"));
        setTray(1, tr("Zrk: Нет модема"));
    });
    connect(d, &CallDesk::ringing, this, [this](bool newCall) {
        // The last caller's alert is not this caller's.
        if (newCall && windows_.alert && windows_.alert->isVisible()) windows_.alert->close();
        if (ini().PopupOnCall && (!isVisible() || isMinimized())) {
            c_.notifier->ringPoppedUp();  // the call came while the window was out of sight
            s_.hideOnIdle = false;
            showNormal();
        }
    });
    connect(d, &CallDesk::wave, this, [this](RingSound sound, const QString& file) {
        c_.tRing->setInterval(500);
        s_.blinkCount = 0;
        c_.tRing->start();  // the blink runs even in silence
        if (!sound_ || sound == RingSound::Silent) return;
        if (sound == RingSound::Speaker) {
            sound_->playSpeakerMelody(2);
            return;
        }
        sound_->stop();
        if (!file.isEmpty()) sound_->play(file);
    });
    connect(d, &CallDesk::numberChanged, this, [this](const QString& shown) {
        c_.pNumber->setText(shown);
        fitNumberFont(c_.pNumber);
    });
    connect(d, &CallDesk::callerIdentified, this, &TRusCID::showCaller);
    connect(d, &CallDesk::showMessage, this,
            [this](const QString& name, const QString& shown, const QString& group, int status) {
                if (ini().Screen || !windows_.alert) return;
                windows_.alert->InitForm(name, shown, group, status);
                windows_.alert->show();
            });
    connect(d, &CallDesk::callListed, this,
            [this](const QString& shown, const QString& name, int status, const QString& line,
                   const QDateTime& when) {
                if (windows_.calls) windows_.calls->AddItem(shown, name, status, line, when);
            });
    connect(d, &CallDesk::callEvent, this, [this](CallEvent event, const CallerShown& caller) {
        if (event == CallEvent::Missed && windows_.calls)
            windows_.calls->markMissed(caller.shown, caller.when);
    });
    connect(d, &CallDesk::countChanged, this,
            [this](int count) { c_.pCountCall->setText(QString::number(count)); });
    connect(d, &CallDesk::redialCountdown, this, [this](int wait) {
        const QString text = tr(" повтор через %1 сек").arg(wait);
        setTray(-1, QStringLiteral("Zrk: ") + text);
        c_.pInfo->setText(QStringLiteral("* %1 *").arg(text));
    });
    connect(d, &CallDesk::answered, this, &TRusCID::showAnswer);
    connect(d, &CallDesk::callEnded, c_.notifier, &CallNotifier::callEnded);
    connect(d, &CallDesk::failed, c_.failures, &FailurePresenter::show);
    // The ring label blinks six times and stays dark; the strip twenty times while the far
    // end rings.
    connect(c_.tRing, &QTimer::timeout, this, [this] {
        s_.blinkPhase ^= 1;
        if (++s_.blinkCount > 6) {
            c_.tRing->stop();
            Ringing(true);
        } else {
            Ringing(s_.blinkPhase == 0);
        }
    });
    connect(c_.tRinging, &QTimer::timeout, this, [this] {
        s_.blinkPhase ^= 1;
        if (++s_.blinkCount > 20) {
            c_.tRinging->stop();
            setTextColour(c_.pInfo, ini().InfoColor);
        } else {
            setTextColour(c_.pInfo, s_.blinkPhase == 1 ? ini().InfoColor : ini().BackgroundColor);
        }
    });
}

void TRusCID::showPort(bool on) {
    for (QToolButton* b : {c_.sbAnswer, c_.sbDial, c_.sbFlash}) b->setEnabled(on);
    for (QToolButton* b : c_.sbKeys) b->setEnabled(on);
    for (QAction* a : {c_.mPAnswer, c_.mPClosePort, c_.mPReDial, c_.CID}) a->setEnabled(on);
    // A desk without a modem has no port to open: nothing offers to.
    const bool modem = desk_.hasModem();
    c_.mPOpenPort->setEnabled(!on && modem);
    c_.sbOpenClose->setEnabled(on || modem);
    c_.stPort->setEnabled(on || modem);
    const quint32 textColour = on ? ini().InfoColor : ini().NotActiveColor;
    setTextColour(c_.pNumber, on ? ini().NumberColor : ini().NotActiveColor);
    setTextColour(c_.pInfo, textColour);
    setTextColour(c_.stPort, textColour);
    c_.sbOpenClose->setText(on ? tr("Закрыть порт") : tr("Открыть порт"));
    c_.sbOpenClose->setIcon(on || modem ? portGlyph(!on) : QIcon());
    setTray(on ? 0 : 1);
    if (windows_.book) windows_.book->setPortActive(on);
}

void TRusCID::showCaller(const CallerShown& c) {
    if (c.hasCategory) {
        c_.pInfo->setText(c.caption);
        if (c.hintChanged) setInfoHint(c.hint, c.showHint);
    }
    if (!c.district.isEmpty()) {
        c_.pInfo->setText(c.district);
        setInfoHint(c.district, true);
    }
    if (!c.name.isEmpty()) c_.pInfo->setText(c.name);
    setTray(-1, c.shown + QLatin1Char(' ') + c.name);
    c_.notifier->callIdentified({.shown = c.shown,
                                 .name = c.name,
                                 .category = c.hasCategory ? c.caption : QString(),
                                 .district = c.district,
                                 .status = c.status,
                                 .dialable = c.dialable},
                                c.again, ini().Notifications);
    if (!ini().Screen || !windows_.allScreen) return;
    // In an office of several lines the line tells who should pick up.
    const QString info = c.line.isEmpty()   ? c.name
                         : c.name.isEmpty() ? tr("Линия %1").arg(c.line)
                                            : tr("%1 (линия %2)").arg(c.name, c.line);
    windows_.allScreen->InitForm(c.shown, info);
    windows_.allScreen->showFullScreen();
}

void TRusCID::showAnswer(bool incoming) {
    if (windows_.alert && windows_.alert->isVisible()) windows_.alert->close();
    if (windows_.allScreen && windows_.allScreen->isVisible()) windows_.allScreen->close();
    if (sound_) sound_->stop();
    RunStopTimer(incoming);
    c_.tRinging->stop();
    c_.tRing->stop();
    Ringing(true);
    setTextColour(c_.pInfo, ini().InfoColor);
}

void TRusCID::Ringing(bool steady) {
    setTextColour(c_.stZvon, steady ? ini().BackgroundColor : ini().CounterColor);
    if (windows_.allScreen && windows_.allScreen->isVisible())
        windows_.allScreen->setNumberColor(
            fromColorRef(steady ? ini().NumberColor : ini().BackgroundColor));
    setTray(steady ? 0 : 2);
}

void TRusCID::setInfoHint(const QString& hint, bool show) {
    s_.infoHint = hint;
    c_.pInfo->setToolTip(show ? hint : QString());
}

void TRusCID::setSound(std::shared_ptr<Sound> sound) {
    sound_ = std::move(sound);
}

void TRusCID::ViewNumber(const QString& number, bool identified) {
    desk_.setNumber(number, identified);
}
void TRusCID::sbDialClick() {
    desk_.dial();
}
void TRusCID::sbAnswerClick() {
    desk_.answer();
}
int TRusCID::callCount() const {
    return desk_.callCount();
}
void TRusCID::CountCaller(int count) {
    desk_.setCount(count);
}
void TRusCID::setRingActive(bool active) {
    desk_.setRingActive(active);
}
void TRusCID::setCallListShown(bool shown) {
    s_.callListShown = shown;
}

}  // namespace zrk
