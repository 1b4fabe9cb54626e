#pragma once
// The call actions at work: on each of the desk's call events, every enabled action of that
// event whose filter takes the caller opens its address, runs its program or says its text.
// The desktop gives the means for addresses and speech; the line server has neither, and runs
// only programs.
#include "core/call/CallDesk.h"
#include "core/platform/Failure.h"
#include "core/settings/Settings.h"

#include <QObject>
#include <QSet>
#include <QUrl>

#include <functional>

namespace zrk::actions {

class ProgramRunner;

// What says a text aloud. A new text cuts off the one being said.
class SpeechOutput {
public:
    virtual ~SpeechOutput() = default;
    virtual void say(const QString& text) = 0;
    virtual void stop() = 0;
    // What went wrong, in words, when it goes wrong (the voice's engine may tell it later).
    void onFailure(std::function<void(const QString&)> tell) { tell_ = std::move(tell); }

protected:
    void tell(const QString& text) const {
        if (tell_) tell_(text);
    }

private:
    std::function<void(const QString&)> tell_;
};

// The stored event and kind texts.
CallEvent eventOf(const QString& stored, bool* known = nullptr);
QString storedEvent(CallEvent event);
inline const QLatin1String kKindUrl{"url"}, kKindProgram{"program"}, kKindSpeak{"speak"};

// The status filter's bits: 1 normal, 2 bad, 4 priority, the statuses 0, 1 and 2 shifted.
inline constexpr quint32 kStatusBits = 1 | 2 | 4;
// The action is only for some callers: some statuses, or a group.
bool hasFilter(const CallActionSpec& action);

// Whether `action` is for `event` and its filter takes `caller`. A ring knows no caller yet:
// an action with a filter never runs on it.
bool applies(const CallActionSpec& action, CallEvent event, const CallerShown& caller);

class CallActionRunner : public QObject {
    Q_OBJECT
public:
    // Follows `desk`'s events with the actions of the settings record as they are then.
    explicit CallActionRunner(CallDesk& desk, QObject* parent = nullptr);
    ~CallActionRunner() override;

    // Opens an address (the desktop's browser); false when it could not. None: addresses are
    // not opened.
    void setUrlOpener(std::function<bool(const QUrl&)> open) { openUrl_ = std::move(open); }
    // Made when the first text is to be said. None: nothing is said.
    void setSpeech(std::function<std::unique_ptr<SpeechOutput>()> make) {
        makeSpeech_ = std::move(make);
    }
    ProgramRunner& programs() { return *programs_; }

    // Performs the actions of `event` (the desk's events come here).
    void perform(CallEvent event, const CallerShown& caller);

signals:
    // Said once per action that fails the same way; the next success clears it.
    void failed(const zrk::Failure& failure);

private:
    void fail(const QString& key, const QString& text);
    void open(const CallActionSpec& action, const CallerShown& caller);
    void say(const CallActionSpec& action, const CallerShown& caller);

    ProgramRunner* programs_;
    std::function<bool(const QUrl&)> openUrl_;
    std::function<std::unique_ptr<SpeechOutput>()> makeSpeech_;
    std::unique_ptr<SpeechOutput> speech_;
    QSet<QString> told_;
};

}  // namespace zrk::actions
