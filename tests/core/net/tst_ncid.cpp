// The NCID protocol pieces without a socket, and the link against a small server of our own.
#include "core/net/NcidLink.h"
#include "core/net/NcidProtocol.h"
#include "core/platform/BackgroundSave.h"
#include "core/platform/Cp1251.h"

#include "NcidTestServer.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace zrk;
using namespace zrk::ncid;

namespace {

// A gateway's link with the waits of a test: a server that does not acknowledge is known
// after 300 ms, a call not acknowledged is sent again after 500 ms. With a file, the calls
// not yet sent are kept there.
void quick(NcidLink& link, const QString& queueFile = {}) {
    link.setTimings(20, 100, 2000);
    link.setAckTimings(300, 500, 20);
    if (!queueFile.isEmpty()) link.setQueueFile(queueFile);
}

// `link` with the waits of a test, connected to `server` for what `send` and `receive` say.
void connectTo(NcidLink& link, const zrktest::NcidTestServer& server, bool send, bool receive,
               const QString& label = "-") {
    quick(link);
    link.configure({server.address(), send, receive, label});
    QTRY_COMPARE(link.stateText(), QString("подключено"));
}

// Calls numbered from..from+count-1, without names.
void sendNumbers(NcidLink& link, int from, int count,
                 const QDateTime& when = QDateTime::currentDateTime()) {
    for (int i = 0; i < count; ++i) link.sendCall(when, QString::number(from + i), {});
}

// The numbers of the calls the server took, in order.
QList<QByteArray> numbersTaken(const zrktest::NcidTestServer& server) {
    QList<QByteArray> out;
    for (const QByteArray& c : server.calls())
        out.append(zrktest::NcidTestServer::field(c, "...NMBR", '.'));
    return out;
}

QList<QByteArray> numbers(int from, int count) {
    QList<QByteArray> out;
    for (int i = 0; i < count; ++i) out.append(QByteArray::number(from + i));
    return out;
}

const QString kLongName = QString("Щ").repeated(40);

}  // namespace

class TestNcid : public QObject {
    Q_OBJECT
private slots:
    void serverLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("ring");
        const auto row = [](const char* tag, const QByteArray& line, int kind = ServerLine::Other,
                            const QString& number = {}, const QString& name = {}, int ring = 0) {
            QTest::newRow(tag) << line << kind << number << name << ring;
        };
        row("garbage", "\x01\xff garbage");
        row("empty", {});
        row("CID without a number", "CID: *DATE*12082026*TIME*1247*LINE*-*MESG*NONE*NAME*X*");
        row("CID without stars", "CID: 4951234567");
        row("ring not a number", "CIDINFO: *LINE*-*RING*x*");
        row("log line", "CIDLOG: *DATE*12082026*TIME*1247*NMBR*1*NAME*A*", ServerLine::LogCall, "1",
            "A");
        row("log line of a blocked call",
            "HUPLOG: *DATE*12082026*TIME*1247*LINE*-*NMBR*2*MESG*NONE*NAME*B*", ServerLine::LogCall,
            "2", "B");
        row("log line of a ring without caller ID",
            "CIDLOG: *DATE*12082026*TIME*1247*LINE*-*NMBR*RING*NAME*No Caller ID*");
        row("call the server hung up on",
            "HUP: *DATE*12082026*TIME*1247*LINE*-*NMBR*3*MESG*NONE*NAME*C*", ServerLine::Call, "3",
            "C");
        row("unknown type", "MSG: hello");
        row("200 without blank", "200");
        row("greeting", "200 NCID Server: ncidd 1.0", ServerLine::Greeting);
        row("log end", "300 End of connection startup", ServerLine::LogEnd);
        row("call, UTF-8 name",
            "CID: *DATE*12082026*TIME*1247*LINE*2*NMBR*4951234567*MESG*NONE*NAME*" +
                QString("Иванов Иван").toUtf8() + "*",
            ServerLine::Call, "4951234567", "Иванов Иван");
        row("call, star in the name",
            "CID: *DATE*12082026*TIME*1247*LINE*-*NMBR*123*MESG*NONE*NAME*A*B*", ServerLine::Call,
            "123", "A*B");
        row("call, name in the Russian code page", "CID: *NMBR*123*NAME*" + toCp1251("Пётр") + "*",
            ServerLine::Call, "123", "Пётр");
        row("ring without caller ID, from a server's own modem",
            "CID: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*RING*MESG*NONE*NAME*No Caller ID*",
            ServerLine::Ring, "", "", 1);
        row("name cut by the server inside a letter",
            "CID: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*123*MESG*NONE*NAME*" +
                QString("Иванов").toUtf8() + "\xd0*",
            ServerLine::Call, "123", "Иванов");
        row("acknowledgement", "ACK: CALL: ###DATE12080905...NMBR1", ServerLine::Ack);
        row("ring", "CIDINFO: *LINE*-*RING*3*TIME*12:47:08*", ServerLine::Ring, "", "", 3);
    }
    void serverLines() {
        QFETCH(QByteArray, line);
        const ServerLine l = parseServerLine(line);
        QTEST(int(l.kind), "kind");
        QTEST(l.number, "number");
        QTEST(l.name, "name");
        QTEST(l.ring, "ring");
        QCOMPARE(l.blocked, line.startsWith("HUP"));
    }

    void addressesAndNumbers() {
        for (const char* bad : {"", "  ", "host:", ":3333", "host:0", "host:65536", "host:-1",
                                "host:abc", "a b:1", "[::1", "[::1]x", "[]:1"})
            QVERIFY2(!parseServerAddress(bad), bad);
        const auto check = [](const char* text, const char* host, int port) {
            const auto a = parseServerAddress(text);
            QVERIFY2(a && a->host == host && a->port == port, text);
        };
        check(" ncid.local ", "ncid.local", 3333);
        check("10.0.0.1:4000", "10.0.0.1", 4000);
        check("[::1]:4000", "::1", 4000);
        check("fe80::1", "fe80::1", 3333);

        QCOMPARE(reportNumber("OUT-OF-AREA"), QString("Unknown"));
        // Withheld numbers go as the words a server knows; it makes any other one-character
        // number NO NUMBER.
        QCOMPARE(wireNumber("P"), QString("PRIVATE"));
        QCOMPARE(wireNumber("O"), QString("OUT-OF-AREA"));
        QCOMPARE(wireNumber("Unknown"), QString("OUT-OF-AREA"));
        QCOMPARE(wireNumber("Restricted"), QString("Restricted"));
        // A label is one word at the clients, which split lines at blanks.
        QCOMPARE(wireLabel("Цех 1"), QString("Цех_1"));
        QCOMPARE(wireLabel(" Склад.2 "), QString("Склад_2"));
        QCOMPARE(wireLabel("a*b"), QString("a_b"));
        QCOMPARE(reportNumber("PRIVATE"), QString("Unknown"));
        QCOMPARE(reportNumber("+7 (495) 123-45-67"), QString("74951234567"));
        // A name or label cannot break the line or the clients' fields, nor end a field
        // where a server ends it ('.' in the line and number, '+' in the name).
        const QDateTime when(QDate(2026, 1, 2), QTime(3, 4));
        // A server ends the name only at '+': "..." in it stays.
        QCOMPARE(callLine(when, "", "", "A\r\nB*C...D+++"),
                 QByteArray("CALL: ###DATE01020304...CALLIN...LINE-...NMBROUT-OF-AREA...NAMEA  B "
                            "C...D+++"));
        QCOMPARE(callLine(when, "1.2", "12.34", "C+ Ltd"),
                 QByteArray("CALL: ###DATE01020304...CALLIN...LINE1_2...NMBR12 34...NAMEC  "
                            "Ltd+++"));
        // 40 Cyrillic letters are 80 bytes: a server keeps 49, so 24 whole letters go.
        QCOMPARE(callLine(when, "-", "1", kLongName),
                 "CALL: ###DATE01020304...CALLIN...LINE-...NMBR1...NAME" +
                     QString("Щ").repeated(24).toUtf8() + "+++");
    }

    void ownCallsAreKnownWhateverTheServerRenames() {
        SentCalls sent(1000);
        const QDateTime when(QDate(2026, 12, 8), QTime(9, 5));
        sent.remember(callLine(when, "-", "4951234567", "Иванов"), 0);
        sent.remember(callLine(when, "-", "4951234567", "Иванов"), 10);  // sent again
        sent.remember(callLine(when, "-", "", ""), 0);
        const auto cid = [](const char* text) { return parseServerLine(text); };
        const auto echo = [&](const char* text, qint64 at = 20) {
            return sent.takeEcho(cid(text), at);
        };
        // Another minute or another number: not ours.
        QVERIFY(!echo("CID: *DATE*12082026*TIME*0906*LINE*-*NMBR*4951234567*NAME*X*"));
        QVERIFY(!echo("CID: *DATE*12082026*TIME*0905*LINE*-*NMBR*4951234568*NAME*X*"));
        // The server's line name and alias, and the number with separators: ours, once.
        QVERIFY(echo("CID: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*495-123-4567*NAME*Boss*"));
        QVERIFY(!echo("CID: *DATE*12082026*TIME*0905*LINE*POTS*NMBR*4951234567*NAME*Boss*"));
        QVERIFY(echo("CID: *DATE*12082026*TIME*0905*LINE*2*NMBR*OUT-OF-AREA*NAME*A*"));
        // Past the window it is another call.
        sent.remember(callLine(when, "-", "777", ""), 0);
        QVERIFY(!echo("CID: *DATE*12082026*TIME*0905*NMBR*777*NAME*A*", 2000));

        // A number the server renamed altogether (NO NUMBER, an alias) is ours only as the
        // echo of the call awaiting its acknowledgement, in that call's minute.
        SentCalls renamed;
        const QByteArray withheld = callLine(when, "-", "P", "");
        renamed.remember(withheld, 0);
        renamed.remember(callLine(when, "-", "5551234", ""), 0);
        const ServerLine noNumber = cid("CID: *DATE*12082026*TIME*0905*NMBR*NO NUMBER*NAME*A*");
        QVERIFY(!renamed.takeEcho(cid("CID: *DATE*12082026*TIME*0906*NMBR*NO NUMBER*NAME*A*"), 50,
                                  withheld));
        QVERIFY(!renamed.takeEcho(noNumber, 50));
        QVERIFY(renamed.takeEcho(noNumber, 50, withheld));
        QVERIFY(!renamed.takeEcho(noNumber, 50, withheld));
        QVERIFY(renamed.sentEarlier(cid("CIDLOG: *DATE*12082026*TIME*0905*NMBR*5551234*NAME*A*")));
    }

    void longLinesAreDroppedWhole() {
        LineReader r;
        QList<QByteArray> lines;
        const auto take = [&](const QByteArray& l) { lines.append(l); };
        const QByteArray max(kMaxLine, 'a');
        r.feed(QByteArray(600, 'x'), take);  // 1,200 bytes over two reads, then a good line
        r.feed(QByteArray(600, 'x') + "\r\nok\r\n", take);
        r.feed(max + "\r\n" + max + "b\n", take);
        QCOMPARE(lines, QList<QByteArray>({"ok", max}));
        QCOMPARE(r.dropped(), 2);
    }

    void queueKeepsTheNewestHundredAndResendsWhatWasLost() {
        OutQueue q;
        for (int i = 0; i < 102; ++i) q.append(QByteArray::number(i));
        QCOMPARE(q.size(), 100);
        QCOMPARE(q.takeNext(), QByteArray("2"));
        QVERIFY(q.takeNext().isEmpty());  // one at a time
        QVERIFY(!q.append("102"));        // the one on its way stays, "3" gives way
        q.delivered();
        QCOMPARE(q.takeNext(), QByteArray("4"));
        q.lost();  // "4" was never confirmed: it goes again, first
        QCOMPARE(q.takeNext(), QByteArray("4"));
        QCOMPARE(q.size(), 99);
        QCOMPARE(q.lines().last(), QByteArray("102"));
    }

    void queueFileIsReadBackAndDamageIsSeen() {
        const QList<QByteArray> lines = {"CALL: ###DATE12080905...NMBR1+++",
                                         "CALL: ###DATE12080906...NMBR2+++"};
        const QByteArray whole = queueFileText(lines);
        QCOMPARE(whole, QByteArray("ZRK NCID QUEUE 1\nCALL: ###DATE12080905...NMBR1+++\n"
                                   "CALL: ###DATE12080906...NMBR2+++\nEND 2\n"));
        QueueFileContent c = parseQueueFile(whole);
        QCOMPARE(c.lines, lines);
        QVERIFY(!c.damaged);
        QVERIFY(!parseQueueFile(queueFileText({})).damaged);
        // Cut short anywhere: the whole lines before the cut are kept, and it is damage.
        for (qsizetype cut : {whole.size() - 1, whole.size() - 6, qsizetype(40), qsizetype(5)}) {
            c = parseQueueFile(whole.left(cut));
            QVERIFY2(c.damaged, qPrintable(QString::number(cut)));
            QVERIFY(c.lines.size() <= 2);
            for (qsizetype i = 0; i < c.lines.size(); ++i) QCOMPARE(c.lines[i], lines[i]);
        }
        QCOMPARE(parseQueueFile(whole.left(whole.size() - 6)).lines, lines);
        QVERIFY(parseQueueFile("[HKEY_CURRENT_USER]\n").damaged);
        QVERIFY(parseQueueFile(whole + "CALL: late\n").damaged);
        QVERIFY(parseQueueFile(QByteArray(whole).replace("END 2", "END 3")).damaged);
    }

    void pausesGrowAndStartAgainAfterAStableLink() {
        ReconnectPause p(1000, 5000, 30000);
        QList<int> pauses;
        for (qint64 up : {-1, -1, 100, -1, -1, 30000, -1}) pauses.append(p.afterLoss(up));
        QCOMPARE(pauses, QList<int>({1000, 2000, 4000, 5000, 5000, 1000, 2000}));
    }

    // --- the link against a server ---

    // What a client meets at a real server, seen from a bare socket.
    void testServerIsAsStrictAsARealOne() {
        zrktest::NcidTestServer server;
        server.lineId = "POTS";
        server.callLog = {"CIDLOG: *DATE*12072026*TIME*1800*LINE*-*NMBR*1*MESG*NONE*NAME*A*"};
        QVERIFY(server.start());
        QTcpSocket c;
        c.connectToHost(QHostAddress::LocalHost, server.port());
        QList<QByteArray> got;
        const auto readUntil = [&](const QByteArray& start) {  // the lines of this wait only
            got.clear();
            return QTest::qWaitFor(
                [&] {
                    while (c.canReadLine()) got.append(c.readLine().trimmed());
                    return !got.isEmpty() && got.last().startsWith(start);
                },
                3000);
        };
        QVERIFY(readUntil("300 "));
        QCOMPARE(got.first(), QByteArray("200 NCID Server: ncidd (NCID) 1.0"));
        QVERIFY(got.contains("OPT: hangup-1"));
        c.write("REQ: ACK\r\n");
        QVERIFY(readUntil("ACK: REQ: ACK"));
        // Two lines in one write: the server takes the first only.
        const QByteArray cidDate =
            "CID: *DATE*1208" + QByteArray::number(QDate::currentDate().year());
        c.write(
            "CALL: ###DATE12080905...CALLIN...LINE-...NMBR12.5...NAMEA+B+++\r\n"
            "CALL: ###DATE12080905...CALLIN...LINE-...NMBR2...NAMEB+++\r\n");
        QVERIFY(readUntil("ACK: CALL: "));
        QVERIFY(got.contains(cidDate + "*TIME*0905*LINE*POTS*NMBR*12*MESG*NONE*NAME*A*"));
        QTest::qWait(100);
        QCOMPARE(server.calls().size(), 1);
        QVERIFY(server.droppedBytes() > 0);
        // Each field at most 49 bytes, wherever that falls.
        c.write("CALL: ###DATE12080905...CALLIN...LINELONG...NMBR33...NAME" + kLongName.toUtf8() +
                "+++\r\n");
        QVERIFY(readUntil("ACK: CALL: "));
        QVERIFY(got.contains(cidDate + "*TIME*0905*LINE*LONG*NMBR*33*MESG*NONE*NAME*" +
                             kLongName.toUtf8().left(49) + "*"));

        server.refuse = true;
        QTcpSocket turnedAway;
        turnedAway.connectToHost(QHostAddress::LocalHost, server.port());
        QVERIFY(QTest::qWaitFor(
            [&] { return turnedAway.state() == QAbstractSocket::UnconnectedState; }, 3000));
        const QByteArray said = turnedAway.readAll();
        QVERIFY(said.startsWith("200 ") && said.contains("\r\nMSG: ") && !said.contains("300 "));
    }

    // Up to a hundred calls wait while the server is away; when it is back they all arrive,
    // once each and in order, whether it acknowledges or not.
    void callsWaitForTheServerAndArriveInOrder_data() {
        QTest::addColumn<bool>("ack");
        QTest::newRow("server acknowledges") << true;
        QTest::newRow("server ignores REQ: ACK") << false;
    }
    void callsWaitForTheServerAndArriveInOrder() {
        QFETCH(bool, ack);
        zrktest::NcidTestServer server;
        server.ack = ack;
        QVERIFY(server.start());
        const quint16 port = server.port();
        server.stop();  // down from the start
        NcidLink link;
        quick(link);
        link.configure({server.address(), true, false, "-"});
        QTRY_VERIFY(link.stateText().startsWith("нет связи: "));
        // Past a hundred the oldest give way, and the link says how many.
        QSignalSpy dropped(&link, &NcidLink::callsDropped);
        sendNumbers(link, 99997, 103, QDateTime(QDate(2026, 12, 8), QTime(9, 5)));
        QCOMPARE(link.unsent(), 100);
        QCOMPARE(dropped.size(), 3);
        QCOMPARE(dropped.last()[0].toInt(), 3);
        QVERIFY2(link.stateText().endsWith("старых звонков не отправлено: 3"),
                 qPrintable(link.stateText()));
        QVERIFY(server.start(port));
        QVERIFY(server.waitForCalls(100, 30000));
        QTest::qWait(100);
        QCOMPARE(numbersTaken(server), numbers(100000, 100));
        QVERIFY(link.stateText().startsWith("подключено; "));
        QTRY_COMPARE(link.unsent(), 0);
    }

    // The calls the server has not had outlive the program: kept in a file, sent from it by
    // the next run; a damaged file is set aside and said, its whole calls still sent.
    void unsentCallsOutliveTheProgram() {
        QTemporaryDir dir;
        const QString file = dir.filePath("ncid-queue");
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        const quint16 port = server.port();
        server.stop();
        {
            NcidLink first;
            quick(first, file);
            first.configure({server.address(), true, false, "-"});
            sendNumbers(first, 500, 5);
            // Each call is in the file the moment it is queued: a crash now loses none.
            QCOMPARE(parseQueueFile(zrktest::readAll(file)).lines.size(), 5);
        }
        NcidLink second;
        quick(second, file);
        QCOMPARE(second.unsent(), 5);
        QVERIFY(server.start(port));
        second.configure({server.address(), true, false, "-"});
        QVERIFY(server.waitForCalls(5));
        QTRY_COMPARE(parseQueueFile(zrktest::readAll(file)).lines.size(), 0);
        QCOMPARE(numbersTaken(server), numbers(500, 5));

        // Cut short: set aside as .bad, said, and the whole lines sent all the same.
        const QByteArray text =
            queueFileText({callLine(QDateTime::currentDateTime(), "-", "601", ""),
                           callLine(QDateTime::currentDateTime(), "-", "602", "")});
        QVERIFY(zrktest::writeAll(file, text.left(text.size() - 4)));
        NcidLink third;
        QSignalSpy said(&third, &NcidLink::fileError);
        quick(third, file);
        QCOMPARE(said.size(), 1);
        const QString told = said[0][0].toString();
        QVERIFY2(told.contains(file + ".bad") && told.contains("2"), qPrintable(told));
        QCOMPARE(zrktest::readAll(file + ".bad"), text.left(text.size() - 4));
        third.configure({server.address(), true, false, "-"});
        QVERIFY(server.waitForCalls(7));
        QCOMPARE(numbersTaken(server).mid(5), QList<QByteArray>({"601", "602"}));
    }

    // The file loses delivered calls on a worker; a slow one of those saves never lands on
    // the save of a newer call, which would then be lost at a crash.
    void slowSaveNeverHidesANewerCall() {
        QTemporaryDir dir;
        const QString file = dir.filePath("ncid-queue");
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        NcidLink link;
        link.setQueueFile(file);
        connectTo(link, server, true, false);
        sendNumbers(link, 800, 1);
        QTRY_COMPARE(link.unsent(), 0);  // acknowledged: its save waits half a second
        server.stop();                   // the next call stays in the queue
        BackgroundSave::setJobWrapper([](const std::function<void()>& run) {
            QThread::msleep(300);
            run();
        });
        QTest::qWait(600);  // that save is on its way, slowly
        sendNumbers(link, 801, 1);
        QTest::qWait(400);
        BackgroundSave::setJobWrapper({});
        const QList<QByteArray> kept = parseQueueFile(zrktest::readAll(file)).lines;
        QVERIFY(kept.size() == 1 && kept[0].contains("NMBR801"));
    }

    // A server that stops reading (a half-open link) acknowledges nothing: the calls go again
    // on a new link and arrive once each.
    void halfOpenLinkLosesNothing() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        NcidLink link;
        connectTo(link, server, true, false);
        QTest::qWait(50);  // the answer to REQ: ACK
        server.stopReadingClients();
        sendNumbers(link, 700, 5);
        QVERIFY(server.waitForCalls(5, 10000));
        QTest::qWait(200);
        QCOMPARE(numbersTaken(server), numbers(700, 5));
        QVERIFY(server.connections() >= 2);
        QTRY_COMPARE(link.unsent(), 0);
    }

    // A server that turns the desk away (too many clients) gets no call: they wait for one
    // that accepts it.
    void refusingServerLosesNothing() {
        zrktest::NcidTestServer server;
        server.refuse = true;
        QVERIFY(server.start());
        NcidLink link;
        quick(link);
        QSignalSpy states(&link, &NcidLink::stateChanged);
        link.configure({server.address(), true, false, "-"});
        sendNumbers(link, 800, 3);
        QTRY_VERIFY(
            states.contains(QVariantList{"нет связи: сервер отказал: Too many clients connected"}));
        QTest::qWait(200);
        QVERIFY(server.calls().isEmpty());
        QCOMPARE(link.unsent(), 3);
        server.refuse = false;
        QVERIFY(server.waitForCalls(3));
        QCOMPARE(numbersTaken(server), numbers(800, 3));
    }

    // A desk that sends and receives: its own call comes back renamed by the server's line
    // name and alias and cut, and is still its own; a 40-letter Russian name reaches another
    // desk cut at a letter's end.
    void ownCallOnceAndLongNamesWhole() {
        zrktest::NcidTestServer server;
        server.lineId = "POTS";
        server.aliases = {{"Иванов Иван", "Boss"}};
        QVERIFY(server.start());
        NcidLink desk, other;
        QSignalSpy own(&desk, &NcidLink::callReceived);
        QSignalSpy theirs(&other, &NcidLink::callReceived);
        connectTo(desk, server, true, true);
        connectTo(other, server, false, true);
        desk.sendCall(QDateTime::currentDateTime(), "4951234567", "Иванов Иван");
        desk.sendCall(QDateTime::currentDateTime(), "4957654321", kLongName);
        QTRY_COMPARE(theirs.size(), 2);
        QCOMPARE(theirs[0], QVariantList({"4951234567", "Boss", "POTS"}));
        QCOMPARE(theirs[1], QVariantList({"4957654321", QString("Щ").repeated(24), "POTS"}));
        QTest::qWait(100);
        QCOMPARE(own.size(), 0);
    }

    // The stock client reads a label with a blank as one word; a withheld number, and numbers
    // the server renames (NO NUMBER, an alias), come back as the desk's own all the same.
    void labelsAndRenamedNumbersAsRealPeersSeeThem() {
        zrktest::NcidTestServer server;
        server.aliases = {{"5551234", "4950000000"}};
        QVERIFY(server.start());
        zrktest::NcidStockClient stock;
        stock.connectTo(server.port());
        NcidLink desk;
        QSignalSpy own(&desk, &NcidLink::callReceived);
        connectTo(desk, server, true, true, "Цех 1");
        QVERIFY(server.waitForClients(2));
        for (const char* number : {"P", "5", "5551234"})
            desk.sendCall(QDateTime::currentDateTime(), number, {});
        QTRY_COMPARE(stock.lines.size(), 3);
        QVERIFY(!stock.exited);
        QVERIFY2(stock.lines[0].contains(QString("*LINE*Цех_1*NMBR*PRIVATE*").toUtf8()),
                 stock.lines[0].constData());
        QVERIFY(stock.lines[1].contains("*NMBR*NO NUMBER*"));
        QTest::qWait(100);
        QCOMPARE(own.size(), 0);
    }

    // A call the server took without a word back (a stalled server, or this program killed
    // just after sending) is in its log at the next connection: it is not sent again.
    void callsTheServerTookAreNotSentTwice() {
        QTemporaryDir dir;
        const QString file = dir.filePath("ncid-queue");
        const QDateTime when(QDate(2026, 12, 8), QTime(9, 5));
        zrktest::NcidTestServer server;
        server.withholdAcks = true;
        QVERIFY(server.start());
        {
            NcidLink link;
            quick(link, file);
            link.configure({server.address(), true, false, "-"});
            link.sendCall(when, "4951234567", {});
            QVERIFY(server.waitForCalls(1));
            server.withholdAcks = false;
            QTRY_VERIFY(server.connections() >= 2);
            QTRY_COMPARE(link.unsent(), 0);
        }
        const QByteArray taken = callLine(when, "-", "4957654321", {});
        server.callLog.append(server.cidFor(taken).trimmed());
        QVERIFY(zrktest::writeAll(file, queueFileText({taken, callLine(when, "-", "777", {})})));
        NcidLink next;
        quick(next, file);
        next.configure({server.address(), true, false, "-"});
        QVERIFY(server.waitForCalls(2));
        QTRY_COMPARE(parseQueueFile(zrktest::readAll(file)).lines.size(), 0);
        QTest::qWait(100);
        QCOMPARE(numbersTaken(server), QList<QByteArray>({"4951234567", "777"}));
    }

    // A desk that was away (suspended, or its server restarted) takes from the log replayed at
    // its reconnection the calls newer than the last it saw, blocked ones marked; never the
    // log of its first connection.
    void callsWhileAwayComeFromTheLog() {
        zrktest::NcidTestServer server;
        server.callLog = {"CID: *DATE*12082026*TIME*0800*LINE*-*NMBR*111*MESG*NONE*NAME*Old*"};
        QVERIFY(server.start());
        NcidLink desk;
        QSignalSpy away(&desk, &NcidLink::callWhileAway);
        QSignalSpy live(&desk, &NcidLink::callReceived);
        QSignalSpy blocked(&desk, &NcidLink::callBlocked);
        connectTo(desk, server, false, true);
        const QList<QByteArray> seen = {
            "CID: *DATE*12082026*TIME*0900*LINE*-*NMBR*222*MESG*NONE*NAME*Seen*",
            "HUP: *DATE*12082026*TIME*0901*LINE*-*NMBR*666*MESG*NONE*NAME*Spam*"};
        for (const QByteArray& l : seen) server.sendToAll(l + "\r\n");
        QTRY_COMPARE(blocked.size(), 1);
        QCOMPARE(blocked[0], QVariantList({"666", "Spam", "-"}));
        QCOMPARE(live.size(), 1);
        server.stop();
        server.callLog += seen;
        server.callLog += {"CID: *DATE*12082026*TIME*0901*LINE*2*NMBR*333*MESG*NONE*NAME*Same*",
                           "HUP: *DATE*12082026*TIME*0930*LINE*-*NMBR*777*MESG*NONE*NAME*Spam*",
                           "CID: *DATE*12092026*TIME*0805*LINE*-*NMBR*444*MESG*NONE*NAME*Next*"};
        QVERIFY(server.start(server.port()));
        QTRY_COMPARE(away.size(), 3);
        const auto at = [](int day, int h, int m) { return QDateTime(QDate(2026, 12, day), QTime(h, m)); };
        QCOMPARE(away[0], QVariantList({"333", "Same", "2", at(8, 9, 1), false}));
        QCOMPARE(away[1], QVariantList({"777", "Spam", "-", at(8, 9, 30), true}));
        QCOMPARE(away[2], QVariantList({"444", "Next", "-", at(9, 8, 5), false}));
        QCOMPARE(live.size(), 1);
        // Once more: nothing new.
        server.stop();
        QVERIFY(server.start(server.port()));
        QTRY_COMPARE(desk.stateText(), QString("подключено"));
        QTest::qWait(100);
        QCOMPARE(away.size(), 3);
    }

    void silentOrClosingServersAreTriedAgain() {
        zrktest::NcidTestServer server;
        server.greet = false;
        QVERIFY(server.start());
        NcidLink link;
        link.setTimings(20, 100, 200);
        QSignalSpy states(&link, &NcidLink::stateChanged);
        link.configure({server.address(), false, true, "-"});
        QTRY_VERIFY(states.contains(QVariantList{"нет связи: сервер не прислал приветствие"}));
        server.greet = true;
        QTRY_COMPARE(link.stateText(), QString("подключено"));
        server.stop();
        QTRY_COMPARE(link.stateText(), QString("нет связи: сервер закрыл соединение"));
        QVERIFY(server.start(server.port()));
        QTRY_COMPARE(link.stateText(), QString("подключено"));

        link.configure({"host:99999", false, true, "-"});
        QCOMPARE(link.stateText(), QString("нет связи: неверный адрес сервера"));
    }

    void onlyNewCallsOfOthersAreHandedOn() {
        zrktest::NcidTestServer server;
        server.callLog = {"CID: *DATE*12082026*TIME*0800*LINE*-*NMBR*111*MESG*NONE*NAME*Old*",
                          "CIDINFO: *LINE*-*RING*1*TIME*08:00:00*"};
        QVERIFY(server.start());
        NcidLink link;
        QSignalSpy calls(&link, &NcidLink::callReceived);
        QSignalSpy rings(&link, &NcidLink::ringReceived);
        link.configure({server.address(), true, true, "office"});
        QTRY_COMPARE(link.stateText(), QString("подключено"));

        // Garbage, a line of 2,000 bytes and unknown lines are passed over; the link stays up.
        server.sendToAll(QByteArray("\x00\x01garbage\r\n", 11) + QByteArray(2000, '*') +
                         "\r\nMSG: hi\r\nCID: *NMBR*222*NAME*New*\r\n"
                         "CIDINFO: *LINE*2*RING*2*TIME*09:00:00*\r\n");
        QTRY_COMPARE(calls.size(), 1);
        QCOMPARE(calls[0], QVariantList({"222", "New", ""}));
        QTRY_COMPARE(rings.size(), 1);
        QCOMPARE(rings[0][0].toInt(), 2);
        server.sendRing();  // a ring without caller ID: not a caller
        QTRY_COMPARE(rings.size(), 2);
        QCOMPARE(calls.size(), 1);

        // Our own call comes back from the server: it is not handed on; another line's is.
        link.sendCall(QDateTime::currentDateTime(), "333333", "Me");
        QVERIFY(server.waitForCalls(1));
        server.sendToAll("CID: *LINE*other*NMBR*333333*NAME*X*\r\n");
        QTRY_COMPARE(calls.size(), 2);
        QTest::qWait(50);
        QCOMPARE(calls.size(), 2);
        QCOMPARE(link.stateText(), QString("подключено"));
        QCOMPARE(link.droppedLines(), 1);
    }
};

QTEST_GUILESS_MAIN(TestNcid)
#include "tst_ncid.moc"
