#include "core/platform/Melody.h"

#include <QtEndian>
#include <QtTest>

class TestMelody : public QObject {
    Q_OBJECT
private slots:
    void tonesAndSilences() {
        constexpr int rate = 22050;
        const QByteArray pcm = zrk::speakerMelodySamples(rate, 2);
        const qint64 n = pcm.size() / 2;
        const auto at = [&](qint64 i) {
            return qFromLittleEndian<qint16>(pcm.constData() + 2 * i);
        };
        const int freqs[3] = {440, 540, 640};
        // Twice: three 100 ms tones, each followed by 30 ms of silence, 10 ms more between plays.
        qint64 i = 0;
        for (int k = 0; k < 6; ++k) {
            const qint64 start = i;
            int crossings = 0;
            for (++i; i < n && at(i) != 0; ++i) crossings += (at(i) > 0) != (at(i - 1) > 0);
            QVERIFY2(qAbs(i - start - rate / 10) <= 2, qPrintable(QString::number(i - start)));
            const double hz = (crossings + 1) / 2.0 / 0.1;  // two sign changes per period
            QVERIFY2(qAbs(hz - freqs[k % 3]) <= 10, qPrintable(QString::number(hz)));
            const qint64 silence = i;
            while (i < n && at(i) == 0) ++i;
            const qint64 want = rate * (k == 2 ? 40 : 30) / 1000;
            QVERIFY2(qAbs(i - silence - want) <= 2, qPrintable(QString::number(i - silence)));
        }
        QCOMPARE(i, n);
    }
};

QTEST_GUILESS_MAIN(TestMelody)
#include "tst_melody.moc"
