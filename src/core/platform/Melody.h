#pragma once
// The three-tone ring signal that stands in for the PC speaker, as samples.
#include <QByteArray>

namespace zrk {

struct MelodyTone {
    int frequency;  // Hz; 0 is silence
    int millis;
};

// 440, 540 and 640 Hz for 100 ms each, each followed by 30 ms of silence.
inline constexpr MelodyTone kSpeakerMelody[] = {{440, 100}, {0, 30}, {540, 100}, {0, 30},
                                                {640, 100}, {0, 30}};
inline constexpr int kMelodyGapMillis = 10;  // between two plays of the melody

// Signed 16-bit mono samples at `sampleRate` of the melody played `times` times, square
// waves at a moderate volume.
QByteArray speakerMelodySamples(int sampleRate, int times);

}  // namespace zrk
