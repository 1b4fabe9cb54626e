#include "core/net/DavClient.h"

#include "core/net/DavXml.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSet>
#include <QTimer>

namespace zrk::dav {

struct DavClient::Request {
    QByteArray method;
    QUrl url;
    QByteArray body;
    QByteArray depth;  // empty: no Depth header
    QList<std::pair<QByteArray, QByteArray>> headers;
};

struct DavClient::Reply {
    std::optional<Error> error;  // no HTTP answer (or a refused redirect)
    int status = 0;
    QByteArray body;
    QByteArray etag;
    QUrl url;  // where the answer came from, after redirects
};

namespace {

constexpr int kMaxRedirects = 5;

Error makeError(Error::Kind kind, QString text, int status = 0) {
    Error e;
    e.kind = kind;
    e.httpStatus = status;
    e.text = std::move(text);
    return e;
}

Error cancelledError() {
    return makeError(Error::Kind::Cancelled,
                     QCoreApplication::translate("zrk::DavClient", "Прервано"));
}

QString shown(const QUrl& url) {
    return url.toDisplayString(QUrl::RemoveUserInfo);
}

bool isLocalHost(const QString& host) {
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

bool sameServer(const QUrl& a, const QUrl& b) {
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(a.scheme() == u"https" ? 443 : 80) == b.port(b.scheme() == u"https" ? 443 : 80);
}

// One spelling of a path for every server: each segment decoded, then encoded again keeping only
// letters, digits, "-._~" and "@" (so "%7E", "~" and "%40", "@" all read alike).
QString canonicalPath(const QString& encoded) {
    QStringList segments = encoded.split(u'/');
    for (QString& s : segments)
        s = QString::fromLatin1(
            QUrl::toPercentEncoding(QUrl::fromPercentEncoding(s.toUtf8()), "@"));
    return segments.join(u'/');
}

QString withoutSlash(QString path) {
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return path;
}

// The answers that can only mean "this token is no longer good": RFC 6578 says 403 or 409 with
// valid-sync-token; some servers answer 400 or 412, and xandikos fails with 500.
bool refusesToken(int status) {
    return status == 400 || status == 403 || status == 409 || status == 412 || status == 500;
}

Error httpError(int status, const QUrl& url) {
    using K = Error::Kind;
    static const struct {
        int status;
        K kind;
        const char* text;
    } kKnown[] = {
        {401, K::Auth,
         QT_TRANSLATE_NOOP("zrk::DavClient", "Сервер %1 не принял имя пользователя или пароль")},
        {403, K::Auth, QT_TRANSLATE_NOOP("zrk::DavClient", "Сервер не дал доступа к %1")},
        {404, K::NotFound, QT_TRANSLATE_NOOP("zrk::DavClient", "На сервере нет %1")},
        {410, K::NotFound, QT_TRANSLATE_NOOP("zrk::DavClient", "На сервере нет %1")},
        {412, K::Precondition,
         QT_TRANSLATE_NOOP("zrk::DavClient", "Карточка %1 уже изменена на сервере")}};
    for (const auto& known : kKnown) {
        if (known.status == status)
            return makeError(
                known.kind,
                QCoreApplication::translate("zrk::DavClient", known.text).arg(shown(url)), status);
    }
    return makeError(
        K::Protocol,
        QCoreApplication::translate("zrk::DavClient", "Сервер ответил ошибкой %1 на запрос %2")
            .arg(status)
            .arg(shown(url)),
        status);
}

Error badAnswer(const QUrl& url, const QString& why) {
    return makeError(
        Error::Kind::Protocol,
        QCoreApplication::translate("zrk::DavClient", "Сервер прислал непонятный ответ на %1: %2")
            .arg(shown(url), why));
}

Error transportError(QNetworkReply& reply, bool cancelled) {
    using K = Error::Kind;
    if (cancelled) return cancelledError();
    switch (reply.error()) {
        case QNetworkReply::OperationCanceledError:  // the transfer timeout
            return makeError(
                K::Network,
                QCoreApplication::translate("zrk::DavClient", "Сервер адресной книги не отвечает"));
        case QNetworkReply::SslHandshakeFailedError:
            return makeError(
                K::Tls, QCoreApplication::translate(
                            "zrk::DavClient", "Защищённое соединение с сервером не установлено: %1")
                            .arg(reply.errorString()));
        default:
            return makeError(K::Network,
                             QCoreApplication::translate("zrk::DavClient",
                                                         "Нет связи с сервером адресной книги: %1")
                                 .arg(reply.errorString()));
    }
}

std::optional<Error> plainHttpError(const QUrl& url, bool allowed) {
    if (url.scheme() == u"https" ||
        (url.scheme() == u"http" && (allowed || isLocalHost(url.host()))))
        return std::nullopt;
    if (url.scheme() != u"http")
        return makeError(
            Error::Kind::Protocol,
            QCoreApplication::translate("zrk::DavClient", "Адрес %1 не начинается с https://")
                .arg(shown(url)));
    return makeError(
        Error::Kind::PlainHttp,
        QCoreApplication::translate("zrk::DavClient",
                                    "Адрес %1 без шифрования (http): пароль ушёл бы по "
                                    "сети открытым. Укажите адрес https://")
            .arg(shown(url)));
}

const QByteArray kXml = "application/xml; charset=utf-8";

}  // namespace

DavClient::DavClient(Account account, const std::atomic<bool>* cancel)
    : account_(std::move(account)), cancel_(cancel), net_(new QNetworkAccessManager) {
    // Until discovery says otherwise the account's URL is taken for the address book itself.
    book_ = account_.url;
    if (!book_.path().endsWith(u'/')) book_.setPath(book_.path() + u'/');
}

DavClient::~DavClient() = default;

DavClient::Reply DavClient::send(const Request& request) {
    const bool follow = request.method == "GET" || request.method == "PROPFIND";
    QUrl url = request.url;
    for (int hop = 0;; ++hop) {
        Reply out;
        out.url = url;
        if (auto e = plainHttpError(url, account_.allowPlainHttp)) {
            out.error = e;
            return out;
        }
        if (cancel_ && cancel_->load()) {
            out.error = cancelledError();
            return out;
        }
        QNetworkRequest q(url);
        // Redirects are followed here, not by Qt: the password must not go to another server.
        q.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
        q.setTransferTimeout(kTimeoutMs);
        q.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("Zrk Pro"));
        // Sent before the server asks: Qt's own authentication dance would repeat a wrong
        // password for ever.
        if (!account_.user.isEmpty() && sameServer(url, account_.url))
            q.setRawHeader(
                "Authorization",
                "Basic " + (account_.user + u':' + account_.password).toUtf8().toBase64());
        if (!request.depth.isEmpty()) q.setRawHeader("Depth", request.depth);
        if (!request.body.isEmpty() && request.method != "PUT")
            q.setRawHeader("Content-Type", kXml);
        for (const auto& [name, value] : request.headers) q.setRawHeader(name, value);

        std::unique_ptr<QNetworkReply> reply(
            net_->sendCustomRequest(q, request.method, request.body));
        bool cancelled = false;
        QEventLoop loop;
        QTimer poll;
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (cancel_ && cancel_->load() && !cancelled) {
                cancelled = true;
                reply->abort();
            }
        });
        poll.start(100);
        if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);

        out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (cancelled || out.status == 0) {
            out.error = transportError(*reply, cancelled);
            return out;
        }
        out.body = reply->readAll();
        out.etag = reply->rawHeader("ETag");
        const QUrl location = reply->header(QNetworkRequest::LocationHeader).toUrl();
        if (!follow || out.status < 300 || out.status > 399 || out.status == 304 ||
            location.isEmpty())
            return out;
        const QUrl next = url.resolved(location);
        if (hop == kMaxRedirects || (url.scheme() == u"https" && next.scheme() != u"https")) {
            out.error = makeError(
                Error::Kind::Protocol,
                QCoreApplication::translate("zrk::DavClient", "Сервер перенаправил %1 на %2")
                    .arg(shown(url), shown(next)),
                out.status);
            return out;
        }
        url = next;
    }
}

QString DavClient::hrefOf(const QString& serverHref, const QUrl& base) const {
    return canonicalPath(base.resolved(QUrl(serverHref)).path(QUrl::FullyEncoded));
}

QUrl DavClient::urlOf(const QString& href) const {
    QUrl url = book_;
    url.setPath(href, QUrl::StrictMode);
    return url;
}

QString DavClient::hrefFor(const QString& name) const {
    // Servers read "%2F" as a folder: a slash cannot be a name's, even encoded.
    const QString flat = QString(name).replace(u'/', u'_').replace(u'\\', u'_');
    return canonicalPath(book_.path(QUrl::FullyEncoded)) +
           QString::fromLatin1(QUrl::toPercentEncoding(flat, "@")) + QStringLiteral(".vcf");
}

DavClient::Request DavClient::propfind(const QUrl& url, const QByteArray& depth,
                                       const QByteArrayList& props) {
    return {"PROPFIND", url, propfindBody(props), depth, {}};
}

std::optional<Error> DavClient::query(const Request& request, Multistatus& m, QUrl& from) {
    const Reply reply = send(request);
    from = reply.url;
    if (reply.error) return reply.error;
    if (reply.status != 207) return httpError(reply.status, reply.url);
    m = parseMultistatus(reply.body);
    if (!m.error.isEmpty()) return badAnswer(reply.url, m.error);
    return std::nullopt;
}

std::optional<Error> DavClient::findBookAt(const QUrl& url, bool depth1, QString* principal) {
    Multistatus m;
    QUrl from;
    const QByteArrayList props = {"resourcetype", "displayname", "supported-report-set",
                                  "sync-token", "current-user-principal"};
    if (auto e = query(propfind(url, depth1 ? "1" : "0", props), m, from)) return e;
    for (const DavResponse& resp : m.responses) {
        if (principal && principal->isEmpty() && !resp.principal.isEmpty())
            *principal = hrefOf(resp.principal, from);
        if (!resp.addressBook) continue;
        book_ = from;
        book_.setPath(withoutSlash(hrefOf(resp.href, from)) + u'/', QUrl::StrictMode);
        book_.setQuery(QString());
        displayName_ = resp.displayName;
        canSync_ = resp.offersSync || !resp.syncToken.isEmpty();
        return std::nullopt;
    }
    return makeError(
        Error::Kind::NotAddressBook,
        QCoreApplication::translate("zrk::DavClient", "По адресу %1 нет адресной книги")
            .arg(shown(url)));
}

std::optional<Error> DavClient::discover() {
    if (auto e = plainHttpError(account_.url, account_.allowPlainHttp)) return e;
    QString principal;
    if (account_.url.path().size() > 1) {
        auto e = findBookAt(account_.url, false, &principal);
        if (!e) return e;
        if (e->kind != Error::Kind::NotAddressBook && e->kind != Error::Kind::NotFound) return e;
    }
    QUrl server = account_.url;
    server.setPath(QStringLiteral("/"));
    server.setQuery(QString());
    Multistatus m;
    for (const char* start : {"/.well-known/carddav", "/"}) {
        if (!principal.isEmpty()) break;
        QUrl from;
        const auto e = query(propfind(server.resolved(QUrl(QString::fromLatin1(start))), "0",
                                      {"current-user-principal"}),
                             m, from);
        // A server without the well-known address answers 404 or 405: ask its root then.
        if (e && e->kind != Error::Kind::NotFound && e->kind != Error::Kind::Protocol) return e;
        for (const DavResponse& resp : m.responses) {
            if (principal.isEmpty() && !resp.principal.isEmpty()) {
                principal = hrefOf(resp.principal, from);
                server = from;
            }
        }
    }
    const auto none = makeError(
        Error::Kind::NotAddressBook,
        QCoreApplication::translate("zrk::DavClient", "На сервере %1 не найдена адресная книга")
            .arg(shown(account_.url)));
    if (principal.isEmpty()) return none;
    QUrl home = server;
    home.setPath(principal, QUrl::StrictMode);
    QUrl from;
    if (auto e = query(propfind(home, "0", {"C:addressbook-home-set"}), m, from)) return e;
    for (const DavResponse& resp : m.responses) {
        // Without a home the principal's own collection is searched.
        if (!resp.home.isEmpty()) {
            home = from.resolved(QUrl(resp.home));
            break;
        }
    }
    const auto e = findBookAt(home, true, nullptr);
    if (e && e->kind == Error::Kind::NotAddressBook) return none;
    return e;
}

Result<Changes> DavClient::syncCollection(const QByteArray& token) {
    Result<Changes> out;
    QMap<QString, QByteArray> changed;
    QSet<QString> removed;
    QByteArray next = token;
    const QString bookPath = withoutSlash(canonicalPath(book_.path(QUrl::FullyEncoded)));
    for (int round = 0; round < kSyncRounds; ++round) {
        Multistatus m;
        QUrl from;
        out.error = query({"REPORT", book_, syncCollectionBody(next), "0", {}}, m, from);
        if (out.error && !next.isEmpty() && refusesToken(out.error->httpStatus))
            out.error = makeError(Error::Kind::TokenRejected,
                                  QCoreApplication::translate(
                                      "zrk::DavClient", "Сервер не принял метку синхронизации"),
                                  out.error->httpStatus);
        if (!out.error && m.syncToken.isEmpty())
            out.error = badAnswer(from, QStringLiteral("no sync-token"));
        if (out.error) return out;
        bool truncated = false;
        for (const DavResponse& resp : m.responses) {
            const QString href = hrefOf(resp.href, from);
            if (withoutSlash(href) == bookPath) {
                // 507 on the collection itself: more changes follow for the new token.
                truncated |= resp.status == 507;
            } else if (resp.status == 404 || resp.status == 410) {
                removed.insert(href);
                changed.remove(href);
            } else if (!resp.etag.isEmpty() && !resp.collection) {
                changed.insert(href, resp.etag);
                removed.remove(href);
            }
        }
        next = m.syncToken;
        if (truncated) continue;
        for (auto it = changed.cbegin(); it != changed.cend(); ++it)
            out.value.changed.append({it.key(), it.value(), {}});
        out.value.removed = QStringList(removed.cbegin(), removed.cend());
        out.value.removed.sort();
        out.value.token = next;
        return out;
    }
    out.error = badAnswer(book_, QStringLiteral("sync-collection never completes"));
    return out;
}

Result<QList<Resource>> DavClient::listEtags() {
    Result<QList<Resource>> out;
    Multistatus m;
    QUrl from;
    out.error = query(propfind(book_, "1", {"resourcetype", "getetag"}), m, from);
    const QString bookPath = withoutSlash(canonicalPath(book_.path(QUrl::FullyEncoded)));
    for (const DavResponse& resp : m.responses) {
        const QString href = hrefOf(resp.href, from);
        if (resp.collection || withoutSlash(href) == bookPath || resp.status >= 300) continue;
        out.value.append({href, resp.etag, {}});
    }
    return out;
}

Result<QList<Resource>> DavClient::multiget(const QStringList& hrefs) {
    Result<QList<Resource>> out;
    for (qsizetype at = 0; at < hrefs.size() && !out.error; at += kMultigetBatch) {
        Multistatus m;
        QUrl from;
        out.error =
            query({"REPORT", book_, multigetBody(hrefs.mid(at, kMultigetBatch)), "1", {}}, m, from);
        for (const DavResponse& resp : m.responses) {
            if (resp.status >= 300 || resp.data.isEmpty()) continue;  // gone meanwhile
            out.value.append({hrefOf(resp.href, from), resp.etag, resp.data});
        }
    }
    return out;
}

Result<Resource> DavClient::get(const QString& href) {
    Result<Resource> out;
    const Reply reply = send({"GET", urlOf(href), {}, {}, {}});
    if (reply.error || reply.status != 200)
        out.error = reply.error ? reply.error : httpError(reply.status, reply.url);
    else
        out.value = {href, reply.etag, reply.body};
    return out;
}

Result<QByteArray> DavClient::put(const QString& href, const QByteArray& card,
                                  const QByteArray& etag, bool create) {
    Result<QByteArray> out;
    Request r{"PUT", urlOf(href), card, {}, {{"Content-Type", "text/vcard; charset=utf-8"}}};
    if (create)
        r.headers.emplaceBack("If-None-Match", "*");
    else if (!etag.isEmpty())
        r.headers.emplaceBack("If-Match", etag);
    const Reply reply = send(r);
    if (reply.error || reply.status < 200 || reply.status > 299)
        out.error = reply.error ? reply.error : httpError(reply.status, reply.url);
    else
        out.value = reply.etag;
    return out;
}

std::optional<Error> DavClient::remove(const QString& href, const QByteArray& etag) {
    Request r{"DELETE", urlOf(href), {}, {}, {}};
    if (!etag.isEmpty()) r.headers.emplaceBack("If-Match", etag);
    const Reply reply = send(r);
    if (reply.error) return reply.error;
    if ((reply.status >= 200 && reply.status <= 299) || reply.status == 404 || reply.status == 410)
        return std::nullopt;
    return httpError(reply.status, reply.url);
}

}  // namespace zrk::dav
