#pragma once
// The program's sounds: a wave file played once in the background (a new one replaces the
// one playing), and the three-tone signal that stands in for the PC speaker.
#include <QString>
#include <QStringList>

#include <memory>

namespace zrk {

class Sound {
public:
    virtual ~Sound() = default;
    // Plays `fileName` once, asynchronously; an empty or missing file plays the desktop's
    // default alert. Without a sound device: silence, no error.
    virtual void play(const QString& fileName) = 0;
    virtual void stop() = 0;
    // 440, 540 and 640 Hz, 100 ms each with 30 ms of silence after each; `times` repeats
    // with 10 ms between. Never blocks the caller.
    virtual void playSpeakerMelody(int times) = 0;
};

// The program's own folder, then the one the package installs the sound module to.
QStringList soundModulePlaces();
// The desktop's sound output. Its code is a module (libzrk-sound.so), loaded from the first of
// `modulePlaces` that has it with the first sound; without it, silence and one line on the
// standard error stream.
std::shared_ptr<Sound> makeDesktopSound(const QStringList& modulePlaces = soundModulePlaces());

}  // namespace zrk
