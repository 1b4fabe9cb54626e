#pragma once
// "Настройка программы": every setting of the record, the caller categories, the district
// table and the modem's device. Nothing is applied before OK; OK stores, saves and has the
// main window pick up the new port, fonts and window settings.
#include "platform/SerialDevice.h"
#include "settings/WindowPlacement.h"

#include <QDialog>

#include <array>
#include <memory>

class QComboBox;
class QLineEdit;

namespace Ui {
class Options;
}

namespace zrk {

class OptionsHost;
class NetworkPage;

class TOptions : public QDialog {
    Q_OBJECT
public:
    // Where the modem page looks for serial devices (tests use a directory of their own).
    struct DeviceRoots {
        QString dev = QStringLiteral("/dev");
        QString sys = QStringLiteral("/sys");
    };

    TOptions(OptionsHost& host, QWidget* parent = nullptr);
    TOptions(OptionsHost& host, const DeviceRoots& roots, QWidget* parent = nullptr);
    ~TOptions() override;

    bool portChanged() const { return portChanged_; }
    bool fontsChanged() const { return fontsChanged_; }

    void bOKClick();
    void cbKategChange();
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const DeviceRoots& roots);
    void wire();
    void cbWaveClick();
    void cbSoundClick();
    void cbAutoDialClick();
    void cbPortOnOffClick();
    void cbSoundOnOffClick();
    // The modem's device
    void fillDevices(const DeviceRoots& roots);
    void showDevice();
    void showDeviceNote();
    void deviceEdited();
    // Districts
    void bAddClick();
    void bPropClick();
    void bDelClick();
    void storeControls();
    void attempt(const std::function<void()>& f);

    OptionsHost& host_;
    std::unique_ptr<Ui::Options> ui;
    NetworkPage* networkPage_ = nullptr;
    WindowPlacement placement_{QStringLiteral("Position\\Options"), false};
    int previousCategory_ = 0;
    bool portChanged_ = false;
    bool fontsChanged_ = false;
    bool filling_ = false;
    bool raionsLoaded_ = false;
    // The device of each of the four ports, as found and as edited.
    std::array<SerialDeviceLocation, 4> devices_, foundDevices_;
};

}  // namespace zrk
