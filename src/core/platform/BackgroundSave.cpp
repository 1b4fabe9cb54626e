#include "core/platform/BackgroundSave.h"

#include <exception>

namespace zrk {
namespace {

std::mutex gWrapperMutex;
BackgroundSave::JobWrapper gWrapper;

}  // namespace

BackgroundSave::BackgroundSave(QObject* parent) : QObject(parent), thread_([this] { work(); }) {}

BackgroundSave::~BackgroundSave() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();  // after the waiting job too: the last change reaches the disk
}

void BackgroundSave::setJobWrapper(JobWrapper wrapper) {
    const std::lock_guard lock(gWrapperMutex);
    gWrapper = std::move(wrapper);
}

void BackgroundSave::schedule(Job job) {
    std::optional<Job> replaced;
    {
        const std::lock_guard lock(mutex_);
        replaced.swap(pending_);
        pending_ = std::move(job);
    }
    wake_.notify_one();
    // The older snapshot goes outside the lock: the worker need not wait for its memory.
}

std::optional<FileError> BackgroundSave::finish() {
    Q_ASSERT(std::this_thread::get_id() != thread_.get_id());
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !pending_ && !running_; });
    std::optional<FileError> failure;
    failure.swap(untold_);
    return failure;
}

void BackgroundSave::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) return;
        std::optional<Job> job;
        job.swap(pending_);
        running_ = true;
        lock.unlock();

        FileError error;
        bool ok = false;
        const auto run = [&] {
            try {
                ok = (*job)(&error);
            } catch (const std::exception& e) {
                error = FileError{0, QString::fromLocal8Bit(e.what())};
            }
        };
        JobWrapper wrapper;
        {
            const std::lock_guard wrapperLock(gWrapperMutex);
            wrapper = gWrapper;
        }
        if (wrapper)
            wrapper(run);
        else
            run();
        job.reset();  // the snapshot's memory is given back here, not on the owner's thread

        lock.lock();
        running_ = false;
        if (ok)
            untold_.reset();
        else
            untold_ = error;
        idle_.notify_all();
        // Posted events die with the object, whose destructor joins this thread first.
        if (!ok) QMetaObject::invokeMethod(this, &BackgroundSave::deliver, Qt::QueuedConnection);
    }
}

void BackgroundSave::deliver() {
    std::optional<FileError> failure;
    {
        const std::lock_guard lock(mutex_);
        failure.swap(untold_);
    }
    if (failure) emit failed(*failure);
}

}  // namespace zrk
