// The main window's side of the call history: the menu item that opens the window over the
// log of the settings, one window however often it is chosen, the commands that reach the
// main window and the phone book, and the window's place kept at the program's end.
#include "MainFixture.h"
#include "gui/calls/HistoryWindow.h"
#include "core/platform/Cp1251.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>

#include <algorithm>

using namespace zrk;

class TestMainHistory : public QObject {
    Q_OBJECT

    // The item chosen as the user does: the window's menu popped up, the item clicked.
    static void choose(TRusCID& w, const char* name) {
        auto* menu = w.findChild<QMenu*>("PopupMenu1");
        menu->popup(w.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        auto* item = menu->findChild<QAction*>(name);
        QVERIFY(item);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }

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
};

QTEST_MAIN(TestMainHistory)
#include "tst_main_history.moc"
