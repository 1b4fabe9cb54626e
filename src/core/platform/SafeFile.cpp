#include "core/platform/SafeFile.h"

#include "core/platform/Backup.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <utility>

namespace zrk {
namespace {

SaveStepHook gSaveStepHook = nullptr;

void stepDone(SaveStep step) {
    if (gSaveStepHook) gSaveStepHook(step);
}

bool fail(FileError* err, const QString& what, int code) {
    if (err) {
        err->code = code;
        err->message = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(strerror(code)));
    }
    return false;
}

void syncDirectoryOf(const QString& path) {
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool writeAll(int fd, const QByteArray& data) {
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

QString writeSyncedTemp(const QString& target, const QByteArray& data, FileError* err) {
    bool given = false;
    return writeSyncedTemp(
        target,
        [&](QByteArray& chunk) {
            if (std::exchange(given, true)) return false;
            chunk = data;  // shared, not copied
            return true;
        },
        err);
}

QString writeSyncedTemp(const QString& target, const std::function<bool(QByteArray& chunk)>& next,
                        FileError* err) {
    const QFileInfo info(target);
    QByteArray tmpl = QFile::encodeName(info.absolutePath() + QLatin1String("/.") +
                                        info.fileName() + QLatin1String(".XXXXXX"));
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) {
        fail(err, QStringLiteral("cannot create a file beside %1").arg(target), errno);
        return {};
    }
    // mkstemp makes the file 0600; keep the mode of the file it replaces.
    struct stat st {};
    ::fchmod(fd,
             ::stat(QFile::encodeName(target).constData(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    QByteArray chunk;
    while (next(chunk)) {
        if (!writeAll(fd, chunk)) {
            const int code = errno;
            ::close(fd);
            ::unlink(tmpl.constData());
            fail(err, QStringLiteral("cannot write %1").arg(target), code);
            return {};
        }
    }
    // Closed whatever the sync says: a failing disk must not cost a descriptor per save.
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    const int closed = ::close(fd) == 0 ? 0 : errno;
    if (synced != 0 || closed != 0) {
        const int code = synced != 0 ? synced : closed;
        ::unlink(tmpl.constData());
        fail(err, QStringLiteral("cannot write %1").arg(target), code);
        return {};
    }
    stepDone(SaveStep::TempWritten);
    return QFile::decodeName(tmpl);
}

bool renameSynced(const QString& from, const QString& to, FileError* err) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return fail(err, QStringLiteral("cannot rename %1 to %2").arg(from, to), errno);
    syncDirectoryOf(to);
    stepDone(SaveStep::Renamed);
    return true;
}

bool keepAsBackup(const QString& file, const QString& backup, FileError* err,
                  bool* oldBackupStays) {
    if (oldBackupStays) *oldBackupStays = false;
    // "Phone Book File" may name the backup itself: removing it would remove the file.
    if (QFileInfo(file).absoluteFilePath() == QFileInfo(backup).absoluteFilePath()) return true;
    const QByteArray from = QFile::encodeName(file);
    const QByteArray to = QFile::encodeName(backup);
    if (::unlink(to.constData()) != 0 && errno != ENOENT) {
        const int code = errno;
        if (oldBackupStays) *oldBackupStays = true;
        return fail(err, QStringLiteral("cannot remove %1").arg(backup), code);
    }
    stepDone(SaveStep::OldBackupRemoved);
    if (::link(from.constData(), to.constData()) != 0) {
        // No hard links here (FAT, some network shares) or another file system: a copy.
        QFile source(file);
        const QByteArray data = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
        if (source.error() != QFileDevice::NoError)
            return fail(err, QStringLiteral("cannot read %1").arg(file), EIO);
        if (!replaceFileAtomically(backup, data, err)) return false;
    }
    syncDirectoryOf(backup);
    stepDone(SaveStep::BackupMade);
    return true;
}

QString moveAsideAsDamaged(const QString& path) {
    QString aside = path + QLatin1String(".bad");
    for (int n = 2; QFile::exists(aside); ++n) aside = path + QStringLiteral(".bad%1").arg(n);
    return renameSynced(path, aside) ? aside : QString();
}

QStringList removeSaveLeftovers(const QString& dir, const QStringList& names) {
    QStringList removed;
    QDir d(dir);
    for (const QFileInfo& f : d.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString n = f.fileName();
        // mkostemp's six characters are letters and digits.
        static const QRegularExpression suffix(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
        bool ours = false;
        for (const QString& name : names)
            if (!name.isEmpty() && n.size() == name.size() + 8 && n.startsWith(QLatin1Char('.')) &&
                QStringView(n).mid(1, name.size()) == name &&
                suffix.match(QStringView(n).mid(name.size() + 1)).hasMatch())
                ours = true;
        if (!ours || f.isSymLink() || !f.isFile()) continue;
        if (d.remove(n)) removed << n;
    }
    return removed;
}

bool replaceFileAtomically(const QString& target, const QByteArray& data, FileError* err) {
    const QString tmp = writeSyncedTemp(target, data, err);
    if (tmp.isEmpty()) return false;
    if (!renameSynced(tmp, target, err)) {
        QFile::remove(tmp);
        return false;
    }
    return true;
}

void setSaveStepHook(SaveStepHook hook) {
    gSaveStepHook = hook;
}

}  // namespace zrk
