// Contacts in and out of the phone book window, driven as a user drives them: the list's menu
// and the tool bar, the preview's choices, OK and Cancel; the file dialogs answered by the test.
#include "gui/book/BookWindowTesting.h"
#include "gui/book/ImportPreview.h"
#include "core/platform/Registry.h"

#include "SaveGate.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

using namespace zrk;
using namespace zrktest;

namespace {

// Group "Друзья" (1); Старый holds the mobile that the files below bring again.
QByteArray bookWithOrlovsMobile() {
    return header(1) + groupBytes(cp("Друзья"), "", 0) +
           entryBytes({cp("Старый"), "89037654321"}, 2, 1) + entryBytes({cp("Борис"), "222"}, 0, 0);
}

// The same book in Latin names, for the rows in English: Old holds the mobile that kCards brings
// again.
QByteArray latinBook() {
    return header(1) + groupBytes("Friends", "", 0) + entryBytes({"Old", "89037654321"}, 2, 1);
}

// Two cards as phones and mail programs write them: 3.0 with a category, 2.1 without FN, its
// name in quoted-printable UTF-8 over two lines (a soft line break), a work number.
const QByteArray kTwoCards =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "FN:Лис Вера\r\n"
    "N:Лис;Вера;;;\r\n"
    "TEL;TYPE=CELL:+7 916 000-11-22\r\n"
    "EMAIL;TYPE=INTERNET:vera@example.ru\r\n"
    "CATEGORIES:Друзья\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\n"
    "VERSION:2.1\r\n"
    "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=9F=D0=B5=D1=82=D1=80=D0=BE=D0=B2;=D0=98=D0=B2="
    "\r\n=D0=B0=D0=BD;;;\r\n"
    "TEL;WORK;VOICE:8 (495) 123-45-67\r\n"
    "END:VCARD\r\n";

// Orlov's mobile, already in the book as Старый's, and one new number.
const QByteArray kRepeatCards =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Орлов Андрей\r\nTEL;TYPE=CELL:+7 903 765-43-21\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Новиков\r\nTEL:+7 903 000-00-01\r\nEND:VCARD\r\n";

// A repeated number, a new one, and a card cut off before its end; Latin names only.
const QByteArray kCards =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Orlov\r\nTEL;TYPE=CELL:+7 903 765-43-21\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Novikov\r\nTEL:+7 903 000-00-01\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Cut\r\nTEL:+7 903 000-00-02\r\n";

// Rows named "English..." run under the program's English translation, over a book in Latin
// names.
bool english() {
    return QString::fromLatin1(QTest::currentDataTag()).startsWith(QLatin1String("English"));
}
QByteArray rowBook() {
    return english() ? latinBook() : bookWithOrlovsMobile();
}

// No text of `texts` left in Russian.
void noRussian(const QStringList& texts) {
    static const QRegularExpression russian(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    for (const QString& t : texts) QVERIFY2(!t.contains(russian), qPrintable(t));
}

// What a dialog shows: its title, labels, buttons, choices, menus, column titles, cells and
// tooltips.
QStringList shownTexts(const QWidget& w) {
    QStringList out{w.windowTitle()};
    for (const QLabel* l : w.findChildren<QLabel*>()) out << l->text() << l->toolTip();
    for (const QAbstractButton* b : w.findChildren<QAbstractButton*>()) out << b->text();
    for (const QComboBox* c : w.findChildren<QComboBox*>()) {
        out << c->toolTip();
        for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    }
    for (const QAction* a : w.findChildren<QAction*>()) out << a->text();
    for (const QAbstractItemView* v : w.findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* m = v->model();
        for (int c = 0; c < m->columnCount(); ++c)
            out << m->headerData(c, Qt::Horizontal).toString();
        for (int r = 0; r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                out << m->index(r, c).data().toString()
                    << m->index(r, c).data(Qt::ToolTipRole).toString();
    }
    out.removeAll(QString());
    return out;
}

// Opens the list's menu with its key, as a user does, and clicks `path` in it (a submenu's
// name, then its item).
void clickInBookMenu(BookWindow& w, const QList<const char*>& path) {
    auto* menu = w.child<QMenu>("PopupMenu1");
    w.openMenu(w.list()->viewport()->rect().center());
    for (const char* name : path) {
        QAction* a = w.child<QAction>(name);
        QVERIFY2(a && a->isEnabled(), name);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
        if (a->menu()) {
            menu = a->menu();
            QTRY_VERIFY(menu->isVisible());
        }
    }
}

// Presses the tool bar's export button and picks `item` in the menu it opens.
void exportFromToolbar(BookWindow& w, const char* item) {
    auto* button = w.child<QToolButton>("sbExport");
    QMenu* menu = button->menu();
    QVERIFY(menu && button->isEnabled());
    QTimer::singleShot(0, menu, [&w, menu, item] {
        QTRY_VERIFY(menu->isVisible());
        QAction* a = w.child<QAction>(item);
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    });
    QTest::mousePress(button, Qt::LeftButton);  // the menu runs until the click above
    QTest::mouseRelease(button, Qt::LeftButton);
}

// The preview's answer: `edit`, then the counts it shows into `counts`, then OK.
Answer preview(QString* counts, const std::function<void(QDialog&)>& edit = {}) {
    return ok([=](QDialog& d) {
        if (edit) edit(d);
        *counts = d.findChild<QLabel*>("stCounts")->text();
    });
}

// Chooses `item` of the preview list's own menu for the rows `rows`.
void chooseForRows(QDialog& d, const QList<int>& rows, const char* item) {
    auto* list = d.findChild<QTreeView*>("lvImport");
    QItemSelectionModel* s = list->selectionModel();
    s->clearSelection();
    for (int r : rows)
        s->select(list->model()->index(r, 0),
                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    auto* menu = d.findChild<QMenu*>("pmImport");
    const QPoint at = list->visualRect(list->model()->index(rows.first(), 0)).center();
    list->customContextMenuRequested(at);
    QTRY_VERIFY(menu->isVisible());
    QAction* a = d.findChild<QAction*>(item);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    QTRY_VERIFY(!menu->isVisible());
}

}  // namespace

class TestImportContacts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(english_.load(QStringLiteral("zrk-pro_en"), QStringLiteral(ZRK_QM_DIR)));
    }
    void init() {
        if (english()) QCoreApplication::installTranslator(&english_);
        box_ = std::make_unique<BookSandbox>();
    }
    void cleanup() {
        box_.reset();
        QCoreApplication::removeTranslator(&english_);
    }

    // ---- import ----

    void importAddsTheFileOnceSaved_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("fromToolbar");
        QTest::addColumn<QStringList>("added");  // name:phone:work:group of the new entries
        QTest::addColumn<QString>("counts");

        QTest::newRow("vCard through the menu")
            << "phone.vcf" << kTwoCards << false
            << QStringList{"Лис Вера:89160001122::1", "Петров Иван:84951234567:84951234567:0"}
            << "Будет добавлено: 2, заменено: 0, пропущено: 0";
        // Google's export: its own columns, the group membership, quotes around a comma.
        QTest::newRow("Google CSV through the tool bar")
            << "google.csv"
            << QByteArray(
                   "Name,Given Name,Family Name,Group Membership,E-mail 1 - Type,"
                   "E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value\r\n"
                   "\"Лис, Вера\",Вера,Лис,* myContacts ::: Друзья,* Home,vera@example.ru,"
                   "Mobile,+7 916 000-11-22\r\n")
            << true << QStringList{"Лис, Вера:89160001122::1"}
            << "Будет добавлено: 1, заменено: 0, пропущено: 0";
    }
    void importAddsTheFileOnceSaved() {
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        QFETCH(bool, fromToolbar);
        QFETCH(QStringList, added);
        QVERIFY(writeAll(name, file));
        BookWindow w(bookWithOrlovsMobile(), true);
        const QByteArray before = readAll("book.phn");
        SaveGate gate;  // held: a second save while the first waits would be counted
        QString shown;
        w.files << name;
        w.answers << preview(&shown);
        if (fromToolbar)
            w.click("sbImport");
        else
            clickInBookMenu(w, {"mPImport"});
        QCOMPARE(w.dialogs, (QStringList{"Импорт контактов", "Импорт контактов"}));
        QTEST(shown, "counts");
        QStringList now;
        for (int i = 2; i < w.document->store().count(); ++i) {
            const BookEntry e = w.document->store().entry(i);
            now << QString("%1:%2:%3:%4")
                       .arg(e.Name.text(), e.Phone.text(), e.WorkPhone.text())
                       .arg(e.Group);
        }
        QCOMPARE(now, added);
        QCOMPARE(w.entries().mid(0, 2), (QStringList{"Старый:89037654321:2:1", "Борис:222:0:0"}));
        QCOMPARE(w.rows().size(), 2 + added.size());
        QVERIFY(gate.held());
        gate.open();
        w.book->finishSaves();
        QCOMPARE(gate.ran.load(), 1);
        QCOMPARE(readAll("book.bak"), before);
        QCOMPARE(readAll("book.phn"), w.document->store().serialize());
        QVERIFY(w.messages.shown.isEmpty());
    }

    // Cancel in the preview or in the column step, or no file chosen: nothing changes, nothing
    // is written. The dialog read before Cancel shows `texts`; in English, none in Russian.
    void cancelChangesNothing_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("no file") << kTwoCards << "a.vcf" << false << QStringList{"Импорт контактов"}
                                 << QStringList{};
        // Every text the step shows, '|' between them.
        QTest::newRow("English column step: a header the program does not know")
            << QByteArray("Who;Where\r\nLis;Moscow\r\n") << "b.csv" << true
            << QStringList{"Import Contacts", "File Columns"}
            << QString(
                   "File Columns|The program does not know this file's header. Say what each "
                   "column holds; there may be several phone columns.|Column|First values|"
                   "Book Field|[not needed]|Full name|Last name|First name|Phone|Work phone|"
                   "Address|Notes|Choose at least one column with a phone number.|OK|Cancel")
                   .split('|');
        QTest::newRow("English preview: a repeat, a new number, a damaged card")
            << kCards << "r.vcf" << true << QStringList{"Import Contacts", "Import Contacts"}
            << QString(
                   "Import Contacts|File: r.vcf (1 damaged entry skipped)|&Group:|"
                   "[From the file]|[General]|&Duplicates:|Skip|Replace|Add|&Skip|&Replace|&Add|"
                   "Name|Phone|Work|Group|Line|Existing Entry|Action|Old (89037654321)|"
                   "This number is in the book already: Old (89037654321)|"
                   "To be added: 1, replaced: 0, skipped: 1|OK|Cancel")
                   .split('|');
        // What is left out is said below the counts, as the console command says it.
        QTest::newRow("English preview: a bare line, a word for a number, no number")
            << QByteArray(
                   "BEGIN:VCARD\r\nFN:Lis\r\nFN\r\nTEL:Privat\r\nTEL:+7 916 000-11-22\r\n"
                   "END:VCARD\r\nBEGIN:VCARD\r\nFN:Nobody\r\nEND:VCARD\r\n")
            << "n.vcf" << true << QStringList{"Import Contacts", "Import Contacts"}
            << QStringList{
                   "1 line with nothing usable skipped (Line 3: a line without a colon "
                   "inside a card.)\n1 contact without a phone number (not added).\n1 "
                   "number without a single digit (\"Privat\", \"Work\"...) skipped."};
    }
    void cancelChangesNothing() {
        QFETCH(QByteArray, file);
        QFETCH(QString, name);
        QFETCH(bool, chosen);
        QFETCH(QStringList, texts);
        QVERIFY(writeAll(name, file));
        BookWindow w(rowBook(), true);
        const QStringList before = w.entries();
        if (chosen) w.files << name;
        QStringList shown;
        w.answers << [&shown](QDialog& d) {
            shown = shownTexts(d);
            d.findChild<QPushButton*>("bCansel")->click();
        };
        clickInBookMenu(w, {"mPImport"});
        QTEST(w.dialogs, "dialogs");
        QCOMPARE(w.entries(), before);
        w.book->finishSaves();
        QVERIFY(!QFile::exists("book.bak"));
        QVERIFY(w.messages.shown.isEmpty());
        for (const QString& t : texts) QVERIFY2(shown.contains(t), qPrintable(t));
        if (english()) noRussian(shown << w.messages.shown.join(""));
    }

    // A phone already in the book, written otherwise (+7 for 8, blanks): the choice for all,
    // or row by row through the list's menu, says what becomes of it.
    void repeatedPhonesFollowTheChoice_data() {
        QTest::addColumn<int>("forAll");         // cbRepeats: 0 skip, 1 replace, 2 add
        QTest::addColumn<QString>("rowChoice");  // for row 0 afterwards, or none
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QStringList>("entries");
        const QString old = "Старый:89037654321:2:1", boris = "Борис:222:0:0",
                      orlov = "Орлов Андрей:89037654321:0:0", novikov = "Новиков:89030000001:0:0";
        QTest::newRow("skip") << 0 << QString() << "Будет добавлено: 1, заменено: 0, пропущено: 1"
                              << QStringList{old, boris, novikov};
        QTest::newRow("replace") << 1 << QString()
                                 << "Будет добавлено: 1, заменено: 1, пропущено: 0"
                                 << QStringList{orlov, boris, novikov};
        QTest::newRow("add") << 2 << QString() << "Будет добавлено: 2, заменено: 0, пропущено: 0"
                             << QStringList{old, boris, orlov, novikov};
        QTest::newRow("skip all, this row added") << 0 << "mIAdd"
                                                  << "Будет добавлено: 2, заменено: 0, пропущено: 0"
                                                  << QStringList{old, boris, orlov, novikov};
        QTest::newRow("add all, this row replaced")
            << 2 << "mIReplace"
            << "Будет добавлено: 1, заменено: 1, пропущено: 0"
            << QStringList{orlov, boris, novikov};
    }
    void repeatedPhonesFollowTheChoice() {
        QFETCH(int, forAll);
        QFETCH(QString, rowChoice);
        QVERIFY(writeAll("orlov.vcf", kRepeatCards));
        BookWindow w(bookWithOrlovsMobile(), true);
        QString shown, repeats;
        w.files << "orlov.vcf";
        w.answers << preview(&shown, [&](QDialog& d) {
            auto* list = d.findChild<QTreeView*>("lvImport");
            // The repeat names the book's entry it repeats.
            repeats = list->model()->index(0, ImportPreview::ColRepeats).data().toString();
            QCOMPARE(list->model()->index(1, ImportPreview::ColRepeats).data().toString(),
                     QString());
            pick(d, "cbRepeats", forAll);
            if (!rowChoice.isEmpty()) chooseForRows(d, {0}, qPrintable(rowChoice));
        });
        w.click("sbImport");
        QCOMPARE(repeats, QString("Старый (89037654321)"));
        QTEST(shown, "counts");
        QTEST(w.entries(), "entries");
    }

    // A header the program does not know: the user says which column is what, first.
    void unknownHeaderGoesThroughTheColumnStep() {
        QVERIFY(writeAll("list.csv", QByteArray("Кто;Мобильный;Дача;Заметка\r\n"
                                                "Орлов Андрей;+7 903 765-43-21;8 (496) 111-22-33;"
                                                "\"ключ \"\"у соседа\"\"\"\r\n")));
        BookWindow w(bookWithOrlovsMobile(), true);
        QStringList columns;
        QString shown;
        w.files << "list.csv";
        w.answers << ok([&](QDialog& d) {
            auto* table = d.findChild<QTableWidget*>("lvColumns");
            for (int r = 0; r < table->rowCount(); ++r) columns << table->item(r, 0)->text();
            // Nothing says "Кто" is the name: without a phone column OK stays off.
            pick(d, "cbRole1", 0);
            pick(d, "cbRole2", 0);
            QVERIFY(!d.findChild<QPushButton*>("bOK")->isEnabled());
            pick(d, "cbRole0", 1);  // "Имя полностью"
            pick(d, "cbRole1", 4);  // "Телефон"
            pick(d, "cbRole2", 4);
            pick(d, "cbRole3", 8);  // "Примечание"
        });
        w.answers << preview(&shown, [](QDialog& d) { pick(d, "cbRepeats", 2); });
        w.click("sbImport");
        QCOMPARE(w.dialogs, (QStringList{"Импорт контактов", "Столбцы файла", "Импорт контактов"}));
        QCOMPARE(columns, (QStringList{"Кто", "Мобильный", "Дача", "Заметка"}));
        QCOMPARE(shown, QString("Будет добавлено: 2, заменено: 0, пропущено: 0"));
        QCOMPARE(w.entries().mid(2), (QStringList{"Орлов Андрей (Мобильный):89037654321:0:0",
                                                  "Орлов Андрей (Дача):84961112233:0:0"}));
        QCOMPARE(w.document->store().text(3, FieldNote), QString("ключ \"у соседа\""));
    }

    // The group: one the user picks or types for every entry, made when missing; and a cp1251
    // file read again in another encoding shows other names.
    void groupAndEncodingAreTheUsers() {
        QVERIFY(writeAll("old.csv", cp("Name,Given Name,Family Name,Phone 1 - Type,Phone 1 - Value"
                                       "\r\nЛис Вера,Вера,Лис,Mobile,+7 916 000-11-22\r\n")));
        BookWindow w(bookWithOrlovsMobile(), true);
        QString encoding, misread, shown;
        w.files << "old.csv";
        w.answers << preview(&shown, [&](QDialog& d) {
            auto* list = d.findChild<QTreeView*>("lvImport");
            auto* box = d.findChild<QComboBox*>("cbEncoding");
            QVERIFY(!box->isHidden());
            encoding = box->currentText();
            box->setCurrentIndex(box->findText(contacts::encodingName(contacts::Encoding::Utf8)));
            misread = list->model()->index(0, 0).data().toString();
            box->setCurrentIndex(box->findText(contacts::encodingName(contacts::Encoding::Cp1251)));
            auto* group = d.findChild<QComboBox*>("cbImportGroup");
            group->setCurrentText("Соседи");
            QCOMPARE(list->model()->index(0, ImportPreview::ColGroup).data().toString(),
                     QString("Соседи"));
        });
        w.click("sbImport");
        QCOMPARE(encoding, contacts::encodingName(contacts::Encoding::Cp1251));
        QVERIFY(misread != "Лис Вера");
        QCOMPARE(w.entries().mid(2), QStringList{"Лис Вера:89160001122:0:2"});
        QCOMPARE(w.groups(), (QStringList{"[Все группы]", "Друзья", "Соседи"}));
        QCOMPARE(w.child<QMenu>("PopupMenu1")->findChildren<QAction*>("mPGroup2").size(), 1);
    }

    // A damaged file: the reader's message, with the file and the line, and the book as it was.
    void damagedFileIsToldAndTheBookKept_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("start");  // of the message told
        QTest::newRow("no such file") << "missing.vcf" << QByteArray() << "Ошибка: ";
        QTest::newRow("English: not a vCard")
            << "x.vcf" << QByteArray("hello\r\n")
            << "Error: x.vcf: Line 1: this is not a vCard file (no BEGIN:VCARD line).";
        QTest::newRow("English: CSV quote left open")
            << "a.csv" << QByteArray("Name,Phone\r\nLis,\"123\r\n")
            << "Error: a.csv: Line 2: a quote opened here is not closed.";
    }
    void damagedFileIsToldAndTheBookKept() {
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        QFETCH(QString, start);
        if (!file.isEmpty()) QVERIFY(writeAll(name, file));
        BookWindow w(rowBook(), true);
        const QStringList before = w.entries();
        w.files << name;
        w.click("sbImport");
        // No preview.
        QCOMPARE(w.dialogs, QStringList{english() ? "Import Contacts" : "Импорт контактов"});
        QCOMPARE(w.messages.shown.size(), 1);
        const QString told = w.messages.shown.first();
        QVERIFY2(told.startsWith(start) && told.contains(name), qPrintable(told));
        QCOMPARE(w.entries(), before);
        w.book->finishSaves();
        QVERIFY(!QFile::exists("book.bak"));
        if (english()) noRussian({told});
    }

    // ---- export ----

    // Exactly the entries asked for, in the format of the name's extension (or of the chosen
    // filter when the name has none), and nothing else left in the folder. A name that cannot
    // take the file (a directory holds it): told, and nothing left behind.
    void exportWritesWhatWasChosen_data() {
        QTest::addColumn<QString>("how");  // menu | toolbar
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");  // none: a directory stands in the way
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("error");
        const auto row = [](const char* name, const char* how, const char* item, const char* file,
                            const char* filter, const char* written, const QStringList& names,
                            const char* error) {
            QTest::newRow(name) << QString(how) << QString(item) << QString(file)
                                << QString(filter) << QString(written) << names << QString(error);
        };
        row("selected, vCard, menu", "menu", "mPExportSelected", "out.vcf", "", "out.vcf",
            {"Борис"}, "");
        row("group on show, CSV, tool bar", "toolbar", "mPExportShown", "out.csv", "", "out.csv",
            {"Старый"}, "");
        row("whole book, no extension, CSV filter", "toolbar", "mPExportAll", "out", "CSV (*.csv)",
            "out.csv", {"Старый", "Борис"}, "");
        row("a directory in the way", "menu", "mPExportAll", "out.vcf", "", "", {},
            "Ошибка: Ошибка записи ");
        row("English: a directory in the way", "menu", "mPExportAll", "out.vcf", "", "", {},
            "Error: Error writing ");
    }
    void exportWritesWhatWasChosen() {
        QFETCH(QString, how);
        QFETCH(QString, item);
        QFETCH(QString, file);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QFETCH(QString, error);
        ini().Group = 1;
        BookWindow w(rowBook(), true);
        if (item == "mPExportSelected") {
            w.selector()->setCurrentIndex(0);
            w.select({1});
        }
        if (written.isEmpty()) QVERIFY(QDir().mkpath(file + "/inside"));
        const auto all = QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden;
        QStringList after = QDir().entryList(all);
        if (!written.isEmpty()) after << written;
        after.sort();
        w.files << file;
        w.saveFilter = filter;
        const QByteArray name = item.toLatin1();
        if (how == "menu")
            clickInBookMenu(w, {"mPExport", name.constData()});
        else
            exportFromToolbar(w, name.constData());
        QCOMPARE(w.dialogs, QStringList{english() ? "Export Contacts" : "Экспорт контактов"});
        QCOMPARE(QDir().entryList(all), after);
        if (written.isEmpty()) {
            QCOMPARE(w.messages.shown.size(), 1);
            QVERIFY2(w.messages.shown.first().startsWith(error),
                     qPrintable(w.messages.shown.first()));
            QVERIFY(QFileInfo(file + "/inside").isDir());
            if (english()) noRussian(w.messages.shown);
            return;
        }
        QVERIFY(w.messages.shown.isEmpty());
        const QByteArray out = readAll(written);
        QStringList got;
        if (written.endsWith(".vcf")) {
            for (const contacts::Contact& c : contacts::readVCards(out).contacts)
                got << c.formattedName;
        } else {
            QVERIFY(out.startsWith("\xEF\xBB\xBF"));  // spreadsheets need the BOM to see UTF-8
            contacts::CsvTable table;
            QString problem;
            int line = 0;
            QVERIFY(contacts::readCsv(out, &table, &problem, &line));
            for (const contacts::Contact& c : contacts::contactsFromCsv(
                     table, contacts::mappingFor(contacts::CsvLayout::Google, table.header)))
                got << c.formattedName;
        }
        QTEST(got, "names");
    }

    // ---- the column step's first guess ----

    void columnGuess_data() {
        QTest::addColumn<QString>("header");
        QTest::addColumn<int>("role");
        const QList<QPair<QString, ColumnRole>> rows{
            {"Рабочий телефон", ColumnRole::WorkPhone},
            {"Business Phone", ColumnRole::WorkPhone},
            {"Мобильный", ColumnRole::Phone},
            {"Телефон", ColumnRole::Phone},
            {"E-mail", ColumnRole::EMail},
            {"Электронная почта", ColumnRole::EMail},
            {"Фамилия", ColumnRole::Family},
            {"Имя", ColumnRole::Given},
            {"Отчество", ColumnRole::Middle},
            {"ФИО", ColumnRole::Name},
            {"Адрес", ColumnRole::Address},
            {"Примечание", ColumnRole::Note},
            {"Кто", ColumnRole::Unused},
        };
        for (const auto& [header, role] : rows)
            QTest::newRow(qPrintable(header)) << header << int(role);
    }
    void columnGuess() {
        QFETCH(QString, header);
        QTEST(int(guessColumnRole(header)), "role");
    }

    // "Синхронизировать с адресной книгой": off until the program gives an address book, then
    // chosen from the list's menu by its keys it asks for a sync; the sync's word shows in the
    // status line.
    void syncMenuItemAsksTheProgram() {
        BookWindow w(rowBook(), true);
        QVERIFY(!w.enabled("mPSync"));
        int asked = 0;
        w.book->setAddressBookSync([&asked] { ++asked; });
        QVERIFY(w.enabled("mPSync"));
        w.openMenu(QPoint(5, 5));
        auto* menu = w.child<QMenu>("PopupMenu1");
        menu->setActiveAction(w.child<QAction>("mPSync"));
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(asked, 1);
        w.book->showSyncStatus(QStringLiteral("Синхронизация адресной книги…"));
        QCOMPARE(w.child<QLabel>("stStatus1")->text(), QString("Синхронизация адресной книги…"));
        w.book->setAddressBookSync({});
        QVERIFY(!w.enabled("mPSync"));
    }

private:
    QTranslator english_;
    std::unique_ptr<BookSandbox> box_;
};

QTEST_MAIN(TestImportContacts)
#include "tst_importcontacts.moc"
