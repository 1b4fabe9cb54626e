// The CardDAV client against real servers: radicale and, where installed, xandikos.
#include "core/net/DavClient.h"

#include "CardDavServer.h"

#include <QTcpServer>
#include <QTest>

#include <thread>

using namespace zrk::dav;
using Server = zrktest::CardDavServer;
using Kind = Error::Kind;

Q_DECLARE_METATYPE(Server::Kind)
Q_DECLARE_METATYPE(Error::Kind)

namespace {

QByteArray vcard(const QString& uid, const QString& name) {
    return QStringLiteral(
               "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:%2\r\nTEL:+7 495 %1\r\nEND:VCARD\r\n")
        .arg(uid, name)
        .toUtf8();
}

Account accountOf(const Server& s, const QUrl& url) {
    return Account{url, s.user(), s.password(), false};
}

QString kindName(const std::optional<Error>& e) {
    return e ? QString::number(int(e->kind)) + u' ' + e->text : QStringLiteral("none");
}

// Both servers where the path is the same; a row skips where its program is missing.
void serverRows() {
    QTest::addColumn<Server::Kind>("kind");
    QTest::newRow("radicale") << Server::Kind::Radicale;
    QTest::newRow("xandikos") << Server::Kind::Xandikos;
}

// Checks what discovery found on `server`.
void checkFound(const DavClient& client, const Server& server) {
    QCOMPARE(client.addressBook(), server.bookUrl());
    QCOMPARE(client.displayName(), server.bookName());
    QVERIFY(client.canSyncCollection());
}

}  // namespace

class TestDavClient : public QObject {
    Q_OBJECT

private slots:
    void failures_data() {
        QTest::addColumn<QString>("url");  // %1: the running radicale's port
        QTest::addColumn<QString>("password");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("wrong password") << "http://127.0.0.1:%1/"
                                        << "wrong" << Kind::Auth;
        QTest::newRow("nothing listening") << "http://127.0.0.1:%2/"
                                           << "secret" << Kind::Network;
        QTest::newRow("https to a plain http server") << "https://127.0.0.1:%1/"
                                                      << "secret" << Kind::Tls;
        QTest::newRow("plain http elsewhere") << "http://192.0.2.1/"
                                              << "secret" << Kind::PlainHttp;
        QTest::newRow("not an http address") << "ftp://127.0.0.1:%1/"
                                             << "secret" << Kind::Protocol;
    }
    void failures() {
        QFETCH(QString, url);
        QFETCH(QString, password);
        QFETCH(Kind, kind);
        Server server;
        if (!server.missing().isEmpty()) QSKIP(qPrintable(server.missing()));
        QVERIFY(server.start());
        QTcpServer unused;  // a port nobody listens on once closed
        QVERIFY(unused.listen(QHostAddress::LocalHost));
        const quint16 closed = unused.serverPort();
        unused.close();
        url.replace("%1", QString::number(server.port())).replace("%2", QString::number(closed));
        DavClient client({QUrl(url), "alice", password, false});
        const auto e = client.discover();
        QVERIFY2(e && e->kind == kind, qPrintable(kindName(e)));
        QVERIFY(!e->text.isEmpty());
    }

    // Writes, conflicts, listing, changes and deletes, as the sync uses them in turn.
    void cardsAndChanges_data() { serverRows(); }
    void cardsAndChanges() {
        QFETCH(Server::Kind, kind);
        Server server(kind);
        if (!server.missing().isEmpty()) QSKIP(qPrintable(server.missing()));
        QVERIFY(server.start());
        DavClient client(accountOf(server, server.serverUrl()));
        QVERIFY(!client.discover());
        checkFound(client, server);
        const QString a = client.hrefFor("a 1"), b = client.hrefFor("b/2");
        QCOMPARE(a, server.bookPath() + "a%201.vcf");
        QCOMPARE(b, server.bookPath() + "b_2.vcf");
        const auto putA = client.put(a, vcard("1", "Анна"), {}, true);
        QVERIFY2(putA && !putA.value.isEmpty(), qPrintable(kindName(putA.error)));
        QVERIFY(client.put(b, vcard("2", "Борис"), {}, true));
        QCOMPARE(client.put(a, vcard("1", "Anna"), {}, true).error->kind, Kind::Precondition);
        QCOMPARE(client.put(a, vcard("1", "Anna"), "\"stale\"", false).error->kind,
                 Kind::Precondition);
        QCOMPARE(client.remove(a, "\"stale\"")->kind, Kind::Precondition);

        const auto list = client.listEtags();
        QVERIFY2(list, qPrintable(kindName(list.error)));
        QCOMPARE(list.value.size(), 2);
        for (const Resource& r : list.value)
            QVERIFY2(r.href == a || r.href == b, qPrintable(r.href));
        QCOMPARE(client.get(a).value.etag, putA.value);
        QCOMPARE(client.get(a).value.data, vcard("1", "Анна"));
        QCOMPARE(client.get(a + "x").error->kind, Kind::NotFound);

        const auto first = client.syncCollection({});
        QVERIFY2(first && !first.value.token.isEmpty(), qPrintable(kindName(first.error)));
        QCOMPARE(first.value.changed.size(), 2);
        // The phone changes one card and deletes the other; then we write over its change.
        const QByteArray phoneEtag = server.putCard("a%201", vcard("1", "Аня"));
        QVERIFY(!phoneEtag.isEmpty() && server.deleteCard("b_2"));
        server.stop();  // a server away for a while; then back on its port and storage
        QCOMPARE(client.syncCollection(first.value.token).error->kind, Kind::Network);
        QVERIFY(server.start());
        const auto next = client.syncCollection(first.value.token);
        QVERIFY2(next, qPrintable(kindName(next.error)));
        QCOMPARE(next.value.changed.size(), 1);
        QCOMPARE(next.value.changed[0].href, a);
        QCOMPARE(next.value.changed[0].etag, phoneEtag);
        QCOMPARE(next.value.removed, QStringList{b});
        QCOMPARE(client.put(a, vcard("1", "Анна"), putA.value, false).error->kind,
                 Kind::Precondition);
        const auto mine = client.put(a, vcard("1", "Анна"), phoneEtag, false);
        QVERIFY(mine);
        QCOMPARE(server.cards().value(a), vcard("1", "Анна"));
        QCOMPARE(client.syncCollection("http://radicale.org/ns/sync/bogus").error->kind,
                 Kind::TokenRejected);
        QVERIFY(!client.remove(a, mine.value));
        QVERIFY(!client.remove(b, {}));  // already gone
        QCOMPARE(client.listEtags().value.size(), 0);
    }

    void multigetInBatches_data() { serverRows(); }
    void multigetInBatches() {
        QFETCH(Server::Kind, kind);
        Server server(kind);
        if (!server.missing().isEmpty()) QSKIP(qPrintable(server.missing()));
        QVERIFY(server.start());
        DavClient client(accountOf(server, server.bookUrl()));
        QVERIFY(!client.discover());
        checkFound(client, server);
        QStringList hrefs;
        for (int i = 0; i < 250; ++i) {
            QVERIFY(!server.putCard(QString::number(i), vcard(QString::number(i), "N")).isEmpty());
            hrefs.append(client.hrefFor(QString::number(i)));
        }
        hrefs.insert(120, client.hrefFor("missing"));
        const auto got = client.multiget(hrefs);
        QVERIFY2(got, qPrintable(kindName(got.error)));
        QCOMPARE(got.value.size(), 250);
        for (const Resource& r : got.value) {
            const QString uid = r.href.section('/', -1).chopped(4);
            QVERIFY(!r.etag.isEmpty());
            // Line ends may come back as LF: XML parsers fold CR LF.
            QCOMPARE(QByteArray(r.data).replace("\r\n", "\n"),
                     vcard(uid, "N").replace("\r\n", "\n"));
        }
    }

    // A worker thread without an event loop; a server that accepts and never answers.
    void cancelEndsAHungRequest() {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        std::atomic<bool> cancel = false;
        std::optional<Error> e;
        std::thread worker([&] {
            DavClient client(
                {QUrl(QStringLiteral("http://127.0.0.1:%1/b/").arg(silent.serverPort())), "u", "p",
                 false},
                &cancel);
            e = client.discover();
        });
        QTest::qWait(300);
        cancel = true;
        worker.join();
        QVERIFY2(e && e->kind == Kind::Cancelled, qPrintable(kindName(e)));
    }
};

QTEST_GUILESS_MAIN(TestDavClient)
#include "tst_davclient.moc"
