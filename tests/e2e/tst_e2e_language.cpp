// The real program in the desktop's language: started with LANG as a session sets it, on an
// X server of its own, its windows' titles and its own words read back.
#include "TestSupport.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

// An X server for this test alone; empty when Xvfb cannot start.
class Display {
public:
    Display() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return;
        // -displayfd: the server picks a free display and says which.
        server_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1024x768x24",
                                               "-nolisten", "tcp"});
        if (!server_.waitForStarted(5000)) return;
        for (int i = 0; i < 100 && !server_.canReadLine(); ++i) server_.waitForReadyRead(100);
        const QByteArray number = server_.readLine().trimmed();
        if (!number.isEmpty()) name_ = ":" + QString::fromLatin1(number);
    }
    ~Display() {
        server_.terminate();
        if (!server_.waitForFinished(5000)) server_.kill();
    }
    const QString& name() const { return name_; }

    // The titles of the windows on the screen.
    QStringList titles() const {
        QStringList out;
        for (const QString& id : run({"search", "--onlyvisible", "--name", "."}).split('\n'))
            if (!id.isEmpty()) out << run({"getwindowname", id}).trimmed();
        return out;
    }

private:
    QString run(const QStringList& args) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", name_);
        p.setProcessEnvironment(env);
        p.start("xdotool", args);
        p.waitForFinished(5000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QProcess server_;
    QString name_;
};

}  // namespace

class TestE2eLanguage : public QObject {
    Q_OBJECT
private slots:
    void desktopLanguage_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("language");  // the "Language" setting
        QTest::addColumn<QString>("bookTitle");
        QTest::addColumn<QString>("secondStart");
        const QString en = "Zrk Pro is already running with this data directory";
        const QString ru = "Zrk Pro уже работает с этим каталогом данных";
        QTest::newRow("LANG=en_US.UTF-8") << "en_US.UTF-8" << "" << "Phone book" << en;
        QTest::newRow("LANG=ru_RU.UTF-8") << "ru_RU.UTF-8" << "" << "Телефонная книжка" << ru;
        QTest::newRow("LANG=de_DE.UTF-8: no German, English")
            << "de_DE.UTF-8" << "" << "Phone book" << en;
        QTest::newRow("LANG=en_US.UTF-8, Русский chosen")
            << "en_US.UTF-8" << "ru" << "Телефонная книжка" << ru;
        QTest::newRow("LANG=ru_RU.UTF-8, English chosen")
            << "ru_RU.UTF-8" << "en" << "Phone book" << en;
    }
    void desktopLanguage() {
        QFETCH(QString, lang);
        QFETCH(QString, language);
        QFETCH(QString, bookTitle);
        QFETCH(QString, secondStart);
        const Display display;
        if (display.name().isEmpty()) QSKIP("Xvfb or xdotool missing (scripts/deps.sh installs them)");
        zrktest::Sandbox box;
        // Shown at once, the book beside it; no modem to wait for.
        QVERIFY(zrktest::writeAll(
            box.registryPath(),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n"
            "\"Minimized\"=dword:00000000\n\"Phone Book\"=dword:00000001\n\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Port\"=dword:00000004\n\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Language]\n\"Language\"=\"" +
                language.toUtf8() + "\"\n"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) env.remove(v);
        env.insert("LANG", lang);
        env.insert("DISPLAY", display.name());
        env.insert("QT_QPA_PLATFORM", "xcb");
        QProcess first, second;
        for (QProcess* p : {&first, &second}) p->setProcessEnvironment(env);
        first.start(ZRK_PRO, {});
        QVERIFY(first.waitForStarted(5000));
        QTRY_VERIFY2_WITH_TIMEOUT(display.titles().contains(bookTitle),
                                  qPrintable(display.titles().join(" | ")), 20000);
        QVERIFY(display.titles().contains("Zrk Pro 2.01b"));
        // A second start says so in the same language, and leaves.
        second.start(ZRK_PRO, {});
        QVERIFY(second.waitForFinished(20000));
        QVERIFY2(QString::fromUtf8(second.readAllStandardOutput()).contains(secondStart),
                 qPrintable(secondStart));
        first.terminate();
        QVERIFY(first.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestE2eLanguage)
#include "tst_e2e_language.moc"
