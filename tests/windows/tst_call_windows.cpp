// The full-screen number, the call alert and the about box, driven through their named
// controls against a recording main window.
#include "FakeLine.h"
#include "TestSupport.h"
#include "platform/Registry.h"
#include "platform/Values.h"
#include "settings/Settings.h"
#include "windows/AllScreen.h"
#include "windows/CIDAbout.h"
#include "windows/StatusIcons.h"
#include "windows/WinAlert.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace zrk;
using zrktest::FakeLine;

namespace {

QLabel* panel(QWidget& w, const char* name) {
    auto* p = w.findChild<QLabel*>(QString::fromLatin1(name));
    if (!p) qFatal("no control %s", name);
    return p;
}

bool textReaches(const QLabel* p) {
    const QFontMetrics fm(p->font());
    return fm.horizontalAdvance(p->text()) >= p->width() || fm.height() >= p->height();
}

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

    // --- full-screen number ---

    void fullScreenLooksLikeTheCallerDisplay() {
        FakeLine line;
        TAllScreen w(line);
        w.InitForm(QStringLiteral("34-56-78"), QStringLiteral("Иванов"));
        QLabel* pNumber = panel(w, "pNumber");
        QLabel* pInfo = panel(w, "pInfo");
        QCOMPARE(pNumber->text(), QStringLiteral("34-56-78"));
        QCOMPARE(pInfo->text(), QStringLiteral("Иванов"));
        QCOMPARE(pNumber->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(pNumber->palette().color(QPalette::WindowText), QColor(0, 255, 0));
        QCOMPARE(pInfo->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(pInfo->palette().color(QPalette::WindowText), QColor(0, 255, 255));
        QCOMPARE(pNumber->font().family(), ini().NumberFont);
        QCOMPARE(pInfo->font().family(), ini().InfoFont);
        // The number fills the screen above the information strip.
        QCOMPARE(pInfo->height(), TAllScreen::kInfoHeight);
        QCOMPARE(pInfo->geometry().bottom(), w.height() - 1);
        QCOMPARE(pNumber->height(), w.height() - TAllScreen::kInfoHeight);
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(w.windowState() & Qt::WindowFullScreen);
    }

    void fullScreenGrowsFontsInStepsOfFive() {
        FakeLine line;
        TAllScreen w(line);
        ini().NumberSize = 25;
        ini().InfoSize = 8;
        w.InitForm(QStringLiteral("34-56-78"), QStringLiteral("Иванов Иван Иванович, бухгалтерия"));
        QLabel* pNumber = panel(w, "pNumber");
        QLabel* pInfo = panel(w, "pInfo");
        QVERIFY(pNumber->font().pointSize() > 25);
        QCOMPARE((pNumber->font().pointSize() - 25) % 5, 0);
        QVERIFY(textReaches(pNumber));
        // The long information text stops at the panel's width; its height stays inside.
        QVERIFY(pInfo->font().pointSize() > 8);
        QCOMPARE((pInfo->font().pointSize() - 8) % 5, 0);
        QVERIFY(QFontMetrics(pInfo->font()).horizontalAdvance(pInfo->text()) >= pInfo->width());
        QVERIFY(QFontMetrics(pInfo->font()).height() < pInfo->height());
    }

    void fullScreenKeepsSettingSizesWhenNothingToGrow() {
        FakeLine line;
        TAllScreen w(line);
        // A first call grows the fonts; the window is reused for the next one.
        w.InitForm(QStringLiteral("12-34-56"), QStringLiteral("Петров"));
        QVERIFY(panel(w, "pNumber")->font().pointSize() > ini().NumberSize);
        // An empty number and an empty name keep the sizes of the settings.
        w.InitForm(QString(), QString());
        QCOMPARE(panel(w, "pNumber")->font().pointSize(), ini().NumberSize);
        QCOMPARE(panel(w, "pInfo")->font().pointSize(), ini().InfoSize);
        // An information size already too large for the text stays as set.
        ini().InfoSize = 150;
        w.InitForm(QStringLiteral("1"), QStringLiteral("Сидоров Сидор Сидорович"));
        QCOMPARE(panel(w, "pInfo")->font().pointSize(), 150);
    }

    void fullScreenFollowsColourSettingsAndBlink() {
        FakeLine line;
        TAllScreen w(line);
        ini().BackgroundColor = 0x00FFFFFF;  // 0x00BBGGRR
        ini().NumberColor = 0x000000FF;
        ini().InfoColor = 0x00FF0000;
        w.InitForm(QStringLiteral("1"), QStringLiteral("2"));
        QCOMPARE(panel(w, "pNumber")->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(panel(w, "pNumber")->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(panel(w, "pInfo")->palette().color(QPalette::WindowText), QColor(Qt::blue));
        w.setNumberColor(fromColorRef(ini().BackgroundColor));
        QCOMPARE(panel(w, "pNumber")->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(panel(w, "pNumber")->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void fullScreenEnterOrEscAnswersThenCloses_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void fullScreenEnterOrEscAnswersThenCloses() {
        QFETCH(int, key);
        FakeLine line;
        TAllScreen w(line);
        w.InitForm(QStringLiteral("12-34-56"), QString());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(&w, Qt::Key(key));
        QCOMPARE(line.calls, QStringList({"sbAnswerClick"}));
        QVERIFY(!w.isVisible());
    }

    void fullScreenOtherKeysAndDoubleClickDoNotAnswer() {
        FakeLine line;
        TAllScreen w(line);
        w.InitForm(QStringLiteral("12-34-56"), QStringLiteral("Иванов"));
        for (const char* name : {"pNumber", "pInfo"}) {
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QTest::keyClick(&w, Qt::Key_5);
            QTest::keyClick(&w, Qt::Key_Space);
            QVERIFY(w.isVisible());
            QTest::mouseDClick(panel(w, name), Qt::LeftButton);
            QVERIFY2(!w.isVisible(), name);
        }
        QVERIFY(line.calls.isEmpty());
    }

    // --- call alert ---

    void alertShowsWhoIsCalling() {
        FakeLine line;
        TWinAlert alert(line);
        QCOMPARE(alert.windowTitle(), QStringLiteral("Сообщение о звонке"));
        QVERIFY(alert.windowFlags() & Qt::WindowStaysOnTopHint);
        alert.InitForm(QStringLiteral("Иванов И.И."), QStringLiteral("34-56-78"),
                       QStringLiteral("Работа"), 2);
        QCOMPARE(panel(alert, "stFIO")->text(), QStringLiteral("Иванов И.И."));
        QCOMPARE(panel(alert, "stNumber")->text(), QStringLiteral("34-56-78"));
        QCOMPARE(panel(alert, "stGroup")->text(), QStringLiteral("Работа"));
        auto* bExit = alert.findChild<QPushButton*>("bExit");
        auto* Button1 = alert.findChild<QPushButton*>("Button1");
        QVERIFY(bExit && Button1);
        QCOMPARE(bExit->text(), QStringLiteral("Ответить"));
        QCOMPARE(Button1->text(), QStringLiteral("Игнорировать"));
        QVERIFY(bExit->isDefault());
        QVERIFY(alert.width() >= 241 && alert.height() >= 96);
    }

    void alertPictureFollowsStatus() {
        FakeLine line;
        TWinAlert alert(line);
        QLabel* img = panel(alert, "imgStatus");
        for (int status = 0; status < kStatusImageCount; ++status) {
            alert.InitForm("a", "1", "g", status);
            QCOMPARE(img->pixmap().toImage(), statusPixmap(status, 32).toImage());
        }
        // Bad status shows the second picture, not the first.
        alert.InitForm("a", "1", "g", 1);
        QVERIFY(img->pixmap().toImage() != statusPixmap(0, 32).toImage());
        // A status outside the list clears the previous caller's picture.
        alert.InitForm("a", "1", "g", 3);
        QVERIFY(img->pixmap().isNull());
        alert.InitForm("a", "1", "g", 2);
        alert.InitForm("a", "1", "g", -1);
        QVERIFY(img->pixmap().isNull());
    }

    void alertButtonsAndKeys_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("ringActive");
        QTest::newRow("answer button") << "bExit" << QStringList{"sbAnswerClick"} << true;
        QTest::newRow("ignore button") << "Button1" << QStringList{"setRingActive(false)"} << false;
        QTest::newRow("Enter answers") << "Enter" << QStringList{"sbAnswerClick"} << true;
        QTest::newRow("Esc ignores") << "Esc" << QStringList{"setRingActive(false)"} << false;
        // Closed by the main window (or its close box): no call back into it.
        QTest::newRow("plain close") << "close" << QStringList{} << true;
    }
    void alertButtonsAndKeys() {
        QFETCH(QString, action);
        QFETCH(QStringList, expected);
        QFETCH(bool, ringActive);
        FakeLine line;
        TWinAlert alert(line);
        alert.InitForm("a", "1", "g", 0);
        alert.show();
        QVERIFY(QTest::qWaitForWindowExposed(&alert));
        if (action == "Enter")
            QTest::keyClick(&alert, Qt::Key_Return);
        else if (action == "Esc")
            QTest::keyClick(&alert, Qt::Key_Escape);
        else if (action == "close")
            alert.close();
        else
            QTest::mouseClick(alert.findChild<QPushButton*>(action), Qt::LeftButton);
        QCOMPARE(line.calls, expected);
        QCOMPARE(line.ringActive, ringActive);
        QVERIFY(!alert.isVisible());
    }

    // --- about box ---

    void aboutBoxShowsProductAndOpensTheLink() {
        QStringList opened;
        TCIDAbout about(nullptr, [&](const QString& a) {
            opened << a;
            return false;  // a desktop that cannot open it: nothing is shown
        });
        QCOMPARE(about.windowTitle(), QStringLiteral("О программе"));
        QVERIFY(about.width() >= 219 && about.height() >= 135);
        const auto labels = about.findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](const QLabel* l) {
            return l->text() == QStringLiteral("Zrk Professional v2.01b");
        }));
        QLabel* stUrl = panel(about, "stUrl");
        QVERIFY(stUrl->font().underline());
        QCOMPARE(stUrl->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QVERIFY(about.urlAbout().URL.isEmpty());

        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(stUrl, Qt::LeftButton);
        QCOMPARE(opened, QStringList({QStringLiteral("http://") + kHomePage}));
        QCOMPARE(about.urlAbout().URL, QString::fromLatin1(kHomePage));
        QVERIFY(about.isVisible());

        auto* ok = about.findChild<QPushButton*>("Button1");
        QVERIFY(ok && ok->isDefault());
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

private:
    std::unique_ptr<zrktest::Sandbox> sandbox_;
};

QTEST_MAIN(CallWindowsTest)
#include "tst_call_windows.moc"
