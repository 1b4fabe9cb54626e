#include "core/net/NcidLink.h"

#include "core/platform/SafeFile.h"

#include <QFile>
#include <QTcpSocket>
#include <QTimer>

namespace zrk {
namespace {

QString socketReason(QTcpSocket& s) {
    static const std::pair<QAbstractSocket::SocketError, const char*> kReasons[] = {
        {QAbstractSocket::ConnectionRefusedError,
         QT_TRANSLATE_NOOP("zrk::NcidLink", "сервер не принимает соединения")},
        {QAbstractSocket::RemoteHostClosedError,
         QT_TRANSLATE_NOOP("zrk::NcidLink", "сервер закрыл соединение")},
        {QAbstractSocket::HostNotFoundError,
         QT_TRANSLATE_NOOP("zrk::NcidLink", "сервер не найден")},
        {QAbstractSocket::SocketTimeoutError,
         QT_TRANSLATE_NOOP("zrk::NcidLink", "сервер не отвечает")},
        {QAbstractSocket::NetworkError, QT_TRANSLATE_NOOP("zrk::NcidLink", "сеть недоступна")}};
    for (const auto& [error, reason] : kReasons)
        if (s.error() == error) return NcidLink::tr(reason);
    return s.errorString();
}

}  // namespace

NcidLink::NcidLink(QObject* parent) : QObject(parent) {
    const auto oneShot = [this](auto slot) {
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, slot);
        return timer;
    };
    retry_ = oneShot(&NcidLink::connectNow);
    greetingTimer_ = oneShot([this] {
        lose(socket_ && socket_->state() == QAbstractSocket::ConnectedState
                 ? tr("сервер не прислал приветствие")
                 : tr("сервер не отвечает"));
    });
    ackTimer_ = oneShot([this] {
        if (ack_ == Ack::Asked) {  // a server that does not acknowledge: paced lines
            ack_ = Ack::No;
            flush();
        } else if (queue_.inFlight()) {
            // The call may never have reached the server: it goes again on a new link.
            lose(tr("сервер не подтвердил звонок"));
        }
    });
    paceTimer_ = oneShot(&NcidLink::flush);
    saveTimer_ = oneShot(&NcidLink::saveQueueLater);
    connect(&saver_, &BackgroundSave::failed, this, [this] { queueSaved(false); });
    saveTimer_->setInterval(500);
    clock_.start();
}

NcidLink::~NcidLink() {
    if (socket_) socket_->abort();
    if (saveTimer_->isActive()) saveQueue();
}

void NcidLink::setAckTimings(int replyMs, int ackMs, int pauseMs) {
    ackReply_ = replyMs;
    ackWait_ = ackMs;
    linePause_ = pauseMs;
}

void NcidLink::setQueueFile(const QString& path) {
    queueFile_ = path;
    QFile f(path);
    if (!f.exists()) return;
    if (!f.open(QIODevice::ReadOnly)) {
        // Never written over: the calls in it may still be read once the fault is mended.
        emit fileError(tr("Ошибка чтения %1!").arg(path));
        queueFile_.clear();
        return;
    }
    const ncid::QueueFileContent content = ncid::parseQueueFile(f.readAll());
    f.close();
    for (const QByteArray& line : content.lines) queue_.append(line);
    if (!content.damaged) return;
    const QString aside = moveAsideAsDamaged(path);
    if (aside.isEmpty())
        queueFile_.clear();  // never written over: what could not be read is still in it
    else
        saveQueue();
    emit fileError(
        tr("Файл очереди звонков для сервера NCID %1 повреждён. ").arg(path) +
        (aside.isEmpty() ? QString() : tr("Он сохранён как %1. ").arg(aside)) +
        tr("Прочитано звонков: %n, они будут отправлены.", nullptr, int(content.lines.size())));
}

void NcidLink::saveQueue() {
    saveTimer_->stop();
    if (saver_.finish()) queueSaved(false);
    if (queueFile_.isEmpty()) return;
    if (queue_.size() == 0 && !QFile::exists(queueFile_)) return;
    queueSaved(replaceFileAtomically(queueFile_, ncid::queueFileText(queue_.lines())));
}

void NcidLink::saveQueueLater() {
    if (queueFile_.isEmpty()) return;
    saver_.schedule([file = queueFile_, text = ncid::queueFileText(queue_.lines())](FileError* error) {
        return replaceFileAtomically(file, text, error);
    });
}

void NcidLink::queueSaved(bool ok) {
    if (ok) {
        saveFailed_ = false;
    } else if (!saveFailed_) {
        saveFailed_ = true;  // said once: every later call would say it again
        emit fileError(tr("Ошибка записи %1!").arg(queueFile_));
    }
}

void NcidLink::setTimings(int firstPauseMs, int maxPauseMs, int greetingTimeoutMs) {
    firstPause_ = firstPauseMs;
    maxPause_ = maxPauseMs;
    greetingTimeout_ = greetingTimeoutMs;
    pause_ = ncid::ReconnectPause(firstPause_, maxPause_);
}

bool NcidLink::wanted() const {
    return !config_.server.trimmed().isEmpty() && (config_.send || config_.receive);
}

void NcidLink::configure(const NcidConfig& config) {
    const bool same = config.server == config_.server && config.send == config_.send &&
                      config.receive == config_.receive && config.label == config_.label;
    if (same && state_ != State::Off) return;  // an untouched options dialog keeps the link
    stop();
    config_ = config;
    pause_ = ncid::ReconnectPause(firstPause_, maxPause_);
    if (wanted()) connectNow();
}

void NcidLink::dropConnection() {
    greetingTimer_->stop();
    ackTimer_->stop();
    paceTimer_->stop();
    ready_ = false;
    refusal_.clear();
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
    }
    queue_.lost();
    reader_.clear();
}

void NcidLink::stop() {
    retry_->stop();
    if (saveTimer_->isActive())
        saveQueue();
    else if (saver_.finish())
        queueSaved(false);
    dropConnection();
    greeted_ = false;
    setState(State::Off);
}

void NcidLink::connectNow() {
    if (!wanted()) return;
    const auto address = ncid::parseServerAddress(config_.server);
    if (!address) {
        setState(State::Down, tr("неверный адрес сервера"));
        return;  // trying again would not help: the settings must change
    }
    auto* s = new QTcpSocket(this);
    socket_ = s;
    connect(s, &QTcpSocket::connected, this, &NcidLink::onConnected);
    connect(s, &QTcpSocket::readyRead, this, &NcidLink::onReadyRead);
    connect(s, &QTcpSocket::bytesWritten, this, [this, s] {
        // Without acknowledgements a call is the server's once it is written, and the next
        // one waits a moment so that the server reads it by itself.
        if (ack_ == Ack::No && queue_.inFlight() && s->bytesToWrite() == 0) {
            delivered();
            paceTimer_->start(linePause_);
        }
    });
    connect(s, &QTcpSocket::errorOccurred, this, [this, s] { lose(socketReason(*s)); });
    connect(s, &QTcpSocket::disconnected, this, [this] { lose(tr("сервер закрыл соединение")); });
    setState(State::Connecting);
    greetingTimer_->start(greetingTimeout_);  // the connection and the greeting together
    s->connectToHost(address->host, address->port);
}

void NcidLink::onConnected() {
    // A server that vanished without a word is noticed eventually, not never.
    socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
}

void NcidLink::onReadyRead() {
    // Lines may end the link (a server that is not one): stop reading once it is gone.
    const QPointer<QTcpSocket> s = socket_;
    while (s && s == socket_ && s->bytesAvailable() > 0)
        reader_.feed(s->read(64 * 1024), [this](const QByteArray& line) { onLine(line); });
}

void NcidLink::onLine(const QByteArray& raw) {
    const ncid::ServerLine line = ncid::parseServerLine(raw);
    if (!greeted_) {
        if (line.kind != ncid::ServerLine::Greeting) return;  // noise before the greeting
        greeted_ = true;
        return;
    }
    if (!ready_) {
        // A server that turns us away says why in a message and closes before its "300 ".
        if (raw.startsWith("MSG: ")) refusal_ = QString::fromUtf8(raw.mid(5)).trimmed();
        // Before "300 " come the server's call log and messages.
        if (line.kind == ncid::ServerLine::LogCall) replay_.append(line);
        if (line.kind != ncid::ServerLine::LogEnd) return;
        takeReplay();
        ready_ = true;
        greetingTimer_->stop();
        upSince_.start();
        setState(State::Connected);
        ack_ = Ack::No;
        if (config_.send) {
            socket_->write("REQ: ACK\r\n");
            ack_ = Ack::Asked;
            ackTimer_->start(ackReply_);
        }
        flush();
        return;
    }
    switch (line.kind) {
        case ncid::ServerLine::Ack:
            onAck(line.acked);
            break;
        case ncid::ServerLine::Call:
            onCall(line);
            break;
        case ncid::ServerLine::Ring:
            if (config_.receive && line.ring > 0) emit ringReceived(line.ring);
            break;
        default:
            break;
    }
}

void NcidLink::onCall(const ncid::ServerLine& call) {
    noteSeen(call);
    if (!config_.receive) return;
    // Our own calls come back to us.
    // The line the server has just taken, as far as we know: on its way (with
    // acknowledgements) or written a moment ago (without).
    const bool awaiting = ack_ == Ack::Yes ? queue_.inFlight()
                                           : clock_.elapsed() - lastWrittenAt_ < kEchoWaitMs;
    if (config_.send &&
        sent_.takeEcho(call, clock_.elapsed(), awaiting ? lastWritten_ : QByteArray())) {
        return;
    }
    if (call.blocked)
        emit callBlocked(call.number, call.name, call.line);
    else
        emit callReceived(call.number, call.name, call.line);
}

void NcidLink::takeReplay() {
    const QList<ncid::ServerLine> replay = std::exchange(replay_, {});
    bool taken = false;
    for (const ncid::ServerLine& call : replay) {
        // A call the server took though its acknowledgement never came (a stalled server, a
        // program killed just after sending) is in its log: sent again it would be there
        // twice, and on every desk.
        const bool waiting = config_.send && queue_.removeFirst([&](const QByteArray& l) {
            return ncid::sameCall(l, call);
        });
        taken = taken || waiting;
        // The first connection's log is history; a later one's holds the calls that came
        // while this desk had no link.
        const bool missed = everReady_ && config_.receive && !waiting && !seenAlready(call) &&
                            !sent_.sentEarlier(call);
        noteSeen(call);
        if (!missed) continue;
        emit callWhileAway(
            call.number, call.name, call.line,
            QDateTime::fromString(ncid::callMinute(call), QStringLiteral("yyyyMMddHHmm")),
            call.blocked);
    }
    everReady_ = true;
    if (taken) saveQueue();
}

void NcidLink::noteSeen(const ncid::ServerLine& call) {
    const QString minute = ncid::callMinute(call);
    if (minute.isEmpty() || minute < lastSeen_) return;
    if (minute > lastSeen_) {
        lastSeen_ = minute;
        seenAtLast_.clear();
    }
    seenAtLast_.insert(ncid::numberKey(call.number));
}

bool NcidLink::seenAlready(const ncid::ServerLine& call) const {
    const QString minute = ncid::callMinute(call);
    if (minute.isEmpty()) return true;  // no time to tell it by: never shown twice
    return minute < lastSeen_ ||
           (minute == lastSeen_ && seenAtLast_.contains(ncid::numberKey(call.number)));
}

void NcidLink::onAck(const QByteArray& acked) {
    if (acked.startsWith("REQ: ACK")) {
        if (ack_ != Ack::Asked) return;
        ack_ = Ack::Yes;
        ackTimer_->stop();
        flush();
    } else if (acked.startsWith("CALL:") && ack_ == Ack::Yes && queue_.inFlight()) {
        delivered();
        flush();
    }
}

void NcidLink::delivered() {
    ackTimer_->stop();
    queue_.delivered();
    if (!saveTimer_->isActive()) saveTimer_->start();
}

void NcidLink::lose(const QString& reason) {
    const qint64 upFor = ready_ ? upSince_.elapsed() : -1;
    const QString refusal = greeted_ && !ready_ ? refusal_ : QString();
    dropConnection();
    greeted_ = false;
    setState(State::Down, refusal.isEmpty() ? reason : tr("сервер отказал: %1").arg(refusal));
    if (wanted()) retry_->start(pause_.afterLoss(upFor));
}

void NcidLink::sendCall(const QDateTime& when, const QString& number, const QString& name) {
    if (!config_.send || !wanted()) return;
    if (!queue_.append(ncid::callLine(when, config_.label, number, name))) {
        ++droppedCalls_;
        setState(state_, reason_);
        emit callsDropped(droppedCalls_);
    }
    // On its way first, then on disk at once (the program may end before the server has
    // it): the line stays in the queue, and so in the file, until the server acknowledges it,
    // and the call need not wait for the disk.
    flush();
    saveQueue();
}

void NcidLink::flush() {
    if (!ready_ || !socket_ || ack_ == Ack::Asked || paceTimer_->isActive()) return;
    const QByteArray line = queue_.takeNext();
    if (line.isEmpty()) return;
    sent_.remember(line, clock_.elapsed());
    lastWritten_ = line;
    lastWrittenAt_ = clock_.elapsed();
    socket_->write(line + "\r\n");
    socket_->flush();  // now, not after whatever this turn of the event loop does next
    if (ack_ == Ack::Yes) ackTimer_->start(ackWait_);
}

void NcidLink::setState(State s, const QString& reason) {
    const QString before = stateText();
    state_ = s;
    reason_ = reason;
    if (stateText() != before) emit stateChanged(stateText());
}

QString NcidLink::stateText() const {
    static const char* const kTexts[] = {QT_TR_NOOP("выключено"), QT_TR_NOOP("подключение..."),
                                         QT_TR_NOOP("подключено")};
    const QString state =
        state_ == State::Down ? tr("нет связи: %1").arg(reason_) : tr(kTexts[int(state_)]);
    if (droppedCalls_ == 0) return state;
    return state + tr("; очередь была полна, старых звонков не отправлено: %n", nullptr,
                      droppedCalls_);
}

}  // namespace zrk
