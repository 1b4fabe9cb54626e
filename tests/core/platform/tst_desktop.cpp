#include "core/platform/DesktopPlatform.h"
#include "core/platform/ShortFileName.h"

#include "TestSupport.h"

#include <QProcess>

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void shortensOnlyTheFileInTheWorkingDirectory() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.filePath("ring.wav"), "here"));
        QVERIFY(zrktest::writeAll(box.filePath("media/ring.wav"), "elsewhere"));
        QVERIFY(zrktest::writeAll(box.filePath("media/only.wav"), "x"));
        QVERIFY(QFile::link(box.filePath("ring.wav"), box.filePath("media/link.wav")));
        const QString media = box.filePath("media/");
        struct Case {
            QString chosen, stored;
        } cases[] = {
            {box.filePath("ring.wav"), "ring.wav"},
            {box.filePath("media/../ring.wav"), "ring.wav"},
            // Same name, another file: the full path, or the other file would play.
            {media + "ring.wav", media + "ring.wav"},
            {media + "only.wav", media + "only.wav"},
            // A link to the file here is not named like it: no bare name can stand for it.
            {media + "link.wav", media + "link.wav"},
            {box.filePath("gone.wav"), box.filePath("gone.wav")},
            {QString(), QString()},
        };
        for (const Case& c : cases) QCOMPARE(zrk::ShortFileName(c.chosen), c.stored);
    }

    // X11 wherever an X server is reachable, unless the user chose a platform.
    void platformChoice() {
        const struct {
            const char *qpa, *display, *wayland, *chosen;
        } cases[] = {
            {"", ":0", "wayland-0", "xcb;wayland"},  // Wayland session with XWayland
            {"", ":0", "", "xcb;wayland"},           // plain X11
            {"", "", "wayland-0", ""},               // no X server: Wayland it is
            {"", "", "", ""},
            {"wayland", ":0", "wayland-0", ""},      // the user's choice stands
            {"offscreen", ":0", "", ""},
        };
        for (const auto& c : cases) {
            const auto env = [&c](const char* name) -> QByteArray {
                if (!qstrcmp(name, "QT_QPA_PLATFORM")) return c.qpa;
                if (!qstrcmp(name, "DISPLAY")) return c.display;
                if (!qstrcmp(name, "WAYLAND_DISPLAY")) return c.wayland;
                return {};
            };
            QCOMPARE(zrk::preferredQtPlatform(env), QByteArray(c.chosen));
        }
    }

    // The choice is the program's own: a program it starts (the browser behind a link, the
    // text viewer) sees QT_QPA_PLATFORM as the user left it, not "xcb;wayland".
    void startedProgramsGetTheUsersEnvironment_data() {
        QTest::addColumn<QByteArray>("given");  // null: not set at all
        QTest::addColumn<QByteArray>("seen");
        QTest::newRow("not set") << QByteArray() << QByteArray("unset");
        QTest::newRow("set, empty") << QByteArray("") << QByteArray("set:");
        QTest::newRow("the user's choice")
            << QByteArray("offscreen") << QByteArray("set:offscreen");
    }
    void startedProgramsGetTheUsersEnvironment() {
        QFETCH(QByteArray, given);
        const QByteArray oldQpa = qgetenv("QT_QPA_PLATFORM"), oldDisplay = qgetenv("DISPLAY");
        const bool hadQpa = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
        const bool hadDisplay = qEnvironmentVariableIsSet("DISPLAY");
        if (given.isNull())
            qunsetenv("QT_QPA_PLATFORM");
        else
            qputenv("QT_QPA_PLATFORM", given);
        qputenv("DISPLAY", ":0");
        zrk::choosePreferredQtPlatform();
        const QByteArray during = qgetenv("QT_QPA_PLATFORM");
        zrk::forgetPreferredQtPlatform();  // as the program does once its application exists
        QProcess child;
        child.start("sh", {"-c",
                           "if [ -n \"${QT_QPA_PLATFORM+x}\" ]; then printf 'set:%s' "
                           "\"$QT_QPA_PLATFORM\"; else printf unset; fi"});
        QVERIFY(child.waitForFinished(5000));
        const QByteArray out = child.readAllStandardOutput();
        hadQpa ? qputenv("QT_QPA_PLATFORM", oldQpa) : qunsetenv("QT_QPA_PLATFORM");
        hadDisplay ? qputenv("DISPLAY", oldDisplay) : qunsetenv("DISPLAY");
        QCOMPARE(during, given.isEmpty() ? QByteArray("xcb;wayland") : given);
        QTEST(out, "seen");
    }
};

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
