// The main window's side of the settings: opening the options dialog, and following what
// the settings announce.
#include "core/call/CallDesk.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/Palette.h"
#include "gui/main/RusCID.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"

#include <QAction>
#include <QTimer>

namespace zrk {
namespace {

class MainOptionsHost final : public OptionsHost {
public:
    MainOptionsHost(TRusCID& w, CallDesk& desk) : w_(w), desk_(desk) {}

    void OpenPortClick() override { desk_.openPort(); }
    void ClosePortClick() override { desk_.closePort(); }
    bool TimeToClose() const override { return desk_.timeToClose(); }
    void reportError(std::exception_ptr error) override { w_.HandleException(error); }
    QString networkState() const override { return desk_.networkState(); }

private:
    TRusCID& w_;
    CallDesk& desk_;
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
    return std::make_unique<MainOptionsHost>(*this, desk_);
}

// Confirmed options are taken up as a whole (the desk's schedules and link too), the
// stay-on-top item takes the setting. A value switched at run time changes only what shows it.
void TRusCID::followSettings(const TIni& before, SettingsChange how) {
    if (s_.closed) return;
    desk_.followSettings(before, how);
    const TIni& s = ini();
    const bool confirmed = how == SettingsChange::Confirmed;
    const bool look = !sameLook(before, s);
    if (look) {
        InitFont();
        // A call being timed keeps its timer lit in the new colours.
        setTextColour(c_.pTimer, c_.tTimer->isActive() ? s.InfoColor : s.NotActiveColor);
    }
    if (confirmed || look || before.Sound != s.Sound) ViewSound();
    if (confirmed) {
        c_.mPStayOnTop->setChecked(s.StayOnTop);
        applyStayOnTop(s.StayOnTop);
    }
    c_.mPButton->setChecked(s.Buttons);
    if (confirmed || before.Buttons != s.Buttons) HeightForm();
    c_.mPClock->setChecked(s.Clock);
    if (before.Clock != s.Clock) c_.pClock->setVisible(s.Clock);
    c_.mPTimer->setChecked(s.Timer);
    if (before.Timer != s.Timer) {
        c_.pTimer->setVisible(s.Timer);
        c_.pTimer->setEnabled(s.Timer);
    }
}

}  // namespace zrk
