// The main window's side of the settings: opening the options dialog, and following what
// the settings announce.
#include "gui/main/ClickLabel.h"
#include "gui/main/Palette.h"
#include "gui/main/RusCID.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"

#include <QAction>
#include <QTimer>

namespace zrk {
namespace {

class MainOptionsHost final : public OptionsHost {
public:
    explicit MainOptionsHost(TRusCID& w) : w_(w) {}

    void OpenPortClick() override { w_.OpenPortClick(); }
    void ClosePortClick() override { w_.ClosePortClick(); }
    bool TimeToClose() const override { return w_.TimeToClose(); }
    void reportError(std::exception_ptr error) override { w_.HandleException(error); }
    QString networkState() const override { return w_.networkState(); }

private:
    TRusCID& w_;
};

bool sameLook(const TIni& a, const TIni& b) {
    return a.NumberFont == b.NumberFont && a.CounterFont == b.CounterFont &&
           a.InfoFont == b.InfoFont && a.NumberSize == b.NumberSize &&
           a.CounterSize == b.CounterSize && a.InfoSize == b.InfoSize &&
           a.BackgroundColor == b.BackgroundColor && a.NumberColor == b.NumberColor &&
           a.CounterColor == b.CounterColor && a.InfoColor == b.InfoColor &&
           a.NotActiveColor == b.NotActiveColor;
}

}  // namespace

std::unique_ptr<OptionsHost> TRusCID::makeOptionsHost() {
    return std::make_unique<MainOptionsHost>(*this);
}

void TRusCID::OptiClick() {
    const auto host = makeOptionsHost();
    TOptions dialog(*host, this);
    dialog.exec();
}

// Confirmed options are taken up as a whole: the schedules act at once and become what the
// next tick compares with, the stay-on-top item takes the setting. A value switched at run
// time changes only what shows it.
void TRusCID::followSettings(const TIni& before, SettingsChange how) {
    if (closed_) return;
    const TIni& s = ini();
    const bool confirmed = how == SettingsChange::Confirmed;
    if (confirmed) {
        if (s.PortOnOff || s.SoundOnOff) {
            safely([this] {
                tReminder->start();
                if (TimeToClose() && PortActive) ClosePortClick();
                TimeToNoSound();
            });
        }
        safely([this] { takeScheduleState(); });
    }
    const bool look = !sameLook(before, s);
    if (look) {
        InitFont();
        // A call being timed keeps its timer lit in the new colours.
        setTextColour(pTimer, tTimer->isActive() ? s.InfoColor : s.NotActiveColor);
    }
    if (confirmed || look || before.Sound != s.Sound) ViewSound();
    if (confirmed) {
        mPStayOnTop->setChecked(s.StayOnTop);
        applyStayOnTop(s.StayOnTop);
    }
    mPButton->setChecked(s.Buttons);
    if (confirmed || before.Buttons != s.Buttons) HeightForm();
    mPClock->setChecked(s.Clock);
    if (before.Clock != s.Clock) pClock->setVisible(s.Clock);
    mPTimer->setChecked(s.Timer);
    if (before.Timer != s.Timer) {
        pTimer->setVisible(s.Timer);
        pTimer->setEnabled(s.Timer);
    }
    if (confirmed) safely([this] { startNetwork(); });
}

}  // namespace zrk
