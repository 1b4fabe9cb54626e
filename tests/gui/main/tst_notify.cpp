// Desktop notifications of the calls, against a notification service of the test's own on a
// session bus of its own.
#include "MainFixture.h"

#include "gui/main/CallNotifier.h"
#include "core/platform/Clock.h"
#include "gui/desktop/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

#include <optional>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

using namespace zrk;

namespace {

// A private bus: a daemon of ours with no services to start, gone with the test.
struct PrivateBus {
    pid_t pid = -1;
    QByteArray address;
    QByteArray problem;

    PrivateBus() {
        const QByteArray dir = QDir::tempPath().toLocal8Bit();
        const QByteArray config =
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\" "
            "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:dir=" +
            dir +
            "</listen>"
            "<auth>EXTERNAL</auth><policy context=\"default\">"
            "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
            "<allow own=\"*\"/></policy></busconfig>\n";
        const QByteArray configPath = dir + "/tst_notify-" + QByteArray::number(getpid()) + ".conf";
        if (!zrktest::writeAll(QString::fromLocal8Bit(configPath), config)) {
            problem = "cannot write the bus configuration";
            return;
        }
        int out[2];
        if (pipe(out) != 0) {
            problem = "no pipe";
            return;
        }
        pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(out[1], 1);
            close(out[0]);
            const QByteArray arg = "--config-file=" + configPath;
            execlp("dbus-daemon", "dbus-daemon", arg.constData(), "--nofork", "--print-address=1",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        char c = 0;
        while (read(out[0], &c, 1) == 1 && c != '\n') address += c;
        close(out[0]);
        if (address.isEmpty()) {
            problem = "dbus-daemon is not installed or did not start";
            waitpid(pid, nullptr, 0);
            pid = -1;
            return;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    }
    ~PrivateBus() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
};

PrivateBus* g_bus = nullptr;

// The desktop's notification service as the test plays it: it records what it is asked.
class FakeService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Note {
        QString app;
        uint replaces = 0;
        QString icon, summary, body;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
        uint id = 0;
    };
    QList<Note> notes;
    QList<uint> closed;  // withdrawn by the program
    QStringList caps{"actions", "body"};
    bool hang = false;
    int capabilityCalls = 0;

    QDBusConnection bus{
        QDBusConnection::connectToBus(QString::fromLatin1(g_bus->address), "fake-notifications")};

    bool start() {
        return bus.registerObject(
                   DesktopNotifications::kPath, this,
                   QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) &&
               bus.registerService(DesktopNotifications::kService);
    }
    void stop() { bus.unregisterService(DesktopNotifications::kService); }
    ~FakeService() override {
        bus.unregisterObject(DesktopNotifications::kPath);
        stop();
        QDBusConnection::disconnectFromBus("fake-notifications");
    }

public slots:
    QStringList GetCapabilities() {
        ++capabilityCalls;
        return caps;
    }
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints,
                int timeout) {
        const uint id = replaces ? replaces : uint(notes.size() + 100);
        notes.append({app, replaces, icon, summary, body, actions, hints, timeout, id});
        if (hang) setDelayedReply(true);  // and never answers
        return id;
    }
    void CloseNotification(uint id) { closed << id; }

signals:
    void ActionInvoked(uint id, const QString& key);
    void NotificationClosed(uint id, uint reason);
};

// Settings for the case: the ring does not bring the window up unless asked.
QByteArray store(int mode, bool popup = false) {
    return "\"Popup On Call\"=dword:0000000" + QByteArray::number(popup) +
           "\n[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Notifications]\n\"Show\"=dword:0000000" +
           QByteArray::number(mode) + "\n";
}

// What the window would have put in the tray's balloon.
struct Balloons {
    explicit Balloons(MainFixture& f) {
        f.window->findChild<CallNotifier*>("callNotifier")->setBalloon(
            [this](const QString& title, const QString& text, int) {
                said << title + " / " + text;
                return true;
            });
    }
    QStringList said;
};

}  // namespace

class TestNotify : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (!g_bus->problem.isEmpty()) QSKIP(g_bus->problem.constData());
        TRusCID::setTrayAvailableOverride(0);
    }

    // --- when nothing reaches the desktop's service ---

    // No service, or one that takes the call and never answers: the window goes on, and the
    // call is said in the tray (once the service has had its time), once per call. Without a
    // tray either, nothing is said and nothing is in the way.
    void withoutAnAnsweringService_data() {
        QTest::addColumn<bool>("hung");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("balloons");
        QTest::newRow("no service: the tray's balloon")
            << false << true << QByteArray("CallerID: 2200000:1") << "20-00-00"
            << QStringList{"20-00-00 Плохой / [квартира, учреждение]"};
        QTest::newRow("hung service: neither frozen nor the call lost")
            << true << true << QByteArray("CallerID: 3300000:1") << "30-00-00"
            << QStringList{"30-00-00 Важный / [квартира, учреждение]"};
        QTest::newRow("no tray, no service: nothing said, no error")
            << false << false << QByteArray("CallerID: 2200000:1") << "20-00-00" << QStringList{};
    }
    void withoutAnAnsweringService() {
        QFETCH(bool, hung);
        QFETCH(bool, tray);
        QFETCH(QByteArray, report);
        QFETCH(QStringList, balloons);
        FakeService fake;  // on the bus only when it hangs
        if (hung) {
            QVERIFY(fake.start());
            fake.hang = true;
        }
        MainFixture f(store(NotifyAlways), true, callersOfEveryStatus);
        if (hung) f.window->findChild<CallNotifier*>("callNotifier")->service()->setCallTimeout(300);
        std::optional<Balloons> said;  // offscreen there is no tray unless the test plays one
        if (tray) said.emplace(f);
        const auto saidSoFar = [&said] { return said ? said->said : QStringList{}; };
        f.feed("RING\r" + report + "\r");
        QTEST(f.number(), "number");
        if (hung) {
            QTRY_COMPARE(fake.notes.size(), 1);
            QVERIFY(saidSoFar().isEmpty());
        }
        QTRY_COMPARE(saidSoFar(), balloons);
        // A later ring of the same call says it no more.
        f.feed("RING\r" + report + "\r");
        QTest::qWait(100);
        QCOMPARE(saidSoFar(), balloons);
        QVERIFY(!f.window->findChild<QMessageBox*>());
    }

    // --- what the notification says ---

    // What a call's notification says and offers; a service that offers no actions gets
    // none; one that reads markup gets the texts escaped, so that they read as written.
    void noticeOfACall_data() {
        QTest::addColumn<QStringList>("caps");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("urgency");
        QTest::addColumn<QStringList>("actions");
        const QStringList all{"default",     "Показать",    "call-back",
                              "Перезвонить", "add-to-book", "В книгу"};
        const QStringList plain{"actions", "body"};
        QTest::newRow("priority") << plain << QByteArray("CallerID: 3300000:1")
                                  << "30-00-00 Важный" << "[квартира, учреждение]" << 2 << all;
        QTest::newRow("bad") << plain << QByteArray("CallerID: 2200000:9") << "20-00-00 Плохой"
                             << "[телефон-автомат]" << 0 << all;
        QTest::newRow("normal, with its district")
            << plain << QByteArray("CallerID: 1100000") << "10-00-00 Обычный" << "Центр" << 1
            << all;
        QTest::newRow("not in the book") << plain << QByteArray("CallerID: 654321:2")
                                         << "65-43-21" << "[гостиница]" << 1 << all;
        QTest::newRow("withheld: nothing to dial")
            << plain << QByteArray("CallerID: Unknown") << "Unknown" << "" << 1
            << QStringList{"default", "Показать"};
        QTest::newRow("no actions offered") << QStringList{"body"} << QByteArray("CallerID: 654321:4")
                                            << "65-43-21" << "[дом & <офис>]" << 1 << QStringList{};
        QTest::newRow("markup") << QStringList{"actions", "body", "body-markup"}
                                << QByteArray("CallerID: 654321:4") << "65-43-21"
                                << "[дом &amp; &lt;офис&gt;]" << 1 << all;
    }
    void noticeOfACall() {
        QFETCH(QByteArray, report);
        FakeService fake;
        QFETCH(QStringList, caps);
        fake.caps = caps;
        QVERIFY(fake.start());
        MainFixture f(store(NotifyAlways) +
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n"
                          "\"Count Raions\"=dword:00000001\n\"Raion0\"=\"10|Центр\"\n"
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Categories]\n"
                          "\"4:\"=\"[дом & <офис>]\"\n",
                      true, callersOfEveryStatus);
        f.feed("RING\r" + report + "\r");
        QTRY_COMPARE(fake.notes.size(), 1);
        const FakeService::Note& n = fake.notes[0];
        QCOMPARE(n.app, QString("Zrk Pro"));
        QCOMPARE(n.replaces, 0u);
        QCOMPARE(n.icon, QString("ru.zrkpro.ZrkPro"));
        QTEST(n.summary, "summary");
        QTEST(n.body, "body");
        QTEST(n.actions, "actions");
        // The urgency is a byte, as the service reads it.
        const QVariant urgency = n.hints.value("urgency");
        QCOMPARE(urgency.metaType(), QMetaType::fromType<uchar>());
        QTEST(int(urgency.value<uchar>()), "urgency");
        QCOMPARE(n.hints.value("desktop-entry").toString(), QString("ru.zrkpro.ZrkPro"));
        QVERIFY(n.hints.contains("image-data"));
    }

    // --- one notification per call ---

    // A later report replaces the call's notification where it says something new, and sends
    // nothing where it does not (some services would pop the same one up again). Closed by
    // the user, a call's notification stays closed through its later rings.
    void laterReportReplacesNextCallGetsItsOwn() {
        FakeService fake;
        QVERIFY(fake.start());
        MainFixture f(store(NotifyAlways), true, callersOfEveryStatus);
        // Two reports in one batch: the second waits for the first one's id.
        f.feed("RING\rCallerID: 3300000:1\rRING\rCallerID: 3300000:2\r");
        QTRY_COMPARE(fake.notes.size(), 2);
        QCOMPARE(fake.notes[1].replaces, fake.notes[0].id);
        QCOMPARE(fake.notes[1].body, QString("[гостиница]"));
        f.feed("RING\rCallerID: 3300000:2\rRING\rCallerID: 3300000:2\r");
        QTest::qWait(200);
        QCOMPARE(fake.notes.size(), 2);
        f.window->sbAnswerClick();  // the call is over
        f.feed("RING\rCallerID: 3300000:2\r");
        QTRY_COMPARE(fake.notes.size(), 3);
        QCOMPARE(fake.notes[2].replaces, 0u);
        QVERIFY(fake.notes[2].id != fake.notes[0].id);
        auto* notifier = f.window->findChild<CallNotifier*>("callNotifier");
        QTRY_COMPARE(notifier->currentId(), fake.notes[2].id);
        emit fake.NotificationClosed(fake.notes[2].id, 2);
        QTRY_COMPARE(notifier->currentId(), 0u);
        f.feed("RING\rCallerID: 3300000:2\r");
        QTest::qWait(200);
        QCOMPARE(fake.notes.size(), 3);
    }

    // The call's end takes its notification off the desktop (a critical one would stay there
    // until clicked), and with it the words of a caller who is no longer calling.
    void withdrawnAtTheCallsEnd_data() {
        QTest::addColumn<QString>("end");
        QTest::newRow("answered") << "answer";
        QTest::newRow("the rings stop") << "silence";
        QTest::newRow("the port closed") << "close";
        QTest::newRow("the next call rings after a silence") << "next";
    }
    void withdrawnAtTheCallsEnd() {
        QFETCH(QString, end);
        FakeService fake;
        QVERIFY(fake.start());
        MainFixture f(store(NotifyAlways), true, callersOfEveryStatus);
        auto* callOver = f.desk->findChild<QTimer*>("tCallOver");
        QVERIFY(callOver);
        callOver->setInterval(end == "silence" ? 300 : 60000);
        setNowForTesting(QDateTime::currentDateTime());
        const auto restoreNow = qScopeGuard([] { setNowForTesting({}); });
        f.feed("RING\rCallerID: 3300000:1\r");
        QTRY_COMPARE(f.window->findChild<CallNotifier*>("callNotifier")->currentId(), 100u);
        QVERIFY(fake.closed.isEmpty());
        if (end == "answer") f.window->sbAnswerClick();
        if (end == "close") f.desk->closePort();
        if (end == "next") {
            setNowForTesting(QDateTime::currentDateTime().addSecs(30));
            f.feed("RING\r");
        }
        QTRY_COMPARE(fake.closed, QList<uint>{100});
        QCOMPARE(f.window->findChild<CallNotifier*>("callNotifier")->currentId(), 0u);
        QCOMPARE(fake.notes.size(), 1);
    }

    // --- the setting ---

    void notifiedAsTheSettingSays_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("popup");
        QTest::addColumn<bool>("notified");
        QTest::newRow("never, hidden") << int(NotifyNever) << "hidden" << false << false;
        QTest::newRow("when hidden, shown") << int(NotifyWhenHidden) << "shown" << false << false;
        QTest::newRow("when hidden, hidden") << int(NotifyWhenHidden) << "hidden" << false << true;
        QTest::newRow("when hidden, minimised")
            << int(NotifyWhenHidden) << "minimised" << false << true;
        // The ring brought it up: the user was not looking at it when the call came.
        QTest::newRow("when hidden, brought up by the ring")
            << int(NotifyWhenHidden) << "hidden" << true << true;
        QTest::newRow("always, shown") << int(NotifyAlways) << "shown" << false << true;
        QTest::newRow("unknown value counts as when hidden") << 7 << "hidden" << false << true;
    }
    void notifiedAsTheSettingSays() {
        QFETCH(int, mode);
        QFETCH(QString, window);
        QFETCH(bool, popup);
        FakeService fake;
        QVERIFY(fake.start());
        MainFixture f(store(mode, popup), true, callersOfEveryStatus);
        if (window == "shown") f.window->show();
        if (window == "minimised") f.window->showMinimized();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()) || window != "shown");
        f.feed("RING\rCallerID: 3300000:1\r");
        QTest::qWait(200);
        QFETCH(bool, notified);
        QCOMPARE(fake.notes.size(), notified ? 1 : 0);
        if (mode == NotifyNever) QCOMPARE(fake.capabilityCalls, 0);
    }

    // --- the actions ---

    // Each action does its own thing for its own notification, and nothing for another
    // program's notification of the same id space.
    void actionDoesItsThing_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("inBook");
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<bool>("callOver");  // the call is hung up before the action
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("dialled");
        QTest::addColumn<QStringList>("form");  // the phone in the book's form
        QTest::newRow("show brings the window forward")
            << int(NotifyWhenHidden) << true << QByteArray("CallerID: 3300000:1") << false
            << "default" << true << "" << QStringList{};
        QTest::newRow("call back dials the caller")
            << int(NotifyAlways) << true << QByteArray("CallerID: 3300000:1") << true << "call-back"
            << false << "300000" << QStringList{};
        QTest::newRow("to the book opens its form with the number")
            << int(NotifyAlways) << false << QByteArray("CallerID: 654321:1") << false
            << "add-to-book" << false << "" << QStringList{"65-43-21"};
    }
    void actionDoesItsThing() {
        QFETCH(int, mode);
        QFETCH(bool, inBook);
        QFETCH(QByteArray, report);
        QFETCH(QString, key);
        QFETCH(bool, shown);
        QFETCH(QString, dialled);
        QFETCH(QStringList, form);
        FakeService fake;
        QVERIFY(fake.start());
        MainFixture f(store(mode), true,
                      inBook ? callersOfEveryStatus : std::function<void(BookStore&)>{});
        QStringList phones;
        f.answerBookForms([&phones](QDialog& d) {
            phones << d.findChild<QLineEdit*>("ePhone")->text();
            return press(d, "bCansel");
        });
        f.feed("RING\r" + report + "\r");
        QTRY_COMPARE(fake.notes.size(), 1);
        QVERIFY(!f.window->isVisible());
        QFETCH(bool, callOver);
        if (callOver) f.window->sbAnswerClick();
        f.takeSent();
        emit fake.ActionInvoked(fake.notes[0].id + 1000, key);  // not ours
        QTest::qWait(100);
        QVERIFY(!f.window->isVisible());
        QVERIFY(phones.isEmpty());
        QVERIFY(!f.takeSent().contains("ATD"));

        emit fake.ActionInvoked(fake.notes[0].id, key);
        if (shown) QTRY_VERIFY(f.window->isVisible());
        if (!dialled.isEmpty()) QTRY_COMPARE(f.number(), dialled);
        QTRY_COMPARE(phones, form);
        QTest::qWait(50);
        QCOMPARE(f.window->isVisible(), shown);
        QVERIFY(!f.window->isMinimized());
        const QByteArray sent = f.takeSent();
        QVERIFY2(dialled.isEmpty() ? !sent.contains("ATD")
                                   : sent.contains("ATDP" + dialled.toLatin1() + "\r"),
                 sent.constData());
    }
};

int main(int argc, char* argv[]) {
    // Before anything reaches a bus: the session bus is ours.
    PrivateBus bus;
    g_bus = &bus;
    QApplication app(argc, argv);
    TestNotify test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_notify.moc"
