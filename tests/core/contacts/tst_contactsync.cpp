// Two desks and a phone around a real CardDAV server: each desk is a book and what its syncs
// remember, the phone writes cards over HTTP itself.
#include "CardDavServer.h"
#include "TestSupport.h"
#include "core/book/BookDocument.h"
#include "core/contacts/ContactSync.h"
#include "core/contacts/ContactSyncer.h"
#include "core/settings/Settings.h"

#include <QSignalSpy>

#include <thread>

using namespace zrk;
using namespace zrk::contacts;
using zrktest::CardDavServer;

namespace {

struct Desk {
    BookStore book;
    SyncState state;
    QString conflicts;

    SyncResult sync(const CardDavServer& server, const std::atomic<bool>* cancel = nullptr) {
        book.assignIds();
        SyncJob job;
        job.book = book;
        job.state = state;
        job.account = {server.serverUrl(), server.user(), server.password(), false};
        job.conflictFile = conflicts;
        SyncResult r = runSync(job, cancel);
        applySync(book, r);
        state = r.state;
        return r;
    }
    int add(const QString& name, const QString& phone, const QString& note = {}) {
        BookEntry e = BookEntry::empty();
        e.Name.setText(name);
        e.Phone.setText(phone);
        e.Note.setText(note);
        return book.AddItem(e, true);
    }
    int find(const QString& phone) const {
        for (int i = 0; i < book.count(); ++i)
            if (book.text(i, FieldPhone) == phone) return i;
        return -1;
    }
    QString name(const QString& phone) const {
        const int i = find(phone);
        return i < 0 ? QStringLiteral("<none>") : book.text(i, FieldName);
    }
    void rename(const QString& phone, const QString& name) {
        BookEntry e = book.entry(find(phone));
        e.Name.setText(name);
        book.AddItem(e, false, find(phone));
    }
};

QByteArray phoneCard(const QString& uid, const QString& name, const QByteArray& extra = {}) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid.toUtf8() + "\r\nFN:" + name.toUtf8() +
           "\r\nN:" + name.toUtf8() + ";;;;\r\nTEL;TYPE=CELL:+7 903 111-22-33\r\n" + extra +
           "END:VCARD\r\n";
}

}  // namespace

class tst_ContactSync : public QObject {
    Q_OBJECT
    std::unique_ptr<CardDavServer> server;
    std::unique_ptr<zrktest::Sandbox> box;

    void start(CardDavServer::Kind kind) {
        server = std::make_unique<CardDavServer>(kind);
        if (!server->missing().isEmpty()) QSKIP(qPrintable(server->missing()));
        QVERIFY(server->start());
    }

private slots:
    void initTestCase_data() {
        QTest::addColumn<CardDavServer::Kind>("kind");
        QTest::newRow("radicale") << CardDavServer::Kind::Radicale;
        QTest::newRow("xandikos") << CardDavServer::Kind::Xandikos;
    }
    void init() {
        box = std::make_unique<zrktest::Sandbox>();
        QFETCH_GLOBAL(CardDavServer::Kind, kind);
        start(kind);
    }
    void cleanup() { server.reset(); }

    // Adds, a phone's edit and deletes reach every desk; nothing is written twice.
    void changesReachEveryDesk() {
        Desk a, b;
        a.add("Орлов Андрей", "89031234567");
        a.add("", "7654321");  // no name: the card is still a card
        QVERIFY(!a.sync(*server).error);
        QCOMPARE(server->cards().size(), 2);
        for (const QByteArray& card : server->cards()) {
            QVERIFY2(card.contains("\nUID:") && card.contains("\nFN:"), card.constData());
        }
        QVERIFY(!b.sync(*server).error);
        QCOMPARE(b.name("89031234567"), "Орлов Андрей");
        QVERIFY(b.find("7654321") >= 0);

        // The phone renames one.
        QString file;
        QByteArray card;
        const auto cards = server->cards();
        for (auto it = cards.begin(); it != cards.end(); ++it)
            if (it->contains("Орлов"))
                std::tie(file, card) = std::pair(QFileInfo(it.key()).completeBaseName(), *it);
        card.replace("FN:Орлов Андрей", "FN:Орлов Андрей Петрович");
        QVERIFY(!server->putCard(file, card).isEmpty());
        QCOMPARE(a.sync(*server).counts.updated, 1);
        QCOMPARE(b.sync(*server).counts.updated, 1);
        QCOMPARE(a.name("89031234567"), "Орлов Андрей Петрович");
        QCOMPARE(b.name("89031234567"), "Орлов Андрей Петрович");

        // A deletes one: gone from the server and from B.
        a.book.RemoveItem(a.find("7654321"));
        QCOMPARE(a.sync(*server).counts.deleted, 1);
        QCOMPARE(server->cards().size(), 1);
        QCOMPARE(b.sync(*server).counts.removed, 1);
        QCOMPARE(b.find("7654321"), -1);
        // Nothing changed anywhere: nothing moves.
        const SyncResult quiet = a.sync(*server);
        QCOMPARE(quiet.counts.sent + quiet.counts.added + quiet.counts.updated, 0);
        QCOMPARE(a.book.count(), 1);
    }

    // A note longer than the book's field, a photo and a second address stay whole on the
    // server when a desk that cut them edits something else.
    void whatTheBookCannotHoldSurvives() {
        const QByteArray longNote = QByteArray(300, 'x');
        const QByteArray extra =
            "NOTE:" + longNote + "\r\nPHOTO;ENCODING=b;TYPE=JPEG:AAAA\r\n" +
            "ADR;TYPE=HOME:;;Ленина 1;Москва;;;\r\nADR;TYPE=WORK:;;Мира 2;;;;\r\n";
        QVERIFY(!server->putCard("phone-1", phoneCard("phone-1", "Щукин", extra)).isEmpty());
        Desk a;
        QVERIFY(!a.sync(*server).error);
        const int i = a.find("89031112233");
        QVERIFY(i >= 0);
        QCOMPARE(a.book.text(i, FieldNote).size(), 133);  // cut in the book only
        a.rename("89031112233", "Щукин Иван");
        QCOMPARE(a.sync(*server).counts.sent, 1);
        const QByteArray card = server->cards().first();
        QVERIFY2(card.contains("FN:Щукин Иван"), card.constData());
        QVERIFY2(QByteArray(card).replace("\r\n ", "").contains(longNote), card.constData());
        QVERIFY(card.contains("PHOTO;ENCODING=b;TYPE=JPEG:AAAA"));
        QVERIFY(card.contains("Мира 2"));
    }

    // Both sides changed the name: the server's wins, this desk's version is kept in the
    // conflicts file, and the count says so.
    void aConflictKeepsTheServersAndSavesOurs() {
        QVERIFY(!server->putCard("phone-2", phoneCard("phone-2", "Петров")).isEmpty());
        Desk a;
        a.conflicts = box->filePath("conflicts.vcf");
        QVERIFY(!a.sync(*server).error);
        a.rename("89031112233", "Петров (склад)");
        QVERIFY(!server->putCard("phone-2", phoneCard("phone-2", "Петров Сергей")).isEmpty());
        const SyncResult r = a.sync(*server);
        QCOMPARE(r.counts.conflicts, 1);
        QCOMPARE(a.name("89031112233"), "Петров Сергей");
        QVERIFY(zrktest::readAll(a.conflicts).contains("FN:Петров (склад)"));
        QVERIFY(server->cards().first().contains("FN:Петров Сергей"));
    }

    // The server goes away in the middle of a sync and comes back: the next sync ends the
    // work with no card written twice, even when the desk forgot what it had sent.
    void aServerLostMidwayLosesAndDuplicatesNothing() {
        Desk a;
        for (int n = 0; n < 60; ++n)
            a.add(QStringLiteral("Клиент %1").arg(n), QStringLiteral("8495%1").arg(1000000 + n));
        // The desk syncs on a worker; the server is stopped under it.
        SyncResult cut;
        std::thread desk([&] { cut = a.sync(*server); });
        QTest::qWait(400);
        server->stop();
        desk.join();
        QVERIFY(server->start());
        const SyncState remembered = a.state;
        a.state = {};  // as if the side file were lost as well
        QVERIFY(!a.sync(*server).error);
        QCOMPARE(server->cards().size(), 60);
        QCOMPARE(a.book.count(), 60);
        a.state = remembered;
        QVERIFY(!a.sync(*server).error);
        QCOMPARE(server->cards().size(), 60);
        QCOMPARE(a.book.count(), 60);
        Q_UNUSED(cut);
    }

    // A wrong password or no server is said once, however often the sync runs.
    void aFailureIsToldOnce() {
        QFETCH_GLOBAL(CardDavServer::Kind, kind);
        if (kind != CardDavServer::Kind::Radicale) QSKIP("xandikos has no password");
        QFile pw(box->filePath("pw"));
        QVERIFY(pw.open(QIODevice::WriteOnly));
        pw.write("wrong\n");
        pw.close();
        pw.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        ini().CardDavUrl = server->serverUrl().toString();
        ini().CardDavUser = "alice";
        ini().CardDavPasswordFile = pw.fileName();
        ini().CardDavInterval = 0;
        BookDocument book;
        ContactSyncer syncer(book);
        syncer.configure();
        QSignalSpy failed(&syncer, &ContactSyncer::failed);
        QSignalSpy finished(&syncer, &ContactSyncer::finished);
        for (int n = 0; n < 2; ++n) {
            syncer.syncNow();
            QTRY_VERIFY(!syncer.isRunning());
        }
        QCOMPARE(failed.size(), 1);
        QCOMPARE(finished.size(), 0);
        // A password file others may read is refused before any request.
        pw.setPermissions(pw.permissions() | QFileDevice::ReadOther);
        server->stop();
        syncer.syncNow();
        QTRY_VERIFY(!syncer.isRunning());
        QCOMPARE(failed.size(), 2);
        QVERIFY2(failed.last().first().value<Failure>().text.contains("chmod 600"),
                 qPrintable(failed.last().first().value<Failure>().text));
    }
};

QTEST_GUILESS_MAIN(tst_ContactSync)
#include "tst_contactsync.moc"
