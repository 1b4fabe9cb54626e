// The main window's conversation with the modem: the port, the received lines, the status.
#include "gui/main/CallNotifier.h"
#include "gui/main/Icons.h"
#include "core/call/LineStatus.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/Palette.h"
#include "gui/main/RusCID.h"

#include "gui/book/PhoneBook.h"
#include "core/platform/Clock.h"
#include "core/platform/Cp1251.h"
#include "core/platform/Values.h"
#include "core/serial/Comm.h"
#include "core/settings/Settings.h"
#include "gui/windows/WinAlert.h"

#include <QAction>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

#include <vector>

namespace zrk {

void TRusCID::OpenPortClick() {
    if (ini().Port == kNoModemPort) {
        showNoModem();
        return;
    }
    // A device left open by an opening that failed half way would make every later opening
    // fail with "port already open": start from a closed device.
    if (Comm1->IsOpen()) Comm1->Close();
    Comm1->SetDeviceName(QStringLiteral("Com%1").arg(ini().Port + 1));
    Comm1->SetBaudRate(TBaudrate(qBound(0, ini().Baud, int(br256000))));
    Comm1->Open();
    Comm1->SetRTS(true);
    Comm1->SetDTR(true);
    SendATCom(ini().Init);
    idONOFF(Comm1->ModemLineState(2));
    if (!PortActive) Comm1->Close();
    SetStatus(PortActive ? 1 : 4);
}

void TRusCID::ClosePortClick() {
    calls_.endCall();
    notifier_->callEnded();
    idONOFF(false);
    SetStatus(4);
    Comm1->Close();
}

void TRusCID::sbOpenCloseClick() {
    if (PortActive) ClosePortClick();
    else OpenPortClick();
}

void TRusCID::idONOFF(bool on) {
    PortActive = on;
    for (QToolButton* b : {sbAnswer, sbDial, sbFlash}) b->setEnabled(on);
    for (QToolButton* b : sbKeys) b->setEnabled(on);
    for (QAction* a : {mPAnswer, mPClosePort, mPReDial, CID}) a->setEnabled(on);
    // A desk without a modem has no port to open: nothing offers to.
    const bool modem = ini().Port != kNoModemPort;
    mPOpenPort->setEnabled(!on && modem);
    sbOpenClose->setEnabled(on || modem);
    stPort->setEnabled(on || modem);
    const quint32 textColour = on ? ini().InfoColor : ini().NotActiveColor;
    setTextColour(pNumber, on ? ini().NumberColor : ini().NotActiveColor);
    setTextColour(pInfo, textColour);
    setTextColour(stPort, textColour);
    sbOpenClose->setText(on ? tr("Закрыть порт") : tr("Открыть порт"));
    sbOpenClose->setIcon(on || modem ? portGlyph(!on) : QIcon());
    setTrayIcon(on ? 0 : 1);
    if (windows_.book) windows_.book->setPortActive(on);
}

void TRusCID::SetStatus(int code) {
    pInfo->setText(code <= 0 ? QString() : QStringLiteral("* %1 *").arg(statusText(code)));
    setInfoHint(infoHint_, false);
    setTrayHint(QStringLiteral("Zrk: ") + statusText(code));
    if (code == 7 && windows_.alert && windows_.alert->isVisible()) windows_.alert->close();
    const Redial redial = calls_.statusShown(code, ini());
    if (redial != Redial::None) {
        tRinging->stop();
        setTextColour(pInfo, ini().InfoColor);
        if (redial == Redial::Again) tReDial->start();
    }
    if (code == 8) {
        tRinging->setInterval(200);
        BlinkCount = 0;
        tRinging->start();
    }
}

void TRusCID::SendATCom(const QString& command) {
    const QByteArray bytes = toCp1251(command) + "\r\n";
    Comm1->Write(bytes.constData(), qint32(bytes.size()));
}

void TRusCID::Comm1RxChar(QObject*, qint32 count) {
    if (!PortActive) return;
    std::vector<char> buffer(size_t(qMax(0, Comm1->ReadBufSize())), 0);
    const qint32 n = Comm1->Read(buffer.data(), qMin<qint32>(count, qint32(buffer.size())));
    if (n < 0) return;
    processBatch(buffer.data(), n);
}

void TRusCID::signalRing(bool newCall) {
    if (newCall) {
        // The last caller's alert and notification are not this caller's.
        if (windows_.alert && windows_.alert->isVisible()) windows_.alert->close();
        notifier_->callEnded();
    }
    // Rings no longer coming mean the caller gave up: the call's notification goes.
    tCallOver->start();
    if (ini().PopupOnCall && (!isVisible() || isMinimized())) {
        notifier_->ringPoppedUp();  // the call came while the window was out of sight
        HideOnIdle = false;
        showNormal();
    }
    calls_.setRingActive(true);
    SetStatus(3);
}

void TRusCID::processBatch(const char* data, qint32 size) {
    // An error in one line (a log that cannot be written) ends this batch, not the
    // reception: the lines assembled so far stay, the next batch goes on.
    calls_.feed(data, size, ini(), now(), [this](const ModemStep& step) {
        switch (step.kind) {
            case ModemStep::Ring: signalRing(step.newCall); break;
            case ModemStep::Report: StNumber(step.text); break;
            case ModemStep::Status: SetStatus(step.status); break;
            case ModemStep::Identify: SendATCom(step.text); break;
            case ModemStep::Beep: break;
        }
        if (step.wave) Wave();
    });
}

}  // namespace zrk
