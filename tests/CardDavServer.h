#pragma once
// A real CardDAV server for tests: Debian's radicale (user alice, password secret, an address
// book "Office" at /alice/book/) or xandikos (no authentication, /user/contacts/addressbook/),
// on 127.0.0.1 and a free port, with its storage in a temporary folder. stop() and start()
// again keep the storage and the port, as a server that went away for a while.
//
// putCard(), deleteCard() and cards() act as another client (a phone) writing directly.
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace zrktest {

class CardDavServer {
public:
    enum class Kind { Radicale, Xandikos };

    explicit CardDavServer(Kind kind = Kind::Radicale) : kind_(kind) {}
    ~CardDavServer() { stop(); }

    QString program() const {
        return kind_ == Kind::Radicale ? QStringLiteral("/usr/bin/radicale")
                                       : QStringLiteral("/usr/bin/xandikos");
    }
    // Why the server cannot run here, for QSKIP; empty when it can.
    QString missing() const {
        return QFile::exists(program()) ? QString()
                                        : program() + QStringLiteral(" is not installed");
    }

    bool start(int timeoutMs = 20000) {
        if (port_ == 0 && !prepare()) return false;
        proc_.setProcessChannelMode(QProcess::MergedChannels);  // said only if it fails
        const QString dir = storage_.path();
        if (kind_ == Kind::Radicale)
            proc_.start(program(), {QStringLiteral("--config"), dir + QStringLiteral("/config")});
        else
            proc_.start(program(), {QStringLiteral("-d"), dir + QStringLiteral("/x"),
                                    QStringLiteral("--defaults"), QStringLiteral("-l"),
                                    QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                                    QString::number(port_)});
        if (!proc_.waitForStarted(timeoutMs)) return false;
        const bool up = QTest::qWaitFor(
                            [this] {
                                if (proc_.state() != QProcess::Running) return true;
                                QTcpSocket probe;
                                probe.connectToHost(QStringLiteral("127.0.0.1"), port_);
                                return probe.waitForConnected(200);
                            },
                            timeoutMs) &&
                        proc_.state() == QProcess::Running;
        if (!up) qWarning("%s", proc_.readAll().constData());
        return up;
    }
    void stop() {
        if (proc_.state() == QProcess::NotRunning) return;
        proc_.closeReadChannel(QProcess::StandardOutput);
        proc_.terminate();
        if (!proc_.waitForFinished(5000)) proc_.kill();
        proc_.waitForFinished(2000);
    }

    quint16 port() const { return port_; }
    QUrl serverUrl() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port_)); }
    QString bookPath() const {
        return kind_ == Kind::Radicale ? QStringLiteral("/alice/book/")
                                       : QStringLiteral("/user/contacts/addressbook/");
    }
    QUrl bookUrl() const { return serverUrl().resolved(QUrl(bookPath())); }
    QString bookName() const {
        return kind_ == Kind::Radicale ? QStringLiteral("Office") : QStringLiteral("addressbook");
    }
    QString user() const { return kind_ == Kind::Radicale ? QStringLiteral("alice") : QString(); }
    QString password() const {
        return kind_ == Kind::Radicale ? QStringLiteral("secret") : QString();
    }

    // Writes `name`.vcf as another client would; returns the server's etag (empty on failure).
    QByteArray putCard(const QString& name, const QByteArray& vcard) {
        QNetworkReply* r = net_.put(request(name + QStringLiteral(".vcf"), "text/vcard"), vcard);
        return finish(r) / 100 == 2 ? r->rawHeader("ETag") : QByteArray();
    }
    bool deleteCard(const QString& name) {
        return finish(net_.deleteResource(request(name + QStringLiteral(".vcf")))) / 100 == 2;
    }
    // Every card of the address book: href (as the server wrote it) -> vCard text.
    QMap<QString, QByteArray> cards() {
        QNetworkReply* list = net_.sendCustomRequest(
            request({}, "application/xml", "1"), "PROPFIND",
            "<?xml version=\"1.0\"?><propfind xmlns=\"DAV:\"><prop><getetag/></prop></propfind>");
        finish(list);
        QMap<QString, QByteArray> out;
        static const QRegularExpression href(QStringLiteral("href>([^<]+\\.vcf)</"));
        for (const auto& m : href.globalMatch(QString::fromUtf8(list->readAll()))) {
            QNetworkRequest get(serverUrl().resolved(QUrl(m.captured(1))));
            authorize(get);
            QNetworkReply* r = net_.get(get);
            finish(r);
            out.insert(m.captured(1), r->readAll());
        }
        return out;
    }

private:
    bool prepare() {
        QTcpServer probe;  // a port nobody uses now
        if (!storage_.isValid() || !probe.listen(QHostAddress::LocalHost)) return false;
        port_ = probe.serverPort();
        if (kind_ == Kind::Xandikos) return true;
        const QString dir = storage_.path();
        const QString book = dir + QStringLiteral("/collections/collection-root/alice/book");
        return QDir().mkpath(book) &&
               write(book + QStringLiteral("/.Radicale.props"),
                     R"({"tag": "VADDRESSBOOK", "D:displayname": "Office"})") &&
               write(dir + QStringLiteral("/users"), "alice:secret\n") &&
               write(dir + QStringLiteral("/config"),
                     QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\n"
                                    "htpasswd_filename = %2/users\nhtpasswd_encryption = plain\n"
                                    "[storage]\nfilesystem_folder = %2/collections\n"
                                    "[logging]\nlevel = warning\n")
                         .arg(port_)
                         .arg(dir)
                         .toUtf8());
    }
    static bool write(const QString& path, const QByteArray& data) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
    }
    void authorize(QNetworkRequest& r) const {
        if (!user().isEmpty())
            r.setRawHeader("Authorization",
                           "Basic " + (user() + u':' + password()).toUtf8().toBase64());
    }
    QNetworkRequest request(const QString& name, const QByteArray& type = {},
                            const QByteArray& depth = {}) const {
        QNetworkRequest r(bookUrl().resolved(QUrl(name)));
        authorize(r);
        if (!type.isEmpty()) r.setHeader(QNetworkRequest::ContentTypeHeader, type);
        if (!depth.isEmpty()) r.setRawHeader("Depth", depth);
        return r;
    }
    // Waits for the reply (kept for reading, freed with the manager); its HTTP status.
    int finish(QNetworkReply* r) {
        if (!r->isFinished()) {
            QEventLoop loop;
            QObject::connect(r, &QNetworkReply::finished, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

    Kind kind_;
    QTemporaryDir storage_;
    QProcess proc_;
    QNetworkAccessManager net_;
    quint16 port_ = 0;
};

}  // namespace zrktest
