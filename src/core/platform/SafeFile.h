#pragma once
// Replacing a file without ever leaving a half-written one behind: the new content goes to
// a temporary file beside the target, is flushed to disk, and only then takes the target's
// name. Used by every store that rewrites a whole file.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace zrk {

struct FileError {
    int code = 0;     // errno of the call that failed
    QString message;  // what failed, for the user
};

// Writes all of `data` to the descriptor; false with errno set when a write fails (ENOSPC
// for one that takes nothing).
bool writeAll(int fd, const QByteArray& data);

// Writes data to a new temporary file in the directory of `target` and syncs it.
// Returns its path, or an empty string with `err` filled.
QString writeSyncedTemp(const QString& target, const QByteArray& data, FileError* err = nullptr);
// The same with the content in pieces, so that a large file needs no image in memory: `next`
// puts the next piece in `chunk` and returns false when there is none left.
QString writeSyncedTemp(const QString& target, const std::function<bool(QByteArray& chunk)>& next,
                        FileError* err = nullptr);

// rename(2) plus a sync of the directory so that the new name survives a crash.
bool renameSynced(const QString& from, const QString& to, FileError* err = nullptr);

// Moves a damaged file aside, under the first free name of `path`.bad, `path`.bad2, ...,
// so that nothing is lost and the next save starts afresh. Returns the new name, or an empty
// string when the file could not be moved (it must then not be written over).
QString moveAsideAsDamaged(const QString& path);

// Removes from `dir` the temporary files that writeSyncedTemp made for the files named
// `names` (bare names) and that a crash left behind: ".<name>.XXXXXX", six letters or digits.
// Nothing else is touched. Only for a directory that no other program saves into (its lock
// is held). Returns the names removed.
QStringList removeSaveLeftovers(const QString& dir, const QStringList& names);

// writeSyncedTemp + renameSynced; the temporary file is removed on failure.
bool replaceFileAtomically(const QString& target, const QByteArray& data, FileError* err = nullptr);

}  // namespace zrk
