#include "core/net/DavXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace zrk::dav {
namespace {

constexpr QStringView kDav = u"DAV:";
constexpr QStringView kCard = u"urn:ietf:params:xml:ns:carddav";

// An element's name with its namespace folded into a short prefix ("d:href", "c:address-data"),
// so that the path of open elements can be compared with plain strings.
QString qualified(const QXmlStreamReader& xml) {
    const QStringView ns = xml.namespaceUri();
    const QString prefix = ns == kDav    ? QStringLiteral("d:")
                           : ns == kCard ? QStringLiteral("c:")
                                         : QStringLiteral("?:");
    return prefix + xml.name().toString();
}

// Reads the properties inside one <prop> into `r` (the reader stands on <prop>).
void readProp(QXmlStreamReader& xml, DavResponse& r) {
    QStringList path;  // open elements below <prop>
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (path.isEmpty()) return;
            path.removeLast();
            continue;
        }
        if (token != QXmlStreamReader::StartElement) continue;
        const QString name = qualified(xml);
        const QString parent = path.isEmpty() ? QString() : path.last();
        if (path.isEmpty() && name == u"d:getetag") {
            r.etag = xml.readElementText(QXmlStreamReader::IncludeChildElements).toUtf8();
        } else if (path.isEmpty() && name == u"c:address-data") {
            r.data = xml.readElementText(QXmlStreamReader::IncludeChildElements).toUtf8();
        } else if (path.isEmpty() && name == u"d:displayname") {
            r.displayName = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (path.isEmpty() && name == u"d:sync-token") {
            r.syncToken = xml.readElementText(QXmlStreamReader::IncludeChildElements).toUtf8();
        } else if (name == u"d:href" && parent == u"d:current-user-principal") {
            r.principal = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == u"d:href" && parent == u"c:addressbook-home-set") {
            const QString href = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (r.home.isEmpty()) r.home = href.trimmed();
        } else {
            if (parent == u"d:resourcetype" && path.size() == 1) {
                r.collection |= name == u"d:collection";
                r.addressBook |= name == u"c:addressbook";
            }
            r.offersSync |= !path.isEmpty() && path.first() == u"d:supported-report-set" &&
                            name == u"d:sync-collection";
            path.append(name);
        }
    }
}

// Reads one <propstat>: its properties count only when its status is a success.
void readPropstat(QXmlStreamReader& xml, DavResponse& r) {
    DavResponse found;
    int status = 200;  // a propstat without a status is taken at its word
    while (xml.readNextStartElement()) {
        const QString name = qualified(xml);
        if (name == u"d:prop") {
            readProp(xml, found);
        } else if (name == u"d:status") {
            status = statusCode(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else {
            xml.skipCurrentElement();
        }
    }
    if (status < 200 || status > 299) return;
    const auto take = [](auto& to, const auto& from) {
        if (to.isEmpty()) to = from;
    };
    take(r.etag, found.etag);
    take(r.data, found.data);
    take(r.displayName, found.displayName);
    take(r.principal, found.principal);
    take(r.home, found.home);
    take(r.syncToken, found.syncToken);
    r.collection |= found.collection;
    r.addressBook |= found.addressBook;
    r.offersSync |= found.offersSync;
}

DavResponse readResponse(QXmlStreamReader& xml) {
    DavResponse r;
    while (xml.readNextStartElement()) {
        const QString name = qualified(xml);
        if (name == u"d:href" && r.href.isEmpty()) {
            r.href = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == u"d:status") {
            r.status = statusCode(xml.readElementText(QXmlStreamReader::IncludeChildElements));
        } else if (name == u"d:propstat") {
            readPropstat(xml, r);
        } else {
            xml.skipCurrentElement();
        }
    }
    return r;
}

// A request body: the root element ("C:" for CardDAV's), DAV text elements, the properties
// asked for (DAV's plain, CardDAV's as "C:name"), then hrefs.
QByteArray document(const QString& root, const QList<std::pair<QString, QString>>& texts,
                    const QByteArrayList& props, const QStringList& hrefs = {}) {
    const auto start = [](QXmlStreamWriter& w, const QString& name, bool empty) {
        const bool card = name.startsWith(u"C:");
        const QString ns = (card ? kCard : kDav).toString(), local = card ? name.mid(2) : name;
        empty ? w.writeEmptyElement(ns, local) : w.writeStartElement(ns, local);
    };
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeNamespace(kDav.toString(), QStringLiteral("D"));
    w.writeNamespace(kCard.toString(), QStringLiteral("C"));
    start(w, root, false);
    for (const auto& [name, text] : texts) w.writeTextElement(kDav.toString(), name, text);
    w.writeStartElement(kDav.toString(), QStringLiteral("prop"));
    for (const QByteArray& p : props) start(w, QString::fromLatin1(p), true);
    w.writeEndElement();
    for (const QString& href : hrefs)
        w.writeTextElement(kDav.toString(), QStringLiteral("href"), href);
    w.writeEndDocument();
    return out;
}

}  // namespace

int statusCode(QStringView line) {
    // "HTTP/1.1 404 Not Found": the code is the second word.
    const auto words = line.trimmed().split(u' ', Qt::SkipEmptyParts);
    return words.size() >= 2 ? words[1].toInt() : 0;
}

Multistatus parseMultistatus(const QByteArray& body) {
    Multistatus m;
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || qualified(xml) != u"d:multistatus") {
        m.error = xml.hasError() ? xml.errorString() : QStringLiteral("not a multistatus");
        return m;
    }
    while (xml.readNextStartElement()) {
        const QString name = qualified(xml);
        if (name == u"d:response")
            m.responses.append(readResponse(xml));
        else if (name == u"d:sync-token")
            m.syncToken =
                xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toUtf8();
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError()) m.error = xml.errorString();
    return m;
}

QByteArray propfindBody(const QByteArrayList& props) {
    return document(QStringLiteral("propfind"), {}, props);
}

QByteArray syncCollectionBody(const QByteArray& token) {
    return document(QStringLiteral("sync-collection"),
                    {{QStringLiteral("sync-token"), QString::fromUtf8(token)},
                     {QStringLiteral("sync-level"), QStringLiteral("1")}},
                    {"getetag"});
}

QByteArray multigetBody(const QStringList& hrefs) {
    return document(QStringLiteral("C:addressbook-multiget"), {}, {"getetag", "C:address-data"},
                    hrefs);
}

}  // namespace zrk::dav
