#include "core/serial/Comm.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QtDebug>

#include <cerrno>
#include <chrono>

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace zrk {
namespace {

constexpr quint32 kDeviceTag = 1;
constexpr quint32 kWakeTag = 2;

std::atomic<int> gAliveThreads{0};

// Platform event bit of each TCommEventType, by ordinal.
constexpr quint32 kEventBits[] = {kEvBreak, kEvCts,    kEvDsr,    kEvErr,    kEvRing,
                                  kEvRlsd,  kEvRxChar, kEvRxFlag, kEvTxEmpty};
// Flag bit of each TCommOption, by ordinal.
constexpr quint32 kOptionBits[] = {kFlParity, kFlDsrSensitivity, kFlTxContinueOnXoff, kFlErrorChar,
                                   kFlNull};

std::chrono::milliseconds limit(qint32 ms) {
    return std::chrono::milliseconds(ms < 0 ? 0 : ms);
}

}  // namespace

quint32 baudRateValue(TBaudrate b) {
    static constexpr quint32 kRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                         19200, 38400, 56000, 57600, 115200, 128000, 256000};
    const int i = int(b);
    return i >= 0 && i < int(std::size(kRates)) ? kRates[i] : 0;
}

quint32 commEventMask(TCommEventTypes events) {
    quint32 mask = 0;
    for (int i = 0; i < int(std::size(kEventBits)); ++i)
        if (events.contains(TCommEventType(i))) mask |= kEventBits[i];
    return mask;
}

ECommError::ECommError(const QString& text, qint32 code)
    : Exception(text + QCoreApplication::translate("zrk::ECommError", " (Ошибка: %1) ").arg(code)),
      text_(text),
      code_(code) {}

// ---- TCommEventChars ----------------------------------------------------------------------

void TCommEventChars::Assign(const TCommEventChars& other) {
    xon_ = other.xon_;
    xoff_ = other.xoff_;
    error_ = other.error_;
    eof_ = other.eof_;
    evt_ = other.evt_;
}

void TCommEventChars::set(quint8& field, quint8 c) {
    if (field == c) return;
    field = c;
    if (owner_) owner_->ApplyLineSettings();
}

// ---- TCommEventThread ---------------------------------------------------------------------

TCommEventThread::TCommEventThread(std::shared_ptr<SerialDevice> device, TCommEventTypes events,
                                   Delivery delivery)
    : device_(std::move(device)),
      mask_(commEventMask(events)),
      deviceFd_(device_->eventFd()),
      delivery_(std::move(delivery)) {
    ++gAliveThreads;
    device_->setEventMask(mask_);
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    if (wake_ >= 0 && epoll_ >= 0) {
        epoll_event w{};
        w.events = EPOLLIN;
        w.data.u32 = kWakeTag;
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &w);
        // Edge-triggered: a batch the owner leaves unread (port inactive) must not wake us
        // again and again; the next byte that arrives does.
        epoll_event d{};
        d.events = EPOLLIN | EPOLLET;
        d.data.u32 = kDeviceTag;
        if (deviceFd_ >= 0) ::epoll_ctl(epoll_, EPOLL_CTL_ADD, deviceFd_, &d);
    } else {
        qWarning("serial event thread: cannot create its wait (errno %d)", errno);
    }
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    start(QThread::HighPriority);
}

TCommEventThread::~TCommEventThread() {
    wait();
    if (wake_ >= 0) ::close(wake_);
    if (epoll_ >= 0) ::close(epoll_);
    --gAliveThreads;
}

int TCommEventThread::running() {
    return gAliveThreads.load();
}

void TCommEventThread::Stop() {
    stopped_.store(true);
    if (wake_ >= 0) {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
    }
}

CommDispatchResult TCommEventThread::deliver(quint32 mask) {
    CommDispatchResult r;
    if (stopped_.load()) return r;
    QMetaObject::invokeMethod(
        this,
        [this, mask, &r] {
            if (!stopped_.load()) r = delivery_(this, mask);
        },
        Qt::BlockingQueuedConnection);
    return r;
}

void TCommEventThread::waitForWake() {
    // Only the wake event from here on: a device that is gone stays "ready" for ever.
    if (deviceFd_ >= 0) ::epoll_ctl(epoll_, EPOLL_CTL_DEL, deviceFd_, nullptr);
    epoll_event ev{};
    while (!stopped_.load()) {
        const int n = ::epoll_wait(epoll_, &ev, 1, -1);
        if (n < 0 && errno != EINTR) return;
    }
}

void TCommEventThread::run() {
    if (wake_ < 0 || epoll_ < 0) return;
    epoll_event evs[2];
    while (!stopped_.load()) {
        const int n = ::epoll_wait(epoll_, evs, 2, -1);
        if (n < 0) {
            if (errno == EINTR) continue;
            qWarning("serial event thread: wait failed (errno %d)", errno);
            return;
        }
        if (stopped_.load()) break;
        quint32 mask = 0;
        bool gone = false;
        for (int i = 0; i < n; ++i) {
            if (evs[i].data.u32 != kDeviceTag) continue;
            bool g = false;
            mask |= device_->eventsFor(evs[i].events, &g);
            gone = gone || g;
        }
        mask &= mask_;
        if (mask) {
            CommDispatchResult r = deliver(mask);
            // The owner read part of what is queued: hand over the rest now rather than when
            // the next byte arrives. Nothing read means the owner does not want it yet.
            while ((mask_ & kEvRxChar) && r.consumed && r.queuedAfter > 0 && !stopped_.load())
                r = deliver(kEvRxChar | kCommContinueBatch);
        }
        if (gone) {
            waitForWake();
            break;
        }
    }
}

// ---- TCustomComm --------------------------------------------------------------------------

TCustomComm::TCustomComm(QObject* owner, std::shared_ptr<SerialDevice> device)
    : QObject(owner),
      device_(device ? std::move(device) : std::make_shared<TermiosSerialDevice>()) {}

TCustomComm::~TCustomComm() {
    Close();
}

bool TCustomComm::IsOpen() const {
    return device_->isOpen();
}

void TCustomComm::RequireClosed() const {
    if (IsOpen()) throw ECommError(tr("Порт уже открыт"), -1);
}

void TCustomComm::OpenDevice() {
    int error = 0;
    switch (device_->open(deviceName_, &error)) {
        case SerialOpenResult::Ok:
            break;
        case SerialOpenResult::AccessError:
            throw ECommError(tr("Ошибка доступа к устройству"), error);
        case SerialOpenResult::NotCharDevice:
            CloseDevice();
            throw ECommError(tr("Неправильный определитель устройства"), -1);
    }
}

void TCustomComm::CloseDevice() {
    device_->close();
}

void TCustomComm::Open() {
    RequireClosed();
    OpenDevice();
    if (!IsOpen()) return;
    leftQueued_ = 0;
    ++opened_;
    QPointer<TCustomComm> self(this);
    eventThread_ =
        new TCommEventThread(device_, monitorEvents_,
                             [self](TCommEventThread* sender, quint32 mask) -> CommDispatchResult {
                                 // A thread told to stop (port closed, or closed and opened again)
                                 // delivers nothing.
                                 if (!self || self->eventThread_ != sender || !self->IsOpen())
                                     return {};
                                 return self->DispatchEvents(mask);
                             });
    ApplyTimeouts();
    ApplyLineSettings();
    ApplyBuffers();
}

void TCustomComm::Close() {
    if (!IsOpen()) return;
    if (eventThread_) eventThread_->Stop();
    eventThread_ = nullptr;
    CloseDevice();
}

void TCustomComm::ApplyTimeouts() {
    if (const int e = device_->setImmediateTimeouts())
        throw ECommError(tr("Ошибка обновления CommTimeouts"), e);
}

void TCustomComm::ApplyBuffers() {
    if (const int e = device_->setQueueSizes(readBufSize_, writeBufSize_))
        throw ECommError(tr("Ошибка инициализации буферов"), e);
}

void TCustomComm::ApplyLineSettings() {
    if (!IsOpen()) return;
    SerialLineSettings s = dcb_;
    device_->getLineSettings(&s);
    s.baudRate = baudRateValue(baudRate_);
    s.parity = quint8(parity_);
    s.stopBits = quint8(stopbits_);
    s.byteSize = quint8(int(databits_) + 4);
    s.xonChar = eventChars_.XonChar();
    s.xoffChar = eventChars_.XoffChar();
    s.errorChar = eventChars_.ErrorChar();
    s.eofChar = eventChars_.EofChar();
    s.evtChar = eventChars_.EvtChar();
    s.xonLim = quint16(readBufSize_ / 4);
    s.xoffLim = quint16(readBufSize_ / 4);
    switch (flowControl_) {
        case fcNone:
            s.flags = kFlBinary;
            break;
        case fcCTS:
            s.flags |= kFlOutxCtsFlow | kFlRtsControlHandshake;
            break;
        case fcDTR:
            s.flags |= kFlOutxDsrFlow | kFlDtrControlHandshake;
            break;
        case fcSoftware:
            s.flags |= kFlOutX | kFlInX;
            break;
        case fcDefault:
            break;
    }
    for (int i = 0; i < int(std::size(kOptionBits)); ++i) {
        if (options_.contains(TCommOption(i)))
            s.flags |= kOptionBits[i];
        else
            s.flags &= ~kOptionBits[i];
    }
    if (const int e = device_->setLineSettings(s))
        throw ECommError(tr("Ошибка обновления DataControlBlock"), e);
    dcb_ = s;
}

qint32 TCustomComm::Write(const void* buffer, qint32 count) {
    const QDeadlineTimer deadline(std::chrono::milliseconds(limit(writeTimeout_)));
    if (!transferLock_.try_lock_for(limit(writeTimeout_))) return -1;
    std::unique_lock<std::recursive_timed_mutex> guard(transferLock_, std::adopt_lock);
    const char* p = static_cast<const char*>(buffer);
    qint64 done = 0;
    if (count <= 0) {
        // Nothing to send, but a closed port is still an error.
        if (!IsOpen()) throw ECommError(tr("Ошибка записи"), EBADF);
        return 0;
    }
    while (done < count) {
        const qint64 n = device_->write(p + done, count - done);
        if (n < 0) throw ECommError(tr("Ошибка записи"), qint32(-n));
        done += n;
        if (done == count) break;
        // The limit is for the whole transfer: a line that keeps draining a little at a time
        // must not hold the caller (the window) beyond it.
        if (deadline.hasExpired()) return -1;
        if (n == 0) {
            const int w = device_->waitWritable(int(deadline.remainingTime()));
            if (w < 0) throw ECommError(tr("Ошибка записи"), -w);
        }
    }
    return qint32(done);
}

qint32 TCustomComm::Read(void* buffer, qint32 count) {
    if (!transferLock_.try_lock_for(limit(readTimeout_))) return -1;
    std::unique_lock<std::recursive_timed_mutex> guard(transferLock_, std::adopt_lock);
    const qint64 n = device_->read(static_cast<char*>(buffer), count < 0 ? 0 : count);
    if (n < 0) throw ECommError(tr("Ошибка чтения"), qint32(-n));
    if (n > 0) {
        bytesRead_ += n;
        leftQueued_ = 0;
    }
    return qint32(n);
}

void TCustomComm::Lock() {
    transferLock_.lock();
}
void TCustomComm::Unlock() {
    transferLock_.unlock();
}

qint32 TCustomComm::Escape(int function) {
    if (!IsOpen()) throw ECommError(tr("Порт не открыт, чем то занят"), -1);
    if (const int e = device_->escape(function))
        throw ECommError(tr("EscapeCommFunction недоступна"), e);
    return 1;
}

bool TCustomComm::SetDTR(bool state) {
    return Escape(state ? kSetDtr : kClrDtr) != 0;
}
bool TCustomComm::SetRTS(bool state) {
    return Escape(state ? kSetRts : kClrRts) != 0;
}

bool TCustomComm::ModemLineState(int line) {
    static constexpr quint32 kBits[] = {kMsCtsOn, kMsDsrOn, kMsRingOn, kMsRlsdOn};
    if (!IsOpen() || line < 1 || line > 4) return false;
    quint32 status = 0;
    if (device_->modemStatus(&status) != 0) return false;
    return (status & kBits[line - 1]) != 0;
}

// What takes effect at the next Open may not change while open.
#define ZRK_CLOSED_SETTER(Name, Type, field) \
    void TCustomComm::Set##Name(Type v) {    \
        if (v == field) return;              \
        RequireClosed();                     \
        field = v;                           \
    }
ZRK_CLOSED_SETTER(DeviceName, const QString&, deviceName_)
ZRK_CLOSED_SETTER(ReadBufSize, qint32, readBufSize_)
ZRK_CLOSED_SETTER(WriteBufSize, qint32, writeBufSize_)
ZRK_CLOSED_SETTER(MonitorEvents, TCommEventTypes, monitorEvents_)
#undef ZRK_CLOSED_SETTER

#define ZRK_LINE_SETTER(Name, Type, field) \
    void TCustomComm::Set##Name(Type v) {  \
        if (v == field) return;            \
        field = v;                         \
        ApplyLineSettings();               \
    }
ZRK_LINE_SETTER(BaudRate, TBaudrate, baudRate_)
ZRK_LINE_SETTER(Parity, TParity, parity_)
ZRK_LINE_SETTER(Stopbits, TStopbits, stopbits_)
ZRK_LINE_SETTER(Databits, TDatabits, databits_)
ZRK_LINE_SETTER(Options, TCommOptions, options_)
ZRK_LINE_SETTER(FlowControl, TFlowControl, flowControl_)
#undef ZRK_LINE_SETTER

void TCustomComm::reportHandlerError(std::exception_ptr error) {
    // Nothing may leave here: it would unwind through the event loop of the owner's thread.
    try {
        if (handlerErrorReporter_) {
            handlerErrorReporter_(error);
            return;
        }
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        qWarning("serial handler failed: %s", e.what());
    } catch (...) {
        qWarning("serial handler failed");
    }
}

CommDispatchResult TCustomComm::DispatchEvents(quint32 mask) {
    CommDispatchResult r;
    quint32 errors = 0;
    qint32 inQueue = 0;
    device_->clearErrors(&errors, &inQueue);
    r.queuedBefore = inQueue;
    const qint64 readBefore = bytesRead_;
    const quint64 openedBefore = opened_;
    const bool newBytes = (mask & kCommContinueBatch) || inQueue > leftQueued_;
    try {
        if ((mask & kEvBreak) && OnBreak) OnBreak(this);
        if ((mask & kEvCts) && OnCts) OnCts(this);
        if ((mask & kEvDsr) && OnDsr) OnDsr(this);
        if ((mask & kEvErr) && OnError) OnError(this, qint32(errors));
        if ((mask & kEvRing) && OnRing) OnRing(this);
        if ((mask & kEvRlsd) && OnRlsd) OnRlsd(this);
        // Never more than the owner's buffer of ReadBufSize bytes: a device may queue more
        // than that, and the rest comes with the next delivery.
        const qint32 count = qMin(inQueue, readBufSize_);
        if ((mask & kEvRxChar) && newBytes && count > 0 && OnRxChar) OnRxChar(this, count);
        if ((mask & kEvRxFlag) && OnRxFlag) OnRxFlag(this);
        if ((mask & kEvTxEmpty) && OnTxEmpty) OnTxEmpty(this);
    } catch (...) {
        // The rest of this batch is dropped; the line watch goes on.
        reportHandlerError(std::current_exception());
    }
    r.queuedAfter = IsOpen() ? device_->queuedBytes() : 0;
    r.consumed = bytesRead_ != readBefore;
    // A handler that closed and reopened the port started a fresh queue.
    if (opened_ == openedBefore) leftQueued_ = r.queuedAfter;
    return r;
}

}  // namespace zrk
