#pragma once
// The call's rules, without a window: what the modem's lines mean (rings counted toward the
// identification request, the responses as line statuses), what a reported caller comes to
// (the action by group and status, whether the report repeats the call that rings), the dial
// and redial counts, and which sound a ring plays. The main window feeds them the modem's
// bytes, the clock and the user's commands, and applies what they decide.
#include "core/book/BookStore.h"
#include "core/call/CallEpisode.h"
#include "core/call/ModemLines.h"
#include "core/settings/Settings.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace zrk {

// What one received line, or the end of a batch, asks of the window.
struct ModemStep {
    enum Kind { Ring, Report, Status, Beep, Identify };
    Kind kind = Status;
    int status = 0;     // Status: the line status to show
    QString text;       // Report: the text after the prefix; Identify: the command to send
    bool wave = false;  // Report, Beep: the ring sound and blink follow
    bool newCall = false;  // Ring: the first ring of a call (the last one is over)
};

// What a reported caller comes to.
struct CallerDecision {
    QString shown;            // the number as the display shows it: grouped, or a word whole
    int action = ActionNone;  // to perform now
    // The same call asked about once more: shown, but not acted on, listed, counted, logged
    // or shared a second time.
    bool again = false;
};

// How a status bears on a dial: no redial, the attempts are used up, or count down again.
enum class Redial { None, GiveUp, Again };

class CallRules {
public:
    // A batch of the modem's bytes: each complete line's step goes to `apply` at once, in
    // order, and one that throws ends the batch there. After the last line, when a ring of
    // the batch reached "Answer On Ring" + 1, the identification command is asked for once.
    void feed(const char* data, qsizetype size, const TIni& ini, const QDateTime& now,
              const std::function<void(const ModemStep&)>& apply);

    // A caller `who` reported as `number` (already cut). `remote`: the NCID server's call,
    // which rings on another desk's line and is never a repeat here.
    CallerDecision report(const QString& number, const CallerInfo& who, bool remote,
                          const TIni& ini, const QDateTime& now);
    // The ring sound for the last reported caller; empty: silence.
    QString ringSound(const TIni& ini) const;

    // A status shown in the strip.
    Redial statusShown(int code, const TIni& ini);
    static QString dialCommand(const QString& number, const TIni& ini);
    void dialed();
    // One second of the redial countdown: the seconds still to wait, 0 when it is time.
    int redialTick(const TIni& ini);

    // The answer operation (after its commands went out): whether it took an incoming call
    // (one identified since the last answer) and whether a dial waited for it.
    struct Answer {
        bool incoming = false;
        bool dialing = false;
    };
    Answer answered();
    // The call is over: answered, hung up, the port closed.
    void endCall() { episode_.end(); }

    bool ringActive() const { return ringActive_; }
    // Cleared by the user (the alert's ignore): the rest of this call's rings stay silent.
    void setRingActive(bool active);
    int ringCount() const { return ringCount_; }
    int callerClass() const { return callerClass_; }
    int dialCount() const { return dialCount_; }

private:
    LineAssembler lines_;
    CallEpisode episode_;
    int ringCount_ = 0;
    int dialCount_ = 0;
    int redialTicks_ = 0;
    bool ringActive_ = false;
    bool callPending_ = false;  // identification asked for since the last answer
    bool dialing_ = false;      // a dial went out and was not answered
    bool silenced_ = false;     // the ringing call's action keeps it silent
    int callerClass_ = 0;       // -1 not in the book, the status, or 9: the group's sound
    QString groupSound_;
};

}  // namespace zrk
