#include "core/reminders/ReminderStore.h"

#include "core/platform/Backup.h"
#include "core/platform/SafeFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace zrk {
namespace {

bool exists(const QString& name) {
    const QFileInfo info(name);
    return info.exists() || info.isSymLink();
}

QString creationError(const char* name) {
    return QCoreApplication::translate("zrk::ReminderStore", "Ошибка создания %1!")
        .arg(QLatin1String(name));
}

}  // namespace

ReminderRecord ReminderRecord::empty() {
    ReminderRecord r;
    std::memset(&r, 0, sizeof r);
    return r;
}

QList<ReminderRecord> LoadReminders(const QString& fileName) {
    QList<ReminderRecord> records;
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return records;
    quint32 magic = 0;
    if (f.read(reinterpret_cast<char*>(&magic), sizeof magic) != qint64(sizeof magic) ||
        magic != kReminderMagic)
        return records;
    ReminderRecord r;
    while (f.read(reinterpret_cast<char*>(&r), sizeof r) == qint64(sizeof r)) records.append(r);
    return records;
}

QByteArray serializeReminders(const QList<ReminderRecord>& records) {
    QByteArray out;
    out.reserve(qsizetype(sizeof kReminderMagic) +
                records.size() * qsizetype(sizeof(ReminderRecord)));
    const quint32 magic = kReminderMagic;
    out.append(reinterpret_cast<const char*>(&magic), sizeof magic);
    for (const ReminderRecord& r : records) out.append(reinterpret_cast<const char*>(&r), sizeof r);
    return out;
}

bool SaveReminders(const QList<ReminderRecord>& records, FileError* error) {
    const QString file = QString::fromLatin1(kReminderFile);
    const QString backup = QString::fromLatin1(kReminderBackup);
    FileError err;
    const auto fail = [&](const QString& text) {
        if (error) *error = FileError{err.code, text};
        return false;
    };

    // An empty list leaves no file, so there is nothing new to write; the old file still
    // becomes the backup.
    QString temp;
    if (!records.isEmpty()) {
        temp = writeSyncedTemp(file, serializeReminders(records), &err);
        if (temp.isEmpty()) {
            const bool writing =
                err.code == ENOSPC || err.code == EIO || err.code == EFBIG || err.code == EDQUOT;
            return fail(writing
                            ? QCoreApplication::translate("zrk::ReminderStore", "Ошибка записи %1!")
                                  .arg(file)
                            : creationError(kReminderFile));
        }
    }
    auto dropTemp = [&] {
        if (!temp.isEmpty()) QFile::remove(temp);
    };

    if (exists(file)) {
        // With new records the file stays in place until the new one replaces it in one
        // rename: a missing "reminder.rmd" means an empty list, so a save killed half way
        // must never leave one.
        if (!temp.isEmpty()) {
            bool oldBackupStays = false;
            if (!keepAsBackup(file, backup, &err, &oldBackupStays)) {
                dropTemp();
                return fail(creationError(oldBackupStays ? kReminderBackup : kReminderFile));
            }
        } else if (exists(backup) && !QFile::remove(backup)) {
            err.code = errno;
            return fail(creationError(kReminderBackup));
        } else if (!renameSynced(file, backup, &err)) {
            return fail(creationError(kReminderFile));
        }
    }
    if (temp.isEmpty()) return true;
    if (!renameSynced(temp, file, &err)) {
        dropTemp();
        return fail(creationError(kReminderFile));
    }
    return true;
}

}  // namespace zrk
