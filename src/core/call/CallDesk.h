#pragma once
// CallDesk: the line itself, without a window. It owns the port and the modem conversation,
// a call from its first ring to its log line (identification, the one-call rule, the
// caller's action), answering, dialing and redial, the daily port and sound schedules, the
// call count, and the link to an NCID server. Views send it commands and show what its
// signals say; nothing here reaches a window. Failures come out as values (`failed`), never
// as exceptions into the event loop.
//
// The implementation is split by concern: CallDesk.cpp (port, modem, answer and dial,
// schedules, close) and CallDeskCaller.cpp (a reported caller, the NCID link).
#include "core/book/BookStore.h"
#include "core/call/CallRules.h"
#include "core/call/ScheduleRules.h"
#include "core/platform/Failure.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>

class QTimer;

namespace zrk {

class NcidLink;
class SerialDevice;
class TComm;
enum class SettingsChange;

// What a view shows of an identified caller.
struct CallerShown {
    QString number;  // as reported, cut to its digits
    QString shown;   // as the display shows it: grouped, or a word whole
    QString name;
    int status = 0;
    QString group;
    // The report's category: its caption and hint (hintChanged false: the last hint stays).
    bool hasCategory = false;
    QString caption;
    QString hint;
    bool hintChanged = false;
    bool showHint = false;
    QString district;
    QString line;           // the server's line label; empty for our own line or a single line
    bool again = false;     // the ringing call asked about once more
    bool dialable = false;  // a number to call back
    QDateTime when;         // when the caller was reported (for a ring: when it rang)
};

// What a call comes to, each at most once per call: its first ring, its caller identified,
// its answer (the answer operation while it rang), or silence without an answer (missed).
enum class CallEvent { Ring, Caller, Answer, Missed };

// What a ring's sound is: nothing, the speaker's melody, or a wave file (empty: none, but
// what plays is stopped).
enum class RingSound { Silent, Speaker, Wave };

class CallDesk : public QObject {
    Q_OBJECT
public:
    // `device`: the serial device behind the port (tests pass a fake); none: the real one.
    explicit CallDesk(std::shared_ptr<SerialDevice> device = {}, QObject* parent = nullptr);
    ~CallDesk() override;

    // The phone book's answer for a number; the program's wiring waits there for the book's
    // load. None: every caller is unknown.
    void setLookup(std::function<CallerInfo(const QString& number)> lookup);
    // Raises the reminders kept for a caller's number.
    void setNumberReminder(std::function<void(const QString& number)> raise);

    // Commands. None throws: what fails is emitted as `failed`.
    // The settings are loaded: schedules taken, the port opened unless its schedule keeps it
    // closed, the sound schedule applied, the NCID link started.
    void start();
    void openPort();
    void closePort();
    void togglePort();
    // Takes the call: hang-up and init commands, the redial stopped.
    void answer();
    // Dials the current number (only while the port is active).
    void dial();
    void digit(int digit);
    void backspace();
    // The number cleared, the status back to waiting.
    void flash();
    // Asks the modem for the caller now.
    void identify();
    // `number` becomes the current number (filtered to dialable characters unless
    // `identified`, when it is shown in digit groups).
    void setNumber(const QString& number, bool identified);
    void setCount(int count);
    // Cleared by the user (the alert's ignore): the rest of this call stays silent.
    void setRingActive(bool active);
    void followSettings(const TIni& before, SettingsChange how);
    // The port closed without a command to the modem, the NCID queue saved; what failed.
    Failures close();

    // The modem's bytes (what the port hands over; tests and the fuzzer feed them too).
    void processBatch(const char* data, qint32 size);
    // The server's calls: `line` "-" or empty for a single line; `name` the server's.
    void remoteReport(const QString& number, const QString& line = {}, const QString& name = {});
    // A call over before it could ring here: listed, counted and logged with its mark.
    void remoteRecord(const QString& number, const QString& line, const QString& name,
                      const QDateTime& when, const QString& mark);
    void remoteRing();
    // One tick of the schedules (every 30 s while one is in force) and of the redial.
    void scheduleTick();
    void redialTick();

    bool portActive() const { return portActive_; }
    bool hasModem() const;
    const QString& currentNumber() const { return number_; }
    int callCount() const { return count_; }
    int ringCount() const { return rules_.ringCount(); }
    bool ringActive() const { return rules_.ringActive(); }
    int callerClass() const { return rules_.callerClass(); }
    // The port's schedule keeps it closed now.
    bool timeToClose() const;
    QString networkState() const;
    TComm* comm() const { return comm_; }

signals:
    // A line status (LineStatus.h; 0: none). `dialOver`: a dial ended (its blink stops).
    void statusChanged(int code, bool dialOver);
    // The desk has no modem, only the server's calls: no port to open.
    void noModem();
    void portChanged(bool active);
    // A ring; `newCall`: the first ring of a call (the last one is over).
    void ringing(bool newCall);
    void wave(zrk::RingSound sound, const QString& file);
    void numberChanged(const QString& shown);
    void callerIdentified(const zrk::CallerShown& caller);
    // For the call list; `when` invalid: now.
    void callListed(const QString& shown, const QString& name, int status, const QString& line,
                    const QDateTime& when);
    void countChanged(int count);
    void redialCountdown(int seconds);
    // The answer went out; `incoming`: it took a call identified since the last answer.
    void answered(bool incoming);
    // The call is over: rung off, answered, the port closed.
    void callEnded();
    // Once per call and event. `caller`: the call's identified caller so far (an empty number
    // before one was reported, and always for Ring).
    void callEvent(zrk::CallEvent event, const zrk::CallerShown& caller);
    // The caller's action "message": the view shows the caller.
    void showMessage(const QString& name, const QString& shown, const QString& group, int status);
    void callsDropped(int total);
    // The NCID link's state in words (as networkState() says it).
    void networkChanged(const QString& state);
    void failed(const zrk::Failure& failure);

private:
    // Runs `f`; what it throws is emitted as a failure.
    void guarded(const std::function<void()>& f);
    void fail(const Failure& failure);
    void setActive(bool on);
    void setStatus(int code);
    void send(const QString& command);
    void signalRing(bool newCall);
    // The call went quiet: unanswered, it was missed.
    void callOver();
    void ringWave();
    void report(const QString& text);
    void perform(int action, const QString& name, const QString& shown, int status,
                 const QString& group);
    CallerInfo lookUp(const QString& number) const;
    void startNetwork();
    void updateScheduleTick();

    TComm* comm_ = nullptr;
    QTimer* redial_ = nullptr;
    QTimer* callOver_ = nullptr;  // the silence after the last ring that ends the call
    QTimer* schedule_ = nullptr;
    NcidLink* ncid_ = nullptr;
    CallRules rules_;
    ScheduleRules schedules_;
    std::function<CallerInfo(const QString&)> lookup_;
    std::function<void(const QString&)> raiseReminder_;
    bool portActive_ = false;
    bool closed_ = false;
    QString number_;  // the current number, what a dial sends
    QString shown_;   // as the display shows it
    int count_ = 0;
    bool remote_ = false;  // the call being processed came from the NCID server
    QString remoteLine_;
    QString remoteName_;
    // The call that rings, for its events: open from its first ring until it is answered or
    // goes quiet.
    struct OpenCall {
        bool open = false;
        CallerShown caller;   // so far; until identified only `when`, the first ring's
        bool logged = false;  // its line is in the log, at caller.when as caller.shown
    };
    OpenCall call_;
    // The caller's action answers: that call is neither answered nor missed.
    bool hangingUp_ = false;
};

}  // namespace zrk
