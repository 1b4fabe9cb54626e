#pragma once
// Saves that run on a worker thread of their own, so that no command waits for the disk.
// Each job writes a snapshot taken on the calling thread; a job scheduled while another is
// waiting replaces it (the newest snapshot holds every change the older one had), a job
// already running finishes. A failure comes back on the owner's thread, through `failed`
// or, at a close, through finish(). Nothing outlives the object: its destructor waits.
#include "core/platform/SafeFile.h"

#include <QObject>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace zrk {

class BackgroundSave : public QObject {
    Q_OBJECT
public:
    // Writes its own snapshot; returns whether it is on disk, `error` saying why not.
    using Job = std::function<bool(FileError* error)>;

    explicit BackgroundSave(QObject* parent = nullptr);
    ~BackgroundSave() override;
    BackgroundSave(const BackgroundSave&) = delete;
    BackgroundSave& operator=(const BackgroundSave&) = delete;

    void schedule(Job job);

    // Blocks until the running and the waiting job are done. Returns the failure of the
    // last job when it failed and `failed` has not told it yet: told once, either way.
    std::optional<FileError> finish();

    // Tests only: every job of every worker runs inside `wrapper`, on the worker thread,
    // so that a test can hold a save in flight or change the thread's rights. Empty: none.
    using JobWrapper = std::function<void(const std::function<void()>& run)>;
    static void setJobWrapper(JobWrapper wrapper);

signals:
    // On the owner's thread, some time after the job failed; not when a later job has
    // succeeded meanwhile (the disk holds the newer state) or finish() took the failure.
    void failed(const zrk::FileError& error);

private:
    void work();
    void deliver();

    std::mutex mutex_;
    std::condition_variable wake_;  // a job came, or the end
    std::condition_variable idle_;  // a job finished
    std::optional<Job> pending_;
    bool running_ = false;
    bool stopping_ = false;
    std::optional<FileError> untold_;
    std::thread thread_;  // last: it starts once everything above is there
};

}  // namespace zrk
