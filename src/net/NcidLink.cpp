#include "net/NcidLink.h"

#include <QTcpSocket>
#include <QTimer>

namespace zrk {
namespace {

QString socketReason(QTcpSocket& s) {
    switch (s.error()) {
        case QAbstractSocket::ConnectionRefusedError:
            return QStringLiteral("сервер не принимает соединения");
        case QAbstractSocket::RemoteHostClosedError:
            return QStringLiteral("сервер закрыл соединение");
        case QAbstractSocket::HostNotFoundError:
            return QStringLiteral("сервер не найден");
        case QAbstractSocket::SocketTimeoutError:
            return QStringLiteral("сервер не отвечает");
        case QAbstractSocket::NetworkError:
            return QStringLiteral("сеть недоступна");
        default:
            return s.errorString();
    }
}

// The value after `key` in a CALL line ("...LINE-...NMBR123..." -> "-" for "...LINE").
QString callField(const QByteArray& line, const QByteArray& key) {
    const qsizetype at = line.indexOf(key);
    if (at < 0) return {};
    const qsizetype from = at + key.size();
    const qsizetype end = line.indexOf("...", from);
    return QString::fromUtf8(line.mid(from, end < 0 ? -1 : end - from));
}

}  // namespace

NcidLink::NcidLink(QObject* parent) : QObject(parent) {
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, &NcidLink::connectNow);
    greetingTimer_ = new QTimer(this);
    greetingTimer_->setSingleShot(true);
    connect(greetingTimer_, &QTimer::timeout, this, [this] {
        lose(socket_ && socket_->state() == QAbstractSocket::ConnectedState
                 ? QStringLiteral("сервер не прислал приветствие")
                 : QStringLiteral("сервер не отвечает"));
    });
    clock_.start();
}

NcidLink::~NcidLink() {
    if (socket_) socket_->abort();
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
    dropConnection();
    greeted_ = false;
    setState(State::Off);
}

void NcidLink::connectNow() {
    if (!wanted()) return;
    const auto address = ncid::parseServerAddress(config_.server);
    if (!address) {
        setState(State::Down, QStringLiteral("неверный адрес сервера"));
        return;  // trying again would not help: the settings must change
    }
    auto* s = new QTcpSocket(this);
    socket_ = s;
    connect(s, &QTcpSocket::connected, this, &NcidLink::onConnected);
    connect(s, &QTcpSocket::readyRead, this, &NcidLink::onReadyRead);
    connect(s, &QTcpSocket::bytesWritten, this, [this](qint64 n) { queue_.written(n); });
    connect(s, &QTcpSocket::errorOccurred, this, [this, s] { lose(socketReason(*s)); });
    connect(s, &QTcpSocket::disconnected, this,
            [this] { lose(QStringLiteral("сервер закрыл соединение")); });
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
        inLog_ = true;
        greetingTimer_->stop();
        upSince_.start();
        setState(State::Connected);
        flush();
        return;
    }
    switch (line.kind) {
        case ncid::ServerLine::LogEnd:
            inLog_ = false;
            break;
        case ncid::ServerLine::Call:
            // The greeting's call log is history, and our own calls come back to us.
            if (inLog_ || !config_.receive) break;
            if (config_.send &&
                sent_.takeEcho(line.line, ncid::wireNumber(line.number), clock_.elapsed()))
                break;
            emit callReceived(line.number, line.name, line.line);
            break;
        case ncid::ServerLine::Ring:
            if (!inLog_ && config_.receive && line.ring > 0) emit ringReceived(line.ring);
            break;
        default:
            break;
    }
}

void NcidLink::lose(const QString& reason) {
    dropConnection();
    const qint64 upFor = greeted_ ? upSince_.elapsed() : -1;
    greeted_ = false;
    setState(State::Down, reason);
    if (wanted()) retry_->start(pause_.afterLoss(upFor));
}

void NcidLink::sendCall(const QDateTime& when, const QString& number, const QString& name) {
    if (!config_.send || !wanted()) return;
    queue_.append(ncid::callLine(when, config_.label, number, name));
    flush();
}

void NcidLink::flush() {
    if (!greeted_ || !socket_) return;
    for (const QByteArray& line : queue_.takeToSend()) {
        sent_.remember(callField(line, "...LINE"), callField(line, "...NMBR"), clock_.elapsed());
        socket_->write(line + "\r\n");
    }
}

void NcidLink::setState(State s, const QString& reason) {
    if (s == state_ && reason == reason_) return;
    state_ = s;
    reason_ = reason;
    emit stateChanged(stateText());
}

QString NcidLink::stateText() const {
    switch (state_) {
        case State::Off:
            return QStringLiteral("выключено");
        case State::Connecting:
            return QStringLiteral("подключение...");
        case State::Connected:
            return QStringLiteral("подключено");
        case State::Down:
            break;
    }
    return QStringLiteral("нет связи: ") + reason_;
}

}  // namespace zrk
