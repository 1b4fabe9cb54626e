// The NCID protocol pieces without a socket, and the link against a small server of our own.
#include "net/NcidLink.h"
#include "net/NcidProtocol.h"
#include "platform/Cp1251.h"

#include "NcidTestServer.h"

#include <QSignalSpy>
#include <QTest>

using namespace zrk;
using namespace zrk::ncid;

class TestNcid : public QObject {
    Q_OBJECT
private slots:
    void serverLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("ring");
        const int other = ServerLine::Other;
        QTest::newRow("garbage") << QByteArray("\x01\xff garbage") << other << ""
                                 << "" << 0;
        QTest::newRow("empty") << QByteArray() << other << ""
                               << "" << 0;
        QTest::newRow("CID without a number")
            << QByteArray("CID: *DATE*12082026*TIME*1247*LINE*-*MESG*NONE*NAME*X*") << other << ""
            << "" << 0;
        QTest::newRow("CID without stars") << QByteArray("CID: 4951234567") << other << ""
                                           << "" << 0;
        QTest::newRow("ring not a number") << QByteArray("CIDINFO: *LINE*-*RING*x*") << other << ""
                                           << "" << 0;
        QTest::newRow("log line") << QByteArray("CIDLOG: *DATE*12082026*TIME*1247*NMBR*1*NAME*A*")
                                  << other << ""
                                  << "" << 0;
        QTest::newRow("unknown type") << QByteArray("MSG: hello") << other << ""
                                      << "" << 0;
        QTest::newRow("200 without blank") << QByteArray("200") << other << ""
                                           << "" << 0;
        QTest::newRow("greeting") << QByteArray("200 NCID Server: ncidd 1.0")
                                  << int(ServerLine::Greeting) << ""
                                  << "" << 0;
        QTest::newRow("log end") << QByteArray("300 End of connection startup")
                                 << int(ServerLine::LogEnd) << ""
                                 << "" << 0;
        QTest::newRow("call, UTF-8 name")
            << QByteArray("CID: *DATE*12082026*TIME*1247*LINE*2*NMBR*4951234567*MESG*NONE*NAME*") +
                   QString("Иванов Иван").toUtf8() + "*"
            << int(ServerLine::Call) << "4951234567"
            << "Иванов Иван" << 0;
        QTest::newRow("call, star in the name")
            << QByteArray("CID: *DATE*12082026*TIME*1247*LINE*-*NMBR*123*MESG*NONE*NAME*A*B*")
            << int(ServerLine::Call) << "123"
            << "A*B" << 0;
        QTest::newRow("call, name in the Russian code page")
            << QByteArray("CID: *NMBR*123*NAME*") + toCp1251("Пётр") + "*" << int(ServerLine::Call)
            << "123"
            << "Пётр" << 0;
        QTest::newRow("ring") << QByteArray("CIDINFO: *LINE*-*RING*3*TIME*12:47:08*")
                              << int(ServerLine::Ring) << ""
                              << "" << 3;
    }
    void serverLines() {
        QFETCH(QByteArray, line);
        const ServerLine l = parseServerLine(line);
        QTEST(int(l.kind), "kind");
        QTEST(l.number, "number");
        QTEST(l.name, "name");
        QTEST(l.ring, "ring");
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
        QCOMPARE(reportNumber("PRIVATE"), QString("Unknown"));
        QCOMPARE(reportNumber("+7 (495) 123-45-67"), QString("74951234567"));
        // A name or label cannot break the line or the clients' fields.
        QCOMPARE(
            callLine(QDateTime(QDate(2026, 1, 2), QTime(3, 4)), "", "", "A\r\nB*C...D+++"),
            QByteArray("CALL: ###DATE01020304...CALLIN...LINE-...NMBROUT-OF-AREA...NAMEA  B C. "
                       ".D+ ++++"));
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
        QList<QByteArray> sent = q.takeToSend();
        QCOMPARE(sent.first(), QByteArray("2"));
        QCOMPARE(sent.last(), QByteArray("101"));
        q.written(3 + 3 + 1);  // "2\r\n", "3\r\n" and a byte of "4"
        QCOMPARE(q.size(), 98);
        q.lost();  // "4" on was never confirmed: it goes again, in order
        sent = q.takeToSend();
        QCOMPARE(sent.size(), 98);
        QCOMPARE(sent.first(), QByteArray("4"));
        QVERIFY(q.takeToSend().isEmpty());
    }

    void pausesGrowAndStartAgainAfterAStableLink() {
        ReconnectPause p(1000, 5000, 30000);
        QList<int> pauses;
        for (qint64 up : {-1, -1, 100, -1, -1, 30000, -1}) pauses.append(p.afterLoss(up));
        QCOMPARE(pauses, QList<int>({1000, 2000, 4000, 5000, 5000, 1000, 2000}));
    }

    // --- the link against a server ---

    void callsWaitForTheServerAndArriveInOrder() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        const quint16 port = server.port();
        server.stop();  // down from the start
        NcidLink link;
        link.setTimings(20, 100, 2000);
        link.configure({server.address(), true, false, "-"});
        QTRY_VERIFY(link.stateText().startsWith("нет связи: "));
        const QDateTime when(QDate(2026, 12, 8), QTime(9, 5));
        for (int i = 0; i < 100; ++i) link.sendCall(when, QString::number(100000 + i), {});
        QCOMPARE(link.unsent(), 100);
        QVERIFY(server.start(port));
        QVERIFY(server.waitForCalls(100));
        for (int i = 0; i < 100; ++i)
            QVERIFY(server.calls()[i].contains("NMBR" + QByteArray::number(100000 + i) + "..."));
        QCOMPARE(link.stateText(), QString("подключено"));
        QTRY_COMPARE(link.unsent(), 0);
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
