// The main window's side of the NCID server link: its own calls go out as a gateway's, the
// server's calls and rings come in as the modem's would.
#include "main/RusCID.h"
#include "net/NcidLink.h"
#include "platform/Clock.h"
#include "serial/Comm.h"
#include "settings/Form.h"
#include "settings/Settings.h"

#include <QDir>
#include <QLabel>
#include <QScopedValueRollback>

namespace zrk {

void TRusCID::startNetwork() {
    if (!ncid_) {
        ncid_ = named<NcidLink>("ncidLink", this);
        connect(ncid_, &NcidLink::fileError, this, [this](const QString& text) {
            if (!closed_) showErrorBox(text, tr("Ошибка"));
        });
        // The calls the server has not had yet wait in the data directory.
        ncid_->setQueueFile(QDir::current().absoluteFilePath(QStringLiteral("ncid-queue.txt")));
        connect(ncid_, &NcidLink::callReceived, this,
                [this](const QString& number, const QString&, const QString& line) {
                    safely([&] { remoteReport(number, line); });
                });
        connect(ncid_, &NcidLink::ringReceived, this, [this] { safely([this] { remoteRing(); }); });
    }
    ncid_->configure({ini().NcidServer, ini().SendCalls, ini().ReceiveCalls, ini().LineLabel});
}

void TRusCID::showNoModem() {
    if (Comm1->IsOpen()) Comm1->Close();
    idONOFF(false);
    pInfo->setText(tr("* Нет модема *"));
    setTrayHint(tr("Zrk: Нет модема"));
}

void TRusCID::remoteRing() {
    signalRing();
}

void TRusCID::remoteReport(const QString& number, const QString& line) {
    // A call the server reports rings here as a call on our own line does.
    signalRing();
    const QScopedValueRollback remote(remoteCall_, true);
    const QScopedValueRollback label(remoteLine_,
                                     line == QLatin1String("-") ? QString() : line.trimmed());
    StNumber(ncid::reportNumber(number));
    if (ini().PlayWAV) Wave();
}

void TRusCID::shareCall(const QString& number, const QString& name) {
    // A call from the server goes no further: the server has it already.
    if (ncid_ && !remoteCall_) ncid_->sendCall(now(), number, name);
}

QString TRusCID::networkState() const {
    return ncid_ ? ncid_->stateText() : tr("выключено");
}

}  // namespace zrk
