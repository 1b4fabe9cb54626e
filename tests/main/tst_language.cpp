// The language of the windows: the choice among the user's setting and the desktop's
// languages, and what installing it changes.
#include "main/Language.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QtTest>

using namespace zrk;

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
        QTest::newRow("English, no .qm where looked") << "en" << false << "ru"
                                                      << "Вы&ход";
        QTest::newRow("English") << "en" << true << "en"
                                 << "E&xit";
        QTest::newRow("Russian after English") << "ru" << true << "ru"
                                               << "Вы&ход";
    }
    void install() {
        QFETCH(QString, language);
        QFETCH(bool, found);
        QFETCH(QString, expectedLocale);
        QFETCH(QString, menuItem);
        const QStringList dirs = found ? QStringList{"/nonexistent", QStringLiteral(ZRK_QM_DIR)}
                                       : QStringList{"/nonexistent"};
        QString problem;
        QCOMPARE(installLanguage(language, dirs, &problem), found);
        QCOMPARE(problem.isEmpty(), found);
        QCOMPARE(QLocale().name().left(2), expectedLocale);
        QCOMPARE(QCoreApplication::translate("zrk::TRusCID", "Вы&ход"), menuItem);
        // A date in the windows: the month's name in the same language as the labels.
        const QString month = QLocale().monthName(3);
        QCOMPARE(month, expectedLocale == "en" ? QString("March") : QString("марта"));
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(),
                 expectedLocale == "en" ? QString("Cancel") : QString("Отмена"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
