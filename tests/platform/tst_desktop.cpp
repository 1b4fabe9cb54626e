#include "platform/DesktopPlatform.h"
#include "platform/ShortFileName.h"

#include "TestSupport.h"

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
};

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
