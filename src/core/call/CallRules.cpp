#include "core/call/CallRules.h"

#include "core/call/CallerReport.h"
#include "core/platform/Cp1251.h"

namespace zrk {

void CallRules::feed(const char* data, qsizetype size, const TIni& ini, const QDateTime& now,
                     const std::function<void(const ModemStep&)>& apply) {
    bool identify = false;
    const QByteArray prefix = toCp1251(ini.CallerID);
    const auto step = [&](ModemStep::Kind kind, int status = 0, const QString& text = {},
                          bool wave = false) { apply({kind, status, text, wave}); };
    lines_.feed(data, size, [&](const QByteArray& line) {
        QByteArray report;
        switch (recognise(line, prefix, &report)) {
            case Response::Ring: {
                const bool first = episode_.ring(now);
                ++ringCount_;
                if (ringCount_ >= ini.AnswerOnRing + 1) identify = true;
                ringActive_ = true;
                ModemStep ring;
                ring.kind = ModemStep::Ring;
                ring.newCall = first;
                apply(ring);
                break;
            }
            case Response::CallerId:
                step(ModemStep::Report, 0, fromCp1251(report), ini.PlayWAV);
                break;
            case Response::Busy: step(ModemStep::Status, 5); break;
            case Response::Error: step(ModemStep::Status, 6); break;
            case Response::NoCarrier:
                if (dialCount_ > 0) step(ModemStep::Status, 7);
                break;
            case Response::Ringing: step(ModemStep::Status, 8); break;
            case Response::Beep: step(ModemStep::Beep, 0, {}, true); break;
            case Response::Other: break;
        }
    });
    if (identify) {
        step(ModemStep::Identify, 0, ini.Zrk);
        ringCount_ = 0;
        callPending_ = true;
    }
}

CallerDecision CallRules::report(const QString& number, const CallerInfo& who, bool remote,
                                 const TIni& ini, const QDateTime& now) {
    CallerDecision d;
    groupSound_ = who.group.Sound.text();
    callerClass_ = groupSound_.isEmpty() ? who.status : 9;
    d.shown = number == QLatin1String("Unknown") || isWordReport(number)
                  ? number
                  : GroupDigits(number, ini.SeparatorOfGroups, ini.DigitsInGroup);
    d.again = !remote && episode_.repeats(number, now);
    if (!d.again) {
        // The group's action when it has one, else the one set for the status; a caller not
        // in the book has none.
        if (who.status >= 0)
            d.action = who.group.Action != 0 ? who.group.Action
                       : who.status == 1     ? ini.OnBad
                       : who.status == 2     ? ini.OnPrior
                                             : ini.OnNormal;
        silenced_ = d.action == ActionIgnore || d.action == ActionHangUp;
    }
    if (silenced_) ringActive_ = false;  // and so through the repeats of the call
    return d;
}

QString CallRules::ringSound(const TIni& ini) const {
    switch (callerClass_) {
        case 0: return ini.SoundOnNormal;
        case 1: return ini.SoundOnBad;
        case 2: return ini.SoundOnPrior;
        case 9: return groupSound_;
        default: return ini.WAVFileOnRing;
    }
}

Redial CallRules::statusShown(int code, const TIni& ini) {
    if (ini.ReDial && (code == 5 || code == 7)) {
        if (dialCount_ >= ini.ReDialTry) {
            dialCount_ = 0;
            return Redial::GiveUp;
        }
        redialTicks_ = 0;
        return Redial::Again;
    }
    if (!ini.ReDial) dialCount_ = 0;
    return Redial::None;
}

QString CallRules::dialCommand(const QString& number, const TIni& ini) {
    return (ini.Prefix == 1 ? QStringLiteral("ATDT") : QStringLiteral("ATDP")) + number;
}

void CallRules::dialed() {
    ++dialCount_;
    dialing_ = true;
}

int CallRules::redialTick(const TIni& ini) {
    ++redialTicks_;
    return qMax(0, ini.ReDialWait - redialTicks_);
}

CallRules::Answer CallRules::answered() {
    const Answer a{callPending_, dialing_};
    ringActive_ = false;
    callPending_ = false;
    dialing_ = false;
    dialCount_ = 0;
    return a;
}

void CallRules::setRingActive(bool active) {
    ringActive_ = active;
    if (!active) silenced_ = true;
}

}  // namespace zrk
