// The main window in this process, on the real serial component: a modem chosen in the
// options dialog is opened and initialised at once.
#include "core/call/CallDesk.h"
#include "gui/main/RusCID.h"
#include "core/platform/Registry.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"

#include "ModemSimDriver.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

using namespace zrk;

class TestE2EOptions : public QObject {
    Q_OBJECT
private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }
    void cleanup() { RegistryFile::resetUser(); }

    void modemChosenInTheDialogReceivesInit() {
        zrktest::Sandbox box;
        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        // The default port leads nowhere: the program starts with its port closed.
        QVERIFY(zrktest::writeAll(
            box.registryPath(),
            "Windows Registry Editor Version 5.00\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Minimized\"=dword:00000000\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Devices]\n"
            "\"Com2\"=\"/nonexistent/ttyUSB9\"\n"));
        RegistryFile::resetUser();
        CallDesk desk;
        TRusCID window(desk);
        QVERIFY(!desk.portActive());

        const auto host = window.makeOptionsHost();
        TOptions dialog(*host);
        dialog.findChild<QComboBox*>("cbPort")->setCurrentIndex(2);  // COM3
        dialog.findChild<QComboBox*>("cbDevice")->setEditText(sim.devicePath());
        dialog.findChild<QCheckBox*>("cbVirtual")->setChecked(true);  // a terminal has no DSR
        dialog.findChild<QPushButton*>("bOK")->click();

        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2"));
        QVERIFY(desk.portActive());
        QVERIFY(zrktest::readAll(box.registryPath())
                    .contains("\"Com3\"=\"" + sim.devicePath().toUtf8() + "\""));
        // The new device is listened to: a ring there is answered with the number request.
        sim.send("ring");
        QVERIFY(sim.waitForReceived("AT+SR"));
        window.FormClose();
    }
};

QTEST_MAIN(TestE2EOptions)
#include "tst_e2e_options.moc"
