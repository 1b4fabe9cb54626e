// The main window's side of the options dialog: opening it, and what its OK has the window do.
#include "main/ClickLabel.h"
#include "main/Palette.h"
#include "main/RusCID.h"
#include "settings/Options.h"
#include "settings/OptionsHost.h"
#include "settings/Settings.h"

#include <QAction>
#include <QTimer>

namespace zrk {
namespace {

class MainOptionsHost final : public OptionsHost {
public:
    explicit MainOptionsHost(TRusCID& w) : w_(w) {}

    bool portActive() const override { return w_.portActive(); }
    void OpenPortClick() override { w_.OpenPortClick(); }
    void ClosePortClick() override { w_.ClosePortClick(); }
    bool TimeToClose() const override { return w_.TimeToClose(); }
    void TimeToNoSound() override { w_.TimeToNoSound(); }
    void takeScheduleState() override { w_.takeScheduleState(); }
    void startScheduleTimer() override {
        if (w_.tReminder) w_.tReminder->start();
    }
    void InitFont() override {
        w_.InitFont();
        // A call being timed keeps its timer lit in the new colours.
        setTextColour(w_.pTimer, w_.tTimer->isActive() ? ini().InfoColor : ini().NotActiveColor);
    }
    void ViewSound() override { w_.ViewSound(); }
    void applyStayOnTopSetting() override { w_.applyStayOnTopSetting(); }
    void HeightForm() override { w_.HeightForm(); }
    void reportError(std::exception_ptr error) override { w_.HandleException(error); }
    QString networkState() const override { return w_.networkState(); }
    void applyNetworkSettings() override { w_.startNetwork(); }

private:
    TRusCID& w_;
};

}  // namespace

std::unique_ptr<OptionsHost> TRusCID::makeOptionsHost() {
    return std::make_unique<MainOptionsHost>(*this);
}

void TRusCID::OptiClick() {
    const auto host = makeOptionsHost();
    TOptions dialog(*host, this);
    dialog.exec();
}

void TRusCID::applyStayOnTopSetting() {
    mPStayOnTop->setChecked(ini().StayOnTop);
    applyStayOnTop(ini().StayOnTop);
}

}  // namespace zrk
