// The entry and group editors and the information form, on their own; and the book's rows
// under Qt's model checker: sorting (whose moving of the persistent indexes is written by
// hand), rebuilding after a removal, appending and changing columns, with the view's
// selection and current row held across every change.
#include "gui/book/BookEditors.h"
#include "gui/book/BookModel.h"
#include "core/book/BookStore.h"
#include "gui/book/BookWindowTesting.h"
#include "gui/book/ItemInfo.h"
#include "core/platform/Registry.h"
#include "core/settings/Positions.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace zrk;
using namespace zrktest;

namespace {

QPushButton* okButton(QDialog& d) {
    return d.findChild<QPushButton*>("bOK");
}


constexpr auto kFatal = QAbstractItemModelTester::FailureReportingMode::Fatal;

struct Person {
    const char* name;
    const char* phone;
    int group;
};

// "Name:Phone" of the entry behind a held index, read through the index itself.
QString at(const QPersistentModelIndex& i) {
    if (!i.isValid()) return QStringLiteral("gone");
    return i.sibling(i.row(), 0).data().toString() + QLatin1Char(':') +
           i.sibling(i.row(), 1).data().toString();
}

void fill(BookStore& store, const QList<Person>& people) {
    store.AddGroup(BookGroup::make(QStringLiteral("Друзья")), true);
    for (const Person& p : people) store.AddItem(entry(p.name, p.phone, 0, p.group), true);
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
        TBookItem d({});
        QVERIFY(!okButton(d)->isEnabled());
        d.setPhone(phone);
        QTEST(okButton(d)->isEnabled(), "enabled");
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
        const auto row = [](const char* name, const char* homePage, const char* opened) {
            QTest::newRow(name) << QString(homePage) << QString(opened);
        };
        row("bare", "bank.ru", "http://bank.ru");
        row("web prefix", "http://bank.ru", "http://bank.ru");
        row("web prefix in capitals", "HTTP://bank.ru/A", "http://bank.ru/A");
        row("https", "https://bank.ru", "https://bank.ru");
        row("https in capitals", "HTTPS://bank.ru", "https://bank.ru");
        row("ftp", "ftp://files.ru", "ftp://files.ru");
        row("mail", "mailto:a@b.ru", "mailto:a@b.ru");
        // Any scheme opens as it stands: letter, then letters, digits, + - . up to a colon.
        row("sftp", "sftp://files.ru/a", "sftp://files.ru/a");
        row("tel", "tel:+74951234567", "tel:+74951234567");
        row("ssh", "ssh://host.ru", "ssh://host.ru");
        row("scheme with + - .", "svn+ssh.x-y:repo", "svn+ssh.x-y:repo");
        row("digit first is no scheme", "1c:base", "http://1c:base");
        row("blank before the colon is no scheme", "my site:x", "http://my site:x");
        row("no colon", "www.bank.ru/a:b", "http://www.bank.ru/a:b");
        row("empty", "", "");
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


    // After a sort every held index still names its own entry, at the entry's new row; the
    // selection goes with its entries. Rows are typed in the order the bytes of code page
    // 1251 give: Latin before Cyrillic, capitals first, the shorter text first.
    void heldIndexesFollowTheirEntriesThroughASort_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("by name") << int(FieldName)
                                 << QStringList{"Zeta:1", "alpha:10", "Бета:2", "бет:4", "бета:3"};
        QTest::newRow("by phone, as text")
            << int(FieldPhone) << QStringList{"Zeta:1", "alpha:10", "Бета:2", "бета:3", "бет:4"};
        QTest::newRow("on a field all share: order kept")
            << int(FieldNote) << QStringList{"бета:3", "Zeta:1", "Бета:2", "alpha:10", "бет:4"};
    }
    void heldIndexesFollowTheirEntriesThroughASort() {
        QFETCH(int, field);
        QFETCH(QStringList, sorted);
        BookStore store;
        fill(store, {{"бета", "3", 0},
                     {"Zeta", "1", 0},
                     {"Бета", "2", 1},
                     {"alpha", "10", 0},
                     {"бет", "4", 1}});
        BookModel model(store);
        QAbstractItemModelTester tester(&model, kFatal);
        model.setFields({FieldName, FieldPhone, FieldNote});
        model.rebuild(0);
        QItemSelectionModel selection(&model);
        QList<QPersistentModelIndex> held;
        QStringList before;
        for (int r = 0; r < model.rowCount(); ++r) {
            held << QPersistentModelIndex(model.index(r, r % 3));  // every column somewhere
            before << at(held.last());
        }
        selection.select(model.index(1, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection.setCurrentIndex(model.index(4, 2), QItemSelectionModel::NoUpdate);

        model.sortOn(BookField(field));

        QStringList rows;
        for (int r = 0; r < model.rowCount(); ++r)
            rows << at(QPersistentModelIndex(model.index(r, 0)));
        QCOMPARE(rows, sorted);
        for (int k = 0; k < held.size(); ++k) {
            QCOMPARE(at(held[k]), before[k]);
            QCOMPARE(held[k].row(), int(sorted.indexOf(before[k])));
            QCOMPARE(held[k].column(), k % 3);
            QCOMPARE(model.masterIndex(held[k].row()), k);  // the book itself never moves
        }
        const QModelIndexList chosen = selection.selectedRows();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(at(chosen.first()), QString("Zeta:1"));
        QCOMPARE(at(selection.currentIndex()), QString("бет:4"));
        QCOMPARE(selection.currentIndex().column(), 2);
    }

    // A removal from the book rebuilds the rows: nothing held may name another entry then.
    // Appending keeps what is held; a change of columns starts afresh; headers outside the
    // columns are empty.
    void removalAppendAndColumns() {
        BookStore store;
        fill(store, {{"Анна", "111", 1}, {"Борис", "222", 0}, {"Вера", "333", 1}});
        BookModel model(store);
        QAbstractItemModelTester tester(&model, kFatal);
        model.setFields({FieldName, FieldPhone});
        model.rebuild(1);
        QCOMPARE(model.rowCount(), 2);
        QPersistentModelIndex vera(model.index(1, 1));
        QCOMPARE(at(vera), QString("Вера:333"));

        model.append(store.AddItem(entry("Дина", "", 0, 1), true));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(at(vera), QString("Вера:333"));
        QCOMPARE(vera.row(), 1);
        QCOMPARE(at(model.index(2, 0)), QString("Дина:"));

        QPersistentModelIndex anna(model.index(0, 0));
        store.RemoveItems({0});
        model.rebuild(1);
        QCOMPARE(at(anna), QString("gone"));
        QCOMPARE(at(vera), QString("gone"));
        QCOMPARE(at(model.index(0, 0)), QString("Вера:333"));
        QCOMPARE(model.masterIndex(0), 1);

        QPersistentModelIndex dina(model.index(1, 0));
        model.setFields({});
        QVERIFY(!dina.isValid());
        QCOMPARE(model.columnCount(), 1);
        QCOMPARE(model.index(1, 0).data().toString(), QString("Дина"));
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString());
        model.setFields({FieldPhone, FieldIcq});
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("ICQ UIN"));
        QVERIFY(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).isNull());
        QVERIFY(model.headerData(-1, Qt::Horizontal, Qt::DisplayRole).isNull());
    }

private:
    std::unique_ptr<BookSandbox> box_;
};

QTEST_MAIN(TestBookEditors)
#include "tst_bookeditors.moc"
