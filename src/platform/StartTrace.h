#pragma once
// The start-up trace: with ZRK_TRACE_START=1 in the environment, every step of the start
// prints the milliseconds since the first step to the standard error stream. Costs one test
// of a flag when off.
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

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
    std::fprintf(stderr, "start %8.2f ms  %s\n", double(clock.nsecsElapsed()) / 1e6, step);
}

}  // namespace zrk
