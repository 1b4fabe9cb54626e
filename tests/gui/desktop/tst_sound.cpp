// The sound's code, and Qt Multimedia with the sound libraries under it, come with the first
// sound: a start that plays nothing does not pay for loading them.
#include "gui/desktop/Sound.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

using namespace zrk;

namespace {

bool mapped(const char* library) {
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

}  // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void withoutTheModuleEverySoundIsSilence() {
        auto sound = makeDesktopSound({"/nonexistent"});
        sound->play("");
        sound->playSpeakerMelody(2);
        sound->stop();
        QVERIFY(!mapped("libQt6Multimedia"));
    }

    void soundLibrariesComeWithTheFirstSound() {
        QVERIFY(!mapped("libQt6Multimedia"));
        auto sound = makeDesktopSound({"/nonexistent", ZRK_SOUND_BUILD_DIR});
        sound->stop();  // nothing played: nothing to load
        QVERIFY(!mapped("libzrk-sound") && !mapped("libQt6Multimedia"));
        sound->play("no-such-file.wav");  // the desktop's alert, or silence without a device
        QVERIFY(mapped("libzrk-sound") && mapped("libQt6Multimedia"));
        sound->playSpeakerMelody(1);
        sound->stop();
    }
};

QTEST_MAIN(TestSound)
#include "tst_sound.moc"
