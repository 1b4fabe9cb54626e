#pragma once
// ModemPage: the options page "Модем": the port and its device, the speed, the rings before the
// number is asked for, the dialing mode and the modem's commands.
#include "core/platform/SerialDevice.h"
#include "gui/settings/OptionsPage.h"

#include <array>

namespace Ui {
class ModemPage;
}

namespace zrk {

class ModemPage : public OptionsPage {
    Q_OBJECT
public:
    // Where the page looks for serial devices (tests use a directory of their own).
    struct DeviceRoots {
        QString dev = QStringLiteral("/dev");
        QString sys = QStringLiteral("/sys");
    };

    ModemPage(const TIni& settings, const DeviceRoots& roots, QWidget* parent = nullptr);

    // The port, the speed, the initialisation or a device changed: the port is restarted.
    bool portChanged() const { return portChanged_; }
    // The devices the user changed.
    void save() override;

private:
    void fillDevices(const DeviceRoots& roots);
    void showDevice();
    void showDeviceNote();
    void deviceEdited();

    FormPtr<Ui::ModemPage> ui_;
    bool portChanged_ = false;
    bool filling_ = false;
    // The device of each of the four ports, as found and as edited.
    std::array<SerialDeviceLocation, 4> devices_, foundDevices_;
};

}  // namespace zrk
