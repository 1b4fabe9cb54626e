#pragma once
// Real file faults for the store tests.
#include <QDir>
#include <QFile>
#include <QString>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>

namespace zrktest {

// While alive, no file of this process may grow beyond `bytes`: a write past it fails with
// EFBIG, as on a disk that fills up half way through a save.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &lim) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool ok_ = false;
};

// Whether permission bits stop this process from creating a file in `dir` after it was made
// read-only (they do not for root).
inline bool readOnlyDirStopsWrites(const QString& dir) {
    QFile probe(QDir(dir).filePath(".probe"));
    const bool wrote = probe.open(QIODevice::WriteOnly);
    if (wrote) {
        probe.close();
        probe.remove();
    }
    return !wrote;
}

// A directory on another file system than `path`, where renames from `path` fail; empty
// when there is none.
inline QString otherFileSystemDir(const QString& path) {
    struct stat here {
    }, there{};
    if (stat(QFile::encodeName(path).constData(), &here) != 0) return {};
    for (const char* candidate : {"/dev/shm", "/run/user", "/tmp"}) {
        if (stat(candidate, &there) == 0 && S_ISDIR(there.st_mode) && there.st_dev != here.st_dev &&
            access(candidate, W_OK) == 0)
            return QString::fromLatin1(candidate);
    }
    return {};
}

}  // namespace zrktest
