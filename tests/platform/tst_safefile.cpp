#include "platform/SafeFile.h"

#include "TestSupport.h"

#include <dlfcn.h>
#include <cerrno>

static bool g_failSync = false;

// Replaces the C library's fsync here, so that a failing disk can be played without one.
extern "C" int fsync(int fd) {
    if (g_failSync) {
        errno = EIO;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

class TestSafeFile : public QObject {
    Q_OBJECT
private slots:
    void failedFlushLeavesNothingBehind() {
        zrktest::Sandbox box;
        const QString target = box.filePath("data.bin");
        QVERIFY(zrktest::writeAll(target, "old"));
        const auto descriptors = [] {
            return QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System).size();
        };
        const qsizetype before = descriptors();
        zrk::FileError err;
        g_failSync = true;
        for (int i = 0; i < 20; ++i) QVERIFY(!zrk::replaceFileAtomically(target, "new", &err));
        g_failSync = false;
        QCOMPARE(err.code, EIO);
        QCOMPARE(descriptors(), before);
        QCOMPARE(zrktest::readAll(target), QByteArray("old"));
        QCOMPARE(QDir(box.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"data.bin"});
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
