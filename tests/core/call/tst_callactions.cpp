// Call actions with real child processes: what a program receives, what an address keeps,
// which calls set an action off, and a program that hangs.
#include "core/call/ActionText.h"
#include "core/call/CallActions.h"
#include "core/call/ProgramRunner.h"

#include "TestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QUrlQuery>

#include <csignal>

using namespace zrk;
using namespace zrk::actions;

namespace {

CallActionSpec action(const char* event, QLatin1String kind, const QString& templ = {},
                      const QString& program = {}, const QStringList& arguments = {}) {
    return {QString::fromLatin1(event), kind, templ, program, arguments, 0, {}, true};
}

CallerShown caller(const QString& name, int status = 0, const QString& group = "Клиенты") {
    CallerShown c;
    c.number = "4952345678";
    c.shown = "495-234-56-78";
    c.name = name;
    c.status = status;
    c.group = group;
    c.when = QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7));
    return c;
}

// A program that writes each of its arguments, each ended by a zero byte, to $ZRK_ARGV_OUT
// (the environment is the user's, so it finds the variable), then makes a child of its own
// that records its pid and waits as long as the program was asked to.
QString argvWriter(const zrktest::Sandbox& box) {
    const QString path = box.filePath("argv.sh");
    zrktest::writeAll(path,
                      "#!/bin/sh\n"
                      "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$ZRK_ARGV_OUT.part\"\n"
                      "mv \"$ZRK_ARGV_OUT.part\" \"$ZRK_ARGV_OUT\"\n"
                      "[ -n \"$ZRK_HANG\" ] || exit 0\n"
                      "sleep 1000 & echo $! > \"$ZRK_ARGV_OUT.child\"\n"
                      "wait\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList argvOf(const QString& file) {
    const QByteArray bytes = zrktest::readAll(file);
    QStringList args;
    for (const QByteArray& a : bytes.split('\0')) args << QString::fromUtf8(a);
    args.removeLast();  // after the last terminator
    return args;
}

struct Speech : SpeechOutput {
    QStringList* said;
    explicit Speech(QStringList* s) : said(s) {}
    void say(const QString& text) override { *said << "say " + text; }
    void stop() override { *said << "stop"; }
};

}  // namespace

class TestCallActions : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        ini().CallActions.clear();
        qunsetenv("ZRK_HANG");
    }

    // Names from the line and the network: a program gets each template as one argument, the
    // value never split, never seen by a shell, control characters dropped; an address keeps
    // its structure, the name whole inside its field.
    void hostileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("arrives");  // the name as the program and the page get it
        QTest::newRow("blanks and quotes") << "O'Brien \"Big\" Co"
                                           << "O'Brien \"Big\" Co";
        QTest::newRow("shell") << "x; rm -rf ~ $(touch pwned) `touch pwned2` && echo"
                               << "x; rm -rf ~ $(touch pwned) `touch pwned2` && echo";
        QTest::newRow("url parts") << "A&phone=1#top?x=/../admin y"
                                   << "A&phone=1#top?x=/../admin y";
        QTest::newRow("newlines") << "Иванов\nИван\r\t\x1b[31m"
                                  << "ИвановИван[31m";
        QTest::newRow("cyrillic") << "Ёлкин Пётр, ООО «Ромашка»"
                                  << "Ёлкин Пётр, ООО «Ромашка»";
        QTest::newRow("braces") << "{digits} {name"
                                << "{digits} {name";
    }
    void hostileNames() {
        QFETCH(QString, name);
        QFETCH(QString, arrives);
        zrktest::Sandbox box;
        const QString out = box.filePath("args");
        qputenv("ZRK_ARGV_OUT", out.toLocal8Bit());
        ini().CallActions = {
            action("caller", kKindProgram, {}, argvWriter(box),
                   {"{name}", "--phone={digits}", "{group} {status}", "", "$HOME {nothing}"}),
            action("caller", kKindUrl,
                   "https://crm.example/search?name={name}&phone={digits}#card")};
        CallDesk desk;
        CallActionRunner runner(desk);
        QList<QUrl> opened;
        runner.setUrlOpener([&](const QUrl& u) { return opened << u, true; });
        runner.perform(CallEvent::Caller, caller(name));

        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 10000);
        QCOMPARE(argvOf(out), (QStringList{arrives, "--phone=4952345678", "Клиенты normal", "",
                                           "$HOME {nothing}"}));
        QVERIFY(!QFile::exists(QDir::home().filePath("pwned")) && !QFile::exists("pwned"));

        QCOMPARE(opened.size(), 1);
        const QUrl& url = opened[0];
        QCOMPARE(url.host(), QString("crm.example"));
        QCOMPARE(url.path(), QString("/search"));
        QCOMPARE(url.fragment(), QString("card"));
        const QUrlQuery query(url);
        QCOMPARE(query.queryItems().size(), 2);
        QCOMPARE(query.queryItemValue("name", QUrl::FullyDecoded), arrives);
        QCOMPARE(query.queryItemValue("phone"), QString("4952345678"));
    }

    // Which actions a call's event sets off: the event's own, enabled, and whose filter takes
    // the caller (no status ticked: all; a stranger is a normal caller outside every group).
    void filters_data() {
        QTest::addColumn<QString>("event");  // the action's
        QTest::addColumn<uint>("statuses");  // the action's
        QTest::addColumn<QString>("group");  // the action's
        QTest::addColumn<int>("happened");   // CallEvent
        QTest::addColumn<int>("status");     // the caller's; -1: not in the book
        QTest::addColumn<bool>("runs");
        const int ring = int(CallEvent::Ring), who = int(CallEvent::Caller);
        const int missed = int(CallEvent::Missed);
        QTest::newRow("unknown event") << "hangup" << 0u << "" << who << 0 << false;
        QTest::newRow("other event") << "missed" << 0u << "" << who << 0 << false;
        QTest::newRow("bad only, normal caller") << "caller" << 2u << "" << who << 0 << false;
        QTest::newRow("other group") << "caller" << 0u << "Поставщики" << who << 0 << false;
        QTest::newRow("group, stranger") << "caller" << 0u << "Клиенты" << who << -1 << false;
        QTest::newRow("filtered ring") << "ring" << 4u << "" << ring << 2 << false;
        QTest::newRow("bad only, bad caller") << "caller" << 2u << "" << who << 1 << true;
        QTest::newRow("normal, stranger") << "missed" << 1u << "" << missed << -1 << true;
        QTest::newRow("normal or priority") << "Missed " << 5u << "" << missed << 2 << true;
        QTest::newRow("group, any case") << "caller" << 0u << " клиенты" << who << 0 << true;
        QTest::newRow("ring, no filter") << "ring" << 0u << "" << ring << -1 << true;
    }
    void filters() {
        QFETCH(QString, event);
        QFETCH(uint, statuses);
        QFETCH(QString, group);
        QFETCH(int, happened);
        QFETCH(int, status);
        QFETCH(bool, runs);
        CallActionSpec a = action("", kKindSpeak);
        a.event = event;
        a.statuses = statuses;
        a.group = group;
        const CallerShown c =
            CallEvent(happened) == CallEvent::Ring ? CallerShown{} : caller("Иванов", status);
        QCOMPARE(applies(a, CallEvent(happened), c), runs);
        a.enabled = false;
        QVERIFY(!applies(a, CallEvent(happened), c));
    }

    // A program that hangs is stopped at its time with what it started; one that cannot
    // start is told once, and again only after it started in between.
    void hungAndMissingPrograms() {
        zrktest::Sandbox box;
        const QString out = box.filePath("args");
        qputenv("ZRK_ARGV_OUT", out.toLocal8Bit());
        qputenv("ZRK_HANG", "1");
        ProgramRunner runner;
        runner.setTimeLimit(500);
        QSignalSpy finished(&runner, &ProgramRunner::finished);
        QSignalSpy failed(&runner, &ProgramRunner::failed);
        QVERIFY(runner.run(argvWriter(box), {"one"}));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out + ".child"), 10000);
        const pid_t child = zrktest::readAll(out + ".child").trimmed().toInt();
        QVERIFY(child > 0 && ::kill(child, 0) == 0);
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished[0][1].toBool(), true);  // stopped, not ended by itself
        QTRY_VERIFY_WITH_TIMEOUT(::kill(child, 0) != 0, 5000);
        QCOMPARE(runner.running(), 0);

        const QString missing = box.filePath("no-such-program");
        runner.run(missing, {});
        runner.run(missing, {});
        QTRY_COMPARE(failed.size(), 1);
        QTest::qWait(200);
        QCOMPARE(failed.size(), 1);
        QVERIFY(failed[0][0].value<Failure>().text.contains(missing));
        zrktest::writeAll(missing, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(missing, QFile::ReadOwner | QFile::ExeOwner);
        runner.run(missing, {});
        QVERIFY(finished.wait(10000));
        QFile::remove(missing);
        runner.run(missing, {});
        QTRY_COMPARE(failed.size(), 2);
    }

    // What is said for a call, through the voice's interface: the template filled with the
    // status in words, the next call cutting it off, a voice that fails told once.
    void speech() {
        ini().CallActions = {action("caller", kKindSpeak, "Звонит {name}, {status}"),
                             action("missed", kKindSpeak, "  "),
                             action("caller", kKindUrl, "{name}")};
        CallDesk desk;
        CallActionRunner runner(desk);
        QStringList said;
        int made = 0;
        runner.setSpeech([&]() -> std::unique_ptr<SpeechOutput> {
            ++made;
            return std::make_unique<Speech>(&said);
        });
        QSignalSpy failed(&runner, &CallActionRunner::failed);
        runner.perform(CallEvent::Caller, caller("Иванов\nИван", 1));
        runner.perform(CallEvent::Missed, caller("Иванов", 1));
        runner.perform(CallEvent::Ring, {});
        runner.perform(CallEvent::Caller, caller("Петров", 2));
        QCOMPARE(said, (QStringList{"say Звонит ИвановИван, плохой", "stop",
                                    "say Звонит Петров, приоритетный"}));
        QCOMPARE(made, 1);
        // No opener given (the line server): an address is not even looked at.
        QCOMPARE(failed.size(), 0);
        runner.setUrlOpener([](const QUrl&) { return true; });
        runner.perform(CallEvent::Caller, caller("Сидоров"));
        runner.perform(CallEvent::Caller, caller("Сидоров"));
        QCOMPARE(failed.size(), 1);  // "Сидоров" is no address: said once
    }
};

QTEST_GUILESS_MAIN(TestCallActions)
#include "tst_callactions.moc"
