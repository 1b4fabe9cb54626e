// The full-screen number, the call alert and the about box, driven through their named
// controls against a recording main window.
#include "FakeLine.h"
#include "core/settings/Settings.h"
#include "gui/windows/AllScreen.h"
#include "gui/windows/CIDAbout.h"
#include "gui/windows/StatusIcons.h"
#include "gui/windows/WinAlert.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

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

}  // namespace

class CallWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // These windows read the settings record but never the store.
    void init() { ini() = TIni::defaults(); }

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
        QFETCH(QStringList, expected);
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
        QCOMPARE(line.calls, expected);
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
};

QTEST_MAIN(CallWindowsTest)
#include "tst_call_windows.moc"
