#pragma once
// Holds the saves of every worker at the door: each job waits at its start until the test
// opens the gate, so that a save is "in flight" for as long as the test wants, whatever
// the disk's speed. Counts the jobs that ran and can look at the files after each.
#include "core/platform/BackgroundSave.h"

#include <QSemaphore>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace zrktest {

class SaveGate {
public:
    SaveGate() {
        zrk::BackgroundSave::setJobWrapper([this](const std::function<void()>& run) {
            if (!open_) {
                waiting_.release();
                door_.acquire();
            }
            run();
            if (after) after();
            ++ran;
        });
    }
    ~SaveGate() {
        open();
        if (opener_.joinable()) opener_.join();
        zrk::BackgroundSave::setJobWrapper({});
    }
    SaveGate(const SaveGate&) = delete;
    SaveGate& operator=(const SaveGate&) = delete;

    // Whether a job has come to the gate and waits there.
    bool held() { return waiting_.tryAcquire(1, 5000); }
    // Lets everything through, now and from now on.
    void open() {
        open_ = true;
        door_.release(1000);
    }
    // The same from another thread after `ms`: for a close that waits on this thread.
    void openAfter(int ms) {
        opener_ = std::thread([this, ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            open();
        });
    }

    std::atomic<int> ran{0};
    // Runs on the worker after each job (set it before the first save).
    std::function<void()> after;

private:
    std::atomic<bool> open_{false};
    QSemaphore waiting_, door_;
    std::thread opener_;
};

}  // namespace zrktest
