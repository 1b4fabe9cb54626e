// The main window's side of the NCID server link: its own calls go out as a gateway's, the
// server's calls and rings come in as the modem's would.
#include "main/RusCID.h"
#include "net/NcidLink.h"
#include "platform/Clock.h"
#include "settings/Settings.h"

#include <QScopedValueRollback>

namespace zrk {

void TRusCID::startNetwork() {
    if (!ncid_) {
        ncid_ = new NcidLink(this);
        ncid_->setObjectName(QStringLiteral("ncidLink"));
        connect(ncid_, &NcidLink::callReceived, this,
                [this](const QString& number) { safely([&] { remoteReport(number); }); });
        connect(ncid_, &NcidLink::ringReceived, this, [this] { safely([this] { remoteRing(); }); });
    }
    ncid_->configure({ini().NcidServer, ini().SendCalls, ini().ReceiveCalls, ini().LineLabel});
}

void TRusCID::remoteRing() {
    signalRing();
}

void TRusCID::remoteReport(const QString& number) {
    // A call the server reports rings here as a call on our own line does.
    signalRing();
    const QScopedValueRollback remote(remoteCall_, true);
    StNumber(ncid::reportNumber(number));
    if (ini().PlayWAV) Wave();
}

void TRusCID::shareCall(const QString& number, const QString& name) {
    // A call from the server goes no further: the server has it already.
    if (ncid_ && !remoteCall_) ncid_->sendCall(now(), number, name);
}

QString TRusCID::networkState() const {
    return ncid_ ? ncid_->stateText() : QStringLiteral("выключено");
}

}  // namespace zrk
