// The desk's port and modem conversation, answering and dialing, the schedules and the close.
#include "core/call/CallDesk.h"

#include "core/call/CallEpisode.h"
#include "core/call/CallLog.h"
#include "core/net/NcidLink.h"
#include "core/platform/Clock.h"
#include "core/platform/Cp1251.h"
#include "core/serial/Comm.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsNotifier.h"

#include <QTimer>

#include <cerrno>
#include <utility>
#include <vector>

namespace zrk {
namespace {

QTimer* makeTimer(QObject* parent, const char* name, int interval) {
    auto* t = new QTimer(parent);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    return t;
}

bool schedulesInForce(const TIni& s) {
    return scheduleInForce(s.PortOnOff, s.PortOff, s.PortOn) ||
           scheduleInForce(s.SoundOnOff, s.SoundOff, s.SoundOn);
}

}  // namespace

void CallDesk::guarded(const std::function<void()>& f) {
    try {
        f();
    } catch (...) {
        fail(failureOf(std::current_exception()));
    }
}

CallDesk::CallDesk(std::shared_ptr<SerialDevice> device, QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("callDesk"));
    comm_ = new TComm(this, std::move(device));
    comm_->setObjectName(QStringLiteral("Comm1"));
    comm_->OnRxChar = [this](QObject*, qint32 count) {
        if (!portActive_) return;
        std::vector<char> buffer(size_t(qMax(0, comm_->ReadBufSize())), 0);
        const qint32 n = comm_->Read(buffer.data(), qMin<qint32>(count, qint32(buffer.size())));
        if (n >= 0) processBatch(buffer.data(), n);
    };
    comm_->setHandlerErrorReporter([this](std::exception_ptr e) { fail(failureOf(e)); });
    // A modem pulled out (or a simulator ended) is said at once, not at the next command.
    comm_->OnError = [this](QObject*, qint32 errors) {
        if (!(errors & kCeIoError) || !portActive_) return;
        setStatus(4);
        comm_->Close();
        throw ECommError(tr("Ошибка чтения"), EIO);
    };
    redial_ = makeTimer(this, "tReDial", 1000);
    connect(redial_, &QTimer::timeout, this, &CallDesk::redialTick);
    callOver_ = makeTimer(this, "tCallOver", int(CallEpisode::kRingGapMs));
    callOver_->setSingleShot(true);
    connect(callOver_, &QTimer::timeout, this, [this] {
        // The silence decides: the next ring is another call, however soon it comes (a timer
        // may run out a little before the rings' own gap does).
        rules_.endCall();
        callOver();
        emit callEnded();
    });
    schedule_ = makeTimer(this, "tSchedule", 30000);
    connect(schedule_, &QTimer::timeout, this, &CallDesk::scheduleTick);
}

CallDesk::~CallDesk() {
    // The link saves its queue as it goes: nothing is said from a desk half destroyed.
    if (ncid_) ncid_->disconnect(this);
}

void CallDesk::setLookup(std::function<CallerInfo(const QString&)> lookup) {
    lookup_ = std::move(lookup);
}

void CallDesk::setNumberReminder(std::function<void(const QString&)> raise) {
    raiseReminder_ = std::move(raise);
}

void CallDesk::fail(const Failure& failure) {
    // The port's trouble leaves the port off; anything else leaves it as it is.
    if (failure.kind == Failure::Kind::Port) setActive(false);
    emit failed(failure);
}

void CallDesk::start() {
    setCount(0);
    number_.clear();
    schedules_.take(ini(), now().time());
    if (timeToClose()) {
        setActive(false);
        setStatus(4);
    } else {
        openPort();
    }
    if (ScheduleRules::soundOff(ini(), now().time()))
        changeSettings(SettingsChange::Switched, [](TIni& s) { s.Sound = false; });
    updateScheduleTick();
    guarded([this] { startNetwork(); });
}

bool CallDesk::hasModem() const {
    return ini().Port != kNoModemPort;
}

bool CallDesk::timeToClose() const {
    return ScheduleRules::portOff(ini(), now().time());
}

void CallDesk::openPort() {
    if (closed_) return;
    if (!hasModem()) {
        if (comm_->IsOpen()) comm_->Close();
        setActive(false);
        emit noModem();
        return;
    }
    try {
        // A device left open by an opening that failed half way would make every later
        // opening fail with "port already open": start from a closed device.
        if (comm_->IsOpen()) comm_->Close();
        comm_->SetDeviceName(QStringLiteral("Com%1").arg(ini().Port + 1));
        comm_->SetBaudRate(TBaudrate(qBound(0, ini().Baud, int(br256000))));
        comm_->Open();
        comm_->SetRTS(true);
        comm_->SetDTR(true);
        send(ini().Init);
        setActive(comm_->ModemLineState(2));
        if (!portActive_) comm_->Close();
        setStatus(portActive_ ? 1 : 4);
    } catch (...) {
        fail(failureOf(std::current_exception()));
        setStatus(4);
    }
}

void CallDesk::closePort() {
    rules_.endCall();
    call_ = {};  // cut off, not missed
    emit callEnded();
    setActive(false);
    setStatus(4);
    guarded([this] { comm_->Close(); });
}

void CallDesk::togglePort() {
    if (portActive_)
        closePort();
    else
        openPort();
}

void CallDesk::setActive(bool on) {
    portActive_ = on;
    emit portChanged(on);
}

void CallDesk::setStatus(int code) {
    const Redial redial = rules_.statusShown(code, ini());
    emit statusChanged(code, redial != Redial::None);
    if (redial == Redial::Again) redial_->start();
}

void CallDesk::send(const QString& command) {
    const QByteArray bytes = toCp1251(command) + "\r\n";
    comm_->Write(bytes.constData(), qint32(bytes.size()));
}

void CallDesk::processBatch(const char* data, qint32 size) {
    // An error in one line (a port that cannot be written) ends this batch, not the
    // reception: the lines assembled so far stay, the next batch goes on.
    guarded([&] {
        rules_.feed(data, size, ini(), now(), [this](const ModemStep& step) {
            if (step.kind == ModemStep::Ring) signalRing(step.newCall);
            if (step.kind == ModemStep::Report) report(step.text);
            if (step.kind == ModemStep::Status) setStatus(step.status);
            if (step.kind == ModemStep::Identify) send(step.text);  // a beep only sounds
            if (step.wave) ringWave();
        });
    });
}

void CallDesk::signalRing(bool newCall) {
    if (newCall) {
        callOver();  // a new call before the silence ran out: the last one is over too
        // The last caller's notification is not this caller's.
        emit callEnded();
    }
    emit ringing(newCall);
    if (newCall) {
        call_ = {};
        call_.open = true;
        call_.caller.when = now();
        emit callEvent(CallEvent::Ring, call_.caller);
    }
    // Rings no longer coming mean the caller gave up.
    callOver_->start();
    rules_.setRingActive(true);
    setStatus(3);
}

void CallDesk::callOver() {
    if (!call_.open) return;
    const OpenCall call = std::exchange(call_, {});
    if (FileError error;
        call.logged && !WriteMissedMark(ini().LogFile, call.caller.when, call.caller.shown, &error))
        emit failed(Failure::make(Failure::Kind::File, error.message));
    emit callEvent(CallEvent::Missed, call.caller);
}

void CallDesk::ringWave() {
    if (!rules_.ringActive()) return;
    const TIni& s = ini();
    if (!s.Sound)
        emit wave(RingSound::Silent, {});
    else if (!s.PlayWAV)
        emit wave(RingSound::Speaker, {});
    else
        emit wave(RingSound::Wave, rules_.ringSound(s));
}

void CallDesk::answer() {
    guarded([this] {
        rules_.endCall();  // whatever rings after an answer is another call
        const OpenCall call = std::exchange(call_, {});
        if (call.open && !hangingUp_) emit callEvent(CallEvent::Answer, call.caller);
        emit callEnded();
        send(ini().HandUp);
        send(ini().Init);
        const CallRules::Answer a = rules_.answered();
        redial_->stop();
        emit answered(a.incoming);
        if (a.dialing) setStatus(1);
    });
}

void CallDesk::dial() {
    if (number_.isEmpty() || !portActive_) return;
    guarded([this] {
        setStatus(2);
        send(CallRules::dialCommand(number_, ini()));
        rules_.dialed();
    });
}

void CallDesk::redialTick() {
    const int wait = rules_.redialTick(ini());
    if (wait == 0) {
        redial_->stop();
        dial();
        return;
    }
    emit redialCountdown(wait);
}

void CallDesk::digit(int digit) {
    setNumber(number_ + QString::number(digit), false);
}

void CallDesk::backspace() {
    if (!number_.isEmpty()) setNumber(number_.left(number_.size() - 1), false);
}

void CallDesk::flash() {
    setNumber(QString(), false);
    setStatus(1);
}

void CallDesk::identify() {
    guarded([this] { send(ini().Zrk); });
}

void CallDesk::setCount(int count) {
    count_ = count;
    emit countChanged(count);
}

void CallDesk::setRingActive(bool active) {
    rules_.setRingActive(active);
}

void CallDesk::updateScheduleTick() {
    if (!schedulesInForce(ini()) || closed_)
        schedule_->stop();
    else if (!schedule_->isActive())
        schedule_->start();  // a refresh must not put off the tick
}

void CallDesk::scheduleTick() {
    if (closed_) return;
    const QTime t = now().time();
    const ScheduleRules::Change port = schedules_.portChange(ini(), t);
    if (port == ScheduleRules::TurnOff && portActive_) closePort();
    if (port == ScheduleRules::TurnOn && !portActive_) openPort();
    const ScheduleRules::Change sound = schedules_.soundChange(ini(), t);
    if (sound == ScheduleRules::None) return;
    const bool on = sound == ScheduleRules::TurnOn;
    changeSettings(SettingsChange::Switched, [on](TIni& s) { s.Sound = on; });
}

// Confirmed options are taken up as a whole: the schedules act at once and become what the
// next tick compares with; the link follows its server.
void CallDesk::followSettings(const TIni&, SettingsChange how) {
    if (closed_ || how != SettingsChange::Confirmed) return;
    const TIni& s = ini();
    if (s.PortOnOff || s.SoundOnOff) {
        if (timeToClose() && portActive_) closePort();
        if (ScheduleRules::soundOff(s, now().time()))
            changeSettings(SettingsChange::Switched, [](TIni& v) { v.Sound = false; });
    }
    schedules_.take(s, now().time());
    updateScheduleTick();
    guarded([this] { startNetwork(); });
}

Failures CallDesk::close() {
    Failures failures;
    if (closed_) return failures;
    closed_ = true;
    for (QTimer* t : {redial_, callOver_, schedule_}) t->stop();
    call_ = {};
    if (portActive_) {
        portActive_ = false;
        try {
            comm_->Close();  // no command to the modem
        } catch (...) {
            failures.append(failureOf(std::current_exception()));
        }
    }
    if (ncid_) {
        const QMetaObject::Connection queueErrors =
            connect(ncid_, &NcidLink::fileError, this, [&failures](const QString& text) {
                failures.append(Failure::make(Failure::Kind::File, text));
            });
        ncid_->stop();
        disconnect(queueErrors);
    }
    return failures;
}

}  // namespace zrk
