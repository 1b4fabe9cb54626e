// The call history window over a log written here in the program's own line format: the rows
// newest first, the totals, the search, the date ranges and their chart, the commands on a
// row, the CSV export and a call logged while the window is open.
#include "ShownBoxes.h"
#include "TestSupport.h"
#include "gui/calls/CallRow.h"
#include "gui/calls/HistoryChart.h"
#include "gui/calls/HistoryModel.h"
#include "gui/calls/HistoryWindow.h"
#include "core/platform/Clock.h"
#include "core/platform/Cp1251.h"
#include "core/platform/Registry.h"
#include "core/settings/Settings.h"
#include "gui/windows/FakeLine.h"
#include "gui/windows/HistoryHost.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

#include <memory>
#include <numeric>

using namespace zrk;

namespace {

// Bars that are not empty: index, calls.
using Buckets = QList<QPair<int, int>>;

// Today, for the ranges: a Saturday.
const QDateTime kNow(QDate(2026, 3, 14), QTime(12, 0));

// The log as the program writes it: its header, then "date time number name" lines; a caller
// not in the book leaves a blank after the number. One damaged line among them.
const char* const kLog[] = {
    ";Zrk (USR Courier) v2.01b",
    ";Zrk Pro call log",
    "",
    "10.03.2025 9:15:00 8-915-123-45-67 Иванов Иван",
    "20.12.2025 18:00:00 23-45-67 Петрова Анна",
    "01.03.2026 10:00:00 Unknown ",
    "08.03.2026 8:30:00 8-915-123-45-67 Иванов Иван",
    "08.03.2026 12:00:00 34-56-78 ",
    "08.03.2026 12:0",
    "10.03.2026 7:05:03 23-45-67 Петрова Анна",
    "14.03.2026 9:00:00 8-495-765-43-21 Сидоров Пётр",
    "14.03.2026 11:59:00 34-56-78 ",
};

QByteArray logLine(const char* text) {
    return toCp1251(QString::fromUtf8(text)) + "\r\n";
}

void writeLog(const QString& path) {
    QByteArray bytes;
    for (const char* line : kLog) bytes += logLine(line);
    QVERIFY(zrktest::writeAll(path, bytes));
}

// Calls logged after the window has read the log, as the program appends them.
void appendToLog(std::initializer_list<const char*> lines) {
    QFile log("ZrkLog.txt");
    QVERIFY(log.open(QIODevice::Append));
    for (const char* line : lines) log.write(logLine(line));
}

// Typed key by key, as a keyboard with a Russian layout sends it (QTest's key clicks know only
// Latin letters).
void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        const int key = c.isLetter() && c.unicode() < 128 ? c.toUpper().unicode()
                        : c.isDigit() || c == ' '         ? c.unicode()
                                                          : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
        QCoreApplication::sendEvent(w, &release);
    }
}

// The save dialog as the user fills it: the name typed, then accepted.
struct SaveDialogAnswer {
    bool seen = false;
    QTimer fill;
    int waited = 0;
    explicit SaveDialogAnswer(const QString& path) {
        QObject::connect(&fill, &QTimer::timeout, [this, path] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(top);
                if (!dialog || !dialog->isVisible()) continue;
                if (seen) {  // the name was refused: never left waiting
                    dialog->reject();
                    return;
                }
                seen = dialog->acceptMode() == QFileDialog::AcceptSave;
                dialog->selectFile(path);
                static_cast<QDialog*>(dialog)->accept();  // as its save button does
                return;
            }
            if (++waited > 500) fill.stop();
        });
        fill.start(10);
    }
};

struct FakeHost : HistoryHost {
    void addNumberToBook(const QString& n) override { asked << "book:" + n; }
    void addReminderForNumber(const QString& n) override { asked << "reminder:" + n; }
    QStringList asked;
};

// The window over the test's log, and what the tests do to it.
struct History {
    zrktest::FakeLine line;
    FakeHost host;
    HistoryWindow w{line, host, QStringLiteral("ZrkLog.txt")};
    QTableView* table = w.findChild<QTableView*>("tvHistory");
    QLineEdit* search = w.findChild<QLineEdit*>("eSearch");
    QComboBox* range = w.findChild<QComboBox*>("cbRange");
    HistoryChart* chart = w.findChild<HistoryChart*>("chart");
    QDateEdit* from = w.findChild<QDateEdit*>("dtFrom");
    QDateEdit* to = w.findChild<QDateEdit*>("dtTo");

    History() {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    QString total() const { return w.findChild<QLabel*>("stTotal")->text(); }
    QString figures() const { return w.findChild<QLabel*>("stFigures")->text(); }
    // "time number|name" of a row, and of every row, top first.
    QString row(int r) const {
        const QAbstractItemModel* m = table->model();
        return m->index(r, HistoryModel::ColTime).data().toString() + ' ' +
               m->index(r, HistoryModel::ColNumber).data().toString() + '|' +
               m->index(r, HistoryModel::ColName).data().toString();
    }
    QStringList rows() const {
        QStringList out;
        for (int r = 0; r < table->model()->rowCount(); ++r) out << row(r);
        return out;
    }
    bool loaded() const { return total().startsWith("Звонков: 8"); }
    void clickRow(int row) {
        const QRect rect = table->visualRect(table->model()->index(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    }
    QAction* action(const char* name) const { return w.findChild<QAction*>(name); }
    void clickTool(const char* name) {
        auto* bar = w.findChild<QToolBar*>("ToolBar1");
        QTest::mouseClick(bar->widgetForAction(action(name)), Qt::LeftButton);
    }
    // The row's context menu, as a right click brings it, and a click on its item.
    void fromMenu(int row, const char* name) {
        const QRect rect = table->visualRect(table->model()->index(row, 1));
        QContextMenuEvent e(QContextMenuEvent::Mouse, rect.center(),
                            table->viewport()->mapToGlobal(rect.center()));
        QCoreApplication::sendEvent(table->viewport(), &e);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QAction* a = action(name);
        QVERIFY(menu->actions().contains(a));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
    }
};

}  // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        sandbox_ = std::make_unique<zrktest::Sandbox>();
        RegistryFile::resetUser();
        ini() = TIni::defaults();
        setNowForTesting(kNow);
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        writeLog("ZrkLog.txt");
    }
    void cleanup() {
        setNowForTesting({});
        sandbox_.reset();
    }

    void aMissingLogIsSaidAndNothingIsMade() {
        QFile::remove("ZrkLog.txt");
        History h;
        // The label is there from the start; the reader's word comes from its thread.
        const QLabel* state = h.w.findChild<QLabel*>("stLoad");
        QTRY_VERIFY(state->isVisible() && !state->text().isEmpty() &&
                    !state->text().startsWith(QStringLiteral("Загрузка")));
        QCOMPARE(h.total(), QStringLiteral("Звонков: 0"));
        QVERIFY(!h.action("acDial")->isEnabled() && !h.action("acExport")->isEnabled());
        QVERIFY(!QFile::exists("ZrkLog.txt"));
    }

    void everyCallNewestFirstWithTheTotal() {
        const QByteArray before = zrktest::readAll("ZrkLog.txt");
        History h;
        QTRY_VERIFY(h.loaded());
        QCOMPARE(h.total(), QStringLiteral("Звонков: 8; пропущено строк: 1"));
        QCOMPARE(
            h.rows(),
            (QStringList{"11:59:00 34-56-78|", "9:00:00 8-495-765-43-21|Сидоров Пётр",
                         "7:05:03 23-45-67|Петрова Анна", "12:00:00 34-56-78|",
                         "8:30:00 8-915-123-45-67|Иванов Иван", "10:00:00 Unknown|",
                         "18:00:00 23-45-67|Петрова Анна", "9:15:00 8-915-123-45-67|Иванов Иван"}));
        const QModelIndex top = h.table->model()->index(0, HistoryModel::ColDate);
        QCOMPARE(top.data().toString(), QStringLiteral("14.03.2026"));
        QVERIFY(!h.w.findChild<QWidget*>("pbLoad")->isVisible());
        QCOMPARE(zrktest::readAll("ZrkLog.txt"), before);  // only ever read
    }

    void searchFiltersAsOneTypes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("total");
        QTest::newRow("nothing matches")
            << "Кузнецов" << QStringList{} << "Звонков: 0 из 8; пропущено строк: 1";
        QTest::newRow("digits with blanks") << "915 123"
                                            << QStringList{"8:30:00 8-915-123-45-67|Иванов Иван",
                                                           "9:15:00 8-915-123-45-67|Иванов Иван"}
                                            << "Звонков: 2 из 8; пропущено строк: 1";
    }
    void searchFiltersAsOneTypes() {
        QFETCH(QString, typed);
        QFETCH(QStringList, rows);
        History h;
        QTRY_VERIFY(h.loaded());
        h.search->setFocus(Qt::MouseFocusReason);
        typeText(h.search, typed);
        // Not on every key: the search waits for the typing to settle.
        QCOMPARE(h.table->model()->rowCount(), 8);
        QTRY_COMPARE(h.rows(), rows);
        QTEST(h.total(), "total");
        QCOMPARE(h.action("acExport")->isEnabled(), !rows.isEmpty());
        // Cleared, every call is back.
        h.search->clear();
        QTRY_COMPARE(h.table->model()->rowCount(), 8);
    }

    void dateRangesAndTheirChart_data() {
        QTest::addColumn<int>("range");
        QTest::addColumn<QDate>("from");  // a period's dates, given as typed
        QTest::addColumn<QDate>("to");
        QTest::addColumn<int>("calls");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("buckets");
        // The buckets that are not empty: index, calls.
        QTest::addColumn<Buckets>("counts");
        QTest::addColumn<QString>("figures");
        using C = Buckets;
        QTest::newRow("today") << int(HistoryWindow::Today) << QDate() << QDate() << 2
                               << "Звонков в день" << 1 << C{{0, 2}}
                               << "Больше всего звонков за день: 2 (14.03.2026); в среднем за день: 2,0";
        QTest::newRow("7 days") << int(HistoryWindow::Week) << QDate() << QDate() << 5
                                << "Звонков в день" << 7 << C{{0, 2}, {2, 1}, {6, 2}}
                                << "Больше всего звонков за день: 2 (08.03.2026); в среднем за день: 0,71";
        QTest::newRow("30 days") << int(HistoryWindow::Month) << QDate() << QDate() << 6
                                 << "Звонков в день" << 30 << C{{16, 1}, {23, 2}, {25, 1}, {29, 2}}
                                 << "Больше всего звонков за день: 2 (08.03.2026); в среднем за день: 0,20";
        // 15.03.2025 to 14.03.2026 in weeks from Monday 10.03.2025 to Monday 09.03.2026.
        QTest::newRow("a year") << int(HistoryWindow::Year) << QDate() << QDate() << 7
                                << "Звонков в неделю" << 53 << C{{40, 1}, {50, 1}, {51, 2}, {52, 3}}
                                << "Больше всего звонков за день: 2 (08.03.2026); в среднем за день: 0,02";
        // First to last call: March 2025 to March 2026.
        QTest::newRow("all") << int(HistoryWindow::All) << QDate() << QDate() << 8
                             << "Звонков в месяц" << 13 << C{{0, 1}, {9, 1}, {12, 6}}
                             << "Больше всего звонков за день: 2 (08.03.2026); в среднем за день: 0,02";
        QTest::newRow("period") << int(HistoryWindow::Period) << QDate(2026, 3, 2)
                                << QDate(2026, 3, 8) << 2 << "Звонков в день" << 7 << C{{6, 2}}
                                << "Больше всего звонков за день: 2 (08.03.2026); в среднем за день: 0,29";
        QTest::newRow("period given backwards")
            << int(HistoryWindow::Period) << QDate(2026, 3, 8) << QDate(2026, 3, 2) << 2
            << "Звонков в день" << 7 << C{{6, 2}}
            << "Больше всего звонков за день: 2 (08.03.2026); в среднем за день: 0,29";
        QTest::newRow("period without calls")
            << int(HistoryWindow::Period) << QDate(2026, 2, 2) << QDate(2026, 2, 4) << 0
            << "Звонков в день" << 3 << C{} << "Звонков за это время нет";
    }
    void dateRangesAndTheirChart() {
        QFETCH(int, range);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(int, calls);
        QFETCH(int, buckets);
        QFETCH(Buckets, counts);
        History h;
        QTRY_VERIFY(h.loaded());
        // Chosen from the list as the user does: open it, pick the line.
        h.range->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(h.range, Qt::Key_Home);
        for (int i = 0; i < range; ++i) QTest::keyClick(h.range, Qt::Key_Down);
        QCOMPARE(h.range->currentIndex(), range);
        QCOMPARE(h.from->isVisible(), range == HistoryWindow::Period);
        if (from.isValid()) {
            h.from->setDate(from);
            h.to->setDate(to);
        }
        QTRY_COMPARE(h.table->model()->rowCount(), calls);
        QTEST(h.chart->chart()->title(), "title");
        QList<int> expected(buckets, 0);
        for (const auto& [i, n] : counts) expected[i] = n;
        QCOMPARE(h.chart->barValues(), expected);
        QTEST(h.figures(), "figures");
        QVERIFY(!h.chart->dateLabels().isEmpty());
    }

    // The language chosen at start sets the default locale; the desktop's own may differ.
    // The chart's dates too: day and month in the table's order, a year where the bars span
    // two.
    void datesFollowTheChosenLanguage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("dates");  // table, period start, busiest day, chart
        QTest::addColumn<QString>("yearChart");  // the first week of the year's chart
        QTest::newRow("en_US") << "en_US" << QStringList{"3/14/26", "2/13/2026", "3/8/26", "2/13"}
                               << "3/10/25";
        QTest::newRow("en_GB") << "en_GB"
                               << QStringList{"14/03/2026", "13/02/2026", "08/03/2026", "13/02"}
                               << "10/03/2025";
    }
    void datesFollowTheChosenLanguage() {
        QFETCH(QString, locale);
        QFETCH(QStringList, dates);
        QFETCH(QString, yearChart);
        QLocale::setDefault(QLocale(locale));
        History h;
        QTRY_VERIFY(h.loaded());
        QCOMPARE(h.table->model()->index(0, HistoryModel::ColDate).data().toString(), dates[0]);
        h.range->setCurrentIndex(HistoryWindow::Period);
        QCOMPARE(h.from->text(), dates[1]);
        QVERIFY2(h.figures().contains(dates[2]), qPrintable(h.figures()));
        h.range->setCurrentIndex(HistoryWindow::Month);
        QTRY_COMPARE(h.chart->dateLabels().value(0), dates[3]);
        h.range->setCurrentIndex(HistoryWindow::Year);
        QTRY_COMPARE(h.chart->dateLabels().value(0), yearChart);
    }

    void chartDatesNeverCrowd() {
        History h;
        QTRY_VERIFY(h.loaded());
        h.range->setCurrentIndex(HistoryWindow::Month);
        QTRY_COMPARE(h.chart->barValues().size(), 30);
        // 30 days in a chart 300 pixels wide: a date under every few bars, the first first.
        h.w.resize(300, h.w.height());
        QTRY_VERIFY(h.chart->dateLabels().size() < 10);
        QCOMPARE(h.chart->dateLabels().value(0), QStringLiteral("13.02"));
        h.w.resize(1400, h.w.height());
        QTRY_VERIFY(h.chart->dateLabels().size() >= 10);
    }

    void commandsOnARow_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("failing");
        QTest::addColumn<QStringList>("line");
        QTest::addColumn<QStringList>("host");
        const auto row = [](const char* name, const char* how, int r, bool failing,
                            const QStringList& line, const QStringList& host) {
            QTest::newRow(name) << QString(how) << r << failing << line << host;
        };
        const QStringList dialled{"ViewNumber(8-495-765-43-21,false)", "sbDialClick"};
        row("no number to dial: Unknown", "menu:acDial", 5, false, {}, {});
        row("dial fails: handed to the main window", "menu:acDial", 1, true,
            dialled + QStringList{"error: Ошибка записи"}, {});
        row("dial from the menu", "menu:acDial", 1, false, dialled, {});
        row("dial with Enter", "enter", 2, false, {"ViewNumber(23-45-67,false)", "sbDialClick"},
            {});
        row("add to the book from the menu", "menu:acAddBook", 2, false, {}, {"book:23-45-67"});
        row("add to the book from the tool bar", "tool:acAddBook", 4, false, {},
            {"book:8-915-123-45-67"});
        row("add a reminder from the menu", "menu:acAddReminder", 1, false, {},
            {"reminder:8-495-765-43-21"});
    }
    void commandsOnARow() {
        QFETCH(QString, how);
        QFETCH(int, row);
        QFETCH(bool, failing);
        QFETCH(QStringList, line);
        History h;
        QTRY_VERIFY(h.loaded());
        h.line.failing = failing;
        h.clickRow(row);
        const QByteArray name = how.section(':', 1).toLatin1();
        if (how.startsWith("menu:")) {
            h.fromMenu(row, name.constData());
        } else if (how.startsWith("tool:")) {
            h.clickTool(name.constData());
        } else {
            h.table->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(h.table, Qt::Key_Return);
        }
        QCOMPARE(h.line.calls, line);
        QTEST(h.host.asked, "host");
    }

    void exportWritesTheRowsFound_data() {
        QTest::addColumn<QString>("target");  // relative to the test's directory
        QTest::addColumn<QString>("error");   // what the box says first; empty: no box
        QTest::newRow("a folder that is gone") << "gone/calls.csv"
                                               << "Ошибка: Не удалось записать файл ";
        // A place where nobody may make a file, root included. (Not a read-only system
        // folder such as /proc: the next save dialog would open there and read its files.)
        QTest::newRow("a file where a folder should be") << "ZrkLog.txt/calls.csv"
                                                         << "Ошибка: Не удалось записать файл ";
        QTest::newRow("written") << "calls.csv"
                                 << "";
    }
    void exportWritesTheRowsFound() {
        QFETCH(QString, target);
        QFETCH(QString, error);
        History h;
        QTRY_VERIFY(h.loaded());
        typeText(h.search, "петров");
        QTRY_COMPARE(h.table->model()->rowCount(), 2);
        const QString path = QDir(sandbox_->path()).absoluteFilePath(target);
        SaveDialogAnswer answer(path);
        zrktest::ShownBoxes boxes;
        QSignalSpy done(&h.w, &HistoryWindow::exportFinished);
        h.clickTool("acExport");
        QVERIFY(answer.seen);
        QTRY_COMPARE(done.size(), 1);  // written beside the window
        if (error.isEmpty()) {
            QCOMPARE(boxes.shown, QStringList());
            const QByteArray csv = zrktest::readAll(path);
            QCOMPARE(QString::fromUtf8(csv).split("\r\n"),
                     (QStringList{"\uFEFFДата,Время,Номер,Имя",
                                  "2026-03-10,07:05:03,23-45-67,Петрова Анна",
                                  "2025-12-20,18:00:00,23-45-67,Петрова Анна", ""}));
        } else {
            QCOMPARE(boxes.shown.size(), 1);
            QVERIFY2(boxes.shown[0].startsWith(error), qPrintable(boxes.shown[0]));
            QVERIFY(boxes.shown[0].contains(QDir::toNativeSeparators(path)));
            QVERIFY(!QFile::exists(path));
        }
    }

    void aNewCallAppearsAtTheTopKeepingTheSelection() {
        History h;
        QTRY_VERIFY(h.loaded());
        h.clickRow(2);  // 10.03.2026 23-45-67 Петрова Анна
        appendToLog({"14.03.2026 12:00:05 8-916-000-11-22 Орлов Олег"});
        QTRY_COMPARE_WITH_TIMEOUT(h.table->model()->rowCount(), 9, 10000);
        QCOMPARE(h.rows().value(0), QStringLiteral("12:00:05 8-916-000-11-22|Орлов Олег"));
        QCOMPARE(h.total(), QStringLiteral("Звонков: 9; пропущено строк: 1"));
        QCOMPARE(h.table->currentIndex().row(), 3);
        QVERIFY(h.table->selectionModel()->isRowSelected(3));
        QCOMPARE(h.chart->barValues().value(12), 7);
        // A call that the search does not take stays out; one it takes comes in.
        typeText(h.search, "Орлов");
        QTRY_COMPARE(h.table->model()->rowCount(), 1);
        appendToLog(
            {"14.03.2026 12:01:00 34-56-78 ", "14.03.2026 12:02:00 8-916-000-11-22 Орлов Олег"});
        QTRY_COMPARE_WITH_TIMEOUT(h.total(), QStringLiteral("Звонков: 2 из 11; пропущено строк: 1"),
                                  10000);
        QCOMPARE(h.rows().value(0), QStringLiteral("12:02:00 8-916-000-11-22|Орлов Олег"));
        // Marked missed after its line: the row shown takes the mark; a mark is no damage.
        const QModelIndex number = h.table->model()->index(0, HistoryModel::ColNumber);
        appendToLog({";missed 14.03.2026 12:02:00 8-916-000-11-22"});
        QTRY_VERIFY_WITH_TIMEOUT(!number.data(Qt::DecorationRole).isNull(), 10000);
        QCOMPARE(number.data(Qt::ToolTipRole).toString(), "Пропущенный звонок\n8-916-000-11-22");
        QVERIFY(number.siblingAtRow(1).data(Qt::DecorationRole).isNull());
        QCOMPARE(h.total(), QStringLiteral("Звонков: 2 из 11; пропущено строк: 1"));
    }

    // A log long enough to come in many batches, more than the window takes in one turn: the
    // rows grow below the current one, and a search typed while it loads takes the rest too.
    void aBigLogComesInTurns_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("bottom");
        QTest::addColumn<QString>("figures");
        QTest::newRow("every call")
            << ""
            << "Звонков: 60\u00A0000"  // grouped as the language groups
            << "16:10:00 159999|"
            << "8:00:00 100000|"
            << "Больше всего звонков за день: 50 (01.01.2020); в среднем за день: 50,0";
        QTest::newRow("a search typed at the first rows")
            << "45-67-89"
            << "Звонков: 6\u00A0000 из 60\u00A0000"
            << "15:50:00 45-67-89|Петрова Анна"
            << "9:10:00 45-67-89|Петрова Анна"
            << "Больше всего звонков за день: 5 (01.01.2020); в среднем за день: 5,0";
    }
    void aBigLogComesInTurns() {
        QFETCH(QString, typed);
        QFETCH(QString, total);
        // 50 calls a day from 01.01.2020, every tenth from one caller.
        QByteArray bytes;
        for (int i = 0; i < 60000; ++i) {
            const QDateTime when(QDate(2020, 1, 1).addDays(i / 50),
                                 QTime(8, 0).addSecs(i % 50 * 600));
            bytes += when.toString("dd.MM.yyyy H:mm:ss ").toLatin1() +
                     (i % 10 == 7 ? toCp1251(QStringLiteral("45-67-89 Петрова Анна"))
                                  : QByteArray::number(100000 + i) + ' ') +
                     "\r\n";
        }
        QVERIFY(zrktest::writeAll("ZrkLog.txt", bytes));
        History h;
        QTRY_VERIFY(h.table->model()->rowCount() > 0);
        if (!typed.isEmpty()) {
            typeText(h.search, typed);
            QTRY_COMPARE(h.search->text(), typed);
            QTRY_VERIFY(h.table->model()->rowCount() > 0 &&
                        h.table->model()->index(0, HistoryModel::ColNumber).data() == typed);
        }
        h.clickRow(0);
        const QString current = h.row(0);
        QTRY_COMPARE_WITH_TIMEOUT(h.total(), total, 30000);
        QTRY_VERIFY(!h.w.findChild<QWidget*>("pbLoad")->isVisible());
        const int rows = h.table->model()->rowCount();
        QTEST(h.row(0), "top");
        QTEST(h.row(rows - 1), "bottom");
        QCOMPARE(h.row(h.table->currentIndex().row()), current);
        QVERIFY(h.table->selectionModel()->isRowSelected(h.table->currentIndex().row()));
        const QList<int> bars = h.chart->barValues();
        QCOMPARE(std::accumulate(bars.begin(), bars.end(), 0), rows);
        QTEST(h.figures(), "figures");
    }

    // A big export runs beside the window: its timers keep firing and a dialog shows how far
    // the export has come; its cancel leaves no file and says so.
    void exportRunsBesideTheWindow_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("written") << false;
    }
    void exportRunsBesideTheWindow() {
        QFETCH(bool, cancel);
        QByteArray bytes;
        for (int i = 0; i < 200000; ++i)
            bytes += "01.03.2026 10:00:00 " + QByteArray::number(100000 + i) + " \r\n";
        QVERIFY(zrktest::writeAll("ZrkLog.txt", bytes));
        History h;
        QTRY_COMPARE_WITH_TIMEOUT(h.table->model()->rowCount(), 200000, 60000);
        const QString path = QDir(sandbox_->path()).absoluteFilePath("calls.csv");
        SaveDialogAnswer answer(path);
        int beats = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, this, [&] { ++beats; });
        beat.start(1);
        QSignalSpy done(&h.w, &HistoryWindow::exportFinished);
        h.clickTool("acExport");
        auto* progress = h.w.findChild<QProgressDialog*>("exportProgress");
        QVERIFY(progress && progress->isVisible());
        QCOMPARE(done.size(), 0);
        QVERIFY(!h.action("acExport")->isEnabled());
        const int atStart = beats;
        if (cancel) QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 60000);
        QVERIFY2(beats > atStart, "the window stood still while it exported");
        QCOMPARE(done[0][0].toBool(), !cancel);
        QVERIFY(h.action("acExport")->isEnabled());
        if (cancel) {
            QCOMPARE(QDir(sandbox_->path()).entryList({"calls*"}), QStringList());
            QVERIFY2(h.w.statusBar()->currentMessage().startsWith("Экспорт отменён"),
                     qPrintable(h.w.statusBar()->currentMessage()));
        } else {
            const QByteArray csv = zrktest::readAll(path);
            QCOMPARE(csv.count('\n'), 200001);
            QVERIFY(csv.endsWith("2026-03-01,10:00:00,100000,\r\n"));
        }
    }

    void placeAndSizeAreKept() {
        {
            History h;
            h.w.resize(640, 480);
            h.w.move(30, 40);
            h.w.close();
        }
        History again;
        QCOMPARE(again.w.size(), QSize(640, 480));
    }

private:
    std::unique_ptr<zrktest::Sandbox> sandbox_;
};

QTEST_MAIN(HistoryWindowTest)
#include "tst_historywindow.moc"
