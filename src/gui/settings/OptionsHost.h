#pragma once
// What the options dialog asks of the main window: the port it restarts and the link whose
// state it shows. Everything else the main window takes from the settings' own announcement
// (settings/Settings.h), so the settings folder never includes the main one.
#include <QString>

#include <exception>

namespace zrk {

class OptionsHost {
public:
    virtual ~OptionsHost() = default;

    virtual void OpenPortClick() = 0;
    virtual void ClosePortClick() = 0;
    // The port schedule keeps the port closed now: a new device must not open it.
    virtual bool TimeToClose() const = 0;
    // An error raised by one of the above (a port that cannot be opened) or by the dialog's
    // own saving, handed over for the window to show as its own.
    virtual void reportError(std::exception_ptr error) = 0;
    // The NCID server link's state in words.
    virtual QString networkState() const { return {}; }
};

}  // namespace zrk
