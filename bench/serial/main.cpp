// bench-serial: the port component on a pseudo-terminal at its default settings. Reports the
// latency from a byte written by the other end to the entry of OnRxChar (p50, p99), the
// throughput of received bytes, and the CPU time the process spends while an open port idles.
#include "core/serial/Comm.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

namespace {

double cpuSeconds() {
    rusage r{};
    ::getrusage(RUSAGE_SELF, &r);
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

void waitFor(const std::function<bool()>& done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int samples = argc > 1 ? atoi(argv[1]) : 2000;
    const int idleSeconds = argc > 2 ? atoi(argv[2]) : 10;

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) < 0 || ::unlockpt(master) < 0) {
        std::perror("posix_openpt");
        return 1;
    }
    zrk::TComm comm;
    comm.SetDeviceName(QString::fromLocal8Bit(::ptsname(master)));
    comm.Open();

    std::atomic<qint64> entryNs{0};
    std::atomic<qint64> received{0};
    QByteArray buf(comm.ReadBufSize(), '\0');
    comm.OnRxChar = [&](QObject*, qint32 count) {
        entryNs = Clock::now().time_since_epoch().count();
        const int n = comm.Read(buf.data(), qMin(count, comm.ReadBufSize()));
        if (n > 0) received += n;
    };

    // Latency: one byte at a time, the next after the previous one was handled.
    std::vector<double> lat;
    lat.reserve(size_t(samples));
    std::atomic<bool> writerDone{false};
    std::thread writer([&] {
        for (int i = 0; i < samples; ++i) {
            const qint64 before = received;
            const qint64 sent = Clock::now().time_since_epoch().count();
            [[maybe_unused]] const ssize_t n = ::write(master, "x", 1);
            while (received == before) std::this_thread::sleep_for(std::chrono::microseconds(20));
            lat.push_back(double(entryNs - sent) / 1000.0);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        writerDone = true;
    });
    waitFor([&] { return writerDone.load(); });
    writer.join();
    std::sort(lat.begin(), lat.end());
    const auto pct = [&](double p) { return lat[size_t(p * double(lat.size() - 1))]; };
    std::printf("latency write -> OnRxChar: p50 %.1f us, p99 %.1f us, max %.1f us (%d samples)\n",
                pct(0.50), pct(0.99), lat.back(), samples);

    // Throughput: the other end writes as fast as the line takes it.
    const qint64 total = 8 << 20;
    received = 0;
    writerDone = false;
    const auto t0 = Clock::now();
    std::thread flood([&] {
        const QByteArray chunk(4096, 'y');
        qint64 sent = 0;
        while (sent < total) {
            const ssize_t n = ::write(master, chunk.constData(), size_t(chunk.size()));
            if (n > 0) sent += n;
        }
        writerDone = true;
    });
    waitFor([&] { return writerDone.load() && received >= total; });
    flood.join();
    const double secs = std::chrono::duration<double>(Clock::now() - t0).count();
    std::printf("throughput: %.1f MB/s (%lld bytes in %.2f s)\n", double(total) / secs / 1e6,
                static_cast<long long>(total), secs);

    // Idle: the port open, the event loop running, nothing arriving.
    const double c0 = cpuSeconds();
    const auto w0 = Clock::now();
    QTimer::singleShot(idleSeconds * 1000, Qt::PreciseTimer, &app, &QCoreApplication::quit);
    app.exec();
    const double wall = std::chrono::duration<double>(Clock::now() - w0).count();
    const double cpu = cpuSeconds() - c0;
    std::printf("idle: %.4f s CPU in %.1f s = %.4f %%\n", cpu, wall, cpu / wall * 100.0);
    comm.Close();
    ::close(master);
    return 0;
}
