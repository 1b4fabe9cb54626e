#pragma once
// What the history window's benchmarks share: a line and a host that do nothing, and the
// event loop run until something holds.
#include "gui/windows/HistoryHost.h"
#include "gui/windows/Line.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace zrk::bench {

class NoLine : public Line {
public:
    void ViewNumber(const QString&, bool) override {}
    void sbDialClick() override {}
    void sbAnswerClick() override {}
    int callCount() const override { return 0; }
    void CountCaller(int) override {}
    void setRingActive(bool) override {}
    void setCallListShown(bool) override {}
    void HandleException(std::exception_ptr) override {}
};

class NoHost : public HistoryHost {
public:
    void addNumberToBook(const QString&) override {}
    void addReminderForNumber(const QString&) override {}
};

inline double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Runs the event loop until `done` holds or `limitMs` passed; false on the limit.
template <typename F>
bool runUntil(F&& done, int limitMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

}  // namespace zrk::bench
