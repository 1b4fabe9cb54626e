// The address book sync's figures against a local radicale: the first sync of N cards into an
// empty book, a sync with nothing changed, a desk's first sync sending N entries, and the
// longest wait of the book's thread (its event loop) while a sync runs.
//   bench-sync [cards]       (5000 by default)
#include "CardDavServer.h"
#include "core/book/BookDocument.h"
#include "core/contacts/ContactSync.h"
#include "core/contacts/ContactSyncer.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace zrk;
using namespace zrk::contacts;

namespace {

SyncResult timedSync(BookStore& book, SyncState& state, const zrktest::CardDavServer& server,
                     const char* what) {
    book.assignIds();
    SyncJob job;
    job.book = book;
    job.state = state;
    job.account = {server.bookUrl(), server.user(), server.password(), false};
    QElapsedTimer t;
    t.start();
    SyncResult r = runSync(job);
    applySync(book, r);
    state = r.state;
    std::printf("%-44s %8.0f ms  (received %d, sent %d)%s%s\n", what, double(t.elapsed()),
                r.counts.added + r.counts.updated, r.counts.sent, r.error ? "  ERROR: " : "",
                r.error ? qPrintable(r.error->text) : "");
    return r;
}

// Every card in one request: radicale takes a whole address book by a PUT on it.
bool upload(const zrktest::CardDavServer& server, int n) {
    QByteArray all;
    for (int i = 0; i < n; ++i)
        all += QStringLiteral(
                   "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:card-%1\r\nFN:Клиент %1\r\n"
                   "N:Клиент;%1;;;\r\nTEL;TYPE=CELL:+7 916 %2\r\n"
                   "EMAIL:c%1@example.com\r\nNOTE:заказ %1\r\nEND:VCARD\r\n")
                   .arg(i)
                   .arg(1000000 + i)
                   .toUtf8();
    QNetworkAccessManager net;
    QNetworkRequest r(server.bookUrl());
    r.setHeader(QNetworkRequest::ContentTypeHeader, QByteArray("text/vcard"));
    r.setRawHeader("Authorization",
                   "Basic " + (server.user() + u':' + server.password()).toUtf8().toBase64());
    QNetworkReply* reply = net.put(r, all);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return reply->error() == QNetworkReply::NoError;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 5000;
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    QDir::setCurrent(home.path());
    zrktest::CardDavServer server;
    if (!server.missing().isEmpty() || !server.start() || !upload(server, n)) {
        std::fprintf(stderr, "no server: %s\n", qPrintable(server.missing()));
        return 1;
    }
    std::printf("%d cards on a local radicale\n", n);
    // Radicale reads every card file at the first request after the upload: that one is
    // said apart.
    BookStore cold;
    SyncState sc;
    timedSync(cold, sc, server, "first sync, server cold (cards received)");
    BookStore b;
    SyncState sb;
    timedSync(b, sb, server, "first sync, empty book (cards received)");
    timedSync(b, sb, server, "sync, nothing changed");
    timedSync(b, sb, server, "sync, nothing changed (again)");
    BookEntry e = b.entry(0);
    e.Name.setText(QStringLiteral("Клиент 0 изменён"));
    b.AddItem(e, false, 0);
    timedSync(b, sb, server, "sync, one entry edited here");

    // The book's thread while a sync of every card runs: a 1 ms timer notes its longest wait.
    QFile pw(home.filePath(QStringLiteral("pw")));
    pw.open(QIODevice::WriteOnly);
    pw.write("secret\n");
    pw.close();
    pw.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ini().CardDavUrl = server.bookUrl().toString();
    ini().CardDavUser = server.user();
    ini().CardDavPasswordFile = pw.fileName();
    ini().CardDavInterval = 0;
    BookDocument book;
    ContactSyncer syncer(book);
    syncer.configure();
    QElapsedTimer clock, whole;
    qint64 last = 0, worst = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last) worst = std::max(worst, now - last);
        last = now;
    });
    clock.start();
    whole.start();
    tick.start();
    syncer.syncNow();
    while (syncer.isRunning()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    std::printf("%-44s %8.0f ms  (book: %d entries)\n", "first sync in the program (worker)",
                double(whole.elapsed()), book.store().count());
    std::printf("%-44s %8.1f ms\n", "longest wait of the book's thread", double(worst) / 1e6);
    const Failures f = book.close();
    return f.isEmpty() ? 0 : 1;
}
