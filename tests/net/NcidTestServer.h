#pragma once
// A small NCID server for tests, on 127.0.0.1: it greets each connection with "200 ", sends
// its call log and "300 ", takes CALL lines from gateways and hands each to every client as
// a CID line. Tests can also make it silent, send raw bytes, or stop and start it again on
// the same port.
#include <QDateTime>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace zrktest {

class NcidTestServer : public QObject {
public:
    bool greet = true;
    QList<QByteArray> callLog;  // lines sent between the greeting and "300 "

    bool start(quint16 port = 0) {
        connect(&server_, &QTcpServer::newConnection, this, &NcidTestServer::accept,
                Qt::UniqueConnection);
        if (!server_.listen(QHostAddress::LocalHost, port)) return false;
        port_ = server_.serverPort();
        return true;
    }
    void stop() {
        server_.close();
        for (QTcpSocket* c : clients_)
            if (c) c->abort();
        clients_.clear();
    }
    quint16 port() const { return port_; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

    void sendToAll(const QByteArray& bytes) {
        for (QTcpSocket* c : clients_)
            if (c) c->write(bytes);
    }
    int clientCount() const {
        int n = 0;
        for (QTcpSocket* c : clients_) n += c && c->state() == QAbstractSocket::ConnectedState;
        return n;
    }
    bool waitForClients(int n, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return clientCount() >= n; }, timeoutMs);
    }
    // The CALL lines received, in order, without their line ends.
    const QList<QByteArray>& calls() const { return calls_; }
    bool waitForCalls(qsizetype n, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return calls_.size() >= n; }, timeoutMs);
    }
    qint64 lastCallAtMs = 0;  // QDateTime::currentMSecsSinceEpoch() when the last CALL came

    // "CALL: ###DATE<mmddhhmm>...LINE<l>...NMBR<n>...NAME<name>+++" as the server's CID line.
    static QByteArray cidFor(const QByteArray& call) {
        const auto field = [&](const QByteArray& key) {
            const qsizetype at = call.indexOf(key) + key.size();
            const qsizetype end = call.indexOf(key == "...NAME" ? "+++" : "...", at);
            return call.mid(at, end - at);
        };
        const QByteArray date = field("###DATE");
        return "CID: *DATE*" + date.left(4) + QByteArray::number(QDate::currentDate().year()) +
               "*TIME*" + date.mid(4, 4) + "*LINE*" + field("...LINE") + "*NMBR*" +
               field("...NMBR") + "*MESG*NONE*NAME*" + field("...NAME") + "*\r\n";
    }

private:
    void accept() {
        while (QTcpSocket* c = server_.nextPendingConnection()) {
            clients_.append(c);
            connect(c, &QTcpSocket::readyRead, this, [this, c] { read(c); });
            if (!greet) continue;
            c->write("200 Test NCID server\r\n");
            for (const QByteArray& line : callLog) c->write(line + "\r\n");
            c->write("300 End of connection startup\r\n");
        }
    }
    void read(QTcpSocket* c) {
        while (c->canReadLine()) {
            QByteArray line = c->readLine();
            while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
            if (!line.startsWith("CALL: ")) continue;
            calls_.append(line);
            lastCallAtMs = QDateTime::currentMSecsSinceEpoch();
            sendToAll(cidFor(line));
        }
    }

    QTcpServer server_;
    quint16 port_ = 0;
    QList<QPointer<QTcpSocket>> clients_;
    QList<QByteArray> calls_;
};

}  // namespace zrktest
