// The main window in this process, on the real serial component, against the modem
// simulator: what the user types reaches the modem.
#include "core/call/CallDesk.h"
#include "gui/main/RusCID.h"
#include "core/platform/Registry.h"

#include "ModemSimDriver.h"
#include "TestSupport.h"

#include <QToolButton>

using namespace zrk;

class TestE2EDial : public QObject {
    Q_OBJECT
private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }
    void cleanup() { RegistryFile::resetUser(); }

    void typedNumberIsToneDialledAndBusyIsRedialled() {
        zrktest::Sandbox box;
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        QVERIFY(zrktest::writeAll(box.registryPath(),
                                  sim.settingsStore("\"Prefix\"=dword:00000001\n"
                                                    "\"ReDial\"=dword:00000001\n"
                                                    "\"ReDialWait\"=dword:00000001\n")));
        RegistryFile::resetUser();
        CallDesk desk;
        TRusCID window(desk);
        QVERIFY(desk.portActive());
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2"));
        window.show();

        sim.send("dial busy");
        sim.send("dial busy");
        QVERIFY(sim.waitForCommand("dial busy"));
        QTest::keyClicks(&window, "123");
        QTest::keyClick(&window, Qt::Key_Enter);
        QVERIFY(sim.waitForReceived("ATDT123"));
        // Busy twice: the second and third dial follow a second after each busy.
        QTRY_COMPARE_WITH_TIMEOUT(sim.received().count("ATDT123"), 3, 10000);

        sim.clear();
        window.findChild<QToolButton*>("sbAnswer")->click();
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2"));
        QCOMPARE(sim.received(), (QStringList{"+++~~~ATH0", "ATM2+S64=1+S73=2"}));
        window.FormClose();
    }
};

QTEST_MAIN(TestE2EDial)
#include "tst_e2e_dial.moc"
