// The main window's phone book commands: showing and closing the book with the main window,
// adding the number on display, and the book's line buttons following the port.
#include "MainFixture.h"
#include "SaveGate.h"
#include "gui/main/ClickLabel.h"
#include "gui/desktop/ColorRef.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace zrk;

namespace {

QColor textColour(const QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

}  // namespace

class TestMainBook : public QObject {
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
};

QTEST_MAIN(TestMainBook)
#include "tst_main_book.moc"
