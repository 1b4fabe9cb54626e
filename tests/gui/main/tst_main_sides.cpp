// The main window's side of its run windows. The phone book: shown and closed with the main
// window, the number on display added, its line buttons following the port. The call history:
// the menu item that opens it over the log of the settings, one window however often it is
// chosen, its commands that reach the main window and the book, its place kept at the end.
// The reminders: the sound schedule as the window shows it, a caller's number reminder, the
// list and form commands, and the alerts at closing.
#include "MainFixture.h"
#include "SaveGate.h"
#include "core/platform/Cp1251.h"
#include "gui/calls/HistoryWindow.h"
#include "gui/main/ClickLabel.h"
#include "gui/desktop/ColorRef.h"
#include "gui/reminders/ReMind.h"
#include "gui/reminders/ReminderFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

using namespace zrk;

namespace {

QColor textColour(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

// The item chosen as the user does: the window's menu popped up, the item clicked.
void choose(TRusCID& w, const char* name) {
    auto* menu = w.findChild<QMenu*>("PopupMenu1");
    menu->popup(w.mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    auto* item = menu->findChild<QAction*>(name);
    QVERIFY(item);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}


// A main window with the reminder windows of a run.
struct Run {
    explicit Run(const QList<ReminderRecord>& file = {},
                 const std::function<void(BookStore&)>& book = {})
        : m({}, true, book) {
        setClockForTesting([this] { return now; });
        if (!file.isEmpty()) SaveReminders(file);
        alert = std::make_unique<TAlertReminder>();
        list = std::make_unique<TReminder>(m.reminderDocument(), *m.window, *alert);
        list->setBook(&m.bookDocument->store());  // as the program wires them
        m.reminders = list.get();
        m.window->setRunWindows({m.phoneBook.get(), alert.get(), list.get(), m.alert.get(),
                                 m.calls.get(), m.allScreen.get(), nullptr});
    }
    ~Run() {
        m.window->FormClose();
        m.reminders = nullptr;
        list.reset();
        alert.reset();
        setClockForTesting({});
    }
    void tick(int h, int mi) {
        now = QDateTime(now.date(), QTime(h, mi));
        m.desk->scheduleTick();
    }

    MainFixture m;
    QDateTime now{QDate(2026, 1, 31), QTime(12, 0)};
    std::unique_ptr<TAlertReminder> alert;
    std::unique_ptr<TReminder> list;
};

}  // namespace

class TestMainSides : public QObject {
    Q_OBJECT

private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }

    void bookOpensAndClosesWithTheMainWindow() {
        MainFixture f("\"Phone Book\"=dword:00000001\n");
        QVERIFY(f.child<QAction>("mPBook")->isEnabled() && f.child<QToolButton>("sbBook")->isEnabled());
        f.window->show();
        QVERIFY(f.phoneBook->isVisible());
        QVERIFY(f.child<QAction>("mPBook")->isChecked());
        QCOMPARE(textColour(f.child<ClickLabel>("stPhones")), fromColorRef(ini().InfoColor));
        // The button closes it, and the closing saves the book.
        f.child<QToolButton>("sbBook")->click();
        QVERIFY(!f.phoneBook->isVisible() && !f.child<QAction>("mPBook")->isChecked());
        QCOMPARE(textColour(f.child<ClickLabel>("stPhones")), fromColorRef(ini().NotActiveColor));
        QVERIFY(QFile::exists("book.phn"));
        f.child<QAction>("mPBook")->trigger();
        QVERIFY(f.phoneBook->isVisible() && f.child<QAction>("mPBook")->isChecked());
        // Hiding the main window closes the book; the setting stays.
        f.child<QToolButton>("sbHide")->click();
        QVERIFY(!f.phoneBook->isVisible());
        QVERIFY(ini().PhoneBook);
        QTRY_VERIFY(!f.window->isVisible());
        f.window->mPShowClick();
        QTRY_VERIFY(f.phoneBook->isVisible());
    }

    void addsTheNumberOnDisplay() {
        MainFixture f;
        QStringList phones;
        f.answerBookForms([&phones](QDialog& d) {
            phones << d.findChild<QLineEdit*>("ePhone")->text();
            return press(d, "bOK");
        });
        f.window->ViewNumber("4951234", false);
        f.child<QAction>("N8")->trigger();
        QCOMPARE(phones, QStringList{f.number()});
        QCOMPARE(f.bookDocument->store().count(), 1);
        QCOMPARE(f.bookDocument->store().text(0, FieldPhone), f.number());
    }

    void bookLineButtonsFollowThePort() {
        MainFixture f({}, true, [](BookStore& b) { b.AddItem(entry("Анна", "1", 0), true); });
        auto* dial = f.phoneBook->findChild<QToolButton*>("sbDial");
        auto* answer = f.phoneBook->findChild<QToolButton*>("sbAnswer");
        QVERIFY(dial->isEnabled() && answer->isEnabled());
        f.desk->closePort();
        QVERIFY(!dial->isEnabled() && !answer->isEnabled());
        f.desk->openPort();
        QVERIFY(dial->isEnabled() && answer->isEnabled());
        // The book dials through the main window.
        f.takeSent();
        f.phoneBook->rows();
        f.phoneBook->findChild<QTreeView*>("lvBook")->selectAll();
        dial->click();
        QCOMPARE(f.number(), QString("1"));
        QVERIFY(f.takeSent().contains("ATD"));
    }

    // A call that comes while the book is being written finds the entry just added, from
    // the book in memory; the program's close waits for that save, the book hidden or not,
    // and for the editor's place, which the settings' worker holds meanwhile.
    void callDuringASlowSaveAndTheCloseThatWaits() {
        MainFixture f({}, true, [](BookStore& b) { b.AddItem(entry("Анна", "345678", 0), true); });
        RegistryFile::user().setSavesInBackground(true);
        zrktest::SaveGate gate;
        f.answerBookForms([](QDialog& d) {
            d.findChild<QLineEdit*>("eFIO")->setText("Борис");
            d.findChild<QLineEdit*>("ePhone")->setText("765432");
            return press(d, "bOK");
        });
        f.phoneBook->findChild<QToolButton*>("sbAdd")->click();
        QVERIFY(gate.held());
        f.receive("RING\r\nCallerID: 7765432:1\r\n");
        QCOMPARE(f.info(), QString("Борис"));
        f.receive("RING\r\nCallerID: 2345678:1\r\n");
        QCOMPARE(f.info(), QString("Анна"));
        QVERIFY(!f.phoneBook->isVisible());
        QVERIFY(!zrktest::readAll(f.box.registryPath()).contains("Position\\BookItem"));
        gate.openAfter(200);
        f.window->FormClose();
        QVERIFY(zrktest::readAll(f.box.registryPath()).contains("Position\\BookItem"));
        BookStore saved;
        saved.load("book.phn");
        QCOMPARE(saved.count(), 2);
        QCOMPARE(saved.text(1, FieldName), QString("Борис"));
    }

    // The program's close waits for the settings' worker: the place it writes last is on
    // disk when the close returns.
    void closeWaitsForTheSettingsSave() {
        MainFixture f;
        RegistryFile::user().setSavesInBackground(true);
        zrktest::SaveGate gate;
        f.window->move(321, 123);
        gate.openAfter(300);
        f.window->FormClose();
        RegistryFile saved(f.box.registryPath());
        RegKey reg(saved);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\Main"));
        QCOMPARE(reg.readInteger("Left"), 321);
    }

    void menuItemSitsWithTheWindows() {
        MainFixture f;
        QStringList texts;
        for (const QAction* a : f.child<QMenu>("PopupMenu1")->actions()) texts << a->text();
        const qsizetype reminders = texts.indexOf("Напо&минания");
        QVERIFY(reminders > 0);
        QCOMPARE(texts.value(reminders + 1), QStringLiteral("&История звонков..."));
    }

    void opensOnceOverTheLogOfTheSettingsAndReachesTheBook() {
        MainFixture f("\"Log File\"=\"calls/log.txt\"\n");
        QCOMPARE(ini().LogFile, QStringLiteral("calls/log.txt"));
        QVERIFY(zrktest::writeAll(
            "calls/log.txt", toCp1251(QStringLiteral("10.03.2026 7:05:03 23-45-67 Петрова Анна\r\n"
                                                     "14.03.2026 9:00:00 2-34-56 \r\n"))));
        f.window->show();
        QVERIFY(!f.window->historyWindow());
        choose(*f.window, "mPHistory");
        HistoryWindow* history = f.window->historyWindow();
        QVERIFY(history && history->isVisible());
        auto* table = history->findChild<QTableView*>("tvHistory");
        QTRY_COMPARE(table->model()->rowCount(), 2);
        choose(*f.window, "mPHistory");
        QCOMPARE(f.window->historyWindow(), history);
        const QWidgetList tops = QApplication::topLevelWidgets();
        QCOMPARE(
            std::count_if(tops.begin(), tops.end(),
                          [](QWidget* w) { return qobject_cast<HistoryWindow*>(w) != nullptr; }),
            1);

        // Dialed through the main window: the number shown, the dial sent.
        table->selectRow(0);
        f.takeSent();
        QTest::keyClick(table, Qt::Key_Return);
        QCOMPARE(f.number(), QStringLiteral("23456"));
        QVERIFY(f.takeSent().contains("ATD"));

        // The book's form with the number.
        QStringList phones;
        f.answerBookForms([&phones](QDialog& d) {
            phones << d.findChild<QLineEdit*>("ePhone")->text();
            return int(QDialog::Rejected);
        });
        table->selectRow(1);
        auto* bar = history->findChild<QToolBar*>("ToolBar1");
        QTest::mouseClick(bar->widgetForAction(history->findChild<QAction*>("acAddBook")),
                          Qt::LeftButton);
        QCOMPARE(phones, QStringList{"23-45-67"});

        // Closed, it is gone; the next choice opens a new one.
        history->close();
        QTRY_VERIFY(!f.window->historyWindow());
        choose(*f.window, "mPHistory");
        QVERIFY(f.window->historyWindow());
    }

    void theProgramsEndClosesItAndKeepsItsPlace() {
        MainFixture f;
        f.window->show();
        choose(*f.window, "mPHistory");
        QVERIFY(f.window->historyWindow());
        f.window->historyWindow()->resize(610, 430);
        f.window->FormClose();
        QVERIFY(zrktest::readAll(f.box.registryPath()).contains("Position\\History"));
    }

    // A close (a signal, the end of the session) under the list's delete question: the
    // alerts put back as due reminders stay saved, and the answer that comes after changes
    // nothing: no tick, no raise, no deletion.
    void closeUnderTheDeleteQuestion() {
        Run r({byDate(QDateTime(QDate(2026, 1, 31), QTime(11, 0)), "в одиннадцать\r"),
               byDate(QDateTime(QDate(2026, 2, 1), QTime(9, 0)), "завтра\r")});
        QCOMPARE(r.alert->count(), 1);
        r.m.child<QToolButton>("sbOpti")->click();
        r.list->lvNotes->selectionModel()->select(
            r.list->lvNotes->model()->index(0, 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        onNextModal([&r](QWidget* w) {
            r.m.window->closeQuietly();
            answer(w, QMessageBox::Yes);
        });
        r.list->sbDelClick();
        QVERIFY(!r.list->document().ownTimerActive());
        QCOMPARE(r.alert->count(), 0);
        QVERIFY(!r.alert->isVisible());
        QCOMPARE(notesOf(LoadReminders()), (QStringList{"завтра\r", "в одиннадцать\r"}));
        QCOMPARE(r.list->rows().count(), 2);
        r.list->document().tick();
        r.list->ED();
        QCOMPARE(r.alert->count(), 0);
        QVERIFY(!r.list->document().ownTimerActive());
        QCOMPARE(notesOf(LoadReminders()), (QStringList{"завтра\r", "в одиннадцать\r"}));
    }

    // The sound schedule switches "Sound" and greys and restores the sound indicator.
    void soundSchedule() {
        Run r;
        ini().SoundOnOff = true;
        ini().SoundOff = timeValue(QTime(22, 0));
        ini().SoundOn = timeValue(QTime(6, 0));
        ini().Sound = true;
        const auto colour = [&] {
            return toColorRef(r.m.child<ClickLabel>("stSound")->palette().color(QPalette::WindowText));
        };
        r.tick(21, 59);
        r.tick(22, 1);
        QVERIFY(!ini().Sound);
        QCOMPARE(colour(), ini().NotActiveColor);
        r.tick(6, 0);
        QVERIFY(ini().Sound);
        QCOMPARE(colour(), ini().InfoColor);
    }

    // A caller with a number reminder raises it with the reminder sound.
    void callerRaisesNumberReminder() {
        Run r({byNumber("(34)56-78", "перезвонить\r"), byNumber("765432", "другой\r")});
        ini().ReminderSound = "remind.wav";
        r.m.feed("CallerID: 4952345678:1\r\n");  // cut to its last 6 digits
        QCOMPARE(r.alert->count(), 1);
        QVERIFY(r.alert->isVisible());
        QCOMPARE(r.alert->alert(0).Note.text(), QString("перезвонить\r"));
        QCOMPARE(r.m.sound->played.last(), QString("remind.wav"));
        QVERIFY(r.m.sound->stops > 0);
        r.list->finishSaves();
        QCOMPARE(notesOf(LoadReminders()), QStringList{"другой\r"});
    }

    // "Напоминания" shows and hides the list with the check mark; the list's own close
    // clears it. "Добавить в напоминание..." opens the form for the number shown.
    void listAndFormCommands() {
        Run r({}, [](BookStore& b) {
            b.AddItem(entry("Петров", "11-22-33", 0), true);
            b.AddItem(entry("Сидоров", "44-55-66", 0), true);
        });
        QVERIFY(r.m.child<QToolButton>("sbOpti")->isEnabled() && r.m.child<QAction>("N9")->isEnabled());
        r.m.child<QToolButton>("sbOpti")->click();
        QVERIFY(r.list->isVisible());
        QVERIFY(r.m.child<QAction>("mPReminder")->isChecked());
        r.m.child<QAction>("mPReminder")->trigger();
        QVERIFY(!r.list->isVisible());
        QVERIFY(!r.m.child<QAction>("mPReminder")->isChecked());
        r.m.child<QAction>("mPReminder")->trigger();
        QVERIFY(r.list->isVisible() && r.m.child<QAction>("mPReminder")->isChecked());
        r.list->sbHide->click();
        QVERIFY(!r.m.child<QAction>("mPReminder")->isChecked());

        r.m.window->ViewNumber("2345678", true);
        bool byNumber = false;
        QStringList offered;
        onNextModal([&](QWidget* w) {
            byNumber = w->findChild<QRadioButton*>("rbNumber")->isChecked() &&
                       !w->findChild<QComboBox*>("dtTime")->isEnabled();
            auto* numbers = w->findChild<QComboBox*>("cbNumber");
            for (int i = 0; i < numbers->count(); ++i) offered << numbers->itemText(i);
            w->findChild<QPlainTextEdit*>("mNote")->setPlainText("позвонить");
            w->findChild<QPushButton*>("bOK")->click();
        });
        r.m.child<QAction>("N9")->trigger();
        QVERIFY(byNumber);
        QCOMPARE(offered, (QStringList{"11-22-33", "44-55-66"}));  // the book, in book order
        QCOMPARE(r.list->rows().count(), 1);
        QCOMPARE(r.list->rows().record(0).Number.text(), r.m.number());
        QVERIFY(numberMatches(r.list->rows().record(0), "2345678"));
        RegKey reg(RegistryFile::user());
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\NewReminder"));
    }

    // Closing the main window puts the alerts still shown back among the reminders.
    void closingKeepsRaisedAlerts() {
        Run r({byDate(QDateTime(QDate(2026, 1, 31), QTime(11, 0)), "в одиннадцать\r")});
        QCOMPARE(r.alert->count(), 1);
        r.m.window->FormClose();
        QVERIFY(!r.list->document().ownTimerActive());
        const QList<ReminderRecord> saved = LoadReminders();
        QCOMPARE(notesOf(saved), QStringList{"в одиннадцать\r"});
        QCOMPARE(dueKey(saved.first()), minuteKey(r.now));
    }
};

QTEST_MAIN(TestMainSides)
#include "tst_main_sides.moc"
