// The settings file's saves during the run: handed over on the owner's thread, written on a
// worker, taken up again on the owner's thread.
#include "core/platform/RegistrySaves.h"

#include <cstdio>

namespace zrk {
namespace {

std::function<void(const QString&)>& reporter() {
    static std::function<void(const QString&)> report;
    return report;
}

void reportFailure(const QString& text) {
    if (reporter())
        reporter()(text);
    else
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// On the worker: writes every set handed over so far in one replace of the file.
bool writeHanded(RegistrySaves& w, const QString& path, FileError* err) {
    std::vector<ChangeSet> sets;
    {
        const std::lock_guard lock(w.mutex);
        sets.swap(w.queue);
        w.writing = !sets.empty();
    }
    if (sets.empty()) return true;  // an earlier job took them along
    QList<RegKeyData> merged;
    const bool ok = writeMerged(
        path,
        [&sets](QList<RegKeyData>& disk, bool there) {
            if (!there) {
                disk = sets.back().to;
                return;
            }
            for (const ChangeSet& c : sets) applyChanges(c.from, c.to, c.fills, disk);
        },
        merged, err);
    const std::lock_guard lock(w.mutex);
    w.writing = false;
    if (ok) {
        w.written = std::move(merged);
        return true;
    }
    if (err) err->message = setDataFailure(sets.front().firstValue);
    // Kept, before anything handed over meanwhile: the next save writes them along.
    w.queue.insert(w.queue.begin(), std::make_move_iterator(sets.begin()),
                   std::make_move_iterator(sets.end()));
    return false;
}

}  // namespace

void RegistryFile::setSavesInBackground(bool on) {
    if (!on) finishSaves();
    background_ = on;
    handed_ = base_;
}

void RegistryFile::saveLater(const QString& firstValue) {
    if (!worker_.saves) {
        worker_.saves = std::make_unique<RegistrySaves>();
        QObject::connect(&worker_.saves->saves, &BackgroundSave::failed, &worker_.saves->saves,
                         [](const FileError& e) { reportFailure(e.message); });
    }
    RegistrySaves* w = worker_.saves.get();
    {
        const std::lock_guard lock(w->mutex);
        w->queue.push_back(ChangeSet{handed_, keys_, fills_, firstValue});
    }
    handed_ = keys_;
    fills_.clear();
    const bool writable = writable_ && !path_.isEmpty();
    w->saves.schedule([this, w, path = path_, writable, firstValue](FileError* err) {
        if (!writable) {  // kept for a save that can never succeed; said each time
            *err = FileError{EPERM, setDataFailure(firstValue)};
            return false;
        }
        const bool ok = writeHanded(*w, path, err);
        if (ok)
            QMetaObject::invokeMethod(
                &w->saves, [this] { adoptWritten(); }, Qt::QueuedConnection);
        return ok;
    });
}

void RegistryFile::adoptWritten() {
    RegistrySaves* w = worker_.saves.get();
    if (!w) return;
    std::optional<QList<RegKeyData>> written;
    {
        // Only once all that was handed over is on disk: the file written is then our view as
        // last handed over, and what changed since goes on top of it.
        const std::lock_guard lock(w->mutex);
        if (!w->queue.empty() || w->writing) return;
        written.swap(w->written);
    }
    if (!written) return;
    QList<RegKeyData> now = *written;
    applyChanges(handed_, keys_, fills_, now);
    keys_ = now;
    base_ = *written;
    handed_ = base_;
}

std::optional<QString> RegistryFile::finishSaves() {
    RegistrySaves* w = worker_.saves.get();
    if (!w) return std::nullopt;
    const std::optional<FileError> failure = w->saves.finish();
    adoptWritten();
    if (!failure) return std::nullopt;
    return failure->message;
}

void RegistryFile::setFailureReporter(std::function<void(const QString&)> report) {
    reporter() = std::move(report);
}

RegistryFile::Worker::Worker() = default;
RegistryFile::Worker::Worker(const Worker&) {}
RegistryFile::Worker& RegistryFile::Worker::operator=(const Worker&) {
    return *this;
}
RegistryFile::Worker::~Worker() = default;

}  // namespace zrk
