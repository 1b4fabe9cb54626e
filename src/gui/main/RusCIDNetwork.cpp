// The main window's side of the NCID server link: its own calls go out as a gateway's, the
// server's calls and rings come in as the modem's would.
#include "core/book/BookStore.h"
#include "gui/calls/ListRing.h"
#include "core/call/CallLog.h"
#include "core/call/CallerReport.h"
#include "gui/main/RusCID.h"
#include "core/net/NcidLink.h"
#include "core/platform/Clock.h"
#include "core/serial/Comm.h"
#include "gui/settings/Form.h"
#include "core/settings/Settings.h"

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
                [this](const QString& number, const QString& name, const QString& line) {
                    safely([&] { remoteReport(number, line, name); });
                });
        connect(ncid_, &NcidLink::callBlocked, this,
                [this](const QString& number, const QString& name, const QString& line) {
                    safely([&] { remoteRecord(number, line, name, now(), tr("[заблокирован]")); });
                });
        connect(ncid_, &NcidLink::callWhileAway, this,
                [this](const QString& number, const QString& name, const QString& line,
                       const QDateTime& when, bool blocked) {
                    safely([&] {
                        remoteRecord(number, line, name, when.isValid() ? when : now(),
                                     blocked ? tr("[заблокирован]") : tr("[пропущен]"));
                    });
                });
        connect(ncid_, &NcidLink::callsDropped, this, [](int total) {
            // Said where a person running the desk from a terminal or a journal sees it; the
            // options page's link state says it too.
            qWarning().noquote()
                << tr("Zrk Pro: очередь звонков для сервера NCID полна, старых звонков не "
                      "отправлено: %n",
                      nullptr, total);
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
    signalRing(false);
}

namespace {
QString lineLabel(const QString& line) {
    return line == QLatin1String("-") ? QString() : line.trimmed();
}
}  // namespace

void TRusCID::remoteReport(const QString& number, const QString& line, const QString& name) {
    // A call the server reports rings here as a call on our own line does; each is a call of
    // its own.
    signalRing(true);
    const QScopedValueRollback remote(remoteCall_, true);
    const QScopedValueRollback label(remoteLine_, lineLabel(line));
    const QScopedValueRollback named(remoteName_, ncid::callerName(name));
    StNumber(ncid::reportNumber(number));
    if (ini().PlayWAV) Wave();
}

void TRusCID::remoteRecord(const QString& number, const QString& line, const QString& name,
                           const QDateTime& when, const QString& mark) {
    const ReportParts parts = parseReport(ncid::reportNumber(number), ini());
    CallerInfo who = lookUpCaller(parts.number);
    if (who.name.isEmpty()) who.name = ncid::callerName(name);
    const QString shown = isWordReport(parts.number) || parts.number == QLatin1String("Unknown")
                              ? parts.number
                              : GroupDigits(parts.number, ini().SeparatorOfGroups,
                                            ini().DigitsInGroup);
    const QString text = who.name.isEmpty() ? mark : who.name + QLatin1Char(' ') + mark;
    if (windows_.calls) windows_.calls->AddItem(shown, text, who.status, lineLabel(line), when);
    CountCaller(CallCount + 1);
    if (FileError error; !WriteLog(ini().LogFile, shown + QLatin1Char(' ') + text, when, &error))
        showErrorOnce(error.message);
}

void TRusCID::shareCall(const QString& number, const QString& name) {
    // A call from the server goes no further: the server has it already.
    if (ncid_ && !remoteCall_) ncid_->sendCall(now(), number, name);
}

QString TRusCID::networkState() const {
    return ncid_ ? ncid_->stateText() : tr("выключено");
}

}  // namespace zrk
