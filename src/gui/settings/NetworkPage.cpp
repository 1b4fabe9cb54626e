#include "gui/settings/NetworkPage.h"

#include "ui_NetworkPage.h"

#include "core/net/NcidProtocol.h"
#include "gui/settings/OptionsHost.h"
#include "core/settings/Settings.h"

#include <QTimer>

namespace zrk {

NetworkPage::NetworkPage(OptionsHost& host, const TIni& s, QWidget* parent)
    : OptionsPage(parent), host_(host), ui_(makeForm<Ui::NetworkPage>(this)) {
    ui_->eNcidServer->setText(s.NcidServer);
    bind(ui_->cbSendCalls, s, &TIni::SendCalls);
    bind(ui_->cbReceiveCalls, s, &TIni::ReceiveCalls);
    bind(ui_->eLineLabel, s, &TIni::LineLabel);
    connect(ui_->eNcidServer, &QLineEdit::textChanged, this, &NetworkPage::checkAddress);
    connect(ui_->eLineLabel, &QLineEdit::textChanged, this, &NetworkPage::showWireLabel);
    enableWhileChecked(ui_->cbSendCalls, {ui_->eLineLabel});
    checkAddress();
    showWireLabel();
    // The link works on while the dialog is open: its state follows.
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &NetworkPage::showState);
    refresh->start(500);
    showState();
}

void NetworkPage::storeRest(TIni& s) {
    s.NcidServer = ui_->eNcidServer->text().trimmed();
}

void NetworkPage::showState() {
    ui_->stNetState->setText(host_.networkState());
}

void NetworkPage::showWireLabel() {
    // Clients split the server's lines at blanks: the label travels as one word.
    const QString typed = ui_->eLineLabel->text().trimmed();
    const QString wire = ncid::wireLabel(typed);
    const bool differs = !typed.isEmpty() && wire != typed;
    ui_->lLabelNote->setText(differs ? tr("Клиенты NCID увидят: %1").arg(wire) : QString());
    ui_->lLabelNote->setVisible(differs);
}

void NetworkPage::checkAddress() {
    const QString text = ui_->eNcidServer->text();
    const bool bad = !text.trimmed().isEmpty() && !ncid::parseServerAddress(text);
    ui_->lServerNote->setText(bad ? tr("Неверный адрес: нужно имя или адрес сервера "
                                       "и, через двоеточие, порт")
                                  : QString());
    ui_->lServerNote->setVisible(bad);
}

}  // namespace zrk
