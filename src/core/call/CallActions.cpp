#include "core/call/CallActions.h"

#include "core/call/ActionText.h"
#include "core/call/ProgramRunner.h"

namespace zrk::actions {
namespace {

const QLatin1String kEvents[] = {QLatin1String("ring"), QLatin1String("caller"),
                                 QLatin1String("answer"), QLatin1String("missed")};

// A caller not in the book is a normal one, as the caller's own action takes it.
quint32 statusBit(int status) {
    return status == 1 || status == 2 ? 1u << status : 1u;
}

}  // namespace

CallEvent eventOf(const QString& stored, bool* known) {
    for (int i = 0; i < 4; ++i)
        if (stored.trimmed().compare(kEvents[i], Qt::CaseInsensitive) == 0) {
            if (known) *known = true;
            return CallEvent(i);
        }
    if (known) *known = false;
    return CallEvent::Caller;
}

QString storedEvent(CallEvent event) {
    return kEvents[int(event)];
}

bool hasFilter(const CallActionSpec& action) {
    return (action.statuses & kStatusBits) != 0 || !action.group.trimmed().isEmpty();
}

bool applies(const CallActionSpec& action, CallEvent event, const CallerShown& caller) {
    bool known = false;
    if (!action.enabled || eventOf(action.event, &known) != event || !known) return false;
    if (!hasFilter(action)) return true;
    if (event == CallEvent::Ring) return false;
    if ((action.statuses & kStatusBits) && !(action.statuses & statusBit(caller.status)))
        return false;
    if (action.group.trimmed().isEmpty()) return true;
    return caller.status >= 0 &&
           action.group.trimmed().compare(caller.group.trimmed(), Qt::CaseInsensitive) == 0;
}

CallActionRunner::CallActionRunner(CallDesk& desk, QObject* parent)
    : QObject(parent), programs_(new ProgramRunner(this)) {
    connect(&desk, &CallDesk::callEvent, this, &CallActionRunner::perform);
    connect(programs_, &ProgramRunner::failed, this, &CallActionRunner::failed);
}

CallActionRunner::~CallActionRunner() = default;

void CallActionRunner::fail(const QString& key, const QString& text) {
    if (told_.contains(key)) return;
    told_.insert(key);
    emit failed(Failure::make(Failure::Kind::Other, text));
}

void CallActionRunner::perform(CallEvent event, const CallerShown& caller) {
    // The next call cuts off what is still being said of the last one.
    if (event == CallEvent::Ring && speech_) speech_->stop();
    const QList<CallActionSpec> actions = ini().CallActions;  // an action may change them
    for (const CallActionSpec& a : actions) {
        if (!applies(a, event, caller)) continue;
        const QString kind = a.kind.trimmed().toLower();
        if (kind == kKindProgram) {
            const CallFacts facts = factsOf(caller, false);
            QStringList arguments;
            for (const QString& t : a.arguments) arguments.append(expand(t, facts, Fill::Text));
            programs_->run(a.program, arguments);
        } else if (kind == kKindUrl) {
            open(a, caller);
        } else if (kind == kKindSpeak) {
            say(a, caller);
        }
    }
}

void CallActionRunner::open(const CallActionSpec& action, const CallerShown& caller) {
    if (!openUrl_) return;
    const QString text = expand(action.templ.trimmed(), factsOf(caller, false), Fill::Url);
    const QUrl url(text, QUrl::StrictMode);
    const QString key = QStringLiteral("url ") + action.templ;
    if (!url.isValid() || url.scheme().isEmpty()) {
        fail(key, tr("Действие при звонке: «%1» — не адрес.").arg(action.templ));
        return;
    }
    if (!openUrl_(url)) {
        fail(key, tr("Действие при звонке: адрес %1 не открыт.").arg(url.toDisplayString()));
        return;
    }
    told_.remove(key);
}

void CallActionRunner::say(const CallActionSpec& action, const CallerShown& caller) {
    if (!makeSpeech_) return;
    if (!speech_) {
        speech_ = makeSpeech_();
        if (!speech_) return;
        speech_->onFailure([this](const QString& why) {
            fail(QStringLiteral("speech"),
                 tr("Действие при звонке: голос не работает: %1").arg(why));
        });
    }
    const QString text = expand(action.templ, factsOf(caller, true), Fill::Text).trimmed();
    if (!text.isEmpty()) speech_->say(text);
}

}  // namespace zrk::actions
