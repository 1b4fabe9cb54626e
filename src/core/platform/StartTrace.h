#pragma once
// The start-up trace: with ZRK_TRACE_START=1 in the environment, every step of the start
// prints the milliseconds since the first step to the standard error stream. Costs one test
// of a flag when off. Started by a watch that sets ZRK_TRACE_EXEC_MS (the monotonic clock
// at its exec, ms), each step also says the milliseconds since that exec.
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace zrk {

inline void traceStart(const char* step) {
    static const bool on = [] {
        const char* v = std::getenv("ZRK_TRACE_START");
        return v && *v && *v != '0';
    }();
    if (!on) return;
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    static const double execMs = [] {
        const char* v = std::getenv("ZRK_TRACE_EXEC_MS");
        return v ? std::atof(v) : -1.0;
    }();
    const double since = double(clock.nsecsElapsed()) / 1e6;
    if (execMs < 0) {
        std::fprintf(stderr, "start %8.2f ms  %s\n", since, step);
        return;
    }
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const double fromExec = double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6 - execMs;
    std::fprintf(stderr, "start %8.2f ms (%8.2f ms since exec)  %s\n", since, fromExec, step);
}

}  // namespace zrk
