// The options page "Адресная книга" by itself: where the password goes, and what "Проверить"
// says of a real address book.
#include "core/settings/Settings.h"
#include "gui/settings/AddressBookPage.h"
#include "gui/settings/OptionWidgets.h"
#include "gui/windows/FailurePresenter.h"

#include "CardDavServer.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace zrk;

class TestAddressBookPage : public QObject {
    Q_OBJECT

    template <class T>
    static T* get(QWidget& page, const char* name) {
        T* w = page.findChild<T*>(QLatin1String(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }

private slots:
    void initTestCase() {
        // No desktop session: the keyring cannot answer.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        FailurePresenter::instance().startCollecting();
    }

    // The password typed goes to the keyring, never to the settings file; a password file
    // others may read is refused and the one set before kept; without a keyring that is said,
    // quickly.
    void passwordNeverReachesTheStore() {
        zrktest::Sandbox box;
        ini() = TIni::defaults();
        ini().CardDavPasswordFile = QStringLiteral("private.pw");
        QFile open(box.filePath(QStringLiteral("open.pw")));
        QVERIFY(open.open(QIODevice::WriteOnly));
        open.write("typed-secret\n");
        open.close();
        QVERIFY(open.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        AddressBookPage page(ini());
        get<QLineEdit>(page, "eCardDavUrl")->setText(QStringLiteral(" https://dav.example/ "));
        get<QLineEdit>(page, "eCardDavUser")->setText(QStringLiteral("alice"));
        get<QLineEdit>(page, "ePassword")->setText(QStringLiteral("typed-secret"));
        get<FileNameEdit>(page, "eCardDavPasswordFile")->setText(QStringLiteral("open.pw"));
        QVERIFY(!get<QLabel>(page, "lFileNote")->text().isEmpty());
        TIni s = ini();
        page.store(s);
        QCOMPARE(s.CardDavUrl, QString("https://dav.example/"));
        QCOMPARE(s.CardDavPasswordFile, QString("private.pw"));
        ini() = s;
        QElapsedTimer clock;
        clock.start();
        page.save();
        SaveSettings(ini());
        QVERIFY(!zrktest::readAll(box.registryPath()).contains("typed-secret"));
        const auto told = [](const char* text) {
            for (const Failure& f : FailurePresenter::instance().collected())
                if (f.text.contains(QString::fromUtf8(text))) return true;
            return false;
        };
        QVERIFY(told("Файл пароля не принят"));
        QTRY_VERIFY_WITH_TIMEOUT(told("не сохранён в связке ключей"), 10000);
        QVERIFY(clock.elapsed() < 10000);
    }

    // "Проверить" with the values on the page: the address book's name and its cards, or why
    // not; the button is off while it runs.
    void checkSaysWhatItFound_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("said");
        QTest::newRow("wrong password") << "wrong"
                                        << "не принял имя пользователя или пароль";
        QTest::newRow("found") << "secret"
                               << "Найдена адресная книга «Office»: карточек 1";
    }
    void checkSaysWhatItFound() {
        QFETCH(QString, password);
        QFETCH(QString, said);
        zrktest::CardDavServer server;
        if (!server.missing().isEmpty()) QSKIP(qPrintable(server.missing()));
        QVERIFY(server.start());
        server.putCard(QStringLiteral("ivan.vcf"),
                       "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ivan\r\nFN:Иван\r\nTEL:123\r\n"
                       "END:VCARD\r\n");
        zrktest::Sandbox box;
        ini() = TIni::defaults();
        AddressBookPage page(ini());
        get<QLineEdit>(page, "eCardDavUrl")->setText(server.serverUrl().toString());
        get<QLineEdit>(page, "eCardDavUser")->setText(server.user());
        get<QLineEdit>(page, "ePassword")->setText(password);
        auto* button = get<QPushButton>(page, "bCheck");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), 20000);
        QVERIFY2(get<QLabel>(page, "lCheckResult")->text().contains(said),
                 qPrintable(get<QLabel>(page, "lCheckResult")->text()));
    }
};

QTEST_MAIN(TestAddressBookPage)
#include "tst_addressbook_page.moc"
