#include "settings/NetworkPage.h"

#include "ui_NetworkPage.h"

#include "net/NcidProtocol.h"
#include "settings/OptionsHost.h"
#include "settings/Settings.h"

#include <QTimer>

namespace zrk {

NetworkPage::NetworkPage(OptionsHost& host, const TIni& s, QWidget* parent)
    : QWidget(parent), host_(host), ui(std::make_unique<Ui::NetworkPage>()) {
    ui->setupUi(this);
    ui->eNcidServer->setText(s.NcidServer);
    ui->cbSendCalls->setChecked(s.SendCalls);
    ui->cbReceiveCalls->setChecked(s.ReceiveCalls);
    ui->eLineLabel->setText(s.LineLabel);
    connect(ui->eNcidServer, &QLineEdit::textChanged, this, &NetworkPage::checkAddress);
    const auto labelUsed = [this] { ui->eLineLabel->setEnabled(ui->cbSendCalls->isChecked()); };
    connect(ui->cbSendCalls, &QCheckBox::toggled, this, labelUsed);
    labelUsed();
    checkAddress();
    // The link works on while the dialog is open: its state follows.
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &NetworkPage::showState);
    refresh->start(500);
    showState();
}

NetworkPage::~NetworkPage() = default;

void NetworkPage::store(TIni& s) const {
    s.NcidServer = ui->eNcidServer->text().trimmed();
    s.SendCalls = ui->cbSendCalls->isChecked();
    s.ReceiveCalls = ui->cbReceiveCalls->isChecked();
    s.LineLabel = ui->eLineLabel->text();
}

void NetworkPage::showState() {
    ui->stNetState->setText(host_.networkState());
}

void NetworkPage::checkAddress() {
    const QString text = ui->eNcidServer->text();
    const bool bad = !text.trimmed().isEmpty() && !ncid::parseServerAddress(text);
    ui->lServerNote->setText(bad ? QStringLiteral("Неверный адрес: нужно имя или адрес сервера "
                                                  "и, через двоеточие, порт")
                                 : QString());
    ui->lServerNote->setVisible(bad);
}

}  // namespace zrk
