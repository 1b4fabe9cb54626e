// The real program in the desktop's language: started with LANG as a session sets it, on an
// X server of its own, its windows' titles and its own words read back.
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// An X server for this test alone; empty when Xvfb cannot start.
class XServer {
public:
    XServer() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            return;
        // -displayfd: the server picks a free display and says which. -noreset: by default
        // the server resets when its last client leaves, and a program connecting meanwhile
        // is refused ("could not connect to display"); each xdotool call below is a client.
        server_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1024x768x24",
                                               "-nolisten", "tcp", "-noreset"});
        if (!server_.waitForStarted(5000)) return;
        for (int i = 0; i < 100 && !server_.canReadLine(); ++i) server_.waitForReadyRead(100);
        const QByteArray number = server_.readLine().trimmed();
        if (!number.isEmpty()) name_ = ":" + QString::fromLatin1(number);
    }
    ~XServer() {
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
        QTest::newRow("LANG=en_US.UTF-8") << "en_US.UTF-8" << "" << "Phone Book" << en;
        QTest::newRow("LANG=ru_RU.UTF-8") << "ru_RU.UTF-8" << "" << "Телефонная книжка" << ru;
        QTest::newRow("LANG=de_DE.UTF-8: no German, English")
            << "de_DE.UTF-8" << "" << "Phone Book" << en;
        QTest::newRow("LANG=en_US.UTF-8, Русский chosen")
            << "en_US.UTF-8" << "ru" << "Телефонная книжка" << ru;
        QTest::newRow("LANG=ru_RU.UTF-8, English chosen")
            << "ru_RU.UTF-8" << "en" << "Phone Book" << en;
    }
    void desktopLanguage() {
        QFETCH(QString, lang);
        QFETCH(QString, language);
        QFETCH(QString, bookTitle);
        QFETCH(QString, secondStart);
        const XServer display;
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
        // A deadline of its own: QTRY counts only its pauses, not the xdotool calls.
        const QDeadlineTimer deadline(30000);
        while (!display.titles().contains(bookTitle) && first.state() == QProcess::Running &&
               !deadline.hasExpired())
            QTest::qWait(100);
        QVERIFY2(display.titles().contains(bookTitle),
                 qPrintable(display.titles().join(" | ") + " / " +
                            QString::fromLocal8Bit(first.readAllStandardError())));
        QVERIFY(display.titles().contains("Zrk Pro 2.01b"));
        // A second start says so in the same language, and leaves.
        second.start(ZRK_PRO, {});
        QVERIFY(second.waitForFinished(20000));
        QVERIFY2(QString::fromUtf8(second.readAllStandardOutput()).contains(secondStart),
                 qPrintable(secondStart));
        first.terminate();
        QVERIFY(first.waitForFinished(10000));
    }

    // The commands without a window speak the same language as the windows; none of them
    // writes the settings file, a damaged one included.
    void console_data() {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QByteArray>("settings");  // the settings file; null: none
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");  // on stdout for exit code 0, else on stderr
        QTest::addColumn<bool>("english");
        const QByteArray russian =
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Language]\n\"Language\"=\"ru\"\n\n";
        const QByteArray damaged = "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Language\n", none;
        const QString en = "en_US.UTF-8", ru = "ru_RU.UTF-8";
        const QString usageEn = "Usage: zrk-pro [--desktop | --data-dir DIR] [--config FILE] [--import-reg FILE]";
        const QString usageRu = "Использование: zrk-pro [--desktop | --data-dir КАТАЛОГ]";
        const QString contactsEn = "  --export-contacts FILE\n";
        const QStringList help{"--help"}, exportVcf{"--export-contacts", "out.vcf"};
        QTest::newRow("--group alone, LANG=en_US.UTF-8")
            << en << none << QStringList{"--group", "Friends"} << 2
            << "--group goes only with --import-contacts.\n" + usageEn << true;
        QTest::newRow("--data-dir without its folder, LANG=en_US.UTF-8")
            << en << none << QStringList{"--data-dir"} << 2
            << "--data-dir needs a value.\n" + usageEn << true;
        QTest::newRow("export to an unknown kind of file, LANG=de_DE.UTF-8")
            << "de_DE.UTF-8" << none << QStringList{"--export-contacts", "book.txt"} << 2
            << "Cannot tell the format of " << true;
        QTest::newRow("settings from a missing file, LANG=en_US.UTF-8")
            << en << none << QStringList{"--import-reg", "missing.reg"} << 1 << "Could not open "
            << true;
        QTest::newRow("settings file damaged: the desktop's language, the file left alone")
            << en << damaged << help << 0 << usageEn << true;
        QTest::newRow("--help, LANG=en_US.UTF-8")
            << en << none << help << 0
            << usageEn +
                   "\n  --data-dir DIR      keep the phone book, reminders and call log in DIR\n"
            << true;
        QTest::newRow("--help lists the contacts commands, LANG=en_US.UTF-8")
            << en << none << help << 0 << contactsEn << true;
        QTest::newRow("--help, LANG=ru_RU.UTF-8") << ru << none << help << 0 << usageRu << false;
        // Where the data goes by default is said after both groups of options, not between.
        QTest::newRow("--help ends with the data directory, LANG=en_US.UTF-8")
            << en << none << help << 0 << "data directory.\nWithout --data-dir and --desktop the" << true;
        QTest::newRow("--help ends with the data directory, LANG=ru_RU.UTF-8")
            << ru << none << help << 0 << "программа.\nБез ключей --data-dir и --desktop" << false;
        QTest::newRow("--help, LANG=en_US.UTF-8, Русский chosen")
            << en << russian << help << 0 << usageRu << false;
        QTest::newRow("export of an empty book, LANG=en_US.UTF-8")
            << en << none << exportVcf << 0 << "0 entries exported (" << true;
        QTest::newRow("export of an empty book, LANG=ru_RU.UTF-8")
            << ru << none << exportVcf << 0 << "Записей выгружено: 0 (" << false;
    }
    void console() {
        QFETCH(QString, lang);
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QFETCH(bool, english);
        zrktest::Sandbox box;
        if (!settings.isNull()) QVERIFY(zrktest::writeAll(box.registryPath(), settings));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "DISPLAY"}) env.remove(v);
        env.insert("LANG", lang);
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(ZRK_PRO, args);
        QVERIFY(p.waitForFinished(20000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), exitCode);
        QVERIFY2((exitCode == 0 ? out : err).contains(said), qPrintable(out + err));
        const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
        QCOMPARE((out + err).contains(cyrillic), !english);
        // Read, never written: a damaged file stays where it is, as it is.
        const QDir folder = QFileInfo(box.registryPath()).dir();
        QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden),
                 settings.isNull() ? QStringList{} : QStringList{"registry.reg"});
        if (!settings.isNull()) QCOMPARE(zrktest::readAll(box.registryPath()), settings);
    }
};

QTEST_GUILESS_MAIN(TestE2eLanguage)
#include "tst_e2e_language.moc"
