#include "gui/settings/ModemPage.h"

#include "ui_ModemPage.h"

#include "core/platform/SerialPorts.h"
#include "core/settings/Settings.h"

#include <QFileInfo>

namespace zrk {
namespace {

bool sameDevice(const SerialDeviceLocation& a, const SerialDeviceLocation& b) {
    return a.path == b.path && a.isVirtual == b.isVirtual;
}

}  // namespace

ModemPage::ModemPage(const TIni& s, const DeviceRoots& roots, QWidget* parent)
    : OptionsPage(parent), ui_(makeForm<Ui::ModemPage>(this)) {
    bind(ui_->cbPort, s, &TIni::Port);
    bind(ui_->cbSpeed, s, &TIni::Baud);
    bind(ui_->cbRing, s, &TIni::AnswerOnRing);
    bind(ui_->cbTonePulse, s, &TIni::Prefix);
    bind(ui_->eInit, s, &TIni::Init);
    bind(ui_->eZrk, s, &TIni::Zrk);
    bind(ui_->eHandUp, s, &TIni::HandUp);
    bind(ui_->eCallerID, s, &TIni::CallerID);
    fillDevices(roots);

    const auto portChange = [this] { portChanged_ = true; };
    connect(ui_->cbPort, &QComboBox::currentIndexChanged, this, [this, portChange] {
        portChange();
        showDevice();
    });
    connect(ui_->cbSpeed, &QComboBox::currentIndexChanged, this, portChange);
    connect(ui_->eInit, &QLineEdit::textChanged, this, portChange);
    connect(ui_->cbDevice, &QComboBox::currentTextChanged, this, &ModemPage::deviceEdited);
    connect(ui_->cbVirtual, &QCheckBox::toggled, this, &ModemPage::deviceEdited);
}

void ModemPage::save() {
    for (int i = 0; i < 4; ++i)
        if (!sameDevice(devices_[size_t(i)], foundDevices_[size_t(i)]))
            saveSerialDeviceLocation(i + 1, devices_[size_t(i)]);
}

void ModemPage::fillDevices(const DeviceRoots& roots) {
    for (int i = 0; i < 4; ++i)
        devices_[size_t(i)] = locateSerialDevice(QStringLiteral("Com%1").arg(i + 1));
    foundDevices_ = devices_;
    for (const SerialPortCandidate& c : listSerialPorts(roots.dev, roots.sys)) {
        ui_->cbDevice->addItem(c.path);
        if (!c.target.isEmpty())
            ui_->cbDevice->setItemData(ui_->cbDevice->count() - 1, c.target, Qt::ToolTipRole);
    }
    showDevice();
}

void ModemPage::showDevice() {
    const int port = ui_->cbPort->currentIndex();
    const bool known = port >= 0 && port < 4;
    const bool wasFilling = filling_;
    filling_ = true;
    ui_->cbDevice->setEnabled(known);
    ui_->cbVirtual->setEnabled(known);
    ui_->cbDevice->setEditText(known ? devices_[size_t(port)].path : QString());
    ui_->cbVirtual->setChecked(known && devices_[size_t(port)].isVirtual);
    filling_ = wasFilling;
    showDeviceNote();
}

// What the typed device is, beside the field: the field itself is the user's to edit.
void ModemPage::showDeviceNote() {
    const int port = ui_->cbPort->currentIndex();
    const bool known = port >= 0 && port < 4;
    QString note;
    if (known) {
        const QString path = devices_[size_t(port)].path;
        const QFileInfo info(path);
        if (info.isSymLink() && info.exists())
            note = tr("Ссылка на %1. ").arg(info.canonicalFilePath());
        note += serialDeviceProblem(path);
    }
    ui_->lDeviceNote->setText(note.trimmed());
    ui_->lDeviceNote->setVisible(!note.isEmpty());
}

void ModemPage::deviceEdited() {
    if (filling_) return;
    const int port = ui_->cbPort->currentIndex();
    if (port < 0 || port >= 4) return;
    devices_[size_t(port)] = {ui_->cbDevice->currentText().trimmed(), ui_->cbVirtual->isChecked()};
    portChanged_ = true;
    showDeviceNote();
}

}  // namespace zrk
