// Atomic replacement when the disk reports a failure at the final flush.
#include "platform/SafeFile.h"

#include "TestSupport.h"

#include <dirent.h>
#include <dlfcn.h>
#include <cerrno>

namespace {

bool g_failSync = false;

int openDescriptors() {
    int n = 0;
    if (DIR* d = ::opendir("/proc/self/fd")) {
        while (::readdir(d)) ++n;
        ::closedir(d);
    }
    return n;
}

}  // namespace

// Stands in for the C library's fsync in this test program, so that a failing disk can be
// played without one.
extern "C" int fsync(int fd) {
    if (g_failSync) {
        errno = EIO;
        return -1;
    }
    using Fn = int (*)(int);
    static const Fn real = reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

class TestSafeFile : public QObject {
    Q_OBJECT
private slots:
    void failedFlushLeavesNothingBehind() {
        zrktest::Sandbox box;
        const QString target = box.filePath("data.bin");
        QVERIFY(zrktest::writeAll(target, "old"));
        const int before = openDescriptors();
        zrk::FileError err;
        g_failSync = true;
        for (int i = 0; i < 20; ++i) QVERIFY(!zrk::replaceFileAtomically(target, "new", &err));
        g_failSync = false;
        QCOMPARE(err.code, EIO);
        QCOMPARE(openDescriptors(), before);
        QCOMPARE(zrktest::readAll(target), QByteArray("old"));
        QCOMPARE(QDir(box.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.bin"});

        QVERIFY(zrk::replaceFileAtomically(target, "new", &err));
        QCOMPARE(zrktest::readAll(target), QByteArray("new"));
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
