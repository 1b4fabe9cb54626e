// Ringing, answering and dialing.
#include "gui/main/CallNotifier.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/Icons.h"
#include "gui/main/Palette.h"
#include "gui/main/RusCID.h"
#include "gui/desktop/Sound.h"
#include "gui/desktop/ColorRef.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/WinAlert.h"

#include <QLabel>
#include <QTimer>

namespace zrk {
void TRusCID::setSound(std::shared_ptr<Sound> sound) { sound_ = std::move(sound); }

void TRusCID::Wave() {
    if (!calls_.ringActive()) return;
    tRing->setInterval(500);
    BlinkCount = 0;
    tRing->start();
    if (!ini().Sound || !sound_) return;
    if (!ini().PlayWAV) {
        sound_->playSpeakerMelody(2);
        return;
    }
    sound_->stop();
    const QString name = calls_.ringSound(ini());
    if (!name.isEmpty()) sound_->play(name);
}

void TRusCID::tRingTimer() {
    BlinkPhase ^= 1;
    ++BlinkCount;
    if (BlinkCount > 6) {
        tRing->stop();
        Ringing(true);
    } else {
        Ringing(BlinkPhase == 0);
    }
}

void TRusCID::Ringing(bool steady) {
    setTextColour(stZvon, steady ? ini().BackgroundColor : ini().CounterColor);
    if (windows_.allScreen && windows_.allScreen->isVisible())
        windows_.allScreen->setNumberColor(
            fromColorRef(steady ? ini().NumberColor : ini().BackgroundColor));
    setTrayIcon(steady ? 0 : 2);
}

void TRusCID::tRingingTimer() {
    BlinkPhase ^= 1;
    ++BlinkCount;
    if (BlinkCount > 20) {
        tRinging->stop();
        setTextColour(pInfo, ini().InfoColor);
    } else {
        setTextColour(pInfo, BlinkPhase == 1 ? ini().InfoColor : ini().BackgroundColor);
    }
}

void TRusCID::stSoundClick() {
    changeSettings(SettingsChange::Switched, [](TIni& s) { s.Sound = !s.Sound; });
}

void TRusCID::sbAnswerClick() {
    calls_.endCall();  // whatever rings after an answer is another call
    notifier_->callEnded();
    SendATCom(ini().HandUp);
    SendATCom(ini().Init);
    if (windows_.alert && windows_.alert->isVisible()) windows_.alert->close();
    if (windows_.allScreen && windows_.allScreen->isVisible()) windows_.allScreen->close();
    const CallRules::Answer answer = calls_.answered();
    if (sound_) sound_->stop();
    RunStopTimer(answer.incoming);
    if (answer.dialing) SetStatus(1);
    tReDial->stop();
    tRinging->stop();
    tRing->stop();
    Ringing(true);
    setTextColour(pInfo, ini().InfoColor);
}

void TRusCID::digitClick(int digit) { ViewNumber(CurrentNumber + QString::number(digit), false); }

void TRusCID::sbFlashClick() {
    ViewNumber(QString(), false);
    SetStatus(1);
}

void TRusCID::sbDialClick() {
    if (CurrentNumber.isEmpty() || !PortActive) return;
    SetStatus(2);
    SendATCom(CallRules::dialCommand(CurrentNumber, ini()));
    calls_.dialed();
}

void TRusCID::tReDialTimer() {
    const int wait = calls_.redialTick(ini());
    if (wait == 0) {
        tReDial->stop();
        sbDialClick();
        return;
    }
    const QString text = tr(" повтор через %1 сек").arg(wait);
    setTrayHint(QStringLiteral("Zrk: ") + text);
    pInfo->setText(QStringLiteral("* %1 *").arg(text));
}

void TRusCID::CIDClick() { SendATCom(ini().Zrk); }

}  // namespace zrk
