#pragma once
// What the options dialog asks of the main window. The main window implements it; the
// dialog knows nothing else of it, so the settings folder never includes the main one.
#include <QString>

#include <exception>

namespace zrk {

class OptionsHost {
public:
    virtual ~OptionsHost() = default;

    virtual bool portActive() const = 0;
    virtual void OpenPortClick() = 0;
    virtual void ClosePortClick() = 0;
    // The daily schedule: the port is to be closed now; "Sound" is switched off now.
    virtual bool TimeToClose() const = 0;
    virtual void TimeToNoSound() = 0;
    // The schedules as they now stand become what the next tick compares with.
    virtual void takeScheduleState() {}
    // Starts the timer that keeps the schedules (and the reminders) running.
    virtual void startScheduleTimer() = 0;
    // Fonts and colours, with the call timer in the colour of its state.
    virtual void InitFont() = 0;
    virtual void ViewSound() = 0;
    // The stay-on-top menu item and the window take "StayOnTop".
    virtual void applyStayOnTopSetting() = 0;
    virtual void HeightForm() = 0;
    // An error raised by one of the above (a port that cannot be opened, a store that
    // cannot be written), handed over for the window to show as its own.
    virtual void reportError(std::exception_ptr error) = 0;
    // The NCID server link: its state in words, and taking up the saved settings.
    virtual QString networkState() const { return {}; }
    virtual void applyNetworkSettings() {}
};

}  // namespace zrk
