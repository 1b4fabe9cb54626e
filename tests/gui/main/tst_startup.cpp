// The start-up paths of the main window that depend on the settings and the desktop: the
// daily schedules, the tray gesture, and what hiding takes with it.
#include "gui/desktop/ColorRef.h"
#include "MainFixture.h"

#include "gui/calls/HistoryWindow.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/TrayGesture.h"
#include "gui/reminders/AlertReminder.h"
#include "gui/reminders/Reminder.h"

#include <QAction>
#include <QSystemTrayIcon>
#include <QToolButton>

using namespace zrk;

namespace {

// A store time value ("hex:" of the little-endian double) for a time of day.
QByteArray timeValue(QTime t) {
    const double v = t.msecsSinceStartOfDay() / 86400000.0;
    QByteArray bytes(reinterpret_cast<const char*>(&v), sizeof v);
    return "hex:" + bytes.toHex(',');
}

// A schedule that is in force now, whatever the time of day the test runs at.
QByteArray scheduleNow(const char* flag, const char* offName, const char* onName) {
    const QTime now = QTime::currentTime();
    return QByteArray("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Scheduler]\n\"") + flag +
           "\"=dword:00000001\n\"" + offName + "\"=" + timeValue(now.addSecs(-3600)) + "\n\"" +
           onName + "\"=" + timeValue(now.addSecs(3600)) + "\n";
}

QColor textColour(QWidget* w) { return w->palette().color(QPalette::WindowText); }

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }

    void portScheduleKeepsThePortClosed() {
        MainFixture f(scheduleNow("Port OnOff", "Port Off", "Port On"));
        QCOMPARE(f.info(), QString("* Порт закрыт *"));
        QVERIFY(!f.child<QToolButton>("sbDial")->isEnabled());
        QVERIFY(f.child<QAction>("mPOpenPort")->isEnabled());
        QVERIFY(ini().Sound);  // the sound schedule is not in force
    }

    void soundScheduleSwitchesTheSoundOff() {
        MainFixture f(scheduleNow("Sound OnOff", "Sound Off", "Sound On"));
        QVERIFY(!ini().Sound);
        QCOMPARE(textColour(f.child<ClickLabel>("stSound")), fromColorRef(ini().NotActiveColor));
        f.window->FormClose();  // and it is stored so at the end
        RegistryFile::resetUser();
        QVERIFY(zrktest::readAll(f.box.registryPath()).contains("\"Sound\"=dword:00000000"));
    }

    // The call timer keeps its 9-pixel characters and still shows "00 : 00" whole; the wide
    // buttons show their captions whole beside their pictures.
    void smallPanelsShowTheirTextsWhole() {
        MainFixture f;
        QCOMPARE(f.child<ClickLabel>("pTimer")->font().pixelSize(), 9);
        QVERIFY(QFontMetrics(f.child<ClickLabel>("pTimer")->font()).horizontalAdvance("00 : 00") <=
                f.child<ClickLabel>("pTimer")->width());
        for (QToolButton* b : {f.child<QToolButton>("sbBook"), f.child<QToolButton>("sbOpti"), f.child<QToolButton>("sbOpenClose"),
                               f.child<QToolButton>("sbHide")})
            for (const QString& caption :
                 b == f.child<QToolButton>("sbOpenClose") ? QStringList{"Открыть порт", "Закрыть порт"}
                                            : QStringList{b->text()})
                QVERIFY2(QFontMetrics(b->font()).horizontalAdvance(caption) + 16 + 16 <= b->width(),
                         qPrintable(caption));
    }

    void manualIdentificationSendsOnlyTheCommand() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n"
                      "\"Answer On Ring\"=dword:00000002\n\"Zrk\"=\"AT#CID\"\n");
        f.receive("RING\r\n");
        f.takeSent();
        f.child<QAction>("CID")->trigger();
        QCOMPARE(f.takeSent(), QByteArray("AT#CID\r\n"));
        QCOMPARE(f.desk->ringCount(), 1);
        // No call is pending: answering starts no talk timer.
        f.window->sbAnswerClick();
        QVERIFY(!f.child<QTimer>("tTimer")->isActive());
    }

    void hidingClosesTheSideWindows() {
        MainFixture f;
        TAlertReminder alert(f.window.get());
        TReminder reminders(f.reminderDocument(), *f.window, alert, f.window.get());
        f.window->setRunWindows({f.phoneBook.get(), nullptr, &reminders, f.alert.get(),
                                 f.calls.get(), f.allScreen.get(), nullptr});
        const QList<QWidget*> side = {f.phoneBook.get(), f.calls.get(), &reminders};
        const std::function<void()> hides[] = {[&] { f.window->mPShowClick(); },
                                                [&] { f.child<QToolButton>("sbHide")->click(); }};
        for (const auto& hide : hides) {
            f.window->show();
            for (QWidget* w : side) w->show();
            f.child<QAction>("mPHistory")->trigger();
            QVERIFY(f.window->historyWindow());
            hide();
            QTRY_VERIFY(!f.window->isVisible());
            for (QWidget* w : side) QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
            QTRY_VERIFY(!f.window->historyWindow());  // closed, not only hidden
        }
        f.window->FormClose();  // while the reminder windows of this case still exist
    }

    // A double click on an XEmbed tray arrives as a click and a double click; on a
    // StatusNotifier tray as two clicks. Either way the window toggles once, and with
    // "Double Click" off the port is switched once.
    void trayDoubleClickActsOnce_data() {
        QTest::addColumn<QList<QSystemTrayIcon::ActivationReason>>("reasons");
        QTest::newRow("XEmbed") << QList<QSystemTrayIcon::ActivationReason>{
            QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick};
        QTest::newRow("StatusNotifier") << QList<QSystemTrayIcon::ActivationReason>{
            QSystemTrayIcon::Trigger, QSystemTrayIcon::Trigger};
    }
    void trayDoubleClickActsOnce() {
        QFETCH(QList<QSystemTrayIcon::ActivationReason>, reasons);
        MainFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        const auto gesture = [&] {
            for (auto r : reasons) emit f.child<QSystemTrayIcon>("icTray")->activated(r);
            QTRY_VERIFY(!f.window->findChild<TrayGesture*>("trayGesture")->pending());
        };
        gesture();
        QVERIFY(!f.window->isVisible());
        gesture();
        QVERIFY(f.window->isVisible());

        ini().DoubleClick = false;  // "Открыть/закрыть порт"
        f.takeSent();
        gesture();
        QVERIFY(!f.desk->portActive());
        QVERIFY(f.takeSent().isEmpty());  // closed, not opened and closed again
        QVERIFY(f.window->isVisible());
        gesture();
        QVERIFY(f.desk->portActive());
        QCOMPARE(f.takeSent(), QByteArray("ATM2+S64=1+S73=2\r\n"));  // one Init
    }

    // One gesture on the tray icon, one action, whatever the tray reports for it.
    void trayGestures() {
        const int interval = 150;
        const QList<QList<TrayGesture::Click>> gestures = {
            {TrayGesture::Single},                                               // a click
            {TrayGesture::Single, TrayGesture::Double},                          // XEmbed
            {TrayGesture::Single, TrayGesture::Single},                          // StatusNotifier
            {TrayGesture::Double},                                               // double only
            {TrayGesture::Single, TrayGesture::Double, TrayGesture::Single}};   // triple
        for (const auto& gesture : gestures) {
            int acted = 0;
            TrayGesture g([&acted] { ++acted; }, interval);
            for (TrayGesture::Click c : gesture) g.clicked(c);
            QTRY_COMPARE(acted, 1);
            QTRY_VERIFY(!g.pending());
            QCOMPARE(acted, 1);
            // The next gesture, after the interval, acts again.
            for (TrayGesture::Click c : gesture) g.clicked(c);
            QTRY_COMPARE(acted, 2);
            QTRY_VERIFY(!g.pending());
            QCOMPARE(acted, 2);
        }
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
