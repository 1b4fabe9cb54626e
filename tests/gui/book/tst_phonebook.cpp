// The phone book window driven through its named controls, with the book file read back.
#include "gui/book/BookWindowTesting.h"
#include "core/platform/Registry.h"
#include "core/settings/Positions.h"
#include "gui/windows/FailurePresenter.h"

#include "SaveGate.h"
#include "ShownBoxes.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace zrk;
using namespace zrktest;

namespace {

// The question boxes of the desktop, answered with Enter as a user answers them.
void answerQuestionsWithEnter(BookWindow& w) {
    BookPrompts p;
    p.exec = [](QDialog& d) { return d.exec(); };
    p.ask = [&w](const QString& caption, const QString& text) {
        w.told << caption + ": " + text;
        QMessageBox box(QMessageBox::Warning, caption, text,
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, w.book.get());
        box.setDefaultButton(QMessageBox::Yes);
        QTimer::singleShot(0, &box, [&box] {
            QVERIFY(QTest::qWaitForWindowActive(&box));
            QTest::keyClick(&box, Qt::Key_Return);
        });
        return QMessageBox::StandardButton(box.exec());
    };
    p.warn = [&w](const QString& caption, const QString& text) { w.told << caption + ": " + text; };
    w.book->setPrompts(p);
}

void clickRow(QTreeView* list, int row) {
    const QRect r = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

QList<int> selected(const QTreeView* list) {
    QList<int> rows;
    for (const QModelIndex& i : list->selectionModel()->selectedRows()) rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

class TestPhoneBook : public QObject {
    Q_OBJECT

private slots:
    void init() { box_ = std::make_unique<BookSandbox>(); }
    void cleanup() { box_.reset(); }

    // ---- the faults of earlier versions ----

    void deleteRemovesExactlyTheSelectedEntries() {
        // Two entries share a phone (edits make no duplicate test): the later one goes.
        BookWindow w(header(0) + entryBytes({cp("Первый"), "12-34"}) +
                     entryBytes({cp("Второй"), "12-34"}) + entryBytes({cp("Третий"), "5"}));
        w.select({1, 2});
        w.reply = QMessageBox::No;
        w.click("sbDel");
        QCOMPARE(w.told, QStringList{"Удалить записи: Вы хотите удалить эти телефоны?"});
        QCOMPARE(w.document->store().count(), 3);
        w.select({1});
        w.reply = QMessageBox::Yes;
        w.trigger("mPDel");
        QCOMPARE(w.told.last(), QString("Удалить запись: Вы хотите удалить этот телефон?"));
        QCOMPARE(w.entries(), (QStringList{"Первый:12-34:0:0", "Третий:5:0:0"}));
        w.book->finishSaves();
        QCOMPARE(readAll("book.phn"),
                 header(0) + entryBytes({cp("Первый"), "12-34"}) + entryBytes({cp("Третий"), "5"}));
    }

    void deleteGroupRemovesItsOwnEntriesOnly() {
        // Ян of group 2 has the phone of Ева of group 1; deleting group 1 must keep Ян, in
        // the group that moves into position 1.
        ini().Group = 1;
        BookWindow w(header(2) + groupBytes("G1", "", 0) + groupBytes("G2", "", 0) +
                     entryBytes({cp("Ян"), "77"}, 0, 2) + entryBytes({cp("Ева"), "77"}, 0, 1) +
                     entryBytes({cp("Ия"), "78"}, 0, 0));
        QCOMPARE(w.rows(), QStringList{"Ева"});
        w.click("sbDelGr");
        QCOMPARE(w.told, QStringList{"Удалить группу: Эта группа будет удалена со всем телефонами. "
                                     "Удалить?"});
        QCOMPARE(w.entries(), (QStringList{"Ян:77:0:1", "Ия:78:0:0"}));
        QCOMPARE(w.groups(), (QStringList{"[Все группы]", "G2"}));
        // The group that moved into the deleted position is on show.
        QCOMPARE(w.selector()->currentIndex(), 1);
        QCOMPARE(w.rows(), QStringList{"Ян"});
        QCOMPARE(ini().Group, 1);
        // The last group deleted: the selector goes to the new last position.
        w.click("sbDelGr");
        QCOMPARE(w.selector()->currentIndex(), 0);
        QCOMPARE(w.entries(), QStringList{"Ия:78:0:0"});
        QVERIFY(!w.enabled("sbDelGr") && !w.enabled("sbPropGr"));
    }

    void closingSavesEverything() {
        TFormPlace col{-1, -1, -1, 123};
        SavePosition("Position\\PhoneBook\\Section1", col, true);
        SavePosition("Position\\PhoneBook\\Section2", TFormPlace{-1, -1, -1, 99}, true);
        BookWindow w;  // no book file yet
        QCOMPARE(w.list()->header()->sectionSize(1), 123);
        // Field 4 has no stored width: its default, widened for a large font.
        const int mailWidth = w.list()->header()->sectionSize(2);
        const int noteWidth = w.list()->header()->sectionSize(3);
        QVERIFY(mailWidth >= 90 && noteWidth >= 100);
        bool shown = false;
        connect(w.book.get(), &TPhoneBook::shownChanged, this, [&shown](bool s) { shown = s; });
        w.book->show();
        QVERIFY(shown);
        w.list()->header()->resizeSection(0, 201);
        w.click("sbExit");
        QVERIFY(!shown && !w.book->isVisible());
        // The book is saved on every closing, even without a change.
        QCOMPARE(readAll("book.phn"), header(0));
        TFormPlace place;
        LoadPosition("Position\\PhoneBook", place);
        QVERIFY(place.Left >= 0 && place.Height > 0 && place.Width > 0);
        const QList<QPair<int, int>> widths{
            {0, 201}, {1, 123}, {2, 99}, {4, mailWidth}, {7, noteWidth}};
        for (const auto& [field, width] : widths) {
            TFormPlace c;
            LoadPosition(QString("Position\\PhoneBook\\Section%1").arg(field), c);
            QCOMPARE(c.Width, width);  // field 2 is hidden: its stored width stays
        }
    }

    // ---- entries ----

    void addingChecksDuplicatesAndFollowsTheGroup() {
        ini().Group = 1;
        BookWindow w(fourPeople());
        QCOMPARE(w.rows(), (QStringList{"Анна", "Вера"}));
        // The same digits written otherwise are the same number.
        w.answers << newEntry("Копия", "(2) 2-2");
        w.click("sbAdd");
        QCOMPARE(w.dialogs, QStringList{"Добавить запись"});
        QCOMPARE(w.told, QStringList{"Внимание: Запись с таким телефоном уже есть в книге."});
        QCOMPARE(w.document->store().count(), 4);
        // Into the group on show: a new last row, even after a sort.
        w.list()->header()->sectionClicked(0);
        w.answers << newEntry("Алла", "555");  // the editor starts on the selector's group
        w.trigger("mPAdd");
        QCOMPARE(w.rows(), (QStringList{"Анна", "Вера", "Алла"}));
        QCOMPARE(w.entries().last(), QString("Алла:555:0:1"));
        // A later status change reaches that new entry.
        w.select({2});
        w.trigger("mPBad");
        QCOMPARE(w.entries().last(), QString("Алла:555:1:1"));
        // Into another group: the selector follows the new entry.
        w.answers << newEntry("Гоша", "666", 2);
        w.click("sbAdd");
        QCOMPARE(w.selector()->currentIndex(), 2);
        QCOMPARE(w.rows(), (QStringList{"Дина", "Гоша"}));
        QCOMPARE(ini().Group, 2);
        // The main window's number: the editor opens with it, and it is used once only.
        w.answers << ok() << [](QDialog& d) {
            QCOMPARE(d.findChild<QLineEdit*>("ePhone")->text(), QString());
            d.reject();
        };
        w.book->addWithNumber("8 800 11");
        QCOMPARE(w.entries().last(), QString(":8 800 11:0:2"));
        w.click("sbAdd");
        QCOMPARE(w.book->PendingPhone, QString());
        w.book->finishSaves();
        QCOMPARE(readAll("book.phn").size(), 24 + 2 * 284 + 7 * 528);
    }

    void allGroupsViewAddsMovesAndEdits() {
        BookWindow w(fourPeople());
        QCOMPARE(w.rows().size(), 4);
        QCOMPARE(w.status(), QString("Записей: 4"));
        w.answers << newEntry("Эля", "9", 2);
        w.click("sbAdd");
        QCOMPARE(w.selector()->currentIndex(), 0);
        QCOMPARE(w.rows().last(), QString("Эля"));
        // Moved entries stay on show, and the editor then opens on their new group.
        w.select({1, 3});
        w.child<QAction>("mPGroup1")->trigger();
        QCOMPARE(w.rows().size(), 5);
        QCOMPARE(w.entries()[1], QString("Борис:222:1:1"));
        QCOMPARE(w.entries()[3], QString("Дина:444:0:1"));
        w.select({3});
        w.answers << ok([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QString("Редактировать запись"));
            QCOMPARE(d.findChild<QComboBox*>("cbGr")->currentIndex(), 1);
            QVERIFY(d.findChild<QRadioButton*>("rbNormal")->isChecked());
            setText(d, "eFIO", "Дина Ким");
        });
        w.click("sbProp");
        QCOMPARE(w.rows()[3], QString("Дина Ким"));
        QCOMPARE(w.entries()[3], QString("Дина Ким:444:0:1"));
        // Editing into another group while a group is shown switches the selector.
        w.selector()->setCurrentIndex(1);
        QCOMPARE(w.rows(), (QStringList{"Анна", "Борис", "Вера", "Дина Ким"}));
        w.select({0});
        w.answers << ok([](QDialog& d) { pick(d, "cbGr", 2); });
        w.trigger("mPProp");
        QCOMPARE(w.selector()->currentIndex(), 2);
        QCOMPARE(w.rows(), (QStringList{"Анна", "Эля"}));
        // Cancelled: nothing changes.
        w.select({0});
        w.click("sbProp");
        QCOMPARE(w.entries()[0], QString("Анна:111:0:2"));
    }

    void editorCreatesAGroupMeanwhile() {
        ini().Group = 1;
        BookWindow w(fourPeople());
        w.select({1});  // Вера
        // "Создать группу" moves the selector to the new, empty group; the entry edited
        // before is still the one changed.
        w.answers << ok([&w](QDialog& d) {
            w.answers.prepend(newGroup("Новая"));
            d.findChild<QToolButton*>("sbAddGroup")->click();
            QCOMPARE(d.findChild<QComboBox*>("cbGr")->currentIndex(), 3);
            setText(d, "eFIO", "Вера П.");
        });
        w.click("sbProp");
        QCOMPARE(w.entries()[2], QString("Вера П.:333:2:3"));
        QCOMPARE(w.selector()->currentIndex(), 3);
        QCOMPARE(w.rows(), QStringList{"Вера П."});
    }

    void statusDialAnswerAndShortcuts() {
        BookWindow w(fourPeople());
        w.select({0, 2});
        w.trigger("mPBad");
        QCOMPARE(w.entries()[0], QString("Анна:111:1:1"));
        QCOMPARE(w.entries()[2], QString("Вера:333:1:1"));
        QVERIFY(!w.list()->model()->index(0, 0).data(Qt::DecorationRole).isNull());
        w.select({2, 1});
        w.click("sbDial");
        w.list()->doubleClicked(w.list()->model()->index(3, 1));
        QTest::keyClick(w.list(), Qt::Key_Escape);
        w.click("sbAnswer");
        QCOMPARE(w.line.calls,
                 (QStringList{"ViewNumber(222,false)", "sbDialClick", "ViewNumber(222,false)",
                              "sbDialClick", "sbAnswerClick", "sbAnswerClick"}));
        // A line that fails hands its error to the main window.
        w.line.calls.clear();
        w.line.failing = true;
        w.trigger("mPDial");
        QCOMPARE(w.line.calls.last(), QString("error: Ошибка записи"));
        // Ins and Del in the list, through the menu's short-cuts.
        w.book->show();
        QVERIFY(QTest::qWaitForWindowActive(w.book.get()));
        w.list()->setFocus();
        QTest::keyClick(w.list(), Qt::Key_Insert);
        QCOMPARE(w.dialogs, QStringList{"Добавить запись"});
        w.reply = QMessageBox::Cancel;
        QTest::keyClick(w.list(), Qt::Key_Delete);
        QCOMPARE(w.told.size(), 1);
        QCOMPARE(w.document->store().count(), 4);
    }

    // Focus that a desktop gives the list back (a closing menu, the window activated again,
    // a click in a window that was not active) never adds the first row to the chosen one,
    // so Delete removes exactly the chosen entry.
    void focusComingBackKeepsTheChosenRows() {
        BookWindow w(fourPeople());
        answerQuestionsWithEnter(w);
        QWidget other;
        other.setWindowTitle("elsewhere");
        other.show();
        w.book->show();
        QVERIFY(QTest::qWaitForWindowActive(w.book.get()));
        QTreeView* list = w.list();
        clickRow(list, 3);
        QCOMPARE(selected(list), QList<int>{3});

        // The context menu, opened by its key and closed with Esc: focus comes back with
        // Qt::PopupFocusReason.
        auto* menu = w.child<QMenu>("PopupMenu1");
        w.openMenu(list->visualRect(list->currentIndex()).center());
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(selected(list), QList<int>{3});
        QTest::keyClick(list, Qt::Key_Delete);  // the question box, answered with Enter
        QCOMPARE(w.entries(), (QStringList{"Анна:111:0:1", "Борис:222:1:0", "Вера:333:2:1"}));

        // Another window in front, then this one activated again: Qt::ActiveWindowFocusReason.
        clickRow(list, 1);
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        w.book->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.book.get()));
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(selected(list), QList<int>{1});
        w.trigger("mPPrior");
        QCOMPARE(w.entries(), (QStringList{"Анна:111:0:1", "Борис:222:2:0", "Вера:333:2:1"}));

        // One click on the third row of the window while another is active: the press
        // chooses the row, then the window manager activates the window.
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        clickRow(list, 2);
        w.book->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.book.get()));
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(selected(list), QList<int>{2});
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(w.entries(), (QStringList{"Анна:111:0:1", "Борис:222:2:0"}));
        QCOMPARE(w.told.size(), 2);
    }

    // Tab or Backtab into the list with nothing chosen selects the first of two or more rows;
    // with a row chosen, or a single row, it selects nothing more.
    void tabIntoTheListSelectsTheFirstRowOnlyWhenNoneIsChosen_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("three, none chosen, Tab") << 3 << -1 << false << QList<int>{0};
        QTest::newRow("three, none chosen, Backtab") << 3 << -1 << true << QList<int>{0};
        QTest::newRow("three, last chosen") << 3 << 2 << false << QList<int>{2};
        QTest::newRow("one") << 1 << -1 << false << QList<int>{};
    }
    void tabIntoTheListSelectsTheFirstRowOnlyWhenNoneIsChosen() {
        QFETCH(int, entries);
        QFETCH(int, chosen);
        QFETCH(bool, backwards);
        QFETCH(QList<int>, expected);
        QByteArray file = header(0);
        for (int i = 0; i < entries; ++i) file += entryBytes({"x", QByteArray::number(i)});
        BookWindow w(file);
        w.book->show();
        QVERIFY(QTest::qWaitForWindowActive(w.book.get()));
        if (chosen >= 0) w.select({chosen});
        w.selector()->setFocus(Qt::MouseFocusReason);
        for (int i = 0; i < 30 && !w.list()->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab);
        QVERIFY(w.list()->hasFocus());
        QCOMPARE(selected(w.list()), expected);
        if (chosen < 0 && !expected.isEmpty()) QCOMPARE(w.list()->currentIndex().row(), 0);
    }

    // The entry and group editors and the information form have no stored place on first
    // use: they open centred on the book window, not at the screen's corner; once left
    // somewhere, they come back there.
    void editorsOpenCentredOnTheBookUntilMoved() {
        BookWindow w(fourPeople());
        TItemInfo info(nullptr);  // the run's form belongs to the main window, not the book
        w.book->setInfoForm(&info);
        w.book->show();
        w.book->move(300, 200);
        QVERIFY(QTest::qWaitForWindowExposed(w.book.get()));
        const QPoint centre = w.book->frameGeometry().center();
        QList<QPoint> centres;
        const auto seen = [&centres](QDialog& d) {
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            centres << d.frameGeometry().center();
            d.move(d.pos() + QPoint(7, 5));  // moved by the user this time
            d.reject();
        };
        w.answers << seen << seen << seen << seen;
        w.click("sbAdd");
        w.click("sbAddGr");
        w.select({0});
        w.trigger("mPInfo");
        QVERIFY(info.isVisible());
        centres << info.frameGeometry().center();
        for (const QPoint& c : centres)  // within the rounding of a halved size
            QVERIFY2((c - centre).manhattanLength() <= 6,
                     qPrintable(QDebug::toString(c) + " for " + QDebug::toString(centre)));
        info.move(info.pos() + QPoint(7, 5));
        info.reject();
        // Where the user left them is where they come back.
        w.click("sbAdd");
        w.click("sbAddGr");
        w.trigger("mPInfo");
        centres << info.frameGeometry().center();
        for (int i = 3; i < 6; ++i) QCOMPARE(centres[i], centres[i - 3] + QPoint(7, 5));
    }

    void sortsAscendingTwiceAndRebuildsInBookOrder() {
        ini().Columns = {true, true, false, false, false, false, false, false};
        BookWindow w(header(0) + entryBytes({cp("бета"), "3"}) + entryBytes({"Zeta", "1"}) +
                     entryBytes({cp("Бета"), "2"}) + entryBytes({"alpha", "10"}) +
                     entryBytes({cp("бет"), "4"}));
        // Bytes of code page 1251: Latin before Cyrillic, capitals first, shorter first.
        const QStringList byName{"Zeta", "alpha", "Бета", "бет", "бета"};
        for (int twice = 0; twice < 2; ++twice) {
            w.list()->header()->sectionClicked(0);
            QCOMPARE(w.rows(), byName);
        }
        QCOMPARE(w.book->SortField(), 1);
        QCOMPARE(w.child<QLabel>("stStatus1")->text(), QString("Фамилия"));
        w.list()->header()->sectionClicked(1);
        QCOMPARE(w.rows(1), (QStringList{"1", "10", "2", "3", "4"}));
        QCOMPARE(w.book->SortField(), 2);
        // Any rebuild shows book order again.
        w.list()->header()->sectionClicked(0);
        w.select({0});  // Zeta
        w.trigger("mPNormal");
        w.select({4});
        w.child<QAction>("mPGroup0")->trigger();
        QCOMPARE(w.rows(), byName);  // no rebuild on the all-groups view
        w.select({4});
        w.reply = QMessageBox::Yes;
        w.click("sbDel");
        QCOMPARE(w.rows(), (QStringList{"Zeta", "Бета", "alpha", "бет"}));
    }

    void selectorAndEnabling_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("all") << 0 << 0 << QStringList{"Анна", "Борис", "Вера", "Дина"};
        QTest::newRow("a group") << 2 << 2 << QStringList{"Дина"};
        QTest::newRow("beyond the table") << 3 << 0 << QStringList{"Анна", "Борис", "Вера", "Дина"};
        QTest::newRow("negative") << -1 << 0 << QStringList{"Анна", "Борис", "Вера", "Дина"};
    }
    void selectorAndEnabling() {
        QFETCH(int, stored);
        QFETCH(int, position);
        QFETCH(QStringList, rows);
        ini().Group = stored;
        BookWindow w(fourPeople());
        QCOMPARE(w.groups(), (QStringList{"[Все группы]", "Друзья", "Работа"}));
        QCOMPARE(w.selector()->currentIndex(), position);
        QCOMPARE(w.rows(), rows);
        QCOMPARE(w.enabled("sbDelGr"), position > 0);
        QCOMPARE(w.enabled("sbPropGr"), position > 0);
        const char* needRows[] = {"sbDel",  "sbProp", "sbInfo", "sbDial",  "mPDel",
                                  "mPProp", "mPInfo", "mPDial", "mPStatus"};
        for (const char* name : needRows) QVERIFY2(w.enabled(name), name);
        // The reminder form and the column chooser are handed in; off until then.
        QVERIFY(!w.enabled("sbReminder") && !w.enabled("mPReminder") && !w.enabled("mPOpti"));
        QStringList handed;
        w.book->setReminderForm([&handed](const QString& n) { handed << n; });
        w.book->setColumnChooser([](QWidget*) {
            ini().Columns = {false, false, false, false, false, false, false, false};
            return true;
        });
        QVERIFY(w.enabled("sbReminder") && w.enabled("mPReminder") && w.enabled("mPOpti"));
        w.select({0});
        w.trigger("mPReminder");
        QCOMPARE(handed, QStringList{rows.first() == "Дина" ? "444" : "111"});
        // No column at all: the rows still show the names.
        w.trigger("mPOpti");
        QCOMPARE(w.list()->model()->columnCount(), 1);
        QCOMPARE(w.rows(), rows);
        // Dialing follows the port as well as the rows.
        w.book->setPortActive(false);
        QVERIFY(!w.enabled("sbDial") && !w.enabled("sbAnswer"));
        w.book->setPortActive(true);
        QVERIFY(w.enabled("sbDial") && w.enabled("sbAnswer"));
        // An empty view: the row commands go off.
        w.select({});
        w.reply = QMessageBox::Yes;
        w.list()->selectAll();
        w.click("sbDel");
        QCOMPARE(w.status(), QString("Записей: 0"));
        for (const char* name : needRows) QVERIFY2(!w.enabled(name), name);
    }

    void groupsAddRenameAndDuplicateTitles() {
        BookWindow w(fourPeople());
        w.answers << newGroup("дРУЗЬЯ") << newGroup("[все ГРУППЫ]") << newGroup("Семья");
        for (int i = 0; i < 3; ++i) w.click("sbAddGr");
        QCOMPARE(w.told,
                 (QStringList{"Ошибка: Такая группа уже есть.", "Ошибка: Такая группа уже есть."}));
        QCOMPARE(w.groups(), (QStringList{"[Все группы]", "Друзья", "Работа", "Семья"}));
        QCOMPARE(w.selector()->currentIndex(), 3);
        QVERIFY(w.rows().isEmpty());
        QCOMPARE(w.child<QAction>("mPGroup3")->text(), QString("Семья"));
        // Renaming: its own title in other letters is fine, another's is not.
        w.answers << ok([](QDialog& d) {
            QCOMPARE(d.windowTitle(), QString("Свойства группы"));
            setText(d, "eTitle", "СЕМЬЯ");
            pick(d, "cbAction", 3);
        }) << newGroup("работа");
        w.click("sbPropGr");
        w.click("sbPropGr");
        QCOMPARE(w.told.size(), 3);
        QCOMPARE(w.groups()[3], QString("СЕМЬЯ"));
        QCOMPARE(w.document->store().group(3).Group.Action, 3);
        QCOMPARE(w.child<QAction>("mPGroup3")->text(), QString("СЕМЬЯ"));
    }

    void informationForm() {
        BookWindow w(header(0) + entryBytes({cp("Анна"), "1", "2", cp("Невский"), "a@b.ru", "123",
                                             "bank.ru", cp("две\rстроки")}));
        w.select({0});
        w.trigger("mPInfo");
        auto* info = w.book->findChild<TItemInfo*>();
        QVERIFY(info && info->isVisible());
        QStringList texts;
        for (const char* n :
             {"stFIO", "stPhone", "stWork", "stAdres", "stEMail", "stICQ", "stWWW", "stNote"})
            texts << info->findChild<QLabel*>(n)->text();
        QCOMPARE(texts, (QStringList{"Анна", "1", "2", "Невский", "a@b.ru", "123", "bank.ru",
                                     "две строки"}));
        info->stWorkClick();
        QCOMPARE(w.line.calls, (QStringList{"ViewNumber(2,false)", "sbDialClick"}));
    }

    // ---- what reaches the file ----

    void aSessionOfEditsWritesTheExpectedFile() {
        BookWindow w(header(1) + groupBytes(cp("Друзья"), "f.wav", 1) +
                     entryBytes({cp("Анна"), "111"}, 0, 1) + entryBytes({cp("Борис"), "222"}) +
                     entryBytes({cp("Вера"), "333"}, 2, 1));
        w.answers << ok([](QDialog& d) {
            setText(d, "eFIO", "Глеб");
            setText(d, "ePhone", "444");
            check(d, "rbBad");
        });
        w.click("sbAdd");
        w.select({1});
        w.answers << ok([](QDialog& d) { setText(d, "eWork", "555-55"); });
        w.click("sbProp");
        w.select({0});
        w.trigger("mPPrior");
        w.select({3});
        w.child<QAction>("mPGroup1")->trigger();
        w.answers << ok([](QDialog& d) {
            setText(d, "eTitle", "Работа");
            setText(d, "feSound", "w.wav");
            pick(d, "cbAction", 2);
        });
        w.click("sbAddGr");
        w.selector()->setCurrentIndex(1);
        w.answers << ok([](QDialog& d) { setText(d, "eTitle", "Семья"); });
        w.click("sbPropGr");
        QCOMPARE(w.rows(), (QStringList{"Анна", "Вера", "Глеб"}));
        w.select({1});
        w.child<QAction>("mPGroup2")->trigger();
        QCOMPARE(w.rows(), (QStringList{"Анна", "Глеб"}));
        w.selector()->setCurrentIndex(2);
        w.click("sbDelGr");
        w.select({1});
        w.click("sbDel");
        w.book->finishSaves();
        QCOMPARE(w.messages.shown, QStringList());
        QCOMPARE(readAll("book.phn"), header(1) + groupBytes(cp("Семья"), "f.wav", 1) +
                                          entryBytes({cp("Анна"), "111"}, 2, 1) +
                                          entryBytes({cp("Борис"), "222", "555-55"}));
    }

    // ---- saves on the worker: the window never waits for them, except to close ----

    // The window's close waits for the save in flight and for the last change: once the
    // window is gone, the file holds it.
    void closeDuringASaveWaitsForTheLastChange() {
        BookWindow w(fourPeople());
        w.book->show();
        SaveGate gate;
        w.select({0});
        w.trigger("mPPrior");
        QVERIFY(gate.held());
        w.select({3});
        w.click("sbDel");
        gate.openAfter(200);
        w.click("sbExit");
        QVERIFY(!w.book->isVisible());
        QCOMPARE(readAll("book.phn"), header(2) + groupBytes(cp("Друзья"), "f.wav", 1) +
                                          groupBytes(cp("Работа"), "", 0) +
                                          entryBytes({cp("Анна"), "111"}, 2, 1) +
                                          entryBytes({cp("Борис"), "222"}, 1, 0) +
                                          entryBytes({cp("Вера"), "333"}, 2, 1));
    }

    // On the desktop a failed save comes up in an error box; at the program's
    // end it goes to the closing instead, and no box waits for a click.
    void failedSaveShownOrHandedToTheClosing() {
        BookWindow w(fourPeople());
        w.book->setPrompts({});  // the desktop's own boxes, and the book's failures there
        connect(w.document.get(), &BookDocument::failed, &FailurePresenter::instance(),
                &FailurePresenter::show);
        ini().PhoneBookFile = "nodir/book.phn";
        QVERIFY(writeAll("nodir", "a file, not a folder"));
        ShownBoxes boxes;
        w.select({0});
        w.trigger("mPPrior");
        QTRY_COMPARE(boxes.shown, QStringList{"Ошибка: Ошибка создания nodir/book.phn!"});
        QCOMPARE(boxes.icons, QList<QMessageBox::Icon>{QMessageBox::Critical});
        // It comes after the command, whatever runs then: a box that holds up nothing.
        QCOMPARE(boxes.modal, QList<bool>{false});

        w.book->show();
        const Failures failures = w.book->closeForExit();
        QVERIFY(!w.book->isVisible());
        QCOMPARE(failureLines(failures), QString("Ошибка создания nodir/book.phn!"));
        QCOMPARE(boxes.shown.size(), 1);
        // Only that close: the next failure is told again, to the one presenter, which
        // says a text once in a run.
        QSignalSpy told(&w.book->document(), &BookDocument::failed);
        w.trigger("mPNormal");
        QTRY_COMPARE(told.size(), 1);
        QCOMPARE(boxes.shown.size(), 1);
        QCOMPARE(failures.size(), 1);
    }

private:
    std::unique_ptr<BookSandbox> box_;
};

QTEST_MAIN(TestPhoneBook)
#include "tst_phonebook.moc"
