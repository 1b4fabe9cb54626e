#pragma once
// What the other windows may ask of the main window, which implements it. The windows depend
// on this interface, never on the main window itself, so that the folders have no cycle.
#include <QString>

#include <exception>

namespace zrk {

class Line {
public:
    virtual ~Line() = default;

    // Shows `number` as the current number (filtered to dialable characters); identified
    // numbers are shown in digit groups.
    virtual void ViewNumber(const QString& number, bool identified) = 0;
    // Dials the current number (only while the port is active).
    virtual void sbDialClick() = 0;
    // Takes the call: hang-up and init commands, call windows closed, sounds stopped.
    virtual void sbAnswerClick() = 0;

    // The call counter shown in the main window.
    virtual int callCount() const = 0;
    virtual void CountCaller(int count) = 0;

    // While set, ring sounds and blinking go on for the current call.
    virtual void setRingActive(bool active) = 0;
    // The call-list button's flag: the call list window clears it when it closes.
    virtual void setCallListShown(bool shown) = 0;

    // The commands above may fail (a port that cannot be written). A window that runs one
    // from a button or a key hands the error here instead of letting it out into the
    // toolkit, which must never see one.
    virtual void HandleException(std::exception_ptr error) = 0;

    // Dials `number` as a window shows it (the grouping is stripped before it is dialed), or
    // takes the call; true when it went through, false when HandleException has the error.
    bool dial(const QString& number) {
        return tryRun([&] {
            ViewNumber(number, false);
            sbDialClick();
        });
    }
    bool answer() {
        return tryRun([this] { sbAnswerClick(); });
    }

private:
    template <class Command>
    bool tryRun(const Command& command) {
        try {
            command();
            return true;
        } catch (...) {
            HandleException(std::current_exception());
            return false;
        }
    }
};

}  // namespace zrk
