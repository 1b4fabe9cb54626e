#include "platform/Registry.h"

#include "TestSupport.h"

#include <QProcess>

#include <csignal>

using namespace zrk;

namespace {

// Starts the program in the sandbox, lets it come up, then ends it with `sig`.
int runAndSignal(const zrktest::Sandbox& box, int sig, QByteArray* errors = nullptr) {
    QProcess p;
    p.setWorkingDirectory(box.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", box.filePath("config"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZRK_PRO), {});
    if (!p.waitForStarted(5000)) return -100;
    QTest::qWait(1500);
    ::kill(pid_t(p.processId()), sig);
    if (!p.waitForFinished(10000)) {
        p.kill();
        return -101;
    }
    if (errors) *errors = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -102;
}

}  // namespace

class TestLifecycle : public QObject {
    Q_OBJECT
private slots:
    void firstRunLeavesEveryDefaultInTheStore_data() {
        QTest::addColumn<int>("sig");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void firstRunLeavesEveryDefaultInTheStore() {
        QFETCH(int, sig);
        zrktest::Sandbox box;
        QCOMPARE(runAndSignal(box, sig), 0);
        RegistryFile file(box.registryPath());
        QVERIFY2(file.loadError().isEmpty(), qPrintable(file.loadError()));
        RegKey reg(file);
        for (const char* key : {"", "Modem", "Action", "Fonts", "Categories", "Reminder Notes",
                                "Scheduler", "Book Columns", "Position\\Main"})
            QVERIFY2(reg.openKeyReadOnly(QStringLiteral("Software\\Zrk Pro\\") + key), key);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro"));
        QCOMPARE(reg.readString("Version"), QString("2.01b"));
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(reg.readString("Init"), QString("ATM2+S64=1+S73=2"));
        QCOMPARE(reg.readInteger("Baud"), 6);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\Main"));
        QVERIFY(reg.valueExists("Left") && reg.valueExists("Top"));
    }

    // The end of a session must not wait on a message box: what could not be saved is
    // written to the standard error stream.
    void unsavableSettingsDoNotHoldUpASignal() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.filePath("config/zrk-pro"), "a file where a folder should be"));
        QByteArray errors;
        QCOMPARE(runAndSignal(box, SIGTERM, &errors), 0);
        QVERIFY2(errors.contains("Failed to set data for '"), errors.constData());
    }

    void damagedStoreIsKeptAside() {
        zrktest::Sandbox box;
        const QByteArray damaged = "not a registry file";
        QVERIFY(zrktest::writeAll(box.registryPath(), damaged));
        QCOMPARE(runAndSignal(box, SIGTERM), 0);
        QCOMPARE(zrktest::readAll(box.registryPath() + ".bad"), damaged);
        QVERIFY(zrktest::readAll(box.registryPath()).contains("\"Version\"=\"2.01b\""));
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_e2e_lifecycle.moc"
