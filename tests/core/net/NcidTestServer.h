#pragma once
// A small NCID server for tests, on 127.0.0.1, as unforgiving as a real one where a client can
// tell: it reads a client's socket once per wake-up (up to 8 KB) and takes only the bytes up
// to the first line end of that read, the rest is gone; it greets with "200 ", its optional
// lines, its call log and "300 "; it answers "REQ: ACK" and then acknowledges each line it
// takes ("ACK: CALL: ..."); it takes LINE and NMBR up to the first '.', NAME up to the first
// '+', cuts each to 49 bytes, puts its own line name in place of a one-character LINE and
// renames by its alias table; a one-character number becomes NO NUMBER; it hands each call to
// every client as a CID line, or as a HUP line for a number it blocks; it logs each call and
// replays its log to every client that connects (CIDLOG, HUPLOG). Tests can also switch
// acknowledgements off or withhold them, make it turn clients away, stop reading a client, make
// it silent, send raw bytes, or stop and start it again on the same port. NcidStockClient
// reads as the stock client does, and exits where it does.
#include <QDateTime>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace zrktest {

class NcidTestServer : public QObject {
public:
    bool greet = true;
    bool ack = true;      // answers "REQ: ACK"; off: a server that ignores it
    bool refuse = false;  // "too many clients": 200, 210, 251, MSG and closed, no "300 "
    bool withholdAcks = false;  // takes calls but never acknowledges them: a stalled server
    QByteArray lineId;    // replaces a one-character LINE; empty: kept
    QMap<QByteArray, QByteArray> aliases;  // the alias file: number or name -> another
    QList<QByteArray> blocked;             // numbers it hangs up on
    // Lines between "200 " and "300 ": the optional ones a real server sends; its log (as
    // written: "CID: ..." and "HUP: ...", replayed as CIDLOG and HUPLOG) comes after the first.
    QList<QByteArray> greetingLines = {"210 API: 1.4 Feature Set 1 2 3 4", "250 End of call log",
                                       "OPT: hangup-1"};
    QList<QByteArray> callLog;

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
            if (c && c->state() == QAbstractSocket::ConnectedState) c->write(bytes);
    }
    // A ring its own modem heard without caller ID.
    void sendRing() {
        sendToAll("CID: *DATE*" + QDate::currentDate().toString("MMddyyyy").toLatin1() + "*TIME*" +
                  QTime::currentTime().toString("HHmm").toLatin1() + "*LINE*" +
                  (lineId.isEmpty() ? QByteArray("-") : lineId) +
                  "*NMBR*RING*MESG*NONE*NAME*No Caller ID*\r\n");
    }
    // The connections now open are read no more, as by a server that hangs: half open.
    void stopReadingClients() {
        for (QTcpSocket* c : clients_)
            if (c) deaf_.append(c);
    }
    int clientCount() const {
        int n = 0;
        for (QTcpSocket* c : clients_) n += c && c->state() == QAbstractSocket::ConnectedState;
        return n;
    }
    int connections() const { return connections_; }
    bool waitForClients(int n, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return clientCount() >= n; }, timeoutMs);
    }
    // The CALL lines taken, in order, as the server took them.
    const QList<QByteArray>& calls() const { return calls_; }
    // The settings' "Network" key that points a program at this server.
    QByteArray settingsKey() const {
        return "\n[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Network]\n\"NCID Server\"=\"" +
               address().toUtf8() + "\"\n";
    }
    bool waitForCalls(qsizetype n, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return calls_.size() >= n; }, timeoutMs);
    }
    // Bytes that came with a line in the same read and were dropped.
    qint64 droppedBytes() const { return dropped_; }
    qint64 lastCallAtMs = 0;  // QDateTime::currentMSecsSinceEpoch() when the last CALL came

    // A field of a CALL line as the server keeps it.
    static QByteArray field(const QByteArray& call, const QByteArray& key, char end) {
        const qsizetype found = call.indexOf(key);
        if (found < 0) return {};
        const qsizetype at = found + key.size();
        qsizetype stop = call.indexOf(end, at);
        if (stop < 0) stop = call.size();
        return call.mid(at, stop - at).left(49);
    }
    // "CALL: ###DATE<mmddhhmm>...LINE<l>...NMBR<n>...NAME<name>+++" as its CID line.
    QByteArray cidFor(const QByteArray& call) const {
        const QByteArray date = field(call, "###DATE", '.');
        QByteArray line = field(call, "...LINE", '.');
        if (line.size() == 1 && !lineId.isEmpty()) line = lineId;
        QByteArray number = aliases.value(field(call, "...NMBR", '.'), field(call, "...NMBR", '.'));
        if (number.size() == 1) number = "NO NUMBER";
        const QByteArray name =
            aliases.value(field(call, "...NAME", '+'), field(call, "...NAME", '+'));
        return (blocked.contains(number) ? "HUP: *DATE*" : "CID: *DATE*") + date.left(4) +
               QByteArray::number(QDate::currentDate().year()) +
               "*TIME*" + date.mid(4, 4) + "*LINE*" + aliases.value(line, line) + "*NMBR*" +
               number + "*MESG*NONE*NAME*" + name + "*\r\n";
    }

private:
    void accept() {
        while (QTcpSocket* c = server_.nextPendingConnection()) {
            ++connections_;
            clients_.append(c);
            connect(c, &QTcpSocket::readyRead, this, [this, c] { read(c); });
            if (!greet) continue;
            c->write("200 NCID Server: ncidd (NCID) 1.0\r\n");
            if (refuse) {
                c->write(
                    "210 API: 1.4 Feature Set 1 2 3 4\r\n251 Too many clients\r\n"
                    "MSG: Too many clients connected\r\n");
                c->disconnectFromHost();
                continue;
            }
            for (qsizetype i = 0; i < greetingLines.size(); ++i) {
                c->write(greetingLines[i] + "\r\n");
                if (i > 0) continue;
                for (QByteArray line : callLog) {
                    if (line.startsWith("CID:") || line.startsWith("HUP:"))
                        line.insert(3, "LOG");
                    c->write(line + "\r\n");
                }
            }
            c->write("300 End of server startup\r\n");
        }
    }
    void read(QTcpSocket* c) {
        if (deaf_.contains(c)) return;
        const QByteArray got = c->read(8192);  // one read per wake-up
        qsizetype end = got.indexOf('\r');
        if (end < 0) end = got.indexOf('\n');
        if (end < 0) end = got.size();
        QByteArray line = got.left(end);
        qsizetype rest = end + 1;
        if (got.mid(end, 2) == "\r\n") ++rest;
        dropped_ += qMax<qsizetype>(0, got.size() - rest);
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        if (line.startsWith("REQ: ACK")) {
            if (ack) {
                acking_.append(c);
                c->write("ACK: " + line + "\r\n");
            }
            return;
        }
        if (!line.startsWith("CALL: ")) return;
        calls_.append(line);
        lastCallAtMs = QDateTime::currentMSecsSinceEpoch();
        const QByteArray cid = cidFor(line);
        callLog.append(cid.trimmed());
        sendToAll(cid);
        if (acking_.contains(c) && !withholdAcks) c->write("ACK: " + line + "\r\n");
    }

    QTcpServer server_;
    quint16 port_ = 0;
    QList<QPointer<QTcpSocket>> clients_, acking_, deaf_;
    QList<QByteArray> calls_;
    qint64 dropped_ = 0;
    int connections_ = 0;
};

// A client that reads the server's lines as the stock NCID client does, where it matters
// here: a LINE with a blank in it makes it exit ("list must have an even number of
// elements"), and it does not come back.
class NcidStockClient : public QObject {
public:
    bool exited = false;
    QList<QByteArray> lines;  // the CID and HUP lines it read

    void connectTo(quint16 port) {
        connect(&socket_, &QTcpSocket::readyRead, this, [this] {
            while (!exited && socket_.canReadLine()) take(socket_.readLine().trimmed());
        });
        socket_.connectToHost(QHostAddress::LocalHost, port);
    }

private:
    void take(const QByteArray& line) {
        if (!line.startsWith("CID:") && !line.startsWith("HUP:")) return;
        lines.append(line);
        if (NcidTestServer::field(line, "*LINE*", '*').contains(' ')) {
            exited = true;
            socket_.abort();
        }
    }
    QTcpSocket socket_;
};

}  // namespace zrktest
