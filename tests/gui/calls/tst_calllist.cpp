// The call list window: rows, the main window's counter, call back, delete, clear, log,
// focus and what closing keeps.
#include "TestSupport.h"
#include "gui/calls/CallRow.h"
#include "gui/calls/ListRing.h"
#include "core/platform/Registry.h"
#include "core/settings/Settings.h"
#include "gui/windows/FakeLine.h"

#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace zrk;

namespace {

// The window with a main-window stand-in, and what the tests do to it.
struct CallList {
    zrktest::FakeLine line;
    TListRing w{line};
    QTreeWidget* lv = w.findChild<QTreeWidget*>("lvRing");

    void click(const char* b) { QTest::mouseClick(w.findChild<QToolButton*>(b), Qt::LeftButton); }
    bool on(const char* b) const { return w.findChild<QToolButton*>(b)->isEnabled(); }
    QString status() const { return w.findChild<QLabel*>("stStatusPanel")->text(); }
    void select(std::initializer_list<int> rows) {
        lv->clearSelection();
        for (int r : rows) lv->topLevelItem(r)->setSelected(true);
    }
    QList<QTreeWidgetItem*> focusIn() {
        QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(lv, &e);
        return lv->selectedItems();
    }
    // Number, status word and name of every row.
    QStringList rows() const {
        QStringList out;
        for (int i = 0; i < w.rowCount(); ++i) {
            const QTreeWidgetItem* r = lv->topLevelItem(i);
            out << QStringList{r->text(TListRing::ColNumber), r->text(TListRing::ColStatus),
                               r->text(TListRing::ColName)}
                       .join('|');
        }
        return out;
    }
};

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

    // The time column speaks the locale's clock, 12 or 24 hours, with its seconds, and is
    // wide enough for it.
    void timeInTheLocalesForm_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("en_US") << "en_US" << "10:36:05 PM";
        QTest::newRow("en_GB") << "en_GB" << "22:36:05";
        QTest::newRow("ru_RU") << "ru_RU" << "22:36:05";
    }
    void timeInTheLocalesForm() {
        QFETCH(QString, locale);
        const QLocale old;
        QLocale::setDefault(QLocale(locale));
        const auto restore = qScopeGuard([&old] { QLocale::setDefault(old); });
        CallList c;
        c.w.AddItem("34-56-78", "", -1, {}, QDateTime(QDate(2026, 12, 8), QTime(22, 36, 5)));
        QString shown = c.lv->topLevelItem(0)->text(TListRing::ColTime);
        shown.replace(QChar(0x202F), ' ');  // the narrow space of newer locale data
        QTEST(shown, "shown");
        QVERIFY(c.lv->fontMetrics().horizontalAdvance(shown) + 8 <= c.lv->columnWidth(1));
    }

    void rowsCounterAndButtons() {
        CallList c;
        QCOMPARE(c.status(), QStringLiteral("Звонков: 0"));
        QVERIFY(!c.on("sbReDial") && !c.on("sbDel") && !c.on("sbClear"));
        // First-run columns show a grouped number and a date whole.
        const QFontMetrics fm(c.lv->font());
        QVERIFY(fm.horizontalAdvance("34-56-78") + 8 <= c.lv->columnWidth(0));
        QVERIFY(fm.horizontalAdvance(callDateText({2026, 12, 28})) + 8 <= c.lv->columnWidth(2));

        const QDateTime now = QDateTime::currentDateTime();
        c.w.AddItem("34-56-78", "", -1);  // not in the phone book
        c.w.AddItem("12-34-56", QStringLiteral("Иванов"), 1);
        c.w.AddItem("Unknown", "", 2);
        QCOMPARE(c.rows(), QStringList({"34-56-78|нормальный|", "12-34-56|плохой|Иванов",
                                        "Unknown|приоритетный|"}));
        const QTime t =
            QTime::fromString(c.lv->topLevelItem(0)->text(TListRing::ColTime), "H:mm:ss");
        QVERIFY(t.isValid() && qAbs(t.secsTo(now.time())) <= 2);
        QCOMPARE(c.lv->topLevelItem(0)->text(TListRing::ColDate), callDateText(now.date()));
        QVERIFY(c.on("sbReDial") && c.on("sbDel") && c.on("sbClear"));
        QCOMPARE(c.status(), QStringLiteral("Звонков: 3"));
        QVERIFY(c.line.calls.isEmpty());  // the main window does its own counting

        // Deleting lowers the main window's counter by the rows removed, never below 0.
        c.line.count = 3;
        c.click("sbDel");  // nothing selected
        QVERIFY(c.line.calls.isEmpty());
        c.select({0, 2});
        c.click("sbDel");
        QCOMPARE(c.line.calls, QStringList({"CountCaller(1)"}));
        QCOMPARE(c.rows(), QStringList({"12-34-56|плохой|Иванов"}));
        QCOMPARE(c.status(), QStringLiteral("Звонков: 1"));
        c.line.count = 0;  // cleared by hand
        c.w.AddItem("5", "", 0);
        c.select({0});
        c.click("sbDel");
        QCOMPARE(c.line.count, 0);

        c.line.count = 9;
        c.click("sbClear");
        QCOMPARE(c.line.count, 0);
        QCOMPARE(c.w.rowCount(), 0);
        QVERIFY(!c.on("sbReDial") && !c.on("sbDel") && !c.on("sbClear"));
        QCOMPARE(c.status(), QStringLiteral("Звонков: 0"));
    }

    void focusAndCallBack() {
        CallList c;
        c.w.AddItem("34-56-78", "", 0);
        QVERIFY(c.focusIn().isEmpty());  // the first row is selected only with two or more
        for (const char* n : {"Unknown", "12-34-56"}) c.w.AddItem(n, "", 0);
        QCOMPARE(c.focusIn(), QList<QTreeWidgetItem*>({c.lv->topLevelItem(0)}));
        QCOMPARE(c.lv->currentItem(), c.lv->topLevelItem(0));
        c.select({1});  // the user's own selection is left alone
        QCOMPARE(c.focusIn(), QList<QTreeWidgetItem*>({c.lv->topLevelItem(1)}));

        c.select({});
        c.click("sbReDial");
        QVERIFY(c.line.calls.isEmpty());
        // Bottom row selected first: list order decides, not click order.
        c.select({2, 0});
        c.click("sbReDial");
        QCOMPARE(c.line.calls, QStringList({"ViewNumber(34-56-78,false)", "sbDialClick"}));
        // A double click on a row calls it back.
        c.line.calls.clear();
        c.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.w));
        const QPoint at = c.lv->visualItemRect(c.lv->topLevelItem(2)).center();
        QTest::mouseClick(c.lv->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(c.lv->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(c.line.calls, QStringList({"ViewNumber(12-34-56,false)", "sbDialClick"}));
        // A dial that fails is reported through the main window, not thrown out of the button.
        c.line.calls.clear();
        c.line.failing = true;
        c.click("sbReDial");
        QCOMPARE(c.line.calls, QStringList({"ViewNumber(12-34-56,false)", "sbDialClick",
                                            "error: Ошибка записи"}));
    }

    void logAndClosing() {
        {
            CallList c;
            // The log file goes to the viewer exactly as set, blanks and all.
            QStringList opened;
            c.w.setLogOpener([&](const QString& path) { opened << path; });
            ini().LogFile = QStringLiteral("/home/user/My Logs/Zrk Log.txt");
            c.click("sbLog");
            QCOMPARE(opened, QStringList({ini().LogFile}));

            c.w.AddItem("12-34-56", "", 0);
            c.w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&c.w));
            c.w.resize(500, 300);
            c.lv->setColumnWidth(3, 77);
            c.click("sbExit");
            QVERIFY(!c.w.isVisible());
            QCOMPARE(c.line.calls, QStringList({"setCallListShown(false)"}));
            QCOMPARE(c.w.rowCount(), 1);  // hidden, not emptied
        }
        // The next run opens as this one was left, with an empty list.
        RegistryFile::resetUser();
        CallList again;
        QCOMPARE(again.w.size(), QSize(500, 300));
        QCOMPARE(again.lv->columnWidth(3), 77);
        QCOMPARE(again.w.rowCount(), 0);
    }

private:
    std::unique_ptr<zrktest::Sandbox> sandbox_;
};

QTEST_MAIN(CallListTest)
#include "tst_calllist.moc"
