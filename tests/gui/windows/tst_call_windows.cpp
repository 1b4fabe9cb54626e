// The windows of a call, driven through their named controls against a recording main window:
// the full-screen number, the call alert, the about box and the call list (its rows, the main
// window's counter, call back, delete, clear, log, focus and what closing keeps); and the
// widget-free pieces the windows share: font fitting, status pictures, links and the text
// viewer's command.
#include "FakeLine.h"
#include "TestSupport.h"
#include "core/platform/Registry.h"
#include "core/settings/Settings.h"
#include "gui/calls/CallRow.h"
#include "gui/calls/ListRing.h"
#include "gui/desktop/ColorRef.h"
#include "gui/desktop/DesktopShell.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/CIDAbout.h"
#include "gui/windows/FontFit.h"
#include "gui/windows/StatusIcons.h"
#include "gui/windows/URL.h"
#include "gui/windows/WinAlert.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using namespace zrk;
using zrktest::FakeLine;

namespace {

QLabel* label(QWidget& w, const char* name) {
    auto* p = w.findChild<QLabel*>(QString::fromLatin1(name));
    if (!p) qFatal("no control %s", name);
    return p;
}
int points(QWidget& w, const char* name) {
    return label(w, name)->font().pointSize();
}
QColor color(QWidget& w, const char* name, QPalette::ColorRole role = QPalette::WindowText) {
    return label(w, name)->palette().color(role);
}
void showAndWait(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}


QFont sized(int points) {
    QFont f(QStringLiteral("Sans"));
    f.setPointSize(points);
    return f;
}

bool reaches(const QFont& f, const QString& text, const QSize& area) {
    const QFontMetrics fm(f);
    return fm.horizontalAdvance(text) >= area.width() || fm.height() >= area.height();
}


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

class CallWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        sandbox_ = std::make_unique<zrktest::Sandbox>();
        RegistryFile::resetUser();
        ini() = TIni::defaults();
    }
    void cleanup() { sandbox_.reset(); }

    void fullScreenShowsNumberAndInfoInSettingsColours() {
        FakeLine line;
        TAllScreen w(line);
        w.InitForm(QStringLiteral("34-56-78"), QStringLiteral("Иванов"));
        QCOMPARE(label(w, "pNumber")->text(), QStringLiteral("34-56-78"));
        QCOMPARE(label(w, "pInfo")->text(), QStringLiteral("Иванов"));
        QCOMPARE(color(w, "pNumber", QPalette::Window), QColor(Qt::black));
        QCOMPARE(color(w, "pNumber"), QColor(0, 255, 0));
        QCOMPARE(color(w, "pInfo", QPalette::Window), QColor(Qt::black));
        QCOMPARE(color(w, "pInfo"), QColor(0, 255, 255));
        QCOMPARE(label(w, "pInfo")->geometry(), QRect(0, w.height() - TAllScreen::kInfoHeight,
                                                      w.width(), TAllScreen::kInfoHeight));
        // Colours are stored red in the low byte.
        ini().NumberColor = 0x000000FF;
        ini().InfoColor = 0x00FF0000;
        w.InitForm("1", "2");
        QCOMPARE(color(w, "pNumber"), QColor(Qt::red));
        QCOMPARE(color(w, "pInfo"), QColor(Qt::blue));
    }

    void fullScreenFontSizes() {
        FakeLine line;
        TAllScreen w(line);
        w.InitForm(QStringLiteral("34-56-78"), QStringLiteral("Иванов Иван Иванович, бухгалтерия"));
        QVERIFY(points(w, "pNumber") > ini().NumberSize);
        QCOMPARE((points(w, "pNumber") - ini().NumberSize) % 5, 0);
        // The long information text stops at the panel's width; its height stays inside.
        const QLabel* pInfo = label(w, "pInfo");
        QCOMPARE((points(w, "pInfo") - ini().InfoSize) % 5, 0);
        QVERIFY(QFontMetrics(pInfo->font()).horizontalAdvance(pInfo->text()) >= pInfo->width());
        QVERIFY(QFontMetrics(pInfo->font()).height() < pInfo->height());
        // Reused for a call without number or name: back to the sizes of the settings.
        w.InitForm(QString(), QString());
        QCOMPARE(points(w, "pNumber"), ini().NumberSize);
        QCOMPARE(points(w, "pInfo"), ini().InfoSize);
        // A size already too large for the text stays as set.
        ini().InfoSize = 150;
        w.InitForm("1", QStringLiteral("Сидоров Сидор Сидорович"));
        QCOMPARE(points(w, "pInfo"), 150);
    }

    void fullScreenEnterOrEscAnswersDoubleClickOnlyCloses() {
        FakeLine line;
        TAllScreen w(line);
        w.InitForm("12-34-56", QStringLiteral("Иванов"));
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            showAndWait(w);
            line.calls.clear();
            QTest::keyClick(&w, key);
            QCOMPARE(line.calls, QStringList({"sbAnswerClick"}));
            QVERIFY(!w.isVisible());
        }
        line.calls.clear();
        for (const char* name : {"pNumber", "pInfo"}) {
            showAndWait(w);
            QTest::mouseDClick(label(w, name), Qt::LeftButton);
            QVERIFY2(!w.isVisible(), name);
        }
        QVERIFY(line.calls.isEmpty());
    }

    // A command that fails (the port is gone) is handed to the main window's error handler,
    // never thrown out of a button or a key into the toolkit.
    void failingAnswerIsReportedNotThrown() {
        FakeLine line;
        line.failing = true;
        const QStringList reported{"sbAnswerClick", "error: Ошибка записи"};
        TWinAlert alert(line);
        showAndWait(alert);
        QTest::mouseClick(alert.findChild<QPushButton*>("bExit"), Qt::LeftButton);
        QCOMPARE(line.calls, reported);
        QVERIFY(alert.isVisible());  // not answered: the caller stays on view

        line.calls.clear();
        TAllScreen screen(line);
        screen.InitForm("12-34-56", "");
        showAndWait(screen);
        QTest::keyClick(&screen, Qt::Key_Escape);
        QCOMPARE(line.calls, reported);
        QVERIFY(!screen.isVisible());  // it would cover the error
    }

    void alertShowsCallerAndStatusPicture() {
        FakeLine line;
        TWinAlert alert(line);
        alert.InitForm(QStringLiteral("Иванов И.И."), "34-56-78", QStringLiteral("Работа"), 2);
        QCOMPARE(label(alert, "stFIO")->text(), QStringLiteral("Иванов И.И."));
        QCOMPARE(label(alert, "stNumber")->text(), QStringLiteral("34-56-78"));
        QCOMPARE(label(alert, "stGroup")->text(), QStringLiteral("Работа"));
        QLabel* img = label(alert, "imgStatus");
        for (int status = 0; status < kStatusImageCount; ++status) {
            alert.InitForm("a", "1", "g", status);
            QCOMPARE(img->pixmap().toImage(), statusPixmap(status, 32).toImage());
        }
        // A status outside the list clears the previous caller's picture.
        alert.InitForm("a", "1", "g", 3);
        QVERIFY(img->pixmap().isNull());
    }

    void alertButtonsAndKeys_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("answer button") << "bExit" << QStringList{"sbAnswerClick"};
        QTest::newRow("ignore button") << "Button1" << QStringList{"setRingActive(false)"};
        QTest::newRow("Enter answers") << "Enter" << QStringList{"sbAnswerClick"};
        QTest::newRow("Esc ignores") << "Esc" << QStringList{"setRingActive(false)"};
        // Closed by the main window (or its close box): no call back into it.
        QTest::newRow("plain close") << "close" << QStringList{};
    }
    void alertButtonsAndKeys() {
        QFETCH(QString, action);
        FakeLine line;
        TWinAlert alert(line);
        alert.InitForm("a", "1", "g", 0);
        showAndWait(alert);
        if (action == "Enter")
            QTest::keyClick(&alert, Qt::Key_Return);
        else if (action == "Esc")
            QTest::keyClick(&alert, Qt::Key_Escape);
        else if (action == "close")
            alert.close();
        else
            QTest::mouseClick(alert.findChild<QPushButton*>(action), Qt::LeftButton);
        QTEST(line.calls, "expected");
        QVERIFY(!alert.isVisible());
    }

    void aboutBoxOpensTheLinkAndCloses() {
        QStringList opened;
        TCIDAbout about(nullptr, [&](const QString& a) {
            opened << a;
            return false;  // a desktop that cannot open it: nothing is shown
        });
        showAndWait(about);
        QTest::mouseClick(label(about, "stUrl"), Qt::LeftButton);
        QCOMPARE(opened, QStringList({QStringLiteral("http://") + kHomePage}));
        QVERIFY(about.isVisible());
        QTest::mouseClick(about.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void growStopsAtFirstSizeThatReachesThePanel_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("area");
        QTest::newRow("width decides") << "12-34-56" << QSize(800, 511);
        QTest::newRow("height decides") << "7" << QSize(600, 60);
    }
    void growStopsAtFirstSizeThatReachesThePanel() {
        QFETCH(QString, text);
        QFETCH(QSize, area);
        const QFont f = growFontToFit(sized(8), text, area);
        QVERIFY(f.pointSize() > 8);
        QCOMPARE((f.pointSize() - 8) % 5, 0);
        QVERIFY(reaches(f, text, area));
        QVERIFY(!reaches(sized(f.pointSize() - 5), text, area));  // the first such size
    }

    void growNeverShrinksAndAlwaysEnds() {
        QCOMPARE(growFontToFit(sized(25), QString(), QSize(800, 600)).pointSize(), 25);
        QCOMPARE(growFontToFit(sized(40), "1234567890", QSize(50, 20)).pointSize(), 40);
        QCOMPARE(growFontToFit(sized(8), "1", QSize(0, 0)).pointSize(), 8);
        // Zero-width characters never widen: only the height can end the growth.
        const QFont f = growFontToFit(sized(8), QString(3, QChar(0x200B)), QSize(100000, 300));
        QVERIFY(f.pointSize() > 8 && f.pointSize() <= 2000);
    }

    void shrinkToWidth() {
        const int size = shrinkFontToWidth(sized(25), "123-45-67", 100).pointSize();
        QVERIFY(QFontMetrics(sized(size)).horizontalAdvance("123-45-67") <= 100);
        QVERIFY(QFontMetrics(sized(size + 1)).horizontalAdvance("123-45-67") > 100);
        QCOMPARE(shrinkFontToWidth(sized(25), "123", 0).pointSize(), 1);
    }

    void storedColoursHoldRedInTheLowByte() {
        QCOMPARE(fromColorRef(0x00563412), QColor(0x12, 0x34, 0x56));
        QCOMPARE(toColorRef(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    }

    void statusPictures() {
        QList<QImage> images;
        for (int status = 0; status < kStatusImageCount; ++status)
            images << statusPixmap(status, 16).toImage();
        QVERIFY(images[0] != images[1] && images[1] != images[2] && images[0] != images[2]);
        QVERIFY(!images[0].allGray());  // drawn in colour, not blank
        QVERIFY(statusPixmap(-1, 32).isNull() && statusPixmap(3, 32).isNull());
    }

    void urlOpening() {
        QStringList seen;
        bool answer = true;
        TURL url([&](const QString& a) {
            seen << a;
            return answer;
        });
        QVERIFY(!url.OpenURL());  // empty: the shell is not asked
        QVERIFY(seen.isEmpty());
        url.URL = QStringLiteral("host/x");
        QVERIFY(url.OpenURL());
        url.URLType = utMailto;
        answer = false;  // a shell that fails is reported as a failure
        QVERIFY(!url.OpenURL());
        QCOMPARE(seen, QStringList({"http://host/x", "mailto:host/x"}));
    }

    void textViewerGetsThePathAsOneSafeArgument() {
        const Launch spaced = textViewerLaunch(QStringLiteral("/var/log/my calls/Zrk Log.txt"));
        QCOMPARE(spaced.program, QStringLiteral("xdg-open"));
        QCOMPARE(spaced.arguments, QStringList({"/var/log/my calls/Zrk Log.txt"}));
        // Relative names become absolute: a leading '-' can never pass for an option.
        const Launch dashed = textViewerLaunch(QStringLiteral("-rf log.txt"));
        QCOMPARE(dashed.arguments.size(), 1);
        QVERIFY(dashed.arguments[0].startsWith('/'));
        QVERIFY(dashed.arguments[0].endsWith(QStringLiteral("/-rf log.txt")));
    }


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

QTEST_MAIN(CallWindowsTest)
#include "tst_call_windows.moc"
