// Ring sounds and blinking, answering, dialing and redial.
#include "gui/desktop/ColorRef.h"
#include "MainFixture.h"

#include "gui/main/ClickLabel.h"

#include <QSystemTrayIcon>
#include <QTimer>

using namespace zrk;

namespace {

const QByteArray kSounds =
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Play WAV\"=dword:00000001\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Action]\n\"On Bad\"=dword:00000000\n"
    "\"Sound on Bad\"=\"bad.wav\"\n\"Sound on Prior\"=\"prior.wav\"\n";

void people(BookStore& b) {
    b.AddGroup(group("Музыка", ActionNone, "band.wav"), true);
    b.AddItem(entry("Обычный", "100000", StatusNormal), true);
    b.AddItem(entry("Плохой", "200000", StatusBad), true);
    b.AddItem(entry("Важный", "300000", StatusPriority), true);
    b.AddItem(entry("Гитарист", "400000", StatusBad, 1), true);
}

void feed(MainFixture& f, const QByteArray& bytes) {
    f.desk->processBatch(bytes.constData(), qint32(bytes.size()));
}

QColor zvon(const MainFixture& f) { return f.child<QLabel>("stZvon")->palette().color(QPalette::WindowText); }

}  // namespace

class TestRinging : public QObject {
    Q_OBJECT
private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }

    // The window plays what the desk tells it (which sound is the desk's), and blinks even
    // in silence.
    void playsWhatItIsTold() {
        MainFixture f(kSounds, true, people);
        feed(f, "RING\rCallerID: 999999:1\r");
        QCOMPARE(f.sound->played, QStringList{"ring.wav"});
        f.child<QTimer>("tRing")->stop();
        feed(f, "RING\rCallerID: 100000:1\r");
        QCOMPARE(f.sound->played, QStringList{"ring.wav"});
        QVERIFY(f.child<QTimer>("tRing")->isActive());
    }

    void soundSwitchAndSpeaker() {
        MainFixture f;
        // "Play WAV" off: a report is silent and still; a BEEP gives the speaker signal.
        feed(f, "RING\rCallerID: 1:1\r");
        QVERIFY(!f.child<QTimer>("tRing")->isActive());
        QCOMPARE(f.sound->melodies, 0);
        feed(f, "BEEP\r");
        QCOMPARE(f.sound->melodies, 2);
        QVERIFY(f.child<QTimer>("tRing")->isActive());

        emit f.child<ClickLabel>("stSound")->clicked();  // sound off: blink without sound
        QVERIFY(!ini().Sound);
        f.child<QTimer>("tRing")->stop();
        feed(f, "BEEP\r");
        QCOMPARE(f.sound->melodies, 2);
        QVERIFY(f.child<QTimer>("tRing")->isActive());
    }

    void blinkSequence() {
        MainFixture f;
        feed(f, "RING\rBEEP\r");
        const QColor off = fromColorRef(ini().BackgroundColor);
        const QColor on = fromColorRef(ini().CounterColor);
        QList<bool> lit;
        for (int i = 0; i < 6; ++i) {
            f.tick("tRing");
            lit.append(zvon(f) == on);
        }
        QCOMPARE(lit, (QList<bool>{true, false, true, false, true, false}));
        QVERIFY(f.child<QTimer>("tRing")->isActive());
        f.tick("tRing");  // the seventh tick ends steady
        QVERIFY(!f.child<QTimer>("tRing")->isActive());
        QCOMPARE(zvon(f), off);

        // A new beep restarts the count; the phase goes on from where it was.
        feed(f, "BEEP\r");
        for (int i = 0; i < 6; ++i) f.tick("tRing");
        QVERIFY(f.child<QTimer>("tRing")->isActive());
    }

    void answerAfterIncomingAndOutgoing() {
        MainFixture f;
        feed(f, "RING\rCallerID: 2345678:1\r");
        f.takeSent();
        f.window->sbAnswerClick();
        QCOMPARE(f.takeSent(), QByteArray("+++~~~ATH0\r\nATM2+S64=1+S73=2\r\n"));
        QVERIFY(f.child<QTimer>("tTimer")->isActive());  // an incoming call: the talk timer runs
        QCOMPARE(f.info(), QString("[квартира, учреждение]"));  // the caller stays shown
        QVERIFY(f.sound->stops > 0);

        f.window->ViewNumber("555", false);
        f.window->sbDialClick();
        f.window->sbAnswerClick();
        QVERIFY(!f.child<QTimer>("tTimer")->isActive());  // an outgoing call stops it
        QCOMPARE(f.info(), QString("* Ожидание звонка *"));
    }

    void toneDialing() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Prefix\"=dword:00000001\n");
        f.window->show();
        f.takeSent();
        QTest::keyClicks(f.window.get(), "123");
        QTest::keyClick(f.window.get(), Qt::Key_Enter);
        QCOMPARE(f.takeSent(), QByteArray("ATDT123\r\n"));
        QCOMPARE(f.info(), QString("* Набор номера *"));
    }

    void redialCountsDown() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"ReDial\"=dword:00000001\n");
        f.window->ViewNumber("777", false);
        f.window->sbDialClick();
        feed(f, "BUSY\r");
        QStringList countdown;
        for (int tick = 0; tick < 4; ++tick) {
            f.desk->redialTick();
            countdown.append(f.info());
        }
        QCOMPARE(countdown, (QStringList{"*  повтор через 4 сек *", "*  повтор через 3 сек *",
                                         "*  повтор через 2 сек *", "*  повтор через 1 сек *"}));
        f.desk->redialTick();
        feed(f, "BUSY\r");
        for (int tick = 0; tick < 5; ++tick) f.desk->redialTick();
        feed(f, "BUSY\r");  // attempts used up
        QCOMPARE(f.child<QSystemTrayIcon>("icTray")->toolTip(), QString("Zrk: Занято"));
        QCOMPARE(f.info(), QString("* Занято *"));
    }

    void redialAfterOneSecond() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"ReDial\"=dword:00000001\n"
                      "\"ReDialWait\"=dword:00000001\n");
        f.window->ViewNumber("777", false);
        f.window->sbDialClick();
        feed(f, "BUSY\r");
        f.takeSent();
        f.desk->redialTick();
        QCOMPARE(f.takeSent(), QByteArray("ATDP777\r\n"));
        QCOMPARE(f.info(), QString("* Набор номера *"));  // no countdown text
    }

    void ringingBlinksTheStrip() {
        MainFixture f;
        feed(f, "RINGING\r");
        QVERIFY(f.child<QTimer>("tRinging")->isActive());
        for (int i = 0; i < 21; ++i) f.tick("tRinging");
        QVERIFY(!f.child<QTimer>("tRinging")->isActive());
        QCOMPARE(f.child<QLabel>("pInfo")->palette().color(QPalette::WindowText), fromColorRef(ini().InfoColor));
    }
};

QTEST_MAIN(TestRinging)
#include "tst_ringing.moc"
