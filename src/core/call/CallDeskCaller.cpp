// The desk's reported caller (shown, acted on, listed, counted, logged, shared) and its link
// to an NCID server: its own calls go out as a gateway's, the server's come in as the
// modem's would.
#include "core/call/CallDesk.h"

#include "core/call/CallLog.h"
#include "core/call/CallerReport.h"
#include "core/net/NcidLink.h"
#include "core/net/NcidProtocol.h"
#include "core/platform/Clock.h"
#include "core/settings/District.h"
#include "core/settings/Settings.h"

#include <QDir>
#include <QScopedValueRollback>
#include <QTimer>

namespace zrk {
namespace {

QString lineLabel(const QString& line) {
    return line == QLatin1String("-") ? QString() : line.trimmed();
}

// A word the modem reports for a number is shown as it came; a number in groups of digits.
QString shownNumber(const QString& number, const TIni& s) {
    return isWordReport(number) || number == QLatin1String("Unknown")
               ? number
               : GroupDigits(number, s.SeparatorOfGroups, s.DigitsInGroup);
}

}  // namespace

CallerInfo CallDesk::lookUp(const QString& number) const {
    return lookup_ ? lookup_(number) : CallerInfo{};
}

void CallDesk::report(const QString& text) {
    const ReportParts parts = parseReport(text, ini());
    const QString& number = parts.number;
    const QString district = FindRaion(number);
    CallerInfo who = lookUp(number);
    // Another desk's book, or the server's alias, may know a caller this book does not.
    if (who.name.isEmpty() && remote_) who.name = remoteName_;
    // The same call asked about once more is shown, but not acted on, listed, counted, logged
    // or shared a second time.
    const CallerDecision call = rules_.report(number, who, remote_, ini(), now());
    const QString group = who.group.Title.text();
    // One time for the list, the log and the events: a missed mark names the call by it.
    const QDateTime when = now();
    if (!call.again) perform(call.action, who.name, call.shown, who.status, group);
    setNumber(number, true);
    if (!call.again) {
        if (raiseReminder_) raiseReminder_(number);
        emit callListed(shown_, who.name, who.status, remoteLine_, when);
        setCount(count_ + 1);
    }
    const CallerShown shown{.number = number,
                            .shown = shown_,
                            .name = who.name,
                            .status = who.status,
                            .group = group,
                            .hasCategory = parts.hasCategory,
                            .caption = parts.caption,
                            .hint = parts.hint,
                            .hintChanged = parts.hintChanged,
                            .showHint = parts.showHint,
                            .district = district,
                            .line = remoteLine_,
                            .again = call.again,
                            .dialable = !number_.isEmpty(),
                            .when = when};
    emit callerIdentified(shown);
    if (call.again) return;
    // A call still ringing keeps its caller for its answer or its miss.
    if (call_.open) call_.caller = shown;
    emit callEvent(CallEvent::Caller, shown);
    // Said once; a log that cannot be written must not cost every later call its display
    // and its ring sound.
    FileError error;
    const bool logged =
        WriteLog(ini().LogFile, shown_ + QLatin1Char(' ') + who.name, shown.when, &error);
    if (!logged) emit failed(Failure::make(Failure::Kind::File, error.message));
    if (call_.open) call_.logged = logged;
    // A call from the server goes no further: the server has it already.
    if (ncid_ && !remote_) ncid_->sendCall(now(), number, who.name);
}

void CallDesk::perform(int action, const QString& name, const QString& shown, int status,
                       const QString& group) {
    switch (action) {
        case ActionMessage:
            emit showMessage(name, shown, group, status);
            break;
        case ActionHangUp:
            // Another desk's line cannot be hung up from here.
            if (!remote_) {
                const QScopedValueRollback hangingUp(hangingUp_, true);
                answer();
            }
            break;
        default:
            break;  // ignoring only keeps the call silent
    }
}

void CallDesk::setNumber(const QString& number, bool identified) {
    // A word is nothing to dial back.
    const bool word = number == QLatin1String("Unknown") || (identified && isWordReport(number));
    number_ = word ? QString() : identified ? number : DialFilter(number);
    shown_ = identified || word ? shownNumber(number, ini()) : number_;
    emit numberChanged(shown_);
}

void CallDesk::startNetwork() {
    if (!ncid_) {
        ncid_ = new NcidLink(this);
        ncid_->setObjectName(QStringLiteral("ncidLink"));
        connect(ncid_, &NcidLink::fileError, this, [this](const QString& text) {
            if (closed_) return;
            Failure failure = Failure::make(Failure::Kind::File, text);
            failure.caption = tr("Ошибка");
            emit failed(failure);
        });
        // The calls the server has not had yet wait in the data directory.
        ncid_->setQueueFile(QDir::current().absoluteFilePath(QStringLiteral("ncid-queue.txt")));
        connect(ncid_, &NcidLink::callReceived, this,
                [this](const QString& number, const QString& name, const QString& line) {
                    remoteReport(number, line, name);
                });
        connect(ncid_, &NcidLink::callBlocked, this,
                [this](const QString& number, const QString& name, const QString& line) {
                    remoteRecord(number, line, name, now(), tr("[заблокирован]"));
                });
        connect(ncid_, &NcidLink::callWhileAway, this,
                [this](const QString& number, const QString& name, const QString& line,
                       const QDateTime& when, bool blocked) {
                    remoteRecord(number, line, name, when.isValid() ? when : now(),
                                 blocked ? tr("[заблокирован]") : tr("[пропущен]"));
                });
        connect(ncid_, &NcidLink::callsDropped, this, [this](int total) {
            // Said where a person running the desk from a terminal or a journal sees it; the
            // options page's link state says it too.
            qWarning().noquote() << tr(
                "Zrk Pro: очередь звонков для сервера NCID полна, старых звонков не "
                "отправлено: %n",
                nullptr, total);
            emit callsDropped(total);
        });
        connect(ncid_, &NcidLink::ringReceived, this, &CallDesk::remoteRing);
        connect(ncid_, &NcidLink::stateChanged, this, &CallDesk::networkChanged);
    }
    ncid_->configure({ini().NcidServer, ini().SendCalls, ini().ReceiveCalls, ini().LineLabel});
}

QString CallDesk::networkState() const {
    return ncid_ ? ncid_->stateText() : tr("выключено");
}

void CallDesk::remoteRing() {
    signalRing(false);
}

void CallDesk::remoteReport(const QString& number, const QString& line, const QString& name) {
    // A call the server reports rings here as a call on our own line does; each is a call of
    // its own.
    guarded([&] {
        signalRing(true);
        const QScopedValueRollback remote(remote_, true);
        const QScopedValueRollback label(remoteLine_, lineLabel(line));
        const QScopedValueRollback named(remoteName_, ncid::callerName(name));
        report(ncid::reportNumber(number));
        if (ini().PlayWAV) ringWave();
    });
}

void CallDesk::remoteRecord(const QString& number, const QString& line, const QString& name,
                            const QDateTime& when, const QString& mark) {
    guarded([&] {
        const ReportParts parts = parseReport(ncid::reportNumber(number), ini());
        CallerInfo who = lookUp(parts.number);
        if (who.name.isEmpty()) who.name = ncid::callerName(name);
        const QString shown = shownNumber(parts.number, ini());
        const QString text = who.name.isEmpty() ? mark : who.name + QLatin1Char(' ') + mark;
        emit callListed(shown, text, who.status, lineLabel(line), when);
        setCount(count_ + 1);
        if (FileError error;
            !WriteLog(ini().LogFile, shown + QLatin1Char(' ') + text, when, &error))
            emit failed(Failure::make(Failure::Kind::File, error.message));
    });
}

}  // namespace zrk
