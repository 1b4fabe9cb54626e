#include "platform/Melody.h"

#include <QtEndian>
#include <QtTest>

using namespace zrk;

namespace {

struct Run {
    bool tone;      // a sounding run, or silence
    qint64 start;   // sample index
    qint64 length;  // samples
    int crossings;  // sign changes inside the run
};

// Splits the samples into sounding runs and silences.
QList<Run> runs(const QByteArray& pcm) {
    QList<Run> out;
    const qint64 n = pcm.size() / 2;
    const auto at = [&](qint64 i) { return qFromLittleEndian<qint16>(pcm.constData() + 2 * i); };
    for (qint64 i = 0; i < n;) {
        const bool tone = at(i) != 0;
        Run r{tone, i, 0, 0};
        qint64 j = i;
        while (j < n && (at(j) != 0) == tone) {
            if (j > i && tone && (at(j) > 0) != (at(j - 1) > 0)) ++r.crossings;
            ++j;
        }
        r.length = j - i;
        out.append(r);
        i = j;
    }
    return out;
}

}  // namespace

class TestMelody : public QObject {
    Q_OBJECT
private slots:
    void tonesAndSilences() {
        constexpr int rate = 22050;
        const QList<Run> r = runs(speakerMelodySamples(rate, 2));
        // tone, 30 ms, tone, 30 ms, tone, 30 ms + 10 ms + (the second play) ..., 30 ms
        QCOMPARE(r.size(), 12);
        const int freqs[3] = {440, 540, 640};
        for (int play = 0; play < 2; ++play) {
            for (int t = 0; t < 3; ++t) {
                const Run& tone = r[play * 6 + t * 2];
                QVERIFY(tone.tone);
                QVERIFY(qAbs(tone.length - rate / 10) <= 2);  // 100 ms
                // Two sign changes per period, over 100 ms.
                const double measured = (tone.crossings + 1) / 2.0 / 0.1;
                QVERIFY2(qAbs(measured - freqs[t]) <= 10, qPrintable(QString::number(measured)));
                const Run& gap = r[play * 6 + t * 2 + 1];
                QVERIFY(!gap.tone);
                const qint64 want = (play == 0 && t == 2) ? rate * 40 / 1000 : rate * 30 / 1000;
                QVERIFY2(qAbs(gap.length - want) <= 2, qPrintable(QString::number(gap.length)));
            }
        }
        QCOMPARE(speakerMelodySamples(rate, 1).size(), qint64(3 * (rate / 10) + 3 * (rate * 30 / 1000)) * 2);
    }
};

QTEST_GUILESS_MAIN(TestMelody)
#include "tst_melody.moc"
