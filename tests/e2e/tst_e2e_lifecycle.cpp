// The real program started in a sandbox and ended by a signal, as a session ends.
#include "core/platform/Registry.h"
#include "core/platform/SingleInstance.h"

#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <memory>

#include <csignal>

using namespace zrk;

namespace {

// A bound on each wait, not a timing requirement: an ASan build on a loaded machine may take
// seconds to start.
constexpr int kWait = 30000;

// The program, offscreen, telling its start-up steps on its error stream.
void prepare(QProcess& p) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ZRK_TRACE_START", "1");
    p.setProcessEnvironment(env);
}

// Waits until the program has shown its main window, as a user waits before acting; false
// if it ended first.
bool comesUp(QProcess& p) {
    if (!p.waitForStarted(kWait)) return false;
    p.setReadChannel(QProcess::StandardError);
    const QDeadlineTimer deadline(kWait);
    while (!p.peek(1 << 20).contains("main window shown")) {
        if (p.state() != QProcess::Running || deadline.hasExpired()) return false;
        p.waitForReadyRead(100);
    }
    return p.state() == QProcess::Running;
}

// Starts the program in the sandbox, lets it come up, then ends it with `sig`.
int runAndSignal(int sig, QByteArray* errors = nullptr) {
    QProcess p;
    prepare(p);
    p.start(QStringLiteral(ZRK_PRO), {});
    if (!comesUp(p)) return -100;
    ::kill(pid_t(p.processId()), sig);
    if (!p.waitForFinished(kWait)) {
        p.kill();
        return -101;
    }
    if (errors) *errors = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -102;
}

// The program started with `args`, left running.
std::unique_ptr<QProcess> start(const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    prepare(*p);
    p->start(QStringLiteral(ZRK_PRO), args);
    p->waitForStarted(kWait);
    return p;
}

// Waits for a process started with start() to end by itself; its exit code, or -1.
int finishes(QProcess& p) {
    if (!p.waitForFinished(kWait)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

void endIt(QProcess& p) {
    ::kill(pid_t(p.processId()), SIGTERM);
    if (!p.waitForFinished(kWait)) p.kill();
}

}  // namespace

class TestLifecycle : public QObject {
    Q_OBJECT
private slots:
    // Every signal that ends a session saves the settings; a damaged store is kept aside and
    // replaced by a whole one.
    void signalSavesTheSettings_data() {
        QTest::addColumn<int>("sig");
        QTest::addColumn<QByteArray>("damaged");
        QTest::newRow("SIGTERM") << int(SIGTERM) << QByteArray();
        QTest::newRow("SIGINT") << int(SIGINT) << QByteArray();
        QTest::newRow("SIGHUP, damaged store") << int(SIGHUP) << QByteArray("not a store");
    }
    void signalSavesTheSettings() {
        QFETCH(int, sig);
        QFETCH(QByteArray, damaged);
        zrktest::Sandbox box;
        if (!damaged.isEmpty()) QVERIFY(zrktest::writeAll(box.registryPath(), damaged));
        QCOMPARE(runAndSignal(sig), 0);
        if (!damaged.isEmpty()) QCOMPARE(zrktest::readAll(box.registryPath() + ".bad"), damaged);
        RegistryFile file(box.registryPath());
        QVERIFY2(file.loadError().isEmpty(), qPrintable(file.loadError()));
        RegKey reg(file);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(reg.readString("Init"), QString("ATM2+S64=1+S73=2"));
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\Main"));
        QVERIFY(reg.valueExists("Left") && reg.valueExists("Top"));
    }

    // The end of a session must not wait on a message box: what could not be saved is
    // written to the standard error stream.
    void failedSaveDoesNotHoldUpASignal_data() {
        QTest::addColumn<int>("sig");
        QTest::addColumn<QString>("notAFolder");  // a file where the save needs a folder
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("said");
        QTest::newRow("unwritable store") << int(SIGTERM) << "config/zrk-pro" << QByteArray()
                                          << QByteArray("Failed to set data for '");
        // The book window is open, so the close saves the book; its folder is a file.
        const QByteArray bookOpen =
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n"
            "\"Minimized\"=dword:00000000\n\"Phone Book\"=dword:00000001\n"
            "\"Phone Book File\"=\"nodir/book.phn\"\n";
        for (int sig : {SIGTERM, SIGINT, SIGHUP})
            QTest::addRow("unsaveable book, signal %d", sig)
                << sig << "nodir" << bookOpen << QByteArray("Ошибка создания nodir/book.phn!");
    }
    void failedSaveDoesNotHoldUpASignal() {
        QFETCH(int, sig);
        QFETCH(QString, notAFolder);
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, said);
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.filePath(notAFolder), "a file, not a folder"));
        if (!settings.isEmpty()) QVERIFY(zrktest::writeAll(box.registryPath(), settings));
        QByteArray errors;
        QCOMPARE(runAndSignal(sig, &errors), 0);
        QVERIFY2(errors.contains(said), errors.constData());
    }

    // A save that a crash cut short leaves its temporary file beside the book; the next
    // start removes it once it holds the data directory, and a second start, which does
    // not hold it, touches nothing.
    void crashLeftoversGoAtTheNextStart() {
        zrktest::Sandbox box;
        const QString dir = box.filePath("data");
        const QStringList leftovers{".book.phn.Xy12Zw", ".reminder.rmd.abc123", ".book.bak.000000"};
        for (const QString& n : leftovers) QVERIFY(zrktest::writeAll(dir + "/" + n, "half"));
        QVERIFY(zrktest::writeAll(dir + "/.notes.txt.abcdef", "not ours"));
        auto first = start({"--data-dir", dir});
        QVERIFY(comesUp(*first));
        // They go once the windows stand, which a loaded machine may take a while to reach.
        for (const QString& n : leftovers)
            QTRY_VERIFY2_WITH_TIMEOUT(!QFileInfo::exists(dir + "/" + n), qPrintable(n), 15000);
        QVERIFY(QFileInfo::exists(dir + "/.notes.txt.abcdef"));
        // The first may be saving right now: a second start leaves its file alone.
        QVERIFY(zrktest::writeAll(dir + "/.book.phn.Mid5av", "being written"));
        auto second = start({"--data-dir", dir});
        QCOMPARE(finishes(*second), 0);
        QVERIFY(QFileInfo::exists(dir + "/.book.phn.Mid5av"));
        endIt(*first);
    }

    // One program per data directory: a second start brings the first forward and ends;
    // another directory runs; a first that was killed blocks nothing.
    void oneInstancePerDataDirectory() {
        zrktest::Sandbox box;
        const QString d1 = box.filePath("one"), d2 = box.filePath("two");
        auto first = start({"--data-dir", d1});
        QVERIFY(comesUp(*first));
        auto second = start({"--data-dir", d1});
        QCOMPARE(finishes(*second), 0);
        // The first answered, rather than being given up on: it got the wake-up and came
        // forward.
        QVERIFY2(second->readAllStandardOutput().contains("выведено вперёд"),
                 second->readAllStandardError().constData());
        QVERIFY(first->state() == QProcess::Running);

        auto other = start({"--data-dir", d2});
        QVERIFY(comesUp(*other));
        endIt(*other);

        // The line server's directory: said, with the desk offered as its client.
        QVERIFY(QDir().mkpath(box.filePath("line")));
        const SingleInstance line(box.filePath("line"), QStringLiteral("zrk-line"));
        auto beside = start({"--data-dir", box.filePath("line")});
        QCOMPARE(finishes(*beside), 0);
        QVERIFY(beside->readAllStandardOutput().contains("обслуживает сервер линии zrk-line"));

        first->kill();  // SIGKILL: no chance to clean up
        first->waitForFinished(5000);
        auto next = start({"--data-dir", d1});
        QVERIFY(comesUp(*next));
        endIt(*next);
    }

    void dataDirectory() {
        zrktest::Sandbox box;
        qputenv("XDG_DATA_HOME", box.filePath("data").toLocal8Bit());
        auto menu = start({"--desktop"});
        QVERIFY(comesUp(*menu));
        QVERIFY(QFileInfo(box.filePath("data/zrk-pro")).isDir());  // made on the first start
        // The lock is kept in the runtime directory, not among the user's files.
        QVERIFY(QFileInfo(SingleInstance::lockPath(box.filePath("data/zrk-pro"))).exists());
        QCOMPARE(QDir(box.filePath("data/zrk-pro")).entryList(QDir::Files | QDir::Hidden),
                 QStringList());
        // The same directory named by its path is the same data: the first start keeps it.
        auto again = start({"--data-dir", box.filePath("data/zrk-pro")});
        QCOMPARE(finishes(*again), 0);
        endIt(*menu);
        qunsetenv("XDG_DATA_HOME");

        // A data directory that cannot be made is said, and nothing runs.
        QVERIFY(zrktest::writeAll(box.filePath("file"), "x"));
        auto bad = start({"--data-dir", box.filePath("file")});
        QCOMPARE(finishes(*bad), 1);
        QVERIFY(bad->readAllStandardError().contains("не является каталогом"));
        auto wrong = start({"--data-dir"});
        QCOMPARE(finishes(*wrong), 2);
    }

    // Started from a terminal, the program leaves nothing of its own in the directory it was
    // started in, nor in its data directory.
    void nothingOfOursInTheUsersDirectories() {
        zrktest::Sandbox box;
        QVERIFY(QDir().mkpath(box.filePath("here")));
        QVERIFY(QDir().mkpath(box.filePath("data")));
        QProcess fromHere, withData;
        for (QProcess* p : {&fromHere, &withData}) {
            prepare(*p);
            p->setWorkingDirectory(box.filePath("here"));
        }
        fromHere.start(QStringLiteral(ZRK_PRO), {});
        withData.start(QStringLiteral(ZRK_PRO), {"--data-dir", box.filePath("data")});
        QVERIFY(comesUp(fromHere) && comesUp(withData));
        const auto ours = [](const QString& dir) {
            return QDir(dir).entryList({".zrk*", "*.lock", "*.socket"},
                                       QDir::AllEntries | QDir::Hidden | QDir::System);
        };
        QCOMPARE(ours(box.filePath("here")), QStringList());
        QCOMPARE(ours(box.filePath("data")), QStringList());
        endIt(fromHere);
        endIt(withData);
        QCOMPARE(ours(box.filePath("here")), QStringList());
    }

    // An import while a program runs on the same settings would be written over when that
    // program ends: it is refused, and done once the program has gone.
    void importWhileTheProgramRuns() {
        zrktest::Sandbox box;
        QVERIFY(
            zrktest::writeAll(box.filePath("good.reg"),
                              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\r\n"
                              "\"Init\"=\"ATZ\"\r\n\r\n"));
        auto running = start({"--data-dir", box.filePath("one")});
        QVERIFY(comesUp(*running));
        auto import = start({"--import-reg", box.filePath("good.reg")});
        QCOMPARE(finishes(*import), 1);
        QVERIFY2(import->readAllStandardError().contains("Закройте программу"),
                 "the refusal says what to do");
        endIt(*running);
        QVERIFY(!zrktest::readAll(box.registryPath()).contains("\"Init\"=\"ATZ\""));

        import = start({"--import-reg", box.filePath("good.reg")});
        QCOMPARE(finishes(*import), 0);
        // The next program takes it, and its own end keeps it.
        auto next = start({"--data-dir", box.filePath("one")});
        QVERIFY(comesUp(*next));
        endIt(*next);
        RegistryFile file(box.registryPath());
        RegKey reg(file);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(reg.readString("Init"), QString("ATZ"));
    }

    void importFromTheCommandLine() {
        zrktest::Sandbox box;
        const QByteArray store =
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Init\"=\"ATQ0\"\n";
        QVERIFY(zrktest::writeAll(box.registryPath(), store));
        QVERIFY(zrktest::writeAll(box.filePath("bad.reg"),
                                  "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\r\n"));
        auto bad = start({"--import-reg", box.filePath("bad.reg")});
        QCOMPARE(finishes(*bad), 1);
        QVERIFY(bad->readAllStandardError().contains("чужой раздел"));
        QCOMPARE(zrktest::readAll(box.registryPath()), store);

        QVERIFY(
            zrktest::writeAll(box.filePath("good.reg"),
                              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\r\n"
                              "\"Init\"=\"ATZ\"\r\n\r\n"));
        auto good = start({"--import-reg", box.filePath("good.reg")});
        QCOMPARE(finishes(*good), 0);
        const QByteArray said = good->readAllStandardOutput();
        QVERIFY(said.contains("значений 1"));
        QVERIFY(said.contains("book.phn"));  // the data files need no import
        RegistryFile file(box.registryPath());
        RegKey reg(file);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(reg.readString("Init"), QString("ATZ"));
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_e2e_lifecycle.moc"
