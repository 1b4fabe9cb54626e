// The call's rules without a window: the modem's lines, a reported caller's action and its
// repeats, the dial and redial counts, and the daily schedules.
#include "core/call/CallRules.h"
#include "core/call/ScheduleRules.h"
#include "core/platform/Values.h"
#include "core/settings/Settings.h"

#include <QtTest>

#include <stdexcept>

using namespace zrk;

namespace {

const QDateTime kNoon(QDate(2026, 12, 8), QTime(12, 0));

// The steps of the batches as short texts: "ring", "report| 345", "status 5", "beep",
// "send AT+SR"; " ~" marks a step after which the ring sound and blink follow.
QStringList feedAll(CallRules& rules, const TIni& s, const QList<QByteArray>& batches) {
    QStringList steps;
    for (const QByteArray& b : batches)
        rules.feed(b.constData(), b.size(), s, kNoon, [&](const ModemStep& step) {
            // Named in the order of ModemStep::Kind.
            static const char* const kNames[] = {"ring", "report|", "status ", "beep", "send "};
            const QString t = QString::fromLatin1(kNames[step.kind]) +
                              (step.kind == ModemStep::Status ? QString::number(step.status)
                                                              : step.text);
            steps.append(step.wave ? t + " ~" : t);
        });
    return steps;
}

CallerInfo caller(int status, int groupAction = 0, const QString& groupSound = {}) {
    CallerInfo who;
    who.status = status;
    who.name = status < 0 ? QString() : QStringLiteral("Иванов");
    who.group = BookGroup::empty();
    who.group.Action = groupAction;
    who.group.Sound.setText(groupSound);
    return who;
}

double hm(int h, int m) { return timeValue(QTime(h, m)); }

}  // namespace

class TestCallRules : public QObject {
    Q_OBJECT
private slots:
    void modemLines_data() {
        QTest::addColumn<int>("answerOnRing");
        QTest::addColumn<bool>("dialled");
        QTest::addColumn<QList<QByteArray>>("batches");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("ringCount");
        const auto row = [](const char* tag, const QList<QByteArray>& batches,
                            const QStringList& steps, int answerOnRing = 0, int ringCount = 0,
                            bool dialled = false) {
            QTest::newRow(tag) << answerOnRing << dialled << batches << steps << ringCount;
        };
        row("not rings", {"ring\r RING\rRING \rRING"}, {});
        row("no carrier without a dial", {"NO CARRIER\r"}, {});
        row("first ring asks", {"RING\r\n"}, {"ring", "send AT+SR"});
        row("ring over two batches", {"RI", "NG\r"}, {"ring", "send AT+SR"});
        row("three in a batch ask once", {"RING\r\nRING\r\nRING\r\n"},
            {"ring", "ring", "ring", "send AT+SR"});
        row("third ring asks", {"RING\r", "RING\r", "RING\r", "RING\r"},
            {"ring", "ring", "ring", "send AT+SR", "ring"}, 2, 1);
        row("two of three", {"RING\r", "RING\r"}, {"ring", "ring"}, 2, 2);
        row("responses", {"BUSY\rERROR\rNO CARRIER\rRINGING\rBEEP\rOK\rCallerID: 2345678:1\r"},
            {"status 5", "status 6", "status 7", "status 8", "beep ~", "report| 2345678:1"}, 0, 0,
            true);
        row("no colon, no report", {"CallerID 2345678\r"}, {});
    }
    void modemLines() {
        QFETCH(int, answerOnRing);
        QFETCH(bool, dialled);
        QFETCH(QList<QByteArray>, batches);
        QFETCH(QStringList, steps);
        TIni s = TIni::defaults();
        s.AnswerOnRing = answerOnRing;
        CallRules rules;
        if (dialled) rules.dialed();
        QCOMPARE(feedAll(rules, s, batches), steps);
        QTEST(rules.ringCount(), "ringCount");
        QCOMPARE(rules.ringActive(), steps.contains("ring"));
    }

    // A step that fails (the log cannot be written, the port refuses a command) ends its
    // batch: the identification is not asked for and the rings stay counted for the next.
    void failedStepEndsTheBatch() {
        const TIni s = TIni::defaults();
        CallRules rules;
        const QByteArray batch = "RING\rBUSY\rRING\r";
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 rules.feed(batch.constData(), batch.size(), s, kNoon,
                                            [](const ModemStep& step) {
                                                if (step.kind == ModemStep::Status)
                                                    throw std::runtime_error("write");
                                            }));
        QCOMPARE(rules.ringCount(), 1);
        QCOMPARE(feedAll(rules, s, {"RING\r"}), (QStringList{"ring", "send AT+SR"}));
        QCOMPARE(rules.ringCount(), 0);
    }

    void action_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("groupAction");
        QTest::addColumn<QString>("groupSound");
        QTest::addColumn<int>("onNormal");
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("callerClass");
        QTest::addColumn<QString>("sound");
        // Defaults: "On Normal" none, "On Bad" ignore, "On Prior" message.
        QTest::newRow("not in the book") << -1 << 0 << "" << 3 << 0 << -1 << "ring.wav";
        QTest::newRow("normal") << 0 << 0 << "" << 0 << 0 << 0 << "normal.wav";
        QTest::newRow("bad") << 1 << 0 << "" << 0 << 2 << 1 << "bad.wav";
        QTest::newRow("priority") << 2 << 0 << "" << 0 << 1 << 2 << "prior.wav";
        QTest::newRow("other status as normal") << 7 << 0 << "" << 3 << 3 << 7 << "ring.wav";
        QTest::newRow("group action wins") << 2 << 3 << "" << 0 << 3 << 2 << "prior.wav";
        QTest::newRow("group sound") << 1 << 0 << "group.wav" << 0 << 2 << 9 << "group.wav";
    }
    void action() {
        QFETCH(int, status);
        QFETCH(int, groupAction);
        QFETCH(QString, groupSound);
        QFETCH(int, onNormal);
        QFETCH(int, action);
        TIni s = TIni::defaults();
        s.OnNormal = onNormal;
        s.SoundOnNormal = "normal.wav";
        s.SoundOnBad = "bad.wav";
        s.SoundOnPrior = "prior.wav";
        CallRules rules;
        feedAll(rules, s, {"RING\r"});
        const CallerDecision d =
            rules.report("345678", caller(status, groupAction, groupSound), false, s, kNoon);
        QCOMPARE(d.action, action);
        QVERIFY(!d.again);
        QCOMPARE(d.shown, QString("34-56-78"));
        QTEST(rules.callerClass(), "callerClass");
        QTEST(rules.ringSound(s), "sound");
        // Ignoring and hanging up keep the call silent; the other actions let it ring.
        QCOMPARE(rules.ringActive(), action != ActionIgnore && action != ActionHangUp);
    }

    // The same number again while its call rings (rings at most 8 s apart) is that call
    // asked about once more: not acted on again, and silent if its action silenced it.
    void repeatedReport_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("between");  // "" , "ignore" (the user's), "answer"
        QTest::addColumn<int>("gap");          // seconds between the two rings
        QTest::addColumn<bool>("remote");
        QTest::addColumn<bool>("again");
        QTest::addColumn<bool>("ringing");
        QTest::newRow("ignored stays silent") << 1 << "" << 5 << false << true << false;
        QTest::newRow("alert once, rings on") << 2 << "" << 5 << false << true << true;
        QTest::newRow("the user's ignore holds") << 2 << "ignore" << 5 << false << true << false;
        QTest::newRow("rings 8 s apart: same call") << 1 << "" << 8 << false << true << false;
        QTest::newRow("rings 9 s apart: new call") << 1 << "" << 9 << false << false << false;
        QTest::newRow("answered: new call") << 2 << "answer" << 5 << false << false << true;
        QTest::newRow("the server's: never a repeat") << 2 << "" << 5 << true << false << true;
    }
    void repeatedReport() {
        QFETCH(int, status);
        QFETCH(QString, between);
        QFETCH(int, gap);
        QFETCH(bool, remote);
        QFETCH(bool, again);
        const TIni s = TIni::defaults();
        const int action = status == 1 ? ActionIgnore : ActionMessage;
        CallRules rules;
        const QByteArray ring = "RING\r";
        rules.feed(ring.constData(), ring.size(), s, kNoon, [](const ModemStep&) {});
        QCOMPARE(rules.report("111", caller(status), remote, s, kNoon.addSecs(1)).action, action);
        if (between == "ignore") rules.setRingActive(false);
        if (between == "answer") {
            rules.endCall();
            rules.answered();
        }
        const QDateTime next = kNoon.addSecs(gap);
        rules.feed(ring.constData(), ring.size(), s, next, [](const ModemStep&) {});
        QVERIFY(rules.ringActive());
        const CallerDecision d = rules.report("111", caller(status), remote, s, next.addSecs(1));
        QCOMPARE(d.again, again);
        QCOMPARE(d.action, again ? int(ActionNone) : action);
        QTEST(rules.ringActive(), "ringing");
    }

    // Redial with 3 attempts: two countdowns, then the third failure gives up; without
    // redial every status ends the count. NO CARRIER after either is no answer to a dial.
    void redialCount() {
        TIni s = TIni::defaults();
        s.ReDial = true;
        CallRules rules;
        QList<Redial> got;
        for (int i = 0; i < 3; ++i) {
            rules.statusShown(2, s);
            rules.dialed();
            got.append(rules.statusShown(5, s));
        }
        QCOMPARE(got, (QList<Redial>{Redial::Again, Redial::Again, Redial::GiveUp}));
        QCOMPARE(rules.dialCount(), 0);
        QVERIFY(feedAll(rules, s, {"NO CARRIER\r"}).isEmpty());

        s.ReDial = false;
        rules.dialed();
        QCOMPARE(rules.statusShown(5, s), Redial::None);
        QVERIFY(feedAll(rules, s, {"NO CARRIER\r"}).isEmpty());
    }

    // Moved with the rule from the settings' tests.
    void scheduleRule() {
        const auto hm = [](int h, int m) { return (h * 60 + m) / 1440.0; };
        // Each rule with the times it keeps the port closed and the times it leaves it open.
        const QList<std::tuple<double, double, QList<QTime>, QList<QTime>>> rules = {
            {0.0, hm(7, 0), {QTime(0, 0), QTime(6, 59, 59)}, {QTime(7, 0)}},
            {hm(22, 0), hm(6, 0), {QTime(23, 59)}, {QTime(6, 0), QTime(21, 59)}},
            {hm(8, 0), hm(7, 0), {QTime(12, 0)}, {QTime(7, 30)}},
            {hm(7, 0), hm(7, 0), {}, {QTime(7, 0)}},
            // Times from the options dialog carry a date; only the time of day counts.
            {36202.0, 36202.0 + hm(7, 0), {QTime(6, 59)}, {}},
            {0.0, 36202.0, {}, {QTime(3, 0)}}};
        for (const auto& [off, on, closed, open] : rules) {
            // In force exactly when it closes at some time of day; never when switched off.
            QCOMPARE(scheduleInForce(true, off, on), !closed.isEmpty());
            QVERIFY(!scheduleInForce(false, off, on));
            for (const QTime& t : closed) {
                QVERIFY2(scheduleOff(true, off, on, t), qPrintable(t.toString()));
                QVERIFY(!scheduleOff(false, off, on, t));  // the rule switched off
            }
            for (const QTime& t : open)
                QVERIFY2(!scheduleOff(true, off, on, t), qPrintable(t.toString()));
        }
    }

    // What the ticks do: "HH:mm" is a tick, "!" flips the schedule's switch; the answer has
    // one letter per tick: "-" nothing, "F" turn off, "N" turn on.
    void scheduleEdges_data() {
        QTest::addColumn<double>("off");
        QTest::addColumn<double>("on");
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QString>("changes");
        const auto row = [](const char* tag, double off, double on, QTime start,
                            const QStringList& ticks, const char* changes) {
            QTest::newRow(tag) << off << on << start << ticks << QString(changes);
        };
        const double h22 = hm(22, 0), h6 = hm(6, 0);
        row("equal times", hm(7, 0), hm(7, 0), QTime(6, 0), {"06:59", "07:00", "07:01"}, "---");
        row("across midnight", h22, h6, QTime(21, 0),
            {"21:59", "22:00", "23:59", "00:00", "05:59", "06:00", "12:00"}, "-F---N-");
        row("within the day", hm(8, 0), hm(17, 0), QTime(7, 0),
            {"07:59", "08:00", "16:59", "17:00"}, "-F-N");
        row("started in the off period", h22, h6, QTime(23, 0), {"23:30", "06:00"}, "-N");
        row("edge before the first tick", h22, h6, QTime(21, 59, 45), {"22:00"}, "F");
        row("switched off at night, never opens", h22, h6, QTime(21, 0),
            {"22:00", "!", "06:00", "!", "12:00", "22:00"}, "F--F");
    }
    void scheduleEdges() {
        QFETCH(double, off);
        QFETCH(double, on);
        QFETCH(QTime, start);
        QFETCH(QStringList, ticks);
        // The port's schedule alone, then the sound's alone: each acts on its own only.
        for (const bool port : {true, false}) {
            TIni s = TIni::defaults();
            (port ? s.PortOnOff : s.SoundOnOff) = true;
            (port ? s.PortOff : s.SoundOff) = off;
            (port ? s.PortOn : s.SoundOn) = on;
            ScheduleRules rules;
            rules.take(s, start);
            QString got;
            for (const QString& tick : ticks) {
                if (tick == "!") {
                    bool& enabled = port ? s.PortOnOff : s.SoundOnOff;
                    enabled = !enabled;
                    continue;
                }
                const QTime t = QTime::fromString(tick, "HH:mm");
                const ScheduleRules::Change mine = port ? rules.portChange(s, t)
                                                        : rules.soundChange(s, t);
                const ScheduleRules::Change other = port ? rules.soundChange(s, t)
                                                         : rules.portChange(s, t);
                QCOMPARE(other, ScheduleRules::None);
                got += mine == ScheduleRules::TurnOff  ? 'F'
                       : mine == ScheduleRules::TurnOn ? 'N'
                                                       : '-';
            }
            QTEST(got, "changes");
        }
    }
};

QTEST_APPLESS_MAIN(TestCallRules)
#include "tst_callrules.moc"
