#pragma once
// TComm: the serial port component. It opens one device, applies the line settings, watches
// the line on a thread of its own and calls the owner's handlers on the owner's
// (user-interface) thread.
// It knows nothing of the rest of the program; the device behind it is a SerialDevice.
#include "core/platform/Exception.h"
#include "core/platform/SerialDevice.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>

namespace zrk {

// Ordinals are fixed: the settings keep the baud rate as its ordinal.
enum TCommEventType {
    evBreak,
    evCts,
    evDsr,
    evError,
    evRing,
    evRlsd,
    evRxChar,
    evRxFlag,
    evTxEmpty
};
enum TBaudrate {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TParity { paNone, paOdd, paEven, paMark, paSpace };
enum TStopbits { sb10, sb15, sb20 };
enum TDatabits { da4, da5, da6, da7, da8 };
enum TFlowControl { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };
enum TCommOption { coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar, coNullStrip };

// A set of enumeration members, one bit per ordinal.
template <typename E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members) {
        for (E m : members) bits_ |= 1u << unsigned(m);
    }
    constexpr bool contains(E m) const { return bits_ & (1u << unsigned(m)); }
    constexpr bool isEmpty() const { return bits_ == 0; }
    constexpr quint32 bits() const { return bits_; }
    constexpr TSet operator|(TSet o) const {
        o.bits_ |= bits_;
        return o;
    }
    constexpr bool operator==(const TSet&) const = default;

private:
    quint32 bits_ = 0;
};
using TCommEventTypes = TSet<TCommEventType>;
using TCommOptions = TSet<TCommOption>;

inline constexpr TCommEventTypes kAllCommEvents{evBreak, evCts,    evDsr,    evError,  evRing,
                                                evRlsd,  evRxChar, evRxFlag, evTxEmpty};

// Bit rate of each TBaudrate member.
quint32 baudRateValue(TBaudrate b);
// The device's event bits for a set of events.
quint32 commEventMask(TCommEventTypes events);

using TNotifyEvent = std::function<void(QObject* Sender)>;
using TCommRxCharEvent = std::function<void(QObject* Sender, qint32 Count)>;
using TCommErrorEvent = std::function<void(QObject* Sender, qint32 Errors)>;

// A message and the errno of the failing call (-1 where no call failed). The message carries
// the code: "Порт уже открыт (Ошибка: -1) ".
class ECommError : public Exception {
public:
    ECommError(const QString& text, qint32 code);
    qint32 ErrorCode() const noexcept { return code_; }
    const QString& text() const noexcept { return text_; }
    Failure::Kind kind() const noexcept override { return Failure::Kind::Port; }

private:
    QString text_;
    qint32 code_;
};

class TCustomComm;

class TCommEventChars {
public:
    explicit TCommEventChars(TCustomComm* owner = nullptr) : owner_(owner) {}
    TCommEventChars(const TCommEventChars&) = delete;
    TCommEventChars& operator=(const TCommEventChars&) = delete;

    quint8 XonChar() const { return xon_; }
    quint8 XoffChar() const { return xoff_; }
    quint8 ErrorChar() const { return error_; }
    quint8 EofChar() const { return eof_; }
    quint8 EvtChar() const { return evt_; }
    void SetXonChar(quint8 c) { set(xon_, c); }
    void SetXoffChar(quint8 c) { set(xoff_, c); }
    void SetErrorChar(quint8 c) { set(error_, c); }
    void SetEofChar(quint8 c) { set(eof_, c); }
    void SetEvtChar(quint8 c) { set(evt_, c); }
    // Copies the five characters; re-applies nothing.
    void Assign(const TCommEventChars& other);

private:
    void set(quint8& field, quint8 c);

    TCustomComm* owner_;
    quint8 xon_ = 17, xoff_ = 19, error_ = 0, eof_ = 0, evt_ = 0;
};

// What one delivery found: the receive queue before and after the handlers ran.
struct CommDispatchResult {
    qint32 queuedBefore = 0;
    qint32 queuedAfter = 0;
    bool consumed = false;  // the handlers read something
};
// Added to the mask of a delivery that continues a batch the owner has not read to its end.
inline constexpr quint32 kCommContinueBatch = 0x80000000u;

// Waits for the device (and for its wake event) and hands each batch to the owner's thread,
// blocking until the handlers have run. Created running; deletes itself when it ends.
class TCommEventThread : public QThread {
    Q_OBJECT
public:
    using Delivery = std::function<CommDispatchResult(TCommEventThread* sender, quint32 mask)>;

    // `delivery` is only ever called on the thread that created this object.
    TCommEventThread(std::shared_ptr<SerialDevice> device, TCommEventTypes events,
                     Delivery delivery);
    ~TCommEventThread() override;

    // Tells the thread to end; does not wait.
    void Stop();
    // Threads that have not yet finished (tests wait for 0).
    static int running();

protected:
    void run() override;

private:
    CommDispatchResult deliver(quint32 mask);
    void waitForWake();

    std::shared_ptr<SerialDevice> device_;
    quint32 mask_;
    // The device's descriptor as it was when the watch began: the owner's thread may close
    // the device at any time, so the watch never asks the device for it again.
    int deviceFd_ = -1;
    Delivery delivery_;
    int wake_ = -1;
    int epoll_ = -1;
    std::atomic<bool> stopped_{false};
};

class TCustomComm : public QObject {
    Q_OBJECT
public:
    // Without a device the component uses the termios backend.
    explicit TCustomComm(QObject* owner = nullptr, std::shared_ptr<SerialDevice> device = {});
    ~TCustomComm() override;

    void Open();
    void Close();
    bool IsOpen() const;
    // Bytes written, or -1 when WriteTimeout ran out.
    qint32 Write(const void* buffer, qint32 count);
    // Bytes read (0 when nothing is queued), or -1 when ReadTimeout ran out.
    qint32 Read(void* buffer, qint32 count);
    bool SetDTR(bool state);
    bool SetRTS(bool state);
    // 1 CTS, 2 DSR, 3 ring indicator, 4 carrier; false when closed or unknown.
    bool ModemLineState(int line);
    void Lock();
    void Unlock();

    const QString& DeviceName() const { return deviceName_; }
    void SetDeviceName(const QString& v);
    qint32 ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(qint32 v) { readTimeout_ = v; }
    qint32 WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(qint32 v) { writeTimeout_ = v; }
    qint32 ReadBufSize() const { return readBufSize_; }
    void SetReadBufSize(qint32 v);
    qint32 WriteBufSize() const { return writeBufSize_; }
    void SetWriteBufSize(qint32 v);
    TCommEventTypes MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TCommEventTypes v);
    TBaudrate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudrate v);
    TParity Parity() const { return parity_; }
    void SetParity(TParity v);
    TStopbits Stopbits() const { return stopbits_; }
    void SetStopbits(TStopbits v);
    TDatabits Databits() const { return databits_; }
    void SetDatabits(TDatabits v);
    TCommOptions Options() const { return options_; }
    void SetOptions(TCommOptions v);
    TFlowControl FlowControl() const { return flowControl_; }
    void SetFlowControl(TFlowControl v);
    TCommEventChars& EventChars() { return eventChars_; }
    const TCommEventChars& EventChars() const { return eventChars_; }

    // Pushes the line settings to the device; nothing while closed.
    void ApplyLineSettings();
    // The line settings as last written to the device.
    const SerialLineSettings& LineSettings() const { return dcb_; }
    SerialDevice& device() const { return *device_; }

    // An error raised by a handler is caught here (it must neither end the program nor stop
    // the line watch) and handed to this reporter; without one it is logged.
    void setHandlerErrorReporter(std::function<void(std::exception_ptr)> r) {
        handlerErrorReporter_ = std::move(r);
    }

    TNotifyEvent OnBreak;
    TNotifyEvent OnCts;
    TNotifyEvent OnDsr;
    TCommErrorEvent OnError;
    TNotifyEvent OnRing;
    TNotifyEvent OnRlsd;
    TCommRxCharEvent OnRxChar;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnTxEmpty;

    // One batch of events, on the owner's thread. Public for tests of the handler rules.
    CommDispatchResult DispatchEvents(quint32 mask);

protected:
    virtual void OpenDevice();
    void CloseDevice();
    void RequireClosed() const;

private:
    qint32 Escape(int function);
    void reportHandlerError(std::exception_ptr error);
    void ApplyTimeouts();
    void ApplyBuffers();

    std::shared_ptr<SerialDevice> device_;
    SerialLineSettings dcb_;
    QString deviceName_ = QStringLiteral("Com2");
    std::recursive_timed_mutex transferLock_;
    qint32 readTimeout_ = 1000;
    qint32 writeTimeout_ = 1000;
    qint32 readBufSize_ = 4096;
    qint32 writeBufSize_ = 2048;
    TCommEventTypes monitorEvents_ = kAllCommEvents;
    TBaudrate baudRate_ = br9600;
    TParity parity_ = paNone;
    TStopbits stopbits_ = sb10;
    TDatabits databits_ = da8;
    QPointer<TCommEventThread> eventThread_;
    TCommEventChars eventChars_{this};
    TCommOptions options_;
    TFlowControl flowControl_ = fcDefault;
    std::function<void(std::exception_ptr)> handlerErrorReporter_;
    // Bytes left queued after the last delivery: a wake-up that brings no more is no event
    // (an owner that leaves its bytes unread is not called again and again).
    qint32 leftQueued_ = 0;
    qint64 bytesRead_ = 0;
    quint64 opened_ = 0;  // number of Open calls, to tell a reopened port
};

class TComm : public TCustomComm {
    Q_OBJECT
public:
    using TCustomComm::TCustomComm;
};

}  // namespace zrk
