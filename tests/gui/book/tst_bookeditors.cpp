// The entry and group editors and the information form, on their own.
#include "gui/book/BookEditors.h"
#include "core/book/BookStore.h"
#include "gui/book/BookWindowTesting.h"
#include "gui/book/ItemInfo.h"
#include "core/platform/Registry.h"
#include "core/settings/Positions.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace zrk;
using namespace zrktest;

namespace {

QPushButton* okButton(QDialog& d) {
    return d.findChild<QPushButton*>("bOK");
}

}  // namespace

class TestBookEditors : public QObject {
    Q_OBJECT

private slots:
    void init() { box_ = std::make_unique<BookSandbox>(); }
    void cleanup() { box_.reset(); }

    void okNeedsADialablePhone_data() {
        QTest::addColumn<QString>("phone");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("hyphens and blanks") << "-- -" << false;
        QTest::newRow("other letters") << "abc Xyz" << false;
        QTest::newRow("Cyrillic") << "тел" << false;
        QTest::newRow("w alone") << "w" << true;
        QTest::newRow("P T") << "PT" << true;
        QTest::newRow("a digit among signs") << "(-5-)" << true;
    }
    void okNeedsADialablePhone() {
        QFETCH(QString, phone);
        QFETCH(bool, enabled);
        TBookItem d({});
        QVERIFY(!okButton(d)->isEnabled());
        d.setPhone(phone);
        QCOMPARE(okButton(d)->isEnabled(), enabled);
    }

    void entryEditorHoldsWhatItShows() {
        BookStore store;
        store.AddGroup(BookGroup::make("Друзья"), true);
        store.AddGroup(BookGroup::make("Работа"), true);
        for (int selector : {0, 2}) {
            TBookItem d({&store, [selector] { return selector; }, {}});
            QComboBox* cb = d.findChild<QComboBox*>("cbGr");
            QCOMPARE(cb->itemText(0), QString("[Общая]"));
            QCOMPARE(cb->itemText(2), QString("Работа"));
            QCOMPARE(cb->currentIndex(), selector);
            QCOMPARE(d.windowTitle(), QString("Добавить запись"));
        }
        // Damaged records: an unknown status shows as normal and a group outside the table
        // as the common group; "OK" writes what was shown.
        struct Case {
            qint32 status, group, savedStatus, savedGroup;
        };
        for (const Case c :
             {Case{7, 9, 0, 0}, Case{-3, -1, 0, 0}, Case{1, 2, 1, 2}, Case{2, 1, 2, 1}}) {
            TBookItem d({&store, [] { return 0; }, {}});
            d.Item = entry("Имя", "12", c.status, c.group);
            d.Item.Icq.setText("42");
            d.InitFormProp();
            QCOMPARE(d.windowTitle(), QString("Редактировать запись"));
            ok()(d);
            QVERIFY(d.confirmed());
            QCOMPARE(d.Item.Status, c.savedStatus);
            QCOMPARE(d.Item.Group, c.savedGroup);
            QCOMPARE(d.Item.Icq.text(), QString("42"));
        }
        // Cancel keeps the flag down; the limits keep every text within its field.
        TBookItem d({});
        QCOMPARE(d.findChild<QLineEdit*>("eFIO")->maxLength(), 70);
        QCOMPARE(d.findChild<QLineEdit*>("eICQ")->maxLength(), 15);
        QCOMPARE(d.findChild<QLineEdit*>("eNote")->maxLength(), 133);
        d.findChild<QPushButton*>("bCansel")->click();
        QVERIFY(!d.confirmed());
    }

    void editorsComeBackWhereTheyWereLeft() {
        {
            TGroupItem g;
            g.move(31, 42);
            g.reject();
        }
        TFormPlace place;
        LoadPosition("Position\\GroupItem", place);
        QCOMPARE(place.Left, 31);
        QCOMPARE(place.Top, 42);
        QCOMPARE(place.Width, -1);  // fixed size: no size kept
        TGroupItem again;
        QCOMPARE(again.pos(), QPoint(31, 42));

        // Each editor under its own key: one left somewhere else must not move the others.
        {
            TBookItem item({});
            item.move(53, 64);
            item.reject();
            TItemInfo info;
            info.move(75, 86);
            info.accept();
        }
        QCOMPARE(TBookItem({}).pos(), QPoint(53, 64));
        QCOMPARE(TItemInfo().pos(), QPoint(75, 86));
        QCOMPARE(TGroupItem().pos(), QPoint(31, 42));
        LoadPosition("Position\\BookItem", place);
        QCOMPARE(place.Left, 53);
        LoadPosition("Position\\InfoItem", place);
        QCOMPARE(place.Top, 86);
    }

    void groupEditor() {
        TGroupItem d;
        QVERIFY(!okButton(d)->isEnabled());
        QCOMPARE(d.findChild<QComboBox*>("cbAction")->currentText(), QString("[нет]"));
        setText(d, "eTitle", " ");  // a blank is a title
        QVERIFY(okButton(d)->isEnabled());
        // Chosen sound files: the bare name only for the very file here.
        QVERIFY(writeAll("ring.wav", "here"));
        QTemporaryDir other;
        QVERIFY(writeAll(other.filePath("ring.wav"), "elsewhere"));
        QVERIFY(writeAll(other.filePath("own.wav"), "x"));
        QStringList answers{QDir::current().filePath("ring.wav"), other.filePath("ring.wav"),
                            other.filePath("own.wav"), QString()};
        QStringList stored;
        d.setFileChooser([&answers](QWidget*) { return answers.takeFirst(); });
        for (int i = 0; i < 4; ++i) {
            d.feSoundBrowse();
            stored << d.findChild<QLineEdit*>("feSound")->text();
        }
        QCOMPARE(stored, (QStringList{"ring.wav", other.filePath("ring.wav"),
                                      other.filePath("own.wav"), other.filePath("own.wav")}));
        pick(d, "cbAction", 3);
        ok()(d);
        QCOMPARE(d.Item.Title.text(), QString(" "));
        QCOMPARE(d.Item.Sound.text(), other.filePath("own.wav"));
        QCOMPARE(d.Item.Action, 3);

        TGroupItem e;
        e.Item = BookGroup::make("Старая", "s.wav", 2);
        e.InitFormProp();
        QCOMPARE(e.windowTitle(), QString("Свойства группы"));
        QCOMPARE(e.findChild<QLineEdit*>("feSound")->text(), QString("s.wav"));
        QCOMPARE(e.findChild<QComboBox*>("cbAction")->currentIndex(), 2);
        QCOMPARE(e.findChild<QLineEdit*>("eTitle")->maxLength(), 23);
    }

    void informationLinks_data() {
        QTest::addColumn<QString>("homePage");
        QTest::addColumn<QString>("opened");  // empty: nothing opened
        QTest::newRow("bare") << "bank.ru"
                              << "http://bank.ru";
        QTest::newRow("web prefix") << "http://bank.ru"
                                    << "http://bank.ru";
        QTest::newRow("web prefix in capitals") << "HTTP://bank.ru/A"
                                                << "http://bank.ru/A";
        QTest::newRow("https") << "https://bank.ru"
                               << "https://bank.ru";
        QTest::newRow("https in capitals") << "HTTPS://bank.ru"
                                           << "https://bank.ru";
        QTest::newRow("ftp") << "ftp://files.ru"
                             << "ftp://files.ru";
        QTest::newRow("mail") << "mailto:a@b.ru"
                              << "mailto:a@b.ru";
        // Any scheme opens as it stands: letter, then letters, digits, + - . up to a colon.
        QTest::newRow("sftp") << "sftp://files.ru/a"
                              << "sftp://files.ru/a";
        QTest::newRow("tel") << "tel:+74951234567"
                             << "tel:+74951234567";
        QTest::newRow("ssh") << "ssh://host.ru"
                             << "ssh://host.ru";
        QTest::newRow("scheme with + - .") << "svn+ssh.x-y:repo"
                                           << "svn+ssh.x-y:repo";
        QTest::newRow("digit first is no scheme") << "1c:base"
                                                  << "http://1c:base";
        QTest::newRow("blank before the colon is no scheme") << "my site:x"
                                                             << "http://my site:x";
        QTest::newRow("no colon") << "www.bank.ru/a:b"
                                  << "http://www.bank.ru/a:b";
        QTest::newRow("empty") << ""
                               << "";
    }
    void informationLinks() {
        QFETCH(QString, homePage);
        QFETCH(QString, opened);
        QStringList open;
        TItemInfo info(nullptr, [&open](const QString& a) { return open << a, true; });
        BookEntry e = entry("Анна", "12", 0, 0);
        e.HomePage.setText(homePage);
        e.EMail.setText("a@b.ru");
        info.InitForm(e);
        info.stWWWClick();
        QCOMPARE(open, opened.isEmpty() ? QStringList() : QStringList{opened});
        info.stEMailClick();
        QCOMPARE(open.last(), QString("mailto:a@b.ru"));
        // Phone links without a main window do nothing; with one they dial.
        info.stPhoneClick();
        FakeLine line;
        info.setLine(&line);
        info.stPhoneClick();
        QCOMPARE(line.calls, (QStringList{"ViewNumber(12,false)", "sbDialClick"}));
        // An empty e-mail opens nothing.
        open.clear();
        info.InitForm(BookEntry::empty());
        info.stEMailClick();
        QCOMPARE(open, QStringList());
    }

private:
    std::unique_ptr<BookSandbox> box_;
};

QTEST_MAIN(TestBookEditors)
#include "tst_bookeditors.moc"
