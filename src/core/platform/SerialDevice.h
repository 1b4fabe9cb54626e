#pragma once
// The serial device behind the port component: a small backend interface (so tests can put an
// in-process fake behind the component), its termios implementation, and the map from the
// program's port names ("Com2") to device paths.
//
// The component thinks in the terms of the line-settings record and event bits it was built
// around; the backend translates them to termios. What Linux has no equivalent for is kept in
// the record and otherwise ignored (see TermiosSerialDevice).
#include <QString>
#include <QtGlobal>

#include <memory>

namespace zrk {

// Event bits of the device's event wait.
enum : quint32 {
    kEvRxChar = 0x0001,
    kEvRxFlag = 0x0002,
    kEvTxEmpty = 0x0004,
    kEvCts = 0x0008,
    kEvDsr = 0x0010,
    kEvRlsd = 0x0020,
    kEvBreak = 0x0040,
    kEvErr = 0x0080,
    kEvRing = 0x0100,
};

// Error flags of the device's error state.
enum : quint32 {
    kCeRxOver = 0x0001,
    kCeOverrun = 0x0002,
    kCeRxParity = 0x0004,
    kCeFrame = 0x0008,
    kCeBreak = 0x0010,
    kCeIoError = 0x0400,  // the device went away (hang-up, unplugged)
};

// Modem status bits.
enum : quint32 { kMsCtsOn = 0x10, kMsDsrOn = 0x20, kMsRingOn = 0x40, kMsRlsdOn = 0x80 };

// Flag word of the line settings.
enum : quint32 {
    kFlBinary = 0x0001,
    kFlParity = 0x0002,
    kFlOutxCtsFlow = 0x0004,
    kFlOutxDsrFlow = 0x0008,
    kFlDtrControlEnable = 0x0010,
    kFlDtrControlHandshake = 0x0020,
    kFlDtrControlMask = 0x0030,
    kFlDsrSensitivity = 0x0040,
    kFlTxContinueOnXoff = 0x0080,
    kFlOutX = 0x0100,
    kFlInX = 0x0200,
    kFlErrorChar = 0x0400,
    kFlNull = 0x0800,
    kFlRtsControlEnable = 0x1000,
    kFlRtsControlHandshake = 0x2000,
    kFlRtsControlMask = 0x3000,
};

// DTR/RTS escapes.
enum : int { kSetRts = 3, kClrRts = 4, kSetDtr = 5, kClrDtr = 6 };

struct SerialLineSettings {
    quint32 baudRate = 9600;
    quint8 parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    quint8 stopBits = 0;  // 0 one, 1 one and a half, 2 two
    quint8 byteSize = 8;  // 4..8
    quint32 flags = kFlBinary;
    quint8 xonChar = 17, xoffChar = 19, errorChar = 0, eofChar = 0, evtChar = 0;
    quint16 xonLim = 0, xoffLim = 0;
};

enum class SerialOpenResult { Ok, AccessError, NotCharDevice };

// One device, opened and closed again as often as the owner likes. All calls come from the
// owner's thread, except eventsFor() (see there). Functions returning int give 0 or an errno.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Opens `name` for reading and writing, exclusively. On AccessError *error holds errno;
    // on NotCharDevice the device is closed again.
    virtual SerialOpenResult open(const QString& name, int* error) = 0;
    // Purges both directions and releases the device; harmless when closed.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // A descriptor that becomes readable when the device has something to report; the event
    // thread waits on it edge-triggered.
    virtual int eventFd() const = 0;
    // Translates what the wait saw (EPOLL* bits) into event bits, and says whether the device
    // is gone for good. Runs on the event thread, possibly after close(): it must not touch
    // the device.
    virtual quint32 eventsFor(quint32 epollEvents, bool* gone) = 0;
    virtual int setEventMask(quint32 mask) = 0;

    // Reads complete at once with what is queued; writes have no device time-out.
    virtual int setImmediateTimeouts() = 0;
    virtual int setQueueSizes(int input, int output) = 0;
    virtual int getLineSettings(SerialLineSettings* s) = 0;
    // All or nothing: when it fails the device keeps its previous settings.
    virtual int setLineSettings(const SerialLineSettings& s) = 0;

    // >= 0 bytes read (0: nothing queued), or -errno. Never blocks.
    virtual qint64 read(char* buf, qint64 count) = 0;
    // >= 0 bytes accepted (0: the output queue is full), or -errno. Never blocks.
    virtual qint64 write(const char* buf, qint64 count) = 0;
    // Waits until a write can make progress: 1 ready, 0 time ran out, -errno.
    virtual int waitWritable(int timeoutMs) = 0;

    // Clears the device's error state: the error flags since the last call and the number of
    // bytes in the receive queue.
    virtual int clearErrors(quint32* errors, qint32* inQueue) = 0;
    // The number of bytes in the receive queue, leaving the error state alone.
    virtual qint32 queuedBytes() = 0;
    virtual int escape(int function) = 0;
    virtual int modemStatus(quint32* status) = 0;
    virtual int purge() = 0;
};

// Where "ComN" lives: the store's "Software\Zrk Pro\Devices" text value "ComN", else
// /dev/ttyS<N-1>; "ComN Virtual"=1 marks a device without modem-control lines. Any other name
// is taken as a path as it is.
struct SerialDeviceLocation {
    QString path;
    bool isVirtual = false;
};
SerialDeviceLocation locateSerialDevice(const QString& name);

// The POSIX termios backend.
//
// Linux has no equivalent for these, which are kept in the line-settings record but have no
// effect: DSR output flow control and DTR handshaking (fOutxDsrFlow, DTR control), DSR
// sensitivity, "continue sending after XOFF", the error replacement character, the XON/XOFF
// limits, the event character (no "event character received" event), the EOF character in
// raw mode, the queue sizes (the kernel's are fixed), and a character size of 4 bits (the
// size stays as it was). One and a half stop bits become CSTOPB, which a UART reads as 1.5
// for 5-bit characters and as 2 otherwise. Null stripping is done when reading. RTS
// handshaking and CTS output flow are one flag (CRTSCTS). Modem-line events (CTS, DSR, ring,
// carrier, break) are not reported by the event wait; the lines can still be queried.
class TermiosSerialDevice : public SerialDevice {
public:
    TermiosSerialDevice() = default;
    ~TermiosSerialDevice() override;

    SerialOpenResult open(const QString& name, int* error) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    int eventFd() const override { return fd_; }
    quint32 eventsFor(quint32 epollEvents, bool* gone) override;
    int setEventMask(quint32 mask) override;
    int setImmediateTimeouts() override;
    int setQueueSizes(int input, int output) override;
    int getLineSettings(SerialLineSettings* s) override;
    int setLineSettings(const SerialLineSettings& s) override;
    qint64 read(char* buf, qint64 count) override;
    qint64 write(const char* buf, qint64 count) override;
    int waitWritable(int timeoutMs) override;
    int clearErrors(quint32* errors, qint32* inQueue) override;
    qint32 queuedBytes() override;
    int escape(int function) override;
    int modemStatus(quint32* status) override;
    int purge() override;

    const QString& path() const { return path_; }

private:
    int fd_ = -1;
    QString path_;
    bool virtual_ = false;
    // The record as last written, for the flags and characters Linux does not keep.
    SerialLineSettings kept_;
    bool stripNulls_ = false;
    // Counters of line errors at the last clearErrors().
    struct {
        int frame = 0, overrun = 0, parity = 0, brk = 0, bufOverrun = 0;
    } counts_;
};

}  // namespace zrk
