#pragma once
// An in-process device behind the port component: the test decides what it reports (events,
// queue, errors, refusals) and sees what the component asked of it.
#include "core/platform/SerialDevice.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <cerrno>

#include <sys/eventfd.h>
#include <unistd.h>

class FakeSerialDevice : public zrk::SerialDevice {
public:
    FakeSerialDevice() : efd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ~FakeSerialDevice() override { ::close(efd_); }

    // Makes the event thread see `mask` (and, with gone, a device that went away).
    void raise(quint32 mask, bool gone = false) {
        pending_ |= mask;
        if (gone) gone_ = true;
        const quint64 one = 1;
        [[maybe_unused]] ssize_t n = ::write(efd_, &one, sizeof one);
    }

    zrk::SerialOpenResult open(const QString& name, int*) override {
        openedName = name;
        open_ = true;
        return zrk::SerialOpenResult::Ok;
    }
    void close() override {
        open_ = false;
        input.clear();  // purged, as a real device is
    }
    bool isOpen() const override { return open_; }
    int eventFd() const override { return efd_; }
    quint32 eventsFor(quint32, bool* gone) override {
        quint64 v;
        [[maybe_unused]] ssize_t n = ::read(efd_, &v, sizeof v);
        *gone = gone_.exchange(false);
        return pending_.exchange(0);
    }
    int setEventMask(quint32 m) override {
        eventMask = m;
        return 0;
    }
    int setImmediateTimeouts() override { return timeoutsError; }
    int setQueueSizes(int, int) override { return queueError; }
    int getLineSettings(zrk::SerialLineSettings* s) override {
        *s = reported;
        return 0;
    }
    int setLineSettings(const zrk::SerialLineSettings& s) override {
        if (lineError) return lineError;
        written.append(s);
        return 0;
    }
    qint64 read(char* buf, qint64 count) override {
        if (!open_) return -EBADF;
        const qint64 n = qMin<qint64>(count, input.size());
        memcpy(buf, input.constData(), size_t(n));
        input.remove(0, n);
        return n;
    }
    qint64 write(const char* buf, qint64 count) override {
        if (!open_) return -EBADF;
        const qint64 n = qMin<qint64>(count, writeRoom - output.size());
        output.append(buf, n);
        return n;
    }
    int waitWritable(int ms) override {
        ::usleep(useconds_t(ms) * 1000);
        return output.size() < writeRoom ? 1 : 0;
    }
    int clearErrors(quint32* errors, qint32* inQueue) override {
        *errors = errorFlags;
        errorFlags = 0;
        *inQueue = qint32(input.size());
        return 0;
    }
    qint32 queuedBytes() override { return qint32(input.size()); }
    int escape(int f) override {
        escapes.append(f);
        return escapeError;
    }
    int modemStatus(quint32* s) override {
        *s = status;
        return 0;
    }
    int purge() override { return 0; }

    int timeoutsError = 0, queueError = 0, lineError = 0, escapeError = 0;
    QString openedName;
    QList<zrk::SerialLineSettings> written;
    zrk::SerialLineSettings reported;  // what the device says it is set to
    QByteArray input, output;
    qint64 writeRoom = 1 << 20;
    quint32 eventMask = 0, errorFlags = 0, status = 0;
    QList<int> escapes;

private:
    int efd_;
    bool open_ = false;
    std::atomic<quint32> pending_{0};
    std::atomic<bool> gone_{false};
};
