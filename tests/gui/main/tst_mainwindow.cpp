// The main window over a fake modem: the port, the caller and the alerts as it shows them,
// its buttons, menu, timer and keys; and the start-up paths that depend on the settings and
// the desktop: the daily schedules, the tray gesture, and what hiding takes with it.
#include "gui/desktop/ColorRef.h"
#include "MainFixture.h"

#include "gui/calls/HistoryWindow.h"
#include "gui/main/ClickLabel.h"
#include "gui/main/TrayGesture.h"
#include "gui/reminders/AlertReminder.h"
#include "gui/reminders/Reminder.h"

#include "core/platform/Clock.h"
#include "core/settings/SettingsNotifier.h"

#include <QAction>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

using namespace zrk;

namespace {

int errorBoxes(QWidget* w) {
    int n = 0;
    for (QMessageBox* b : w->findChildren<QMessageBox*>()) n += b->isVisible();
    return n;
}


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

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }

    // The port's state as the window shows it; its failures come up in one box each.
    void portShown() {
        MainFixture f;
        QCOMPARE(f.info(), QString("* Ожидание звонка *"));
        QVERIFY(!f.child<QAction>("mPOpenPort")->isEnabled());
        QVERIFY(f.child<QToolButton>("sbDial")->isEnabled());
        QCOMPARE(f.child<QToolButton>("sbOpenClose")->text(), QString("Закрыть порт"));
        QCOMPARE(f.child<QSystemTrayIcon>("icTray")->toolTip(), QString("Zrk: Ожидание звонка"));
        f.device->errorFlags = kCeIoError;  // the modem pulled out
        f.device->raise(kEvErr, true);
        QTRY_COMPARE(f.info(), QString("* Порт закрыт *"));
        QCOMPARE(errorBoxes(f.window.get()), 1);
        QVERIFY(f.child<QAction>("mPOpenPort")->isEnabled());
        f.device->errorFlags = 0;
        f.desk->openPort();
        QCOMPARE(f.info(), QString("* Ожидание звонка *"));
        f.desk->closePort();
        QCOMPARE(f.info(), QString("* Порт закрыт *"));

        MainFixture noModem({}, false);  // no DSR: closed without a word
        QCOMPARE(noModem.info(), QString("* Порт закрыт *"));
        QCOMPARE(errorBoxes(noModem.window.get()), 0);
        QVERIFY(!noModem.child<QToolButton>("sbAnswer")->isEnabled());
        QCOMPARE(noModem.child<QToolButton>("sbOpenClose")->text(), QString("Открыть порт"));
        noModem.device->escapeError = EIO;  // an opening that fails after the device opened
        noModem.device->status = kMsDsrOn;
        noModem.desk->openPort();
        QCOMPARE(errorBoxes(noModem.window.get()), 1);
    }

    void reportedCallerIsShownAndListed() {
        MainFixture f;
        f.receive(QByteArray(1024 * 1024, '7'));  // garbage first
        f.receive("\r\nRING\r\nCallerID: 2345678:1\r\n");
        QCOMPARE(f.info(), QString("[квартира, учреждение]"));
        QVERIFY(f.child<QLabel>("pInfo")->toolTip().startsWith("Абоненты квартирные"));
        QCOMPARE(f.number(), QString("34-56-78"));
        QCOMPARE(f.child<ClickLabel>("pCountCall")->text(), QString("1"));
        QCOMPARE(f.list()->topLevelItemCount(), 1);
        QCOMPARE(f.list()->topLevelItem(0)->text(0), QString("34-56-78"));
        QCOMPARE(f.list()->topLevelItem(0)->text(3), QString("нормальный"));
        QCOMPARE(f.child<QSystemTrayIcon>("icTray")->toolTip(), QString("34-56-78 "));
        f.receive("CallerID:Unknown\r\n");
        QCOMPARE(f.number(), QString("Unknown"));
        f.receive("CallerID: 7654321:x\r\n");  // an unknown category
        QCOMPARE(f.info(), QString("[неизвестно]"));
        QCOMPARE(f.number(), QString("65-43-21"));
    }

    void nameAndDistrict() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n"
                      "\"Count Raions\"=dword:00000001\n\"Raion0\"=\"34|Центр\"\n",
                      true, callersInGroups);
        f.receive("CallerID: 2345678:1\r\n");
        QCOMPARE(f.info(), QString("Иванов Иван"));
        QCOMPARE(f.child<QLabel>("pInfo")->toolTip(), QString("Центр"));
        QCOMPARE(f.list()->topLevelItem(0)->text(4), QString("Иванов Иван"));
        QCOMPARE(f.child<QSystemTrayIcon>("icTray")->toolTip(), QString("34-56-78 Иванов Иван"));
    }

    // A priority caller brings the alert with name, grouped number and group; one left open
    // is gone at the next call's first ring.
    void priorityAlert() {
        QDateTime t(QDate(2026, 12, 8), QTime(12, 0));
        setClockForTesting([&t] { return t; });
        const auto wallClock = qScopeGuard([] { setClockForTesting({}); });
        MainFixture f({}, true, callersInGroups);
        f.receive("RING\r\nCallerID: 222222:1\r\n");
        QVERIFY(f.alert->isVisible());
        QCOMPARE(f.alert->findChild<QLabel*>("stFIO")->text(), QString("Начальник"));
        QCOMPARE(f.alert->findChild<QLabel*>("stNumber")->text(), QString("22-22-22"));
        // No group of its own: the alert names it as the editor does, not as the selector.
        QCOMPARE(f.alert->findChild<QLabel*>("stGroup")->text(), QString("[Общая]"));
        t = t.addSecs(20);
        f.receive("RING\r\n");
        QVERIFY(!f.alert->isVisible());
    }

    void fullScreenInsteadOfAlert() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Screen\"=dword:00000001\n", true,
                      callersInGroups);
        f.receive("RING\r\nCallerID: 222222:1\r\n");
        QVERIFY(f.allScreen->isVisible());
        QVERIFY(!f.alert->isVisible());
        QCOMPARE(f.allScreen->findChild<QLabel*>("pNumber")->text(), QString("22-22-22"));
        f.window->sbAnswerClick();
        QVERIFY(!f.allScreen->isVisible());
        QVERIFY(f.child<QTimer>("tTimer")->isActive());  // an incoming call: the talk timer runs
    }

    // A log that cannot be written is shown once; the call still rings and is shown.
    void logFailureShownOnce() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Log File\"=\"/dev/full\"\n"
                      "\"Play WAV\"=dword:00000001\n\"Screen\"=dword:00000001\n");
        f.receive("RING\r\nCallerID: 2345678:1\r\n");
        QCOMPARE(errorBoxes(f.window.get()), 1);
        QCOMPARE(f.sound->played, QStringList{"ring.wav"});
        QVERIFY(f.allScreen->isVisible());
        f.allScreen->close();
        f.receive("RING\r\nCallerID: 3456789:1\r\n");
        QCOMPARE(errorBoxes(f.window.get()), 1);
    }

    void noCarrierOnlyAfterADial() {
        MainFixture f;
        f.receive("NO CARRIER\r\n");
        QCOMPARE(f.info(), QString("* Ожидание звонка *"));
        f.receive("BUSY\r\n");
        QCOMPARE(f.info(), QString("* Занято *"));
        f.receive("ERROR\r\n");
        QCOMPARE(f.info(), QString("* Ошибка *"));
        f.window->ViewNumber("12-34", false);
        f.takeSent();
        f.window->sbDialClick();
        QCOMPARE(f.takeSent(), QByteArray("ATDP1234\r\n"));
        QCOMPARE(f.info(), QString("* Набор номера *"));
        f.alert->show();
        f.receive("NO CARRIER\r\n");
        QCOMPARE(f.info(), QString("* Нет ответа *"));
        QVERIFY(!f.alert->isVisible());
        f.receive("RINGING\r\n");
        QCOMPARE(f.info(), QString("* Ожидание ответа *"));
    }

    void windowSizeFollowsTheButtons() {
        MainFixture f;
        QCOMPARE(f.window->size(), QSize(254, 167));
        QVERIFY(!f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
        f.child<QAction>("mPButton")->trigger();
        QVERIFY(!ini().Buttons);
        QCOMPARE(f.window->size(), QSize(203, 70));
        QVERIFY(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
        emit f.child<ClickLabel>("stButtons")->clicked();
        QCOMPARE(f.window->size(), QSize(254, 167));
        QVERIFY(f.child<QAction>("mPButton")->isChecked());

        // Changing the frame of a shown window during a call leaves the talk timer running.
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        emit f.child<ClickLabel>("pTimer")->clicked();  // a call being timed
        f.child<QAction>("mPButton")->trigger();
        QVERIFY(f.window->isVisible());
        QVERIFY(f.child<QTimer>("tTimer")->isActive());
        f.child<QAction>("mPStayOnTop")->trigger();
        QVERIFY(f.window->isVisible());
        QVERIFY(f.child<QTimer>("tTimer")->isActive());
        QCOMPARE(f.child<QAction>("mPShow")->text(), QString("&Спрятать"));
    }

    // Whatever switches a value through the settings is shown as the menu's own toggle would
    // show it, and changes nothing else: the menu's stay-on-top choice and a sound the user
    // turned back on in the schedule's quiet hours stay as they are.
    void switchedValuesChangeOnlyWhatShowsThem() {
        MainFixture f;
        const auto restoreNow = qScopeGuard([] { setNowForTesting({}); });
        setNowForTesting(QDateTime(QDate(2026, 12, 8), QTime(23, 0)));
        changeSettings(SettingsChange::Switched, [](TIni& s) {
            s.SoundOnOff = true;
            s.SoundOff = 22 / 24.0;
            s.SoundOn = 6 / 24.0;
        });
        f.child<QAction>("mPStayOnTop")->trigger();  // off, while the setting stays on
        emit f.child<ClickLabel>("stSound")->clicked();
        emit f.child<ClickLabel>("stSound")->clicked();
        QVERIFY(ini().Sound);
        QCOMPARE(f.child<ClickLabel>("stSound")->palette().color(QPalette::WindowText),
                 fromColorRef(ini().InfoColor));
        changeSettings(SettingsChange::Switched, [](TIni& s) {
            s.Buttons = false;
            s.Clock = false;
            s.Timer = false;
        });
        QCOMPARE(f.window->size(), QSize(203, 70));
        QVERIFY(!f.child<QAction>("mPButton")->isChecked() && !f.child<QAction>("mPClock")->isChecked() &&
                !f.child<QAction>("mPTimer")->isChecked());
        QVERIFY(!f.child<QLabel>("pClock")->isVisibleTo(f.window.get()));
        QVERIFY(!f.child<ClickLabel>("pTimer")->isVisibleTo(f.window.get()));
        QVERIFY(ini().Sound);
        QVERIFY(!f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!f.child<QAction>("mPStayOnTop")->isChecked());
        changeSettings(SettingsChange::Switched, [](TIni& s) { s.Sound = false; });
        QCOMPARE(f.child<ClickLabel>("stSound")->palette().color(QPalette::WindowText),
                 fromColorRef(ini().NotActiveColor));
    }

    void menuChecksFollowSettings() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Clock\"=dword:00000000\n"
                      "\"StayOnTop\"=dword:00000000\n");
        QVERIFY(!f.child<QAction>("mPClock")->isChecked());
        QVERIFY(f.child<QAction>("mPTimer")->isChecked());
        QVERIFY(!f.child<QAction>("mPStayOnTop")->isChecked());
        QVERIFY(f.child<QAction>("mPButton")->isChecked());
        QVERIFY(!f.child<QLabel>("pClock")->isVisibleTo(f.window.get()));
        f.child<QAction>("mPStayOnTop")->trigger();  // stays on top, but the setting is left alone
        QVERIFY(f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!ini().StayOnTop);
    }

    void talkTimer() {
        MainFixture f;
        emit f.child<ClickLabel>("pTimer")->clicked();
        QVERIFY(f.child<QTimer>("tTimer")->isActive());
        for (int i = 0; i < 65; ++i) f.tick("tTimer");
        QCOMPARE(f.child<ClickLabel>("pTimer")->text(), QString("01 : 05"));
        emit f.child<ClickLabel>("pTimer")->doubleClicked();
        QVERIFY(!f.child<QTimer>("tTimer")->isActive());
        QCOMPARE(f.child<ClickLabel>("pTimer")->text(), QString("00 : 00"));

        // With the mouse, a double click is a click followed by the double click's own press
        // and release: the click starts the timer, the double click stops and resets it, and
        // its closing release must not start it again.
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        for (int i = 0; i < 3; ++i) f.tick("tTimer");
        const auto doubleClick = [](QWidget* w) {
            QTest::mouseClick(w, Qt::LeftButton);
            QTest::mousePress(w, Qt::LeftButton);
            QTest::mouseDClick(w, Qt::LeftButton);  // only the double-click event itself
            QTest::mouseRelease(w, Qt::LeftButton);
        };
        doubleClick(f.child<ClickLabel>("pTimer"));
        QVERIFY(!f.child<QTimer>("tTimer")->isActive());
        QCOMPARE(f.child<ClickLabel>("pTimer")->text(), QString("00 : 00"));
        QTest::mouseClick(f.child<ClickLabel>("pTimer"), Qt::LeftButton);  // a later click still counts
        QVERIFY(f.child<QTimer>("tTimer")->isActive());

        // A double click on the sound indicator switches it once, not twice.
        const bool sound = ini().Sound;
        doubleClick(f.child<ClickLabel>("stSound"));
        QCOMPARE(ini().Sound, !sound);
    }

    void keyboard() {
        MainFixture f({}, false);  // the port closed: digits still edit the number
        f.window->show();
        QTest::keyClicks(f.window.get(), "123");
        QCOMPARE(f.number(), QString("123"));
        QTest::keyClick(f.window.get(), Qt::Key_Backspace);
        QCOMPARE(f.desk->currentNumber(), QString("12"));
        f.takeSent();
        QTest::keyClick(f.window.get(), Qt::Key_Return);  // the port is closed: nothing
        QVERIFY(f.takeSent().isEmpty());
        QTest::keyClick(f.window.get(), Qt::Key_Asterisk);
        QVERIFY(f.desk->currentNumber().isEmpty());
        QCOMPARE(f.info(), QString("* Ожидание звонка *"));
        QTest::keyClick(f.window.get(), Qt::Key_Backspace);  // nothing to drop
        QVERIFY(f.desk->currentNumber().isEmpty());
    }

    void callListButtonAndCounter() {
        MainFixture f;
        f.receive("CallerID: 111111:1\r\nCallerID: 222222:1\r\n");
        f.child<QToolButton>("sbViewListRing")->click();
        QVERIFY(f.calls->isVisible());
        f.child<QToolButton>("sbViewListRing")->click();
        QVERIFY(!f.calls->isVisible());
        emit f.child<ClickLabel>("pCountCall")->doubleClicked();
        QCOMPARE(f.window->callCount(), 0);
        QCOMPARE(f.list()->topLevelItemCount(), 0);
    }

    // A call that rang out unanswered is marked in the call list; one answered is not.
    void missedCallIsMarkedInTheList() {
        MainFixture f;
        f.receive("RING\r\nCallerID: 7654321:1\r\n");
        QTest::mouseClick(f.child<QToolButton>("sbAnswer"), Qt::LeftButton);
        f.receive("RING\r\nCallerID: 2345678:1\r\n");  // a new call after the answer
        QMetaObject::invokeMethod(f.desk->findChild<QTimer*>("tCallOver"), "timeout");
        const auto mark = [&f](int row) {
            const QTreeWidgetItem* item = f.list()->topLevelItem(row);
            return item->toolTip(TListRing::ColName) + (item->icon(0).isNull() ? "" : " + sign");
        };
        QCOMPARE(QStringList({mark(0), mark(1)}), QStringList({"", "Пропущенный звонок + sign"}));
    }

    // Hidden by its button, or at the start as the settings say: to the tray, or minimised in
    // the task bar without one. A ring brings the window back ("Popup On Call").
    void hideAndShow_data() {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("atStart");
        QTest::newRow("with a tray") << true << false;
        QTest::newRow("without a tray") << false << false;
        QTest::newRow("at the start, to the tray") << true << true;
        QTest::newRow("at the start, minimised without a tray") << false << true;
    }
    void hideAndShow() {
        QFETCH(bool, tray);
        QFETCH(bool, atStart);
        TRusCID::setTrayAvailableOverride(tray ? 1 : 0);
        MainFixture f(atStart ? "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Minimized\"=dword:00000001\n"
                              : "");
        f.window->show();  // as the program's entry does
        if (!atStart) {
            QCOMPARE(f.child<QAction>("mPShow")->text(), QString("&Спрятать"));
            f.child<QToolButton>("sbHide")->click();
        }
        QTRY_COMPARE(f.child<QAction>("mPShow")->text(), QString("&Восстановить"));
        if (tray) QTRY_VERIFY(!f.window->isVisible());
        else QTRY_VERIFY(f.window->isVisible() && f.window->isMinimized());  // in the task bar
        f.receive("RING\r\n");
        QTRY_VERIFY(f.window->isVisible() && !f.window->isMinimized());
        QCOMPARE(f.child<QAction>("mPShow")->text(), QString("&Спрятать"));
    }


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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
