#include "core/platform/Melody.h"

#include <QtEndian>

namespace zrk {
namespace {

void append(QByteArray& out, qint16 v) {
    char b[2];
    qToLittleEndian<qint16>(v, b);
    out.append(b, 2);
}

void silence(QByteArray& out, qint64 samples) {
    out.append(QByteArray(samples * 2, '\0'));
}

}  // namespace

QByteArray speakerMelodySamples(int sampleRate, int times) {
    constexpr qint16 kLevel = 6000;  // a square wave is loud: keep it well below full scale
    QByteArray out;
    for (int t = 0; t < times; ++t) {
        if (t > 0) silence(out, qint64(sampleRate) * kMelodyGapMillis / 1000);
        for (const MelodyTone& tone : kSpeakerMelody) {
            const qint64 n = qint64(sampleRate) * tone.millis / 1000;
            if (tone.frequency == 0) {
                silence(out, n);
                continue;
            }
            // The sign follows the phase of the tone: high for the first half of each period.
            for (qint64 i = 0; i < n; ++i) {
                const qint64 phase = (i * tone.frequency * 2 / sampleRate) % 2;
                append(out, phase == 0 ? kLevel : qint16(-kLevel));
            }
        }
    }
    return out;
}

}  // namespace zrk
