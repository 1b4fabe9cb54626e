// The desktop's voice for real: a speech-dispatcher of the test's own (sound to libao's null
// driver, so that no sound card is needed) receives what a call action says.
#include "gui/desktop/Speech.h"

#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTextToSpeech>

// The sanitizer's strstr check reads the whole rest of a string at each call: speech-dispatcher's
// list of voices, read line by line, would take minutes.
extern "C" const char* __asan_default_options() {
    return "intercept_strstr=0";
}

class TestSpeech : public QObject {
    Q_OBJECT
private slots:
    void saidThroughSpeechDispatcher() {
        const QString daemon = QStringLiteral("/usr/bin/speech-dispatcher");
        if (!QFile::exists(daemon))
            QSKIP("speech-dispatcher is not installed (Debian: speech-dispatcher)");
        if (!QTextToSpeech::availableEngines().contains(QLatin1String("speechd")))
            QSKIP("Qt's speech-dispatcher engine is missing (Debian: qt6-speech-speechd-plugin)");
        if (!QFile::exists("/usr/lib/speech-dispatcher-modules/sd_espeak-ng"))
            QSKIP("no espeak-ng voice (Debian: speech-dispatcher-espeak-ng)");

        zrktest::Sandbox box;
        QDir().mkpath(box.filePath("conf"));
        QDir().mkpath(box.filePath("home"));
        QProcess copy;
        copy.start("cp", {"-r", "/etc/speech-dispatcher/.", box.filePath("conf")});
        QVERIFY(copy.waitForFinished() && copy.exitCode() == 0);
        QByteArray conf = zrktest::readAll(box.filePath("conf/speechd.conf"));
        conf +=
            "\nAudioOutputMethod \"libao\"\nAddModule \"espeak-ng\" \"sd_espeak-ng\" "
            "\"espeak-ng.conf\"\n";
        QVERIFY(zrktest::writeAll(box.filePath("conf/speechd.conf"), conf));
        QVERIFY(zrktest::writeAll(box.filePath("home/.libao"), "default_driver=null\n"));

        QProcess server;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", box.filePath("home"));
        server.setProcessEnvironment(env);
        const QString socket = box.filePath("speechd.sock");
        server.start(daemon, {"-s", "-t", "30", "-l", "5", "-C", box.filePath("conf"), "-c",
                              "unix_socket", "-S", socket, "-L", box.path()});
        QVERIFY(server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
        qputenv("SPEECHD_ADDRESS", ("unix_socket:" + socket).toLocal8Bit());

        QStringList told;
        {
            auto speech = zrk::makeDesktopSpeech(QLocale(QLocale::Russian));
            speech->onFailure([&](const QString& why) { told << why; });
            const auto heard = [&](const QByteArray& text) {
                return zrktest::readAll(box.filePath("speech-dispatcher.log"))
                    .contains("Queueing message |" + text + "|");
            };
            speech->say(QStringLiteral("Звонит Иванов Иван"));
            QTRY_VERIFY_WITH_TIMEOUT(heard("Звонит Иванов Иван"), 15000);
            speech->say(QStringLiteral("Звонит Петров"));  // cuts the first one off
            QTRY_VERIFY_WITH_TIMEOUT(heard("Звонит Петров"), 15000);
        }
        QCOMPARE(told, QStringList());
        qunsetenv("SPEECHD_ADDRESS");
        server.kill();
        server.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestSpeech)
#include "tst_speech.moc"
