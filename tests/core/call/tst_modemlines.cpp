#include "core/call/CallEpisode.h"
#include "core/call/CallerReport.h"
#include "core/call/ModemLines.h"
#include "core/settings/Settings.h"

#include <QtTest>

using namespace zrk;

namespace {

QList<QByteArray> feedAll(LineAssembler& a, const QList<QByteArray>& batches) {
    QList<QByteArray> lines;
    for (const QByteArray& b : batches)
        a.feed(b.constData(), b.size(), [&](const QByteArray& l) { lines.append(l); });
    return lines;
}

}  // namespace

class TestModemLines : public QObject {
    Q_OBJECT
private slots:
    void assembly_data() {
        QTest::addColumn<QList<QByteArray>>("batches");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::newRow("CR LF") << QList<QByteArray>{"RING\r\n"} << QList<QByteArray>{"RING"};
        QTest::newRow("LF first") << QList<QByteArray>{"\nRING\r"} << QList<QByteArray>{"RING"};
        QTest::newRow("split") << QList<QByteArray>{"RI", "NG\r"} << QList<QByteArray>{"RING"};
        QTest::newRow("NUL inside") << QList<QByteArray>{QByteArray("RI\0NG\r", 6)}
                                    << QList<QByteArray>{"RING"};
        QTest::newRow("three") << QList<QByteArray>{"RING\r\nRING\r\nRING\r\n"}
                               << QList<QByteArray>{"RING", "RING", "RING"};
        QTest::newRow("no CR") << QList<QByteArray>{"RING\n"} << QList<QByteArray>{};
        QTest::newRow("empty line") << QList<QByteArray>{"\r"} << QList<QByteArray>{""};
    }
    void assembly() {
        QFETCH(QList<QByteArray>, batches);
        LineAssembler a;
        QTEST(feedAll(a, batches), "lines");
    }

    // A device that never sends a carriage return must not grow memory without end, and a
    // good line after the garbage is still heard.
    void garbageWithoutCarriageReturnIsDropped() {
        LineAssembler a;
        const QByteArray junk(1024 * 1024, 'x');
        QList<QByteArray> lines = feedAll(a, {junk});
        QVERIFY(lines.isEmpty());
        QVERIFY(a.pending().size() <= LineAssembler::kMaxLine);
        lines = feedAll(a, {"tail\rRING\r"});
        QCOMPARE(lines, QList<QByteArray>{"RING"});  // the over-long line is dropped whole
        QVERIFY(a.pending().isEmpty());
    }

    void recognition_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<int>("response");
        QTest::addColumn<QByteArray>("report");
        const auto row = [](const char* tag, const QByteArray& line, Response response,
                            const QByteArray& report = {}, const QByteArray& prefix = "CallerID:") {
            QTest::newRow(tag) << line << prefix << int(response) << report;
        };
        row("ring", "RING", Response::Ring);
        row("lower", "ring", Response::Other);
        row("trailing blank", "RING ", Response::Other);
        row("leading blank", " RING", Response::Other);
        row("report", "CallerID: 2345678:1", Response::CallerId, " 2345678:1");
        row("no colon", "CallerID 2345678", Response::Other);
        row("empty prefix OK", "OK", Response::CallerId, "OK", QByteArray());
        row("empty prefix RING", "RING", Response::Ring, {}, QByteArray());
        row("busy", "BUSY", Response::Busy);
        row("no carrier", "NO CARRIER", Response::NoCarrier);
        row("ringing", "RINGING", Response::Ringing);
        row("beep", "BEEP", Response::Beep);
    }
    void recognition() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, prefix);
        QByteArray got;
        QTEST(int(recognise(line, prefix, &got)), "response");
        QTEST(got, "report");
    }

    void reports() {
        TIni s = TIni::defaults();
        ReportParts p = parseReport(" 2345678:1", s);
        QCOMPARE(p.number, QString("345678"));
        QCOMPARE(p.caption, QString("[квартира, учреждение]"));
        QVERIFY(p.hint.startsWith("Абоненты квартирные"));
        QVERIFY(p.showHint);

        p = parseReport("Unknown", s);
        QCOMPARE(p.number, QString("Unknown"));
        QVERIFY(!p.hasCategory);

        p = parseReport("123456:x", s);  // an unknown category keeps the hint as it was
        QCOMPARE(p.caption, QString("[неизвестно]"));
        QVERIFY(!p.hintChanged);
        QCOMPARE(p.number, QString("123456"));

        p = parseReport("7654321:0", s);  // no "|": caption only, hint off
        QCOMPARE(p.caption, QString("[неизвестно]"));
        QVERIFY(p.hintChanged && !p.showHint && p.hint.isEmpty());

        // Words for a withheld number come whole, never cut or split at a colon; anything
        // with a digit in it is still a number.
        for (const auto& [report, number] :
             {std::pair{"Restricted", "Restricted"}, {"P", "P"}, {" O ", "O"},
              {"OUT-OF-AREA", "OUT-OF-AREA"}, {"PRIVATE:x", "PRIVATE:x"},
              {"Anonymous Caller", "AnonymousCaller"}, {"A1234567", "234567"}}) {
            p = parseReport(report, s);
            QCOMPARE(p.number, QString(number));
            QCOMPARE(p.hasCategory, false);
        }

        p = parseReport("1", s);
        QCOMPARE(p.number, QString("1"));
        s.DigitsInPhoneNumber = 0;
        QCOMPARE(parseReport("12345:1", s).number, QString());
    }

    void grouping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sep");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("grouped");
        QTest::newRow("pairs 6") << "123456" << "-" << 2 << "12-34-56";
        QTest::newRow("pairs 7") << "1234567" << "-" << 2 << "123-45-67";
        QTest::newRow("short") << "123" << "-" << 2 << "123";
        QTest::newRow("threes 5") << "12345" << "-" << 3 << "12345";
        QTest::newRow("threes 6") << "123456" << "-" << 3 << "123-456";
        QTest::newRow("threes 7") << "1234567" << "-" << 3 << "1234-567";
        QTest::newRow("no separator") << "123456" << "" << 2 << "123456";
        QTest::newRow("zero size") << "123" << "-" << 0 << "-1-2-3";
        QTest::newRow("empty") << "" << "-" << 2 << "";
    }
    void grouping() {
        QFETCH(QString, text);
        QFETCH(QString, sep);
        QFETCH(int, n);
        QTEST(GroupDigits(text, sep, n), "grouped");
    }

    // Which reports repeat the call that rings: events are "r" (a ring) or a number (a
    // report) at a second; "e" ends the call. The answer lists each report's verdict.
    void callEpisodes_data() {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QList<bool>>("repeats");
        const auto row = [](const char* tag, const QStringList& events,
                            const QList<bool>& repeats) {
            QTest::newRow(tag) << events << repeats;
        };
        row("same call", {"0 r", "1 111", "5 r", "6 111", "11 r", "12 111"}, {false, true, true});
        row("last ring 8 s before", {"0 r", "1 111", "8 111"}, {false, true});
        row("9 s after the ring", {"0 r", "1 111", "9 111"}, {false, false});
        row("another number", {"0 r", "1 111", "2 222", "3 222"}, {false, false, true});
        row("no ring", {"0 111", "1 111"}, {false, false});
        row("clock set back", {"100 r", "101 111", "50 111"}, {false, false});
    }
    void callEpisodes() {
        QFETCH(QStringList, events);
        const QDateTime base(QDate(2026, 12, 8), QTime(12, 0));
        CallEpisode call;
        QList<bool> got;
        for (const QString& e : events) {
            const QStringList parts = e.split(' ');
            const QDateTime at = base.addSecs(parts[0].toInt());
            if (parts[1] == "r") call.ring(at);
            else if (parts[1] == "e") call.end();
            else got.append(call.repeats(parts[1], at));
        }
        QTEST(got, "repeats");
    }

    void talkTimerWraps() {
        QCOMPARE(talkTimerText(65), QString("01 : 05"));
        QCOMPARE(talkTimerText(5940), QString("99 : 00"));
        QCOMPARE(nextTalkSecond(5940), 5941);
        QCOMPARE(talkTimerText(5941), QString("99 : 01"));
        QCOMPARE(nextTalkSecond(5941), 1);
    }
};

QTEST_GUILESS_MAIN(TestModemLines)
#include "tst_modemlines.moc"
