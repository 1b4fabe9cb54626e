// The language of the windows: the choice among the user's setting and the desktop's
// languages, and what installing it changes.
#include "core/book/BookStore.h"
#include "core/contacts/ContactText.h"
#include "core/call/CallerReport.h"
#include "apps/console/Language.h"
#include "core/net/NcidLink.h"
#include "core/platform/DataDirectory.h"
#include "core/platform/Registry.h"
#include "core/platform/SerialPorts.h"
#include "core/serial/Comm.h"
#include "core/settings/Settings.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace zrk;

namespace {

// A text that reaches the user from below the windows, worded in the language in force.
using Said = std::function<QString(const QString& tmp)>;

void useEnglish() {
    QString problem;
    if (!installLanguage("en", {QStringLiteral(ZRK_QM_DIR)}, &problem))
        qFatal("%s", qPrintable(problem));
}

}  // namespace

Q_DECLARE_METATYPE(Said)

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    // uiLanguages as Qt makes them from LANGUAGE, else LC_ALL/LC_MESSAGES/LANG.
    void chooser_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QStringList>("desktop");
        QTest::addColumn<QString>("expected");
        QTest::newRow("automatic, LANG=de_DE: no German, so English")
            << "" << QStringList{"de-DE", "de"} << "en";
        QTest::newRow("automatic, LANG=ru_RU") << "" << QStringList{"ru-RU", "ru"} << "ru";
        QTest::newRow("automatic, LANG=ru_UA.KOI8-U") << "" << QStringList{"ru_UA.KOI8-U"} << "ru";
        QTest::newRow("automatic, LANG=en_GB") << "" << QStringList{"en-GB", "en"} << "en";
        QTest::newRow("automatic, LANG=C") << "" << QStringList{"C"} << "en";
        QTest::newRow("automatic, nothing set") << "" << QStringList{} << "en";
        QTest::newRow("automatic, empty entry") << "" << QStringList{""} << "en";
        QTest::newRow("automatic, LANGUAGE=ru:en") << "" << QStringList{"ru", "en"} << "ru";
        QTest::newRow("automatic, LANGUAGE=en:ru") << "" << QStringList{"en", "ru"} << "en";
        // The first of the desktop's languages that we have, as gettext programs do.
        QTest::newRow("automatic, LANGUAGE=de:ru") << "" << QStringList{"de", "ru"} << "ru";
        QTest::newRow("automatic, upper case RU") << "" << QStringList{"RU_RU"} << "ru";
        QTest::newRow("automatic, sr@latin is not ru") << "" << QStringList{"sr@latin"} << "en";
        QTest::newRow("Russian chosen on an English desktop")
            << "ru" << QStringList{"en-US"} << "ru";
        QTest::newRow("English chosen on a Russian desktop")
            << "en" << QStringList{"ru-RU"} << "en";
        QTest::newRow("unknown setting means automatic") << "de" << QStringList{"ru-RU"} << "ru";
    }
    void chooser() {
        QFETCH(QString, setting);
        QFETCH(QStringList, desktop);
        QFETCH(QString, expected);
        QCOMPARE(chooseLanguage(setting, desktop), expected);
    }

    // Without its translation the program speaks Russian throughout, dates and Qt's own
    // buttons included; with it, English throughout. Each row installs its language over
    // the one before.
    void install_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("expectedLocale");
        QTest::addColumn<QString>("menuItem");
        const QString ru = "ru", en = "en";
        QTest::newRow("English, no .qm where looked") << en << false << ru << "Вы&ход";
        QTest::newRow("English") << en << true << en << "&Quit";
        QTest::newRow("Russian after English") << ru << true << ru << "Вы&ход";
    }
    void install() {
        QFETCH(QString, language);
        QFETCH(bool, found);
        QFETCH(QString, expectedLocale);
        QFETCH(QString, menuItem);
        const bool en = expectedLocale == "en";
        const QStringList dirs = found ? QStringList{"/nonexistent", QStringLiteral(ZRK_QM_DIR)}
                                       : QStringList{"/nonexistent"};
        QString problem;
        QCOMPARE(installLanguage(language, dirs, &problem), found);
        QCOMPARE(problem.isEmpty(), found);
        QCOMPARE(QLocale().name().left(2), expectedLocale);
        QCOMPARE(QCoreApplication::translate("zrk::TRusCID", "Вы&ход"), menuItem);
        // A date in the windows: the month's name in the same language as the labels.
        QCOMPARE(QLocale().monthName(3), en ? QString("March") : QString("марта"));
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), en ? "Cancel" : "Отмена");
    }

    // A command without a window reads the choice from the settings file and leaves the file
    // as it found it: a damaged one stays where it is for the program to report.
    void storedChoice_data() {
        QTest::addColumn<QByteArray>("file");  // null: no file
        QTest::addColumn<QString>("expected");
        const QByteArray head = "Windows Registry Editor Version 5.00\n\n",
                         ours = "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Language]\n\"Language\"=";
        QTest::newRow("damaged file: left where it is") << ours + "\"en\"\n"
                                                        << "";
        QTest::newRow("no file") << QByteArray() << "";
        QTest::newRow("another root's value is not ours")
            << head + "[HKEY_LOCAL_MACHINE\\Software\\Zrk Pro\\Language]\n\"Language\"=\"en\"\n\n"
            << "";
        QTest::newRow("a bad value elsewhere")
            << head + "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Port\"=\"COM1\"\n\n" +
                   ours + "\"en\"\n\n"
            << "en";
        QTest::newRow("Russian") << head + ours + "\"ru\"\n\n"
                                 << "ru";
    }
    void storedChoice() {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("registry.reg");
        if (!file.isNull()) QVERIFY(zrktest::writeAll(path, file));
        QCOMPARE(storedLanguage(path), expected);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 file.isNull() ? QStringList{} : QStringList{"registry.reg"});
        if (!file.isNull()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), file);
        }
    }

    // The errors and states that the stores, the port and the network link hand up to the
    // windows: English under the English translation, not a Russian word left in them.
    void lowerLayers_data() {
        QTest::addColumn<Said>("said");
        QTest::addColumn<QString>("expected");
        QTest::newRow("settings file damaged, read before the language is chosen")
            << Said([](const QString& tmp) {
                   const QString path = tmp + "/registry.reg";
                   if (!zrktest::writeAll(path, "[HKEY_CURRENT_USER]\n")) qFatal("cannot write");
                   QString problem;  // read under Russian, the windows' language later
                   if (!installLanguage("ru", {QStringLiteral(ZRK_QM_DIR)}, &problem))
                       qFatal("%s", qPrintable(problem));
                   const RegistryFile file(path);
                   useEnglish();
                   return file.loadError();
               })
            << "is damaged (line 1: no header)";
        QTest::newRow("serial port switched while closed") << Said([](const QString&) {
            TComm port;
            try {
                port.SetDTR(true);
            } catch (const ECommError& e) {
                return e.message();
            }
            return QString("no error");
        }) << "The port is not open or is busy (Error: -1) ";
        QTest::newRow("serial device missing")
            << Said([](const QString& tmp) { return serialDeviceProblem(tmp + "/ttyS9"); })
            << "not found. Is the modem connected?";
        QTest::newRow("NCID server address invalid") << Said([](const QString&) {
            NcidLink link;
            link.configure({"host:99999", false, true, "-"});
            return link.stateText();
        }) << "not connected: invalid server address";
        QTest::newRow("phone book saved into a missing folder") << Said([](const QString& tmp) {
            FileError error;
            if (BookStore().SaveList(tmp + "/missing/book.phn", &error)) return QString("saved");
            return error.message;
        }) << "Error creating ";
        QTest::newRow("caller not in the book: the alert's group") << Said([](const QString&) {
            return BookStore().WhoCall("5551234").group.Title.text();
        }) << "General";
        QTest::newRow("caller in no group: the alert's group") << Said([](const QString&) {
            BookStore store;
            BookEntry e = BookEntry::empty();
            e.Phone.setText("5551234");
            store.AddItem(e, true);
            return store.WhoCall("5551234").group.Title.text();
        }) << "[General]";
        QTest::newRow("data directory is a file") << Said([](const QString& tmp) {
            if (!zrktest::writeAll(tmp + "/file", {})) qFatal("cannot write %s", qPrintable(tmp));
            QString error;
            return enterDataDirectory(tmp + "/file", &error) ? QString("entered") : error;
        }) << "is not a directory";
        // The defaults the user never changed are the user's language; what the user typed
        // stays, whatever its language.
        QTest::newRow("default category of a caller") << Said([](const QString&) {
            return parseReport("654321:2", TIni::defaults()).caption;
        }) << "[hotel]";
        QTest::newRow("changed category of a caller, typed in English") << Said([](const QString&) {
            TIni s = TIni::defaults();
            s.Categories[1] = "Guest|of the house";
            return parseReport("654321:2", s).caption + " " + shownSetting(s.Categories[1]);
        }) << "Guest Guest|of the house";
        QTest::newRow("default left as shown is stored as it was") << Said([](const QString&) {
            const QString stored = defaultCategories()[1];
            const QString kept = editedSetting(stored, shownSetting(stored));
            return QString(kept == stored ? "kept" : "rewritten: " + kept);
        }) << "kept";
        QTest::newRow("imported phone's kind")
            << Said([](const QString&) { return contacts::phoneKindLabel("CELL"); }) << "Mobile";
    }
    void lowerLayers() {
        QFETCH(Said, said);
        QFETCH(QString, expected);
        QString problem;
        QVERIFY(installLanguage("ru", {QStringLiteral(ZRK_QM_DIR)}, &problem));
        const QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        useEnglish();  // each row's text is worded after this
        const QString text = said(tmp.path());
        QVERIFY2(text.contains(expected), qPrintable(text));
        QVERIFY2(!text.contains(QRegularExpression("\\p{Cyrillic}")), qPrintable(text));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
