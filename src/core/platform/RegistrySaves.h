#pragma once
// The settings file's saves on a worker thread, and what they share with the file's own save:
// our changes put onto the file as it is on disk, under the file's saving lock.
#include "core/platform/BackgroundSave.h"
#include "core/platform/Registry.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace zrk {

// What `now` changed against `base`, applied to `disk`: values set or deleted, keys deleted.
// A value nobody here touched keeps whatever the file has now; one of `fills` is written only
// where the file does not have it.
void applyChanges(const QList<RegKeyData>& base, const QList<RegKeyData>& now,
                  const QSet<QString>& fills, QList<RegKeyData>& disk);

// Under the saving lock: reads the file, lets `merge` put our changes onto it (`there`: the
// file was read and parsed) and replaces it atomically. `merged` is what was written.
bool writeMerged(const QString& path,
                 const std::function<void(QList<RegKeyData>& disk, bool there)>& merge,
                 QList<RegKeyData>& merged, FileError* err);

QString setDataFailure(const QString& name);

// What we changed between two hand-overs: the sets are applied in order onto the file as it
// is when the worker writes, so each holds only our own changes.
struct ChangeSet {
    QList<RegKeyData> from, to;
    QSet<QString> fills;
    QString firstValue;
};

struct RegistrySaves {
    std::mutex mutex;
    std::vector<ChangeSet> queue;  // handed over, not written yet (failed ones stay first)
    bool writing = false;
    std::optional<QList<RegKeyData>> written;  // the file as last written, not taken up yet
    BackgroundSave saves;                      // last: joined before the rest goes
};

}  // namespace zrk
