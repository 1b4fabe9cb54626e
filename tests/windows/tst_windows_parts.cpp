// The widget-free pieces the windows share: font fitting, status pictures, links and the
// text viewer's command.
#include "platform/DesktopShell.h"
#include "windows/FontFit.h"
#include "windows/StatusIcons.h"
#include "windows/URL.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QtTest>

using namespace zrk;

namespace {

QFont sized(int points) {
    QFont f(QStringLiteral("Sans"));
    f.setPointSize(points);
    return f;
}

bool reaches(const QFont& f, const QString& text, const QSize& area) {
    const QFontMetrics fm(f);
    return fm.horizontalAdvance(text) >= area.width() || fm.height() >= area.height();
}

}  // namespace

class WindowPartsTest : public QObject {
    Q_OBJECT
private slots:
    void growStopsAtFirstSizeThatReachesThePanel_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("area");
        QTest::newRow("number on a wide panel") << "12-34-56" << QSize(800, 511);
        QTest::newRow("long text, short wide panel") << QString(60, QChar('W')) << QSize(800, 89);
        QTest::newRow("one digit, tall narrow panel") << "7" << QSize(60, 600);
    }
    void growStopsAtFirstSizeThatReachesThePanel() {
        QFETCH(QString, text);
        QFETCH(QSize, area);
        const QFont start = sized(8);
        const QFont f = growFontToFit(start, text, area);
        QVERIFY(reaches(f, text, area));
        QCOMPARE((f.pointSize() - 8) % 5, 0);
        QVERIFY(f.pointSize() > 8);
        // One step less did not reach it yet: the growth stopped at the first size.
        QVERIFY(!reaches(sized(f.pointSize() - 5), text, area));
        QCOMPARE(f.family(), start.family());
    }

    void growLongTextIsBoundByWidthNotHeight() {
        const QString text =
            QStringLiteral("Иванов Иван Иванович, ООО «Рога и копыта», бухгалтерия");
        const QSize area(800, 89);
        const QFont f = growFontToFit(sized(8), text, area);
        const QFontMetrics fm(f);
        QVERIFY(fm.horizontalAdvance(text) >= area.width());
        QVERIFY(fm.height() < area.height());
    }

    void growKeepsTheFontWhenNothingToGrow() {
        // Empty text: the size stays, however large the panel.
        QCOMPARE(growFontToFit(sized(25), QString(), QSize(800, 600)).pointSize(), 25);
        // Already too large for the panel: the size stays, it never shrinks.
        QCOMPARE(growFontToFit(sized(40), QStringLiteral("1234567890"), QSize(50, 20)).pointSize(),
                 40);
        // A panel of no size at all is reached at once.
        QCOMPARE(growFontToFit(sized(8), QStringLiteral("1"), QSize(0, 0)).pointSize(), 8);
    }

    void growEndsForTextThatNeverWidens() {
        // Zero-width characters: only the height can end the loop.
        const QFont f = growFontToFit(sized(8), QString(3, QChar(0x200B)), QSize(100000, 300));
        QVERIFY(f.pointSize() > 8);
        QVERIFY(f.pointSize() <= 2000);
    }

    void shrinkToWidth() {
        const QString text = QStringLiteral("123-45-67");
        const QFont f = shrinkFontToWidth(sized(25), text, 100);
        QVERIFY(QFontMetrics(f).horizontalAdvance(text) <= 100);
        QVERIFY(QFontMetrics(sized(f.pointSize() + 1)).horizontalAdvance(text) > 100);
        // A text that fits keeps the size; one that never fits stops at 1.
        QCOMPARE(shrinkFontToWidth(sized(25), QStringLiteral("1"), 500).pointSize(), 25);
        QCOMPARE(shrinkFontToWidth(sized(25), text, 0).pointSize(), 1);
    }

    void statusPicturesAreDistinctInBothSizes() {
        QList<QImage> images;
        for (int status = 0; status < kStatusImageCount; ++status) {
            for (int size : {16, 32}) {
                const QPixmap pm = statusPixmap(status, size);
                QCOMPARE(pm.size(), QSize(size, size));
                QVERIFY(!pm.toImage().allGray());  // drawn in colour, not blank
            }
            images << statusPixmap(status, 32).toImage();
            QVERIFY(!statusIcon(status).isNull());
        }
        QVERIFY(images[0] != images[1]);
        QVERIFY(images[1] != images[2]);
        QVERIFY(images[0] != images[2]);
        // The same status draws the same picture every time (the alert compares them).
        QCOMPARE(statusPixmap(1, 32).toImage(), images[1]);
    }

    void statusOutsideTheListHasNoPicture() {
        QVERIFY(statusPixmap(-1, 32).isNull());
        QVERIFY(statusPixmap(3, 32).isNull());
        QVERIFY(statusPixmap(9, 16).isNull());
        QVERIFY(statusIcon(-1).isNull());
        QVERIFY(!programIcon().isNull());
    }

    void urlEmptyNeverReachesTheShell() {
        int calls = 0;
        TURL url([&](const QString&) {
            ++calls;
            return true;
        });
        QCOMPARE(url.URLType, utHttp);
        QVERIFY(!url.OpenURL());
        QCOMPARE(calls, 0);
    }

    void urlHandsPrefixAndAddressToTheShell_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("expected");
        QTest::newRow("http") << int(utHttp) << "http://host/x";
        QTest::newRow("https") << int(utHttps) << "https://host/x";
        QTest::newRow("mailto") << int(utMailto) << "mailto:host/x";
        QTest::newRow("file") << int(utFile) << "file://host/x";
        QTest::newRow("ftp") << int(utFtp) << "ftp://host/x";
        QTest::newRow("gopher") << int(utGopher) << "gopher://host/x";
        QTest::newRow("news") << int(utNews) << "news:host/x";
        QTest::newRow("telnet") << int(utTelnet) << "telnet:host/x";
        QTest::newRow("wais") << int(utWais) << "wais:host/x";
    }
    void urlHandsPrefixAndAddressToTheShell() {
        QFETCH(int, type);
        QFETCH(QString, expected);
        QStringList seen;
        bool answer = true;
        TURL url([&](const QString& a) {
            seen << a;
            return answer;
        });
        url.URL = QStringLiteral("host/x");
        url.URLType = TURLType(type);
        QVERIFY(url.OpenURL());
        answer = false;  // a shell that fails is reported as a failure
        QVERIFY(!url.OpenURL());
        QCOMPARE(seen, QStringList({expected, expected}));
    }

    void textViewerGetsThePathAsOneSafeArgument() {
        const Launch spaced = textViewerLaunch(QStringLiteral("/var/log/my calls/Zrk Log.txt"));
        QCOMPARE(spaced.program, QStringLiteral("xdg-open"));
        QCOMPARE(spaced.arguments, QStringList({"/var/log/my calls/Zrk Log.txt"}));
        // A relative name is made absolute: a leading '-' can never pass for an option.
        const Launch dashed = textViewerLaunch(QStringLiteral("-rf log.txt"));
        QCOMPARE(dashed.arguments.size(), 1);
        QVERIFY(dashed.arguments[0].startsWith('/'));
        QVERIFY(dashed.arguments[0].endsWith(QStringLiteral("/-rf log.txt")));
    }
};

QTEST_MAIN(WindowPartsTest)
#include "tst_windows_parts.moc"
