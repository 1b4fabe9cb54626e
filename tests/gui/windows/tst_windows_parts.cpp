// The widget-free pieces the windows share: font fitting, status pictures, links and the
// text viewer's command.
#include "gui/desktop/ColorRef.h"
#include "gui/desktop/DesktopShell.h"
#include "gui/windows/FontFit.h"
#include "gui/windows/StatusIcons.h"
#include "gui/windows/URL.h"

#include <QFontMetrics>
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
};

QTEST_MAIN(WindowPartsTest)
#include "tst_windows_parts.moc"
