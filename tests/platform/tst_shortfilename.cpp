#include "platform/ShortFileName.h"

#include "TestSupport.h"

class TestShortFileName : public QObject {
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
};

QTEST_GUILESS_MAIN(TestShortFileName)
#include "tst_shortfilename.moc"
