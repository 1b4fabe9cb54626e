#pragma once
// For the store tests: record bytes written by hand (independent of the stores' structs)
// and real file faults.
#include "core/platform/Cp1251.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QtEndian>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <bit>
#include <csignal>

namespace zrktest {

inline QByteArray le32(qint32 v) {
    const qint32 le = qToLittleEndian(v);
    return QByteArray(reinterpret_cast<const char*>(&le), sizeof le);
}
inline QByteArray le64(double v) {
    const quint64 le = qToLittleEndian(std::bit_cast<quint64>(v));
    return QByteArray(reinterpret_cast<const char*>(&le), sizeof le);
}

// A text field of `size` bytes: the length byte, then the text; `fill` goes after the text
// (readers must ignore it); `lengthByte` overrides the true length (a damaged file).
inline QByteArray field(int size, const QByteArray& text, char fill = '\0', int lengthByte = -1) {
    QByteArray f(size, fill);
    f[0] = char(lengthByte >= 0 ? lengthByte : text.size());
    return f.replace(1, qMin(text.size(), size - 1), text.left(size - 1));
}

inline QByteArray cp(const char* utf8) {
    return zrk::toCp1251(QString::fromUtf8(utf8));
}

// While alive, no file of this process may grow beyond `bytes`: a write past it fails with
// EFBIG, as on a disk that fills up half way through a save.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) : oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit lim{bytes, old.rlim_max};
        ok = setrlimit(RLIMIT_FSIZE, &lim) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    Q_DISABLE_COPY(FileSizeLimit)
    void (*oldHandler)(int);
    rlimit old{};
    bool ok = false;
};

// A writable directory on another file system than `path` (renames from `path` to it fail);
// empty when there is none.
inline QString otherFileSystemDir(const QString& path) {
    struct stat here {
    }, there{};
    for (const char* dir : {"/dev/shm", "/run/user", "/tmp"})
        if (stat(QFile::encodeName(path).constData(), &here) == 0 && stat(dir, &there) == 0 &&
            there.st_dev != here.st_dev && access(dir, W_OK) == 0)
            return QString::fromLatin1(dir);
    return {};
}

// The plain and hidden files of `dir`, to see that a save leaves no stray temporary file.
inline QStringList filesIn(const QString& dir = QStringLiteral(".")) {
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace zrktest
