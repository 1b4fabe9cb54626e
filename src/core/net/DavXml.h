#pragma once
// The XML of WebDAV and CardDAV as the address book client needs it: the request bodies it
// sends and the 207 Multi-Status answers it reads. Elements are matched by namespace and local
// name, so any prefixes a server picks (none, "D:", "ns0:") read alike. Only properties
// reported with a 2xx propstat count: servers list the ones they lack under a 404 propstat.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zrk::dav {

// One <response> of a multistatus, its properties flattened to what the client asks for.
struct DavResponse {
    QString href;     // as the server wrote it (still percent-encoded, maybe a full URL)
    int status = 0;   // the response's own <status>, 0 when it has only propstats
    QByteArray etag;  // exactly as received, quotes and W/ included
    QByteArray data;  // address-data
    QString displayName;
    QString principal;     // current-user-principal's href
    QString home;          // the first addressbook-home-set href
    QByteArray syncToken;  // the sync-token property (not the report's)
    bool collection = false;
    bool addressBook = false;
    bool offersSync = false;  // sync-collection among the supported reports
};

struct Multistatus {
    QList<DavResponse> responses;
    QByteArray syncToken;  // the sync-collection report's new token
    QString error;         // not well-formed or not a multistatus: why, for the log
};

Multistatus parseMultistatus(const QByteArray& xml);
// The HTTP status code in a "HTTP/1.1 404 Not Found" line; 0 when there is none.
int statusCode(QStringView line);

// Request bodies. DAV properties are named plainly, CardDAV ones as "C:name".
QByteArray propfindBody(const QByteArrayList& props);
QByteArray syncCollectionBody(const QByteArray& token);
// hrefs as they go on the wire (percent-encoded paths).
QByteArray multigetBody(const QStringList& hrefs);

}  // namespace zrk::dav
