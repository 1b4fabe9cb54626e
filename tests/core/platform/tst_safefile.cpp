#include "core/platform/SafeFile.h"

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

    // A crash between writing and renaming leaves the temporary file; only those of the
    // names given, with the six characters mkstemp makes, are removed at the next start.
    void leftoversOfOurOwnNamingGo() {
        zrktest::Sandbox box;
        // A real leftover: the name writeSyncedTemp gives, kept as a crash would keep it.
        const QString real = zrk::writeSyncedTemp(box.filePath("book.phn"), "half a book");
        QVERIFY(!real.isEmpty());
        const QStringList ours{QFileInfo(real).fileName(), ".reminder.rmd.a1B2c3"};
        const QStringList others{"book.phn",          ".book.phn",         ".book.phn.abc",
                                 ".book.phn.abcdefg", ".book.phn.ab-cde",  "x.book.phn.abcdef",
                                 ".book.phnXabcdef1", ".other.txt.abcdef", "book.phn.abcdef",
                                 ".book.bak.abcdef~"};
        for (const QString& n : ours.mid(1) + others)
            QVERIFY(zrktest::writeAll(box.filePath(n), "x"));
        QVERIFY(QDir(box.path()).mkdir(".book.bak.dir123"));  // not a file
        QVERIFY(QFile::link(box.filePath("book.phn"), box.filePath(".book.bak.link12")));
        const QStringList removed =
            zrk::removeSaveLeftovers(box.path(), {"book.phn", "book.bak", "reminder.rmd"});
        QCOMPARE(QSet<QString>(removed.begin(), removed.end()),
                 QSet<QString>(ours.begin(), ours.end()));
        QStringList left =
            QDir(box.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        QStringList expected = others + QStringList{".book.bak.dir123", ".book.bak.link12"};
        left.removeAll("config");
        left.removeAll("run");
        left.sort();
        expected.sort();
        QCOMPARE(left, expected);
        QCOMPARE(zrktest::readAll(box.filePath("book.phn")), QByteArray("x"));
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
