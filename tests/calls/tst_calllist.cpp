// The call list window: rows, the main window's counter, call back, delete, clear, log,
// focus and what closing keeps.
#include "TestSupport.h"
#include "calls/CallRow.h"
#include "calls/ListRing.h"
#include "platform/Registry.h"
#include "settings/Positions.h"
#include "settings/Settings.h"
#include "windows/FakeLine.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace zrk;
using zrktest::FakeLine;

namespace {

QTreeWidget* list(TListRing& w) {
    return w.findChild<QTreeWidget*>("lvRing");
}
QToolButton* button(TListRing& w, const char* name) {
    auto* b = w.findChild<QToolButton*>(QString::fromLatin1(name));
    if (!b) qFatal("no button %s", name);
    return b;
}
QString statusText(TListRing& w) {
    return w.findChild<QStatusBar*>("stStatus")->findChild<QLabel*>()->text();
}
void select(TListRing& w, std::initializer_list<int> rows) {
    list(w)->clearSelection();
    for (int r : rows) list(w)->topLevelItem(r)->setSelected(true);
}
QStringList numbers(TListRing& w) {
    QStringList out;
    for (int i = 0; i < list(w)->topLevelItemCount(); ++i)
        out << list(w)->topLevelItem(i)->text(TListRing::ColNumber);
    return out;
}
int storedWidth(int column) {
    TFormPlace p;
    LoadPosition(QStringLiteral("Position\\ListRings\\Section%1").arg(column), p);
    return p.Width;
}

}  // namespace

class CallListTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        sandbox_ = std::make_unique<zrktest::Sandbox>();
        RegistryFile::resetUser();
        ini() = TIni::defaults();
    }
    void cleanup() { sandbox_.reset(); }

    void rowTexts() {
        QCOMPARE(statusWord(-1), QStringLiteral("нормальный"));
        QCOMPARE(statusWord(0), QStringLiteral("нормальный"));
        QCOMPARE(statusWord(1), QStringLiteral("плохой"));
        QCOMPARE(statusWord(2), QStringLiteral("приоритетный"));
        QCOMPARE(statusWord(9), QStringLiteral("нормальный"));
        QCOMPARE(callTimeText(QTime(7, 5, 3)), QStringLiteral("7:05:03"));
        QCOMPARE(callTimeText(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
        const QDate d(2026, 3, 8);
        // Locales whose short date spells words get the numeric date: one word in the log.
        QCOMPARE(callDateText(d, QLocale::c()), QStringLiteral("08.03.2026"));
        QCOMPARE(callDateText(d, QLocale(QLocale::Russian, QLocale::Russia)),
                 QLocale(QLocale::Russian, QLocale::Russia).toString(d, QLocale::ShortFormat));
        for (const QLocale& loc : {QLocale(QLocale::English, QLocale::UnitedStates),
                                   QLocale(QLocale::Czech), QLocale(QLocale::German)}) {
            const QString text = callDateText(d, loc);
            QVERIFY2(!text.contains(QRegularExpression("\\s")), qPrintable(text));
            QVERIFY(text.contains('8'));
        }
    }

    void freshWindow() {
        FakeLine line;
        TListRing w(line);
        QCOMPARE(w.windowTitle(), QStringLiteral("Список звонков"));
        QCOMPARE(w.pos(), QPoint(264, 188));
        QTreeWidget* lv = list(w);
        const QStringList captions{"Номер", "Время", "Дата", "Статус", "Фамилия"};
        const int design[] = {50, 50, 55, 90, 120};
        QCOMPARE(lv->columnCount(), 5);
        // The design sizes, widened evenly for a desktop font larger than the design's.
        const double scale = double(lv->columnWidth(4)) / design[4];
        QVERIFY(scale >= 1.0);
        for (int c = 0; c < 5; ++c) {
            QCOMPARE(lv->headerItem()->text(c), captions[c]);
            QVERIFY(lv->columnWidth(c) >= design[c] * scale - 2.0);
        }
        QVERIFY(qAbs(lv->columnWidth(3) - design[3] * scale) <= 2.0);
        QVERIFY(w.width() >= 377 * scale - 8.0);
        QVERIFY(qAbs(w.height() - 272 * scale) <= 6.0);
        // A grouped number and a time are readable without widening a column by hand.
        const QFontMetrics fm(lv->font());
        QVERIFY(fm.horizontalAdvance("34-56-78") + 8 <= lv->columnWidth(0));
        QVERIFY(fm.horizontalAdvance("23:59:59") + 8 <= lv->columnWidth(1));
        QVERIFY(fm.horizontalAdvance(callDateText(QDate(2026, 12, 28))) + 8 <= lv->columnWidth(2));
        QCOMPARE(lv->selectionMode(), QAbstractItemView::ExtendedSelection);
        QVERIFY(!lv->isSortingEnabled());
        for (const char* name : {"sbReDial", "sbDel", "sbClear"})
            QVERIFY2(!button(w, name)->isEnabled(), name);
        QVERIFY(button(w, "sbLog")->isEnabled());
        QCOMPARE(button(w, "sbReDial")->toolTip(), QStringLiteral("Перезвонить"));
        QCOMPARE(button(w, "sbDel")->toolTip(), QStringLiteral("Удалить из списка"));
        QCOMPARE(button(w, "sbClear")->toolTip(), QStringLiteral("Очистить список"));
        QCOMPARE(button(w, "sbLog")->toolTip(), QStringLiteral("Показать файл логов"));
        QCOMPARE(button(w, "sbExit")->toolTip(), QStringLiteral("Спрятать список"));
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 0"));
        QVERIFY(line.calls.isEmpty());
    }

    void addedRowsAndButtons() {
        FakeLine line;
        TListRing w(line);
        const QDateTime before = QDateTime::currentDateTime();
        w.AddItem(QStringLiteral("34-56-78"), QString(), -1);  // not in the phone book
        w.AddItem(QStringLiteral("12-34-56"), QStringLiteral("Иванов"), 1);
        w.AddItem(QStringLiteral("Unknown"), QString(), 2);
        QCOMPARE(w.rowCount(), 3);
        QCOMPARE(numbers(w), QStringList({"34-56-78", "12-34-56", "Unknown"}));
        const QTreeWidgetItem* first = list(w)->topLevelItem(0);
        QCOMPARE(first->text(TListRing::ColStatus), QStringLiteral("нормальный"));
        QCOMPARE(first->text(TListRing::ColName), QString());
        QCOMPARE(list(w)->topLevelItem(1)->text(TListRing::ColStatus), QStringLiteral("плохой"));
        QCOMPARE(list(w)->topLevelItem(1)->text(TListRing::ColName), QStringLiteral("Иванов"));
        QCOMPARE(list(w)->topLevelItem(2)->text(TListRing::ColStatus),
                 QStringLiteral("приоритетный"));
        const QTime t = QTime::fromString(first->text(TListRing::ColTime), "H:mm:ss");
        QVERIFY(t.isValid());
        QVERIFY(qAbs(t.secsTo(before.time())) <= 2 || qAbs(t.secsTo(before.time())) >= 86398);
        QCOMPARE(first->text(TListRing::ColDate), callDateText(before.date()));
        for (const char* name : {"sbReDial", "sbDel", "sbClear"})
            QVERIFY2(button(w, name)->isEnabled(), name);
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 3"));
        // Adding a row is not counting a call: the main window counts.
        QVERIFY(line.calls.isEmpty());
    }

    void redialHandsTheFirstSelectedNumberOver() {
        FakeLine line;
        TListRing w(line);
        w.AddItem("34-56-78", "", 0);
        w.AddItem("Unknown", "", -1);
        w.AddItem("12-34-56", "", 0);

        QTest::mouseClick(button(w, "sbReDial"), Qt::LeftButton);  // nothing selected
        QVERIFY(line.calls.isEmpty());

        // Selected bottom row first, then the top one: list order decides, not click order.
        select(w, {2, 0});
        QTest::mouseClick(button(w, "sbReDial"), Qt::LeftButton);
        QCOMPARE(line.calls, QStringList({"ViewNumber(34-56-78,false)", "sbDialClick"}));

        // "Unknown" goes over as it is; the main window treats it as no number.
        line.calls.clear();
        select(w, {1});
        w.sbReDialClick();
        QCOMPARE(line.calls, QStringList({"ViewNumber(Unknown,false)", "sbDialClick"}));

        // A double click on a row calls back too.
        line.calls.clear();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTreeWidget* lv = list(w);
        const QRect r = lv->visualItemRect(lv->topLevelItem(2));
        QTest::mouseClick(lv->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(lv->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(line.calls, QStringList({"ViewNumber(12-34-56,false)", "sbDialClick"}));
    }

    void deleteLowersTheCounterNeverBelowZero() {
        FakeLine line;
        TListRing w(line);
        for (const char* n : {"1", "2", "3", "4", "5"}) w.AddItem(n, "", 0);
        line.count = 5;

        w.sbDelClick();  // nothing selected: nothing happens
        QCOMPARE(w.rowCount(), 5);
        QVERIFY(line.calls.isEmpty());

        select(w, {0, 2, 4});
        QTest::mouseClick(button(w, "sbDel"), Qt::LeftButton);
        QCOMPARE(line.calls, QStringList({"CountCaller(2)"}));
        QCOMPARE(numbers(w), QStringList({"2", "4"}));
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 2"));

        // The counter was already cleared by hand: it stays at 0.
        line.calls.clear();
        line.count = 0;
        select(w, {0});
        w.sbDelClick();
        QCOMPARE(line.calls, QStringList({"CountCaller(0)"}));
        line.count = 1;
        select(w, {0});
        w.sbDelClick();
        QCOMPARE(line.count, 0);
        QCOMPARE(w.rowCount(), 0);
        QVERIFY(!button(w, "sbReDial")->isEnabled());
        QVERIFY(!button(w, "sbDel")->isEnabled());
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 0"));
    }

    void clearEmptiesListAndCounter() {
        FakeLine line;
        TListRing w(line);
        w.AddItem("1", "", 0);
        w.AddItem("2", "", 0);
        line.count = 7;
        select(w, {1});
        QTest::mouseClick(button(w, "sbClear"), Qt::LeftButton);
        QCOMPARE(w.rowCount(), 0);
        QCOMPARE(line.calls, QStringList({"CountCaller(0)"}));
        QVERIFY(!button(w, "sbClear")->isEnabled());
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 0"));
        w.AddItem("3", "", 0);  // the list carries on after a clear
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 1"));
    }

    void logButtonOpensTheLogFileAsSet() {
        FakeLine line;
        TListRing w(line);
        QStringList opened;
        w.setLogOpener([&](const QString& path) { opened << path; });
        ini().LogFile = QStringLiteral("/home/user/My Logs/Zrk Log.txt");
        QTest::mouseClick(button(w, "sbLog"), Qt::LeftButton);
        ini().LogFile = QStringLiteral("ZrkLog.txt");
        w.sbLogClick();
        QCOMPARE(opened, QStringList({"/home/user/My Logs/Zrk Log.txt", "ZrkLog.txt"}));
    }

    void focusSelectsFirstRowOnlyWithTwoOrMore() {
        FakeLine line;
        TListRing w(line);
        QTreeWidget* lv = list(w);
        auto focusIn = [&] {
            QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
            QCoreApplication::sendEvent(lv, &e);
        };
        focusIn();  // empty list
        QVERIFY(lv->selectedItems().isEmpty());

        w.AddItem("1", "", 0);
        focusIn();
        QVERIFY(lv->selectedItems().isEmpty());

        w.AddItem("2", "", 0);
        focusIn();
        QCOMPARE(lv->selectedItems(), QList<QTreeWidgetItem*>({lv->topLevelItem(0)}));
        QCOMPARE(lv->currentItem(), lv->topLevelItem(0));

        // A selection the user made is left alone.
        select(w, {1});
        focusIn();
        QCOMPARE(lv->selectedItems(), QList<QTreeWidgetItem*>({lv->topLevelItem(1)}));
    }

    void closingSavesPlacementAndWidthsAndKeepsRows() {
        int designDate = 0, designNumber = 0;
        {
            FakeLine line;
            TListRing w(line);
            designNumber = list(w)->columnWidth(0);
            designDate = list(w)->columnWidth(2);
            w.AddItem("12-34-56", "", 0);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.move(40, 50);
            w.resize(500, 300);
            list(w)->setColumnWidth(3, 77);
            list(w)->setColumnWidth(4, 200);
            QTest::mouseClick(button(w, "sbExit"), Qt::LeftButton);
            QVERIFY(!w.isVisible());
            QCOMPARE(line.calls, QStringList({"setCallListShown(false)"}));
            QVERIFY(!line.callListShown);
            QCOMPARE(w.rowCount(), 1);  // hidden, not emptied
            QCOMPARE(storedWidth(0), designNumber);
            QCOMPARE(storedWidth(3), 77);
            QCOMPARE(storedWidth(4), 200);
            TFormPlace p;
            LoadPosition(QStringLiteral("Position\\ListRings"), p);
            QCOMPARE(p.Width, 500);
            QCOMPARE(p.Height, 300);
        }
        // The next run opens where this one left off.
        RegistryFile::resetUser();
        FakeLine line;
        TListRing again(line);
        QCOMPARE(again.size(), QSize(500, 300));
        QCOMPARE(list(again)->columnWidth(3), 77);
        QCOMPARE(list(again)->columnWidth(4), 200);
        QCOMPARE(list(again)->columnWidth(2), designDate);
        QCOMPARE(again.rowCount(), 0);  // the calls of a run are not kept
    }

    void closingAHiddenWindowStillClearsTheFlag() {
        // The main window closes the list at exit whether it is shown or not.
        FakeLine line;
        TListRing w(line);
        const int width = list(w)->columnWidth(1);
        w.close();
        QCOMPARE(line.calls, QStringList({"setCallListShown(false)"}));
        QCOMPARE(storedWidth(1), width);
    }

private:
    std::unique_ptr<zrktest::Sandbox> sandbox_;
};

QTEST_MAIN(CallListTest)
#include "tst_calllist.moc"
