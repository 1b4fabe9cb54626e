// The real program started in a sandbox and ended by a signal, as a session ends.
#include "platform/Registry.h"

#include "TestSupport.h"

#include <QProcess>

#include <csignal>

using namespace zrk;

namespace {

// Starts the program in the sandbox, lets it come up, then ends it with `sig`.
int runAndSignal(int sig, QByteArray* errors = nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QProcess p;
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
    void unwritableStoreDoesNotHoldUpASignal() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.filePath("config/zrk-pro"), "a file, not a folder"));
        QByteArray errors;
        QCOMPARE(runAndSignal(SIGTERM, &errors), 0);
        QVERIFY2(errors.contains("Failed to set data for '"), errors.constData());
    }
};

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_e2e_lifecycle.moc"
