// Saves killed at random moments: a child process saves one store in a loop, each save with
// other contents, and is killed with SIGKILL at a random moment of a save. After each kill the
// files are loaded as the next start loads them: they must hold one whole content, the last
// completed save or the one that was under way, never a mixture, never nothing.
//
// Each store is saved in memory (tmpfs), on the disk the test runs from, on a FAT file system
// (an image mounted through a loop device, where the machine lets the test mount one) and
// with hard links refused, as FAT and some network shares refuse them: there the backup is a
// synced copy instead of a second name.
//
// The book is saved twice over: by the store itself, and as the phone book window saves it,
// on the worker from copies taken while the next changes go on (saves merged, so the file
// may jump over contents that were never written).
//
// CTest runs each place as a test of its own (ZRK_CRASH_PLACE), with at least 200 kills per
// store in memory and 100 elsewhere, and goes on until every moment of a save was hit (a real
// failure when 20 times as many kills never hit one); by hand, ZRK_CRASH_KILLS=1000
// (ZRK_CRASH_SEED repeats a run, ZRK_CRASH_DIR replaces the memory). The figures are printed.
#include "core/book/BookStore.h"
#include "core/platform/BackgroundSave.h"
#include "core/platform/Backup.h"
#include "core/platform/Registry.h"
#include "core/reminders/ReminderStore.h"

#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <cstring>
#include <functional>
#include <random>

#include <cerrno>

#include <dlfcn.h>
#include <sys/mman.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zrk;

// With `gNoHardLinks` set, the save sees a file system without hard links; the children
// inherit it.
static bool gNoHardLinks = false;
extern "C" int link(const char* from, const char* to) {
    if (gNoHardLinks) {
        errno = EPERM;
        return -1;
    }
    static const auto real =
        reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "link"));
    return real(from, to);
}

namespace {

const QString kRegistryFile = QStringLiteral("registry.reg");
const QString kCrashKey = QStringLiteral("Software\\Zrk Pro\\Crash");

// What the child shares with the parent: the last save it completed, the one before it, the
// one under way and where it is.
struct Progress {
    std::atomic<qint64> completed;
    std::atomic<qint64> before;
    std::atomic<qint64> underWay;
    std::atomic<int> step;  // kInSave or a SaveStep + 1
    std::atomic<qint64> firstSaveNs;
    std::atomic<int> failed;
};
constexpr int kInSave = 0;
constexpr int kStepCount = 5;
const char* const kStepNames[kStepCount] = {"writing the new file", "after it was synced",
                                            "after the old backup went",
                                            "after the backup was made", "after the rename"};

Progress* gProgress = nullptr;
std::mt19937* gChildRandom = nullptr;

// Widens the moments between the steps of a save, so that kills land in each of them.
void pauseAfterStep(SaveStep step) {
    gProgress->step = int(step) + 1;
    ::usleep(std::uniform_int_distribution<useconds_t>(200, 1000)(*gChildRandom));
}

// ---- the contents of save number `seq`; each store's size varies with it ----

void fillBook(BookStore& book, qint64 seq) {
    book.clear();
    for (int g = 0; g < int(seq % 3); ++g)
        book.AddGroup(BookGroup::make(QStringLiteral("Группа %1-%2").arg(seq).arg(g),
                                      QStringLiteral("g%1.wav").arg(seq), g),
                      true);
    for (int i = 0; i < 1 + int(seq % 40); ++i) {
        BookEntry e = BookEntry::empty();
        e.Name.setText(QStringLiteral("Запись %1-%2").arg(seq).arg(i));
        e.Phone.setText(QString::number(seq * 100 + i));
        e.Note.setText(QStringLiteral("заметка %1").arg(seq));
        e.Status = qint32(i % 3);
        e.Group = qint32(i % (1 + seq % 3));
        book.AddItem(e, true);
    }
}

QList<ReminderRecord> reminders(qint64 seq) {
    QList<ReminderRecord> list;
    for (int i = 0; i < 1 + int(seq % 20); ++i) {
        ReminderRecord r = ReminderRecord::empty();
        r.Kind = quint8(seq % 2);
        r.Date = double(seq);
        r.Time = i / 100.0;
        r.Number.setText(QString::number(seq));
        r.Note.setText(QStringLiteral("Напоминание %1-%2\r").arg(seq).arg(i));
        list.append(r);
    }
    return list;
}

QString payload(qint64 seq) {
    return QStringLiteral("Настройка %1;").arg(seq).repeated(1 + int(seq % 60));
}

void fillSettings(RegistryFile& reg, qint64 seq) {
    RegKeyData* key = reg.createKey(kCrashKey);
    key->values = {RegValue{QStringLiteral("Seq"), RegDword, {}, quint32(seq), {}},
                   RegValue{QStringLiteral("Payload"), RegSz, payload(seq), 0, {}}};
}

// ---- the child ----

// Save number `seq`, told to the parent as it goes; a save that fails ends the child.
void followedSave(qint64 seq, qint64 first, const std::function<bool()>& save) {
    QElapsedTimer clock;
    clock.start();
    gProgress->step = kInSave;
    gProgress->underWay = seq;
    if (!save()) {
        gProgress->failed = 1;
        ::_exit(2);
    }
    if (seq == first) gProgress->firstSaveNs = clock.nsecsElapsed();
    gProgress->before = gProgress->completed.load();
    gProgress->completed = seq;
}

// The book as the window saves it: a copy handed to the worker, a job waiting behind a running
// one replaced by the next.
[[noreturn]] void saveThroughTheWorker(qint64 first, unsigned seed) {
    std::mt19937 pace(seed);
    BackgroundSave saver;
    BookStore book;
    for (qint64 seq = first;; ++seq) {
        fillBook(book, seq);
        saver.schedule([copy = book, seq, first](FileError* error) {
            followedSave(seq, first,
                         [&] { return copy.SaveList(QString::fromLatin1(kBookFile), error); });
            return true;
        });
        ::usleep(std::uniform_int_distribution<useconds_t>(50, 1500)(pace));
    }
}

[[noreturn]] void saveForever(const QString& store, qint64 first, unsigned seed) {
    std::mt19937 random(seed);
    gChildRandom = &random;
    setSaveStepHook(pauseAfterStep);
    if (store == "book worker") saveThroughTheWorker(first, seed + 1);
    BookStore book;
    RegistryFile reg(kRegistryFile);
    for (qint64 seq = first;; ++seq) {
        followedSave(seq, first, [&] {
            if (store == "book") {
                fillBook(book, seq);
                return book.SaveList(QString::fromLatin1(kBookFile));
            }
            if (store == "reminders") return SaveReminders(reminders(seq));
            fillSettings(reg, seq);
            return reg.save();
        });
    }
}

// ---- the parent's view: the save number of what a start would load, -1 for a mixture or
// nothing ----

qint64 loadedBook(const QString& file) {
    BookStore loaded;
    loaded.load(file);
    if (loaded.count() == 0) return -1;
    const qint64 seq = loaded.text(0, FieldName).section(' ', 1).section('-', 0, 0).toLongLong();
    BookStore expected;
    fillBook(expected, seq);
    return loaded.serialize() == expected.serialize() ? seq : -1;
}

qint64 loadedReminders(const QString& file) {
    const QList<ReminderRecord> loaded = LoadReminders(file);
    if (loaded.isEmpty()) return -1;
    const qint64 seq = qint64(loaded.first().Date);
    return serializeReminders(loaded) == serializeReminders(reminders(seq)) ? seq : -1;
}

qint64 loadedSettings(const QString& file) {
    RegistryFile loaded(file);
    RegKey key(loaded);
    if (!loaded.loadError().isEmpty() || !key.openKeyReadOnly(kCrashKey) ||
        !key.valueExists("Seq") || !key.valueExists("Payload"))
        return -1;
    const qint64 seq = key.readInteger("Seq");
    return key.readString("Payload") == payload(seq) && key.valueNames().size() == 2 ? seq : -1;
}

// What a start would load of `store` from `file`.
qint64 loadedStore(const QString& store, const QString& file) {
    return store.startsWith("book") ? loadedBook(file)
           : store == "reminders"   ? loadedReminders(file)
                                    : loadedSettings(file);
}

std::function<void(SaveStep)> gOnStep;
void callOnStep(SaveStep step) {
    gOnStep(step);
}

// A kill, unlike a power cut, leaves what the kernel holds: only the order of the steps
// counts, not the syncs. So the saves run in memory (/dev/shm) where the syncs cost nothing,
// unless ZRK_CRASH_DIR names another place (a disk, to see the real timings).
QString crashDirBase() {
    const QString asked = qEnvironmentVariable("ZRK_CRASH_DIR");
    if (!asked.isEmpty()) return asked;
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

QString fileSystemOf(const QString& dir) {
    struct statfs st {};
    if (::statfs(QFile::encodeName(dir).constData(), &st) != 0) return QStringLiteral("?");
    static const struct {
        qulonglong magic;
        const char* name;
    } known[] = {{0x01021994, "tmpfs"}, {0x4d44, "FAT"},     {0xEF53, "ext2/3/4"},
                 {0x9123683E, "btrfs"}, {0x58465342, "xfs"}, {0x794c7630, "overlay"}};
    for (const auto& k : known)
        if (qulonglong(st.f_type) == k.magic) return QString::fromLatin1(k.name);
    return QStringLiteral("0x%1").arg(qulonglong(st.f_type), 0, 16);
}

// Runs a program; empty when it succeeded, else what it said.
QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(5000)) return program + QStringLiteral(": cannot be started");
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return program + QStringLiteral(": hung");
    }
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) return {};
    return QStringLiteral("%1 %2: %3")
        .arg(program, args.join(' '), QString::fromLocal8Bit(p.readAll()).trimmed());
}

// Each store: what the next start reads, and the copy kept by the save before.
struct StoreFiles {
    const char* name;
    QString file, backup;
};
QList<StoreFiles> stores() {
    return {{"book", QString::fromLatin1(kBookFile), QString::fromLatin1(kBookBackup)},
            {"book worker", QString::fromLatin1(kBookFile), QString::fromLatin1(kBookBackup)},
            {"reminders", QString::fromLatin1(kReminderFile), QString::fromLatin1(kReminderBackup)},
            {"settings", kRegistryFile, QString()}};
}

int envInt(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

}  // namespace

class TestCrashSave : public QObject {
    Q_OBJECT
    QString diskDir_;  // where the test was started: the build tree, on a disk
    QString fatDir_;   // the FAT image's mount point, when there is one
    QString noFat_;    // why there is none
    QTemporaryDir fatImage_;

private slots:
    void initTestCase() {
        diskDir_ = QDir::currentPath();
        QVERIFY(fatImage_.isValid());
        const QString mkfs =
            QStandardPaths::findExecutable(QStringLiteral("mkfs.vfat"), {"/usr/sbin", "/sbin"});
        if (::getuid() != 0)
            return void(noFat_ = QStringLiteral("mounting a FAT image needs root"));
        if (mkfs.isEmpty())
            return void(noFat_ = QStringLiteral("mkfs.vfat (dosfstools) is not installed"));
        const QString image = fatImage_.filePath(QStringLiteral("fat.img"));
        const QString mountPoint = fatImage_.filePath(QStringLiteral("mnt"));
        QDir().mkpath(mountPoint);
        QString why = run(QStringLiteral("truncate"), {"-s", "32M", image});
        if (why.isEmpty()) why = run(mkfs, {image});
        if (why.isEmpty())
            why = run(QStringLiteral("mount"), {"-t", "vfat", "-o", "loop", image, mountPoint});
        if (why.isEmpty())
            fatDir_ = mountPoint;
        else
            noFat_ = QStringLiteral("this machine does not let the test mount a FAT image (%1)")
                         .arg(why);
    }

    void cleanupTestCase() {
        if (!fatDir_.isEmpty()) run(QStringLiteral("umount"), {fatDir_});
    }

    void killedAtAnyMomentLosesNothing_data() {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("file");    // what the next start reads
        QTest::addColumn<QString>("backup");  // the copy kept by the save before
        QTest::addColumn<QString>("place");   // memory, disk, fat, no links (in memory)
        const QString only = qEnvironmentVariable("ZRK_CRASH_PLACE");
        for (const char* place : {"memory", "disk", "fat", "no links"})
            for (const auto& st : stores()) {
                if (!only.isEmpty() && only != QLatin1String(place)) continue;
                // The settings keep no backup: hard links do not matter to them.
                if (!std::strcmp(place, "no links") && st.backup.isEmpty()) continue;
                const QByteArray row = std::strcmp(place, "memory")
                                           ? QByteArray(st.name) + ", " + place
                                           : QByteArray(st.name);
                QTest::newRow(row.constData()) << QString::fromLatin1(st.name) << st.file
                                               << st.backup << QString::fromLatin1(place);
            }
    }

    // The same without a kill: at every step of a save, the next start would load the old
    // contents or the new ones.
    void everyStepLeavesWholeContents_data() {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QString>("file");
        for (const auto& st : stores())
            QTest::newRow(st.name) << QString::fromLatin1(st.name) << st.file;
    }
    void everyStepLeavesWholeContents() {
        QFETCH(QString, store);
        QFETCH(QString, file);
        zrktest::Sandbox box;
        BookStore book;
        RegistryFile reg(kRegistryFile);
        const auto save = [&](qint64 seq) {
            if (store == "book") {
                fillBook(book, seq);
                return book.SaveList(QString::fromLatin1(kBookFile));
            }
            if (store == "book worker") {
                fillBook(book, seq);
                BackgroundSave saver;
                saver.schedule([copy = book](FileError* error) {
                    return copy.SaveList(QString::fromLatin1(kBookFile), error);
                });
                return !saver.finish();
            }
            if (store == "reminders") return SaveReminders(reminders(seq));
            fillSettings(reg, seq);
            return reg.save();
        };
        QVERIFY(save(1) && save(2));
        QStringList seen;
        gOnStep = [&](SaveStep step) {
            seen << QStringLiteral("%1:%2")
                        .arg(QLatin1String(kStepNames[int(step) + 1]))
                        .arg(loadedStore(store, file));
        };
        setSaveStepHook(callOnStep);
        const bool saved = save(3);
        setSaveStepHook(nullptr);
        QVERIFY(saved);
        const QStringList expected =
            store == "settings"
                ? QStringList{"after it was synced:2", "after the rename:3"}
                : QStringList{"after it was synced:2", "after the old backup went:2",
                              "after the backup was made:2", "after the rename:3"};
        QCOMPARE(seen, expected);
        QCOMPARE(loadedStore(store, file), 3);
    }

    void killedAtAnyMomentLosesNothing() {
        QFETCH(QString, store);
        QFETCH(QString, file);
        QFETCH(QString, backup);
        QFETCH(QString, place);
        QString base = crashDirBase();
        if (place == "disk") {
            base = diskDir_;
            if (fileSystemOf(base) == "tmpfs")
                QSKIP(qPrintable("the test runs from " + base +
                                 ", which is in memory, not on a disk"));
        } else if (place == "fat") {
            if (fatDir_.isEmpty()) QSKIP(qPrintable("no FAT file system to save on: " + noFat_));
            base = fatDir_;
        }
        gNoHardLinks = place == "no links";
        const auto linksBack = qScopeGuard([] { gNoHardLinks = false; });
        const int kills = envInt("ZRK_CRASH_KILLS", place == "memory" ? 200 : 100);
        const int cap = kills * 20;
        const unsigned seed = unsigned(
            envInt("ZRK_CRASH_SEED", int(QDateTime::currentSecsSinceEpoch() & 0x7fffffff)));
        std::mt19937 random(seed);

        zrktest::Sandbox box;
        QTemporaryDir dir(base + "/zrk-crash-XXXXXX");
        QVERIFY(dir.isValid());
        QDir::setCurrent(dir.path());
        void* shared = ::mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE,
                              MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        QVERIFY(shared != MAP_FAILED);
        auto* progress = new (shared) Progress{};
        gProgress = progress;

        qint64 next = 1, beforeNext = -1;
        qint64 saveNs = 10000, calibrated = 0;
        constexpr int kCalibration = 5;
        qint64 saves = 0, filesChecked = 0;
        int byStep[kStepCount] = {};
        QStringList failures;
        // Which moments a save has here: the settings keep no backup.
        const auto counts = [&](int s) {
            return store != "settings" || s == 0 || s == 1 || s == 4;
        };
        const auto everyMomentHit = [&] {
            for (int s = 0; s < kStepCount; ++s)
                if (counts(s) && byStep[s] == 0) return false;
            return true;
        };
        int kill = 0;
        for (; (kill < kills || !everyMomentHit()) && kill < cap && failures.size() < 5; ++kill) {
            progress->completed = next - 1;
            progress->before = beforeNext;
            progress->underWay = next - 1;
            progress->firstSaveNs = 0;
            progress->step = -1;
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) saveForever(store, next, unsigned(random()));

            // The first few children tell how long a save takes (a child's first is its
            // slowest); then each is killed anywhere in its first save or the next.
            QElapsedTimer waited;
            waited.start();
            const bool calibrating = kill < kCalibration;
            while ((calibrating ? progress->completed < next : progress->step < 0) &&
                   !progress->failed && waited.elapsed() < 20000)
                ::usleep(20);
            if (calibrating) calibrated += progress->firstSaveNs;
            if (kill + 1 == kCalibration) saveNs = calibrated * 3 / (2 * kCalibration);
            const auto delay = std::uniform_int_distribution<qint64>(0, saveNs)(random);
            ::usleep(useconds_t(delay / 1000));
            ::kill(child, SIGKILL);
            int status = 0;
            ::waitpid(child, &status, 0);
            QVERIFY2(!progress->failed, qPrintable(store + ": a save failed"));
            QVERIFY2(waited.elapsed() < 20000, qPrintable(store + ": a save hung"));

            const qint64 done = progress->completed;
            saves += done - next + 1;
            ++byStep[progress->step];
            // As the next start sees it: the last completed save, or the one under way.
            const qint64 seen = loadedStore(store, file);
            const qint64 underWay = progress->underWay;
            // The save before the one on show.
            const qint64 prior = seen == done ? qint64(progress->before) : done;
            ++filesChecked;
            if (seen != done && seen != underWay)
                failures << QString::asprintf(
                    "kill %d %s: %s holds save %lld, the last completed was %lld", kill,
                    kStepNames[progress->step], qUtf8Printable(file), seen, done);
            if (!backup.isEmpty() && QFile::exists(backup)) {
                const qint64 older = loadedStore(store, backup);
                ++filesChecked;
                // The save before the one on show; the same one while both names hold it.
                if (older != seen && older != prior)
                    failures << QString::asprintf("kill %d: %s holds save %lld beside %lld", kill,
                                                  qUtf8Printable(backup), older, seen);
            }
            next = std::max(seen, done) + 1;
            beforeNext = prior;
        }
        const int leftovers =
            int(QDir().entryList({"." + file + ".*"}, QDir::Files | QDir::Hidden).size());
        QStringList steps;
        for (int s = 0; s < kStepCount; ++s)
            steps << QStringLiteral("%1 %2").arg(kStepNames[s]).arg(byStep[s]);
        qInfo(
            "%s, %s: %d kills, %lld saves completed, %lld files checked, %d failures, %d "
            "temporary files left by kills (seed %u, %s on %s)",
            qUtf8Printable(store), qUtf8Printable(place), kill, saves, filesChecked,
            int(failures.size()), leftovers, seed, qUtf8Printable(dir.path()),
            qUtf8Printable(fileSystemOf(dir.path())));
        qInfo().noquote() << "  kills by moment:" << steps.join(", ");
        ::munmap(shared, sizeof(Progress));
        gProgress = nullptr;
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
        // Every moment of the save was hit, however many kills that took.
        for (int s = 0; s < kStepCount; ++s)
            if (counts(s))
                QVERIFY2(byStep[s] > 0, qPrintable(QStringLiteral("no kill hit \"%1\" in %2 kills")
                                                       .arg(QLatin1String(kStepNames[s]))
                                                       .arg(cap)));
    }
};

QTEST_GUILESS_MAIN(TestCrashSave)
#include "tst_crashsave.moc"
