#include "core/platform/SerialDevice.h"

#include "core/platform/Registry.h"

#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace zrk {
namespace {

// The kernel's termios2 (glibc's struct termios is larger and cannot carry an arbitrary
// rate). Declared here because <asm/termbits.h> clashes with <termios.h>.
struct KernelTermios2 {
    tcflag_t c_iflag;
    tcflag_t c_oflag;
    tcflag_t c_cflag;
    tcflag_t c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
    speed_t c_ispeed;
    speed_t c_ospeed;
};
#if defined(__x86_64__) || defined(__i386__) || defined(__aarch64__) || defined(__arm__) || \
    defined(__riscv)
static_assert(sizeof(KernelTermios2) == 44, "termios2 layout of this architecture");
#else
#error "check the termios2 layout of this architecture"
#endif

constexpr unsigned long kTcGets2 = _IOR('T', 0x2A, KernelTermios2);
constexpr unsigned long kTcSets2 = _IOW('T', 0x2B, KernelTermios2);
constexpr tcflag_t kBother = 0010000;
constexpr tcflag_t kCbaud = 0010017;

struct NamedRate {
    quint32 rate;
    tcflag_t code;
};
constexpr NamedRate kNamedRates[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800},
};

int getTermios(int fd, KernelTermios2* t) {
    return ::ioctl(fd, kTcGets2, t) < 0 ? errno : 0;
}
int setTermios(int fd, const KernelTermios2& t) {
    return ::ioctl(fd, kTcSets2, &t) < 0 ? errno : 0;
}

}  // namespace

SerialDeviceLocation locateSerialDevice(const QString& name) {
    static const QRegularExpression comN(QStringLiteral("^com([0-9]+)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = comN.match(name);
    if (!m.hasMatch()) return {name, false};

    SerialDeviceLocation loc;
    loc.path = QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toLongLong() - 1);
    RegKey reg;
    if (!reg.openKeyReadOnly(QStringLiteral("Software\\Zrk Pro\\Devices"))) return loc;
    const QString key = QStringLiteral("Com%1").arg(m.captured(1).toLongLong());
    // A value of the wrong type is a broken entry; it counts as missing rather than making
    // the port impossible to open.
    try {
        if (reg.valueExists(key)) {
            const QString path = reg.readString(key);
            if (!path.isEmpty()) loc.path = path;
        }
    } catch (const ERegistryException&) {
    }
    try {
        const QString virt = key + QStringLiteral(" Virtual");
        if (reg.valueExists(virt)) loc.isVirtual = reg.readInteger(virt) == 1;
    } catch (const ERegistryException&) {
    }
    return loc;
}

TermiosSerialDevice::~TermiosSerialDevice() {
    close();
}

SerialOpenResult TermiosSerialDevice::open(const QString& name, int* error) {
    *error = 0;
    if (fd_ >= 0) close();
    const SerialDeviceLocation loc = locateSerialDevice(name);
    const QByteArray path = loc.path.toLocal8Bit();
    // Non-blocking: a FIFO or a line without carrier must not hang the open.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return SerialOpenResult::AccessError;
    }
    struct stat st {};
    // A character device that is no terminal (/dev/null) is no serial line either.
    if (::fstat(fd, &st) < 0 || !S_ISCHR(st.st_mode) || !::isatty(fd)) {
        ::close(fd);
        return SerialOpenResult::NotCharDevice;
    }
    // Exclusive: the lock keeps out other programs that lock, TIOCEXCL those that do not.
    if (::flock(fd, LOCK_EX | LOCK_NB) < 0 || ::ioctl(fd, TIOCEXCL) < 0) {
        *error = errno;
        ::close(fd);
        return SerialOpenResult::AccessError;
    }
    KernelTermios2 t{};
    if (const int e = getTermios(fd, &t)) {
        *error = e;
        ::ioctl(fd, TIOCNXCL);
        ::close(fd);
        return SerialOpenResult::AccessError;
    }
    // Raw bytes both ways; CLOCAL so that a carrier drop does not hang up the line (the modem
    // drops carrier at the end of every call).
    t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                   IXANY | IUCLC | IMAXBEL);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN | ECHOE | ECHOK | ECHOCTL | ECHOKE);
    t.c_cflag |= CREAD | CLOCAL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    setTermios(fd, t);
    // A freshly opened port starts with empty queues.
    ::tcflush(fd, TCIOFLUSH);

    fd_ = fd;
    path_ = loc.path;
    virtual_ = loc.isVirtual;
    stripNulls_ = false;
    kept_ = SerialLineSettings{};
    kept_.flags = kFlBinary | kFlDtrControlEnable | kFlRtsControlEnable;
    counts_ = {};
    serial_icounter_struct ic{};
    if (::ioctl(fd_, TIOCGICOUNT, &ic) == 0)
        counts_ = {ic.frame, ic.overrun, ic.parity, ic.brk, ic.buf_overrun};
    return SerialOpenResult::Ok;
}

void TermiosSerialDevice::close() {
    if (fd_ < 0) return;
    ::tcflush(fd_, TCIOFLUSH);
    // The exclusive mark outlives our descriptor when someone else holds the line open (a
    // simulator keeps its own end): clear it so that we can open it again.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
}

quint32 TermiosSerialDevice::eventsFor(quint32 epollEvents, bool* gone) {
    *gone = (epollEvents & (EPOLLHUP | EPOLLERR)) != 0;
    quint32 mask = 0;
    if (epollEvents & EPOLLIN) mask |= kEvRxChar;
    if (*gone) mask |= kEvErr;
    return mask;
}

int TermiosSerialDevice::setEventMask(quint32) {
    return fd_ < 0 ? EBADF : 0;
}

int TermiosSerialDevice::setImmediateTimeouts() {
    if (fd_ < 0) return EBADF;
    KernelTermios2 t{};
    if (const int e = getTermios(fd_, &t)) return e;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return setTermios(fd_, t);
}

int TermiosSerialDevice::setQueueSizes(int input, int output) {
    if (fd_ < 0) return EBADF;
    return input < 0 || output < 0 ? EINVAL : 0;
}

int TermiosSerialDevice::getLineSettings(SerialLineSettings* s) {
    if (fd_ < 0) return EBADF;
    KernelTermios2 t{};
    if (const int e = getTermios(fd_, &t)) return e;
    *s = kept_;
    s->baudRate = t.c_ospeed;
    if (!(t.c_cflag & PARENB))
        s->parity = 0;
    else if (t.c_cflag & CMSPAR)
        s->parity = (t.c_cflag & PARODD) ? 3 : 4;
    else
        s->parity = (t.c_cflag & PARODD) ? 1 : 2;
    if (!(t.c_cflag & CSTOPB))
        s->stopBits = 0;
    else if (kept_.stopBits == 0)
        s->stopBits = 2;
    const tcflag_t size = t.c_cflag & CSIZE;
    s->byteSize = size == CS5   ? (kept_.byteSize == 4 ? 4 : 5)
                  : size == CS6 ? 6
                  : size == CS7 ? 7
                                : 8;
    quint32 f = kept_.flags &
                ~(kFlParity | kFlOutxCtsFlow | kFlRtsControlMask | kFlOutX | kFlInX | kFlNull);
    f |= kFlBinary;
    if (t.c_iflag & INPCK) f |= kFlParity;
    if (t.c_cflag & CRTSCTS)
        f |= kFlOutxCtsFlow | kFlRtsControlHandshake;
    else
        f |= kept_.flags & kFlRtsControlEnable;
    if (t.c_iflag & IXON) f |= kFlOutX;
    if (t.c_iflag & IXOFF) f |= kFlInX;
    if (stripNulls_) f |= kFlNull;
    s->flags = f;
    s->xonChar = t.c_cc[VSTART];
    s->xoffChar = t.c_cc[VSTOP];
    return 0;
}

int TermiosSerialDevice::setLineSettings(const SerialLineSettings& s) {
    if (fd_ < 0) return EBADF;
    KernelTermios2 old{};
    if (const int e = getTermios(fd_, &old)) return e;
    KernelTermios2 t = old;

    if (s.baudRate == 0) return EINVAL;
    t.c_cflag &= ~kCbaud;
    tcflag_t code = kBother;
    for (const NamedRate& r : kNamedRates)
        if (r.rate == s.baudRate) code = r.code;
    t.c_cflag |= code;
    t.c_ispeed = t.c_ospeed = s.baudRate;
    // Input speed follows output speed.
    t.c_cflag &= ~(kCbaud << 16);

    // Parity none, odd, even, mark, space; character sizes from 5 bits.
    static constexpr tcflag_t kParity[] = {0, PARENB | PARODD, PARENB, PARENB | CMSPAR | PARODD,
                                           PARENB | CMSPAR};
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    if (s.parity > 4 || s.stopBits > 2 || s.byteSize < 4 || s.byteSize > 8) return EINVAL;
    t.c_cflag = (t.c_cflag & ~(PARENB | PARODD | CMSPAR)) | kParity[s.parity];
    t.c_cflag = s.stopBits == 0 ? (t.c_cflag & ~CSTOPB) : (t.c_cflag | CSTOPB);
    // No 4-bit characters here: the size stays.
    if (s.byteSize > 4) t.c_cflag = (t.c_cflag & ~CSIZE) | kSizes[s.byteSize - 5];

    const quint32 f = s.flags;
    t.c_iflag = (f & kFlParity) ? (t.c_iflag | INPCK) : (t.c_iflag & ~INPCK);
    const bool rtscts = (f & kFlOutxCtsFlow) || (f & kFlRtsControlMask) == kFlRtsControlHandshake;
    t.c_cflag = rtscts ? (t.c_cflag | CRTSCTS) : (t.c_cflag & ~CRTSCTS);
    t.c_iflag = (f & kFlOutX) ? (t.c_iflag | IXON) : (t.c_iflag & ~IXON);
    t.c_iflag = (f & kFlInX) ? (t.c_iflag | IXOFF) : (t.c_iflag & ~IXOFF);
    t.c_cc[VSTART] = s.xonChar;
    t.c_cc[VSTOP] = s.xoffChar;

    if (const int e = setTermios(fd_, t)) {
        setTermios(fd_, old);
        return e;
    }
    // A driver that cannot do the rate keeps another one; that is a refusal.
    KernelTermios2 now{};
    if (getTermios(fd_, &now) == 0) {
        const double wanted = s.baudRate;
        const double got = now.c_ospeed;
        if (got < wanted * 0.97 || got > wanted * 1.03) {
            setTermios(fd_, old);
            return EINVAL;
        }
    }
    kept_ = s;
    stripNulls_ = (f & kFlNull) != 0;
    return 0;
}

qint64 TermiosSerialDevice::read(char* buf, qint64 count) {
    if (fd_ < 0) return -EBADF;
    if (count <= 0) return 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buf, size_t(count));
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN) return 0;
            return -errno;
        }
        if (n == 0) {
            // Nothing queued, or a line that was hung up: only the latter says so on poll.
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR))) return -EIO;
            return 0;
        }
        if (!stripNulls_) return n;
        qint64 kept = 0;
        for (ssize_t i = 0; i < n; ++i)
            if (buf[i] != 0) buf[kept++] = buf[i];
        if (kept > 0 || n < count) return kept;
        // All of it was NULs and there may be more: keep reading.
    }
}

qint64 TermiosSerialDevice::write(const char* buf, qint64 count) {
    if (fd_ < 0) return -EBADF;
    if (count <= 0) return 0;
    for (;;) {
        const ssize_t n = ::write(fd_, buf, size_t(count));
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        if (errno == EAGAIN) return 0;
        return -errno;
    }
}

int TermiosSerialDevice::waitWritable(int timeoutMs) {
    if (fd_ < 0) return -EBADF;
    pollfd p{fd_, POLLOUT, 0};
    const int r = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
    if (r < 0) return errno == EINTR ? 0 : -errno;
    if (r == 0) return 0;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return -EIO;
    return 1;
}

int TermiosSerialDevice::clearErrors(quint32* errors, qint32* inQueue) {
    *errors = 0;
    *inQueue = 0;
    if (fd_ < 0) return EBADF;
    // A line that was hung up has no queue to ask about, but says so on poll.
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR))) *errors |= kCeIoError;
    int n = 0;
    if (::ioctl(fd_, FIONREAD, &n) < 0) return errno;
    *inQueue = n;
    serial_icounter_struct ic{};
    if (::ioctl(fd_, TIOCGICOUNT, &ic) == 0) {
        if (ic.frame != counts_.frame) *errors |= kCeFrame;
        if (ic.overrun != counts_.overrun) *errors |= kCeOverrun;
        if (ic.parity != counts_.parity) *errors |= kCeRxParity;
        if (ic.brk != counts_.brk) *errors |= kCeBreak;
        if (ic.buf_overrun != counts_.bufOverrun) *errors |= kCeRxOver;
        counts_ = {ic.frame, ic.overrun, ic.parity, ic.brk, ic.buf_overrun};
    }
    return 0;
}

qint32 TermiosSerialDevice::queuedBytes() {
    int n = 0;
    if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &n) < 0) return 0;
    return n;
}

int TermiosSerialDevice::escape(int function) {
    if (fd_ < 0) return EBADF;
    if (function < kSetRts || function > kClrDtr) return EINVAL;
    int bits = function == kSetRts || function == kClrRts ? TIOCM_RTS : TIOCM_DTR;
    const unsigned long request = function == kSetRts || function == kSetDtr ? TIOCMBIS : TIOCMBIC;
    if (virtual_) return 0;
    return ::ioctl(fd_, request, &bits) < 0 ? errno : 0;
}

int TermiosSerialDevice::modemStatus(quint32* status) {
    *status = 0;
    if (fd_ < 0) return EBADF;
    if (virtual_) {
        *status = kMsDsrOn;
        return 0;
    }
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) < 0) return errno;
    if (lines & TIOCM_CTS) *status |= kMsCtsOn;
    if (lines & TIOCM_DSR) *status |= kMsDsrOn;
    if (lines & TIOCM_RNG) *status |= kMsRingOn;
    if (lines & TIOCM_CAR) *status |= kMsRlsdOn;
    return 0;
}

int TermiosSerialDevice::purge() {
    if (fd_ < 0) return EBADF;
    return ::tcflush(fd_, TCIOFLUSH) < 0 ? errno : 0;
}

}  // namespace zrk
