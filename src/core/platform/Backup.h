#pragma once
// The backup a store keeps of its file: made beside the file while the file stays whole.
#include "core/platform/SafeFile.h"

namespace zrk {

// Makes `backup` hold what `file` holds now while `file` keeps its name and content, so that a
// save killed at any moment leaves a whole file under the file's own name: an existing
// backup is removed first, then the backup becomes a hard link to the file, or a synced copy
// where the file system has no hard links or the two lie on different file systems.
// On failure `*oldBackupStays` tells whether it was the old backup that could not go.
bool keepAsBackup(const QString& file, const QString& backup, FileError* err = nullptr,
                  bool* oldBackupStays = nullptr);

// Tests only: called after each step of a save, so that a crash test can widen the moments
// between the steps. The program never sets it.
enum class SaveStep { TempWritten, OldBackupRemoved, BackupMade, Renamed };
using SaveStepHook = void (*)(SaveStep);
void setSaveStepHook(SaveStepHook hook);

}  // namespace zrk
