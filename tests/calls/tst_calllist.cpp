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
void click(TListRing& w, const char* name) {
    QTest::mouseClick(w.findChild<QToolButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}
bool enabled(TListRing& w, const char* name) {
    return w.findChild<QToolButton*>(QString::fromLatin1(name))->isEnabled();
}
QString statusText(TListRing& w) {
    return w.findChild<QStatusBar*>("stStatus")->findChild<QLabel*>()->text();
}
void select(TListRing& w, std::initializer_list<int> rows) {
    list(w)->clearSelection();
    for (int r : rows) list(w)->topLevelItem(r)->setSelected(true);
}
QStringList column(TListRing& w, int c) {
    QStringList out;
    for (int i = 0; i < w.rowCount(); ++i) out << list(w)->topLevelItem(i)->text(c);
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

    void dateStaysOneWordInEveryLocale() {
        const QDate d(2026, 3, 8);
        QCOMPARE(callDateText(d, QLocale::c()), QStringLiteral("08.03.2026"));
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        QCOMPARE(callDateText(d, ru), ru.toString(d, QLocale::ShortFormat));
        for (const QLocale& loc : {QLocale(QLocale::English, QLocale::UnitedStates),
                                   QLocale(QLocale::Czech), QLocale(QLocale::German)})
            QVERIFY(!callDateText(d, loc).contains(QRegularExpression("\\s")));
        QCOMPARE(callTimeText(QTime(7, 5, 3)), QStringLiteral("7:05:03"));
    }

    void rowsFollowCallsAndButtonsFollowRows() {
        FakeLine line;
        TListRing w(line);
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 0"));
        QVERIFY(!enabled(w, "sbReDial") && !enabled(w, "sbDel") && !enabled(w, "sbClear"));
        // First-run columns show a grouped number, a time and a date whole.
        const QFontMetrics fm(list(w)->font());
        QVERIFY(fm.horizontalAdvance("34-56-78") + 8 <= list(w)->columnWidth(0));
        QVERIFY(fm.horizontalAdvance(callDateText(QDate(2026, 12, 28))) + 8 <=
                list(w)->columnWidth(2));

        const QDateTime now = QDateTime::currentDateTime();
        w.AddItem("34-56-78", "", -1);  // not in the phone book
        w.AddItem("12-34-56", QStringLiteral("Иванов"), 1);
        w.AddItem("Unknown", "", 2);
        QCOMPARE(column(w, TListRing::ColNumber), QStringList({"34-56-78", "12-34-56", "Unknown"}));
        QCOMPARE(column(w, TListRing::ColStatus),
                 QStringList({"нормальный", "плохой", "приоритетный"}));
        QCOMPARE(column(w, TListRing::ColName), QStringList({"", "Иванов", ""}));
        const QTime t = QTime::fromString(column(w, TListRing::ColTime)[0], "H:mm:ss");
        QVERIFY(t.isValid() && qAbs(t.secsTo(now.time())) <= 2);
        QCOMPARE(column(w, TListRing::ColDate)[0], callDateText(now.date()));
        QVERIFY(enabled(w, "sbReDial") && enabled(w, "sbDel") && enabled(w, "sbClear"));
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 3"));
        QVERIFY(line.calls.isEmpty());  // the main window does its own counting
    }

    void redialHandsTheFirstSelectedNumberOver() {
        FakeLine line;
        TListRing w(line);
        for (const char* n : {"34-56-78", "Unknown", "12-34-56"}) w.AddItem(n, "", 0);
        click(w, "sbReDial");  // nothing selected
        QVERIFY(line.calls.isEmpty());
        // Bottom row selected first: list order decides, not click order.
        select(w, {2, 0});
        click(w, "sbReDial");
        QCOMPARE(line.calls, QStringList({"ViewNumber(34-56-78,false)", "sbDialClick"}));
        // "Unknown" goes over as it is; the main window treats it as no number.
        line.calls.clear();
        select(w, {1});
        click(w, "sbReDial");
        QCOMPARE(line.calls, QStringList({"ViewNumber(Unknown,false)", "sbDialClick"}));
        // A double click on a row calls it back.
        line.calls.clear();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QPoint at = list(w)->visualItemRect(list(w)->topLevelItem(2)).center();
        QTest::mouseClick(list(w)->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list(w)->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(line.calls, QStringList({"ViewNumber(12-34-56,false)", "sbDialClick"}));

        // A dial that fails is reported through the main window, not thrown out of the button.
        line.calls.clear();
        line.failing = true;
        click(w, "sbReDial");
        QCOMPARE(line.calls, QStringList({"ViewNumber(12-34-56,false)", "sbDialClick",
                                          "error: Ошибка записи"}));
    }

    void deleteClearAndLog() {
        FakeLine line;
        TListRing w(line);
        for (const char* n : {"1", "2", "3", "4", "5"}) w.AddItem(n, "", 0);
        line.count = 5;
        click(w, "sbDel");  // nothing selected
        QVERIFY(line.calls.isEmpty());
        select(w, {0, 2, 4});
        click(w, "sbDel");
        QCOMPARE(line.calls, QStringList({"CountCaller(2)"}));
        QCOMPARE(column(w, TListRing::ColNumber), QStringList({"2", "4"}));
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 2"));
        // A counter already cleared by hand stays at 0.
        line.count = 0;
        select(w, {0});
        click(w, "sbDel");
        QCOMPARE(line.count, 0);
        QCOMPARE(w.rowCount(), 1);

        line.count = 9;
        line.calls.clear();
        click(w, "sbClear");
        QCOMPARE(line.calls, QStringList({"CountCaller(0)"}));
        QCOMPARE(w.rowCount(), 0);
        QVERIFY(!enabled(w, "sbReDial") && !enabled(w, "sbDel") && !enabled(w, "sbClear"));
        QCOMPARE(statusText(w), QStringLiteral("Звонков: 0"));

        // The log file goes to the viewer exactly as set, blanks and all.
        QStringList opened;
        w.setLogOpener([&](const QString& path) { opened << path; });
        ini().LogFile = QStringLiteral("/home/user/My Logs/Zrk Log.txt");
        click(w, "sbLog");
        QCOMPARE(opened, QStringList({ini().LogFile}));
    }

    void focusSelectsFirstRowOnlyWithTwoOrMore() {
        FakeLine line;
        TListRing w(line);
        QTreeWidget* lv = list(w);
        auto focusIn = [&] {
            QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
            QCoreApplication::sendEvent(lv, &e);
            return lv->selectedItems();
        };
        QVERIFY(focusIn().isEmpty());
        w.AddItem("1", "", 0);
        QVERIFY(focusIn().isEmpty());
        w.AddItem("2", "", 0);
        QCOMPARE(focusIn(), QList<QTreeWidgetItem*>({lv->topLevelItem(0)}));
        QCOMPARE(lv->currentItem(), lv->topLevelItem(0));
        select(w, {1});  // the user's own selection is left alone
        QCOMPARE(focusIn(), QList<QTreeWidgetItem*>({lv->topLevelItem(1)}));
    }

    void closingSavesPlacementAndWidthsAndKeepsRows() {
        int dateWidth = 0;
        {
            FakeLine line;
            TListRing w(line);
            dateWidth = list(w)->columnWidth(2);
            w.AddItem("12-34-56", "", 0);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            w.resize(500, 300);
            list(w)->setColumnWidth(3, 77);
            click(w, "sbExit");
            QVERIFY(!w.isVisible());
            QCOMPARE(line.calls, QStringList({"setCallListShown(false)"}));
            QCOMPARE(w.rowCount(), 1);  // hidden, not emptied
            QCOMPARE(storedWidth(3), 77);
            QCOMPARE(storedWidth(2), dateWidth);
        }
        // The next run opens as this one was left, with an empty list.
        RegistryFile::resetUser();
        FakeLine line;
        TListRing again(line);
        QCOMPARE(again.size(), QSize(500, 300));
        QCOMPARE(list(again)->columnWidth(3), 77);
        QCOMPARE(again.rowCount(), 0);
        // Closed while hidden (at program exit): the flag is still cleared.
        again.close();
        QCOMPARE(line.calls, QStringList({"setCallListShown(false)"}));
    }

private:
    std::unique_ptr<zrktest::Sandbox> sandbox_;
};

QTEST_MAIN(CallListTest)
#include "tst_calllist.moc"
