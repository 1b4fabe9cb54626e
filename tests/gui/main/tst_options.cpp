// The options dialog over a main window on a fake modem, page by page: what OK stores, what it
// has the main window do, and what Отмена leaves alone.
#include "gui/desktop/ColorRef.h"
#include "core/platform/Clock.h"
#include "core/settings/District.h"
#include "gui/settings/InRaion.h"
#include "gui/settings/ItemOptions.h"
#include "gui/settings/OptionWidgets.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"

#include "MainFixture.h"
#include "gui/main/ClickLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

using namespace zrk;

namespace {

// The dialog over the fixture's main window.
struct Dialog {
    explicit Dialog(MainFixture& fx, const TOptions::DeviceRoots& roots = {})
        : host(fx.window->makeOptionsHost()), dlg(*host, roots) {}
    template <class T>
    T* get(const char* name) {
        T* w = dlg.findChild<T*>(QLatin1String(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    QLineEdit* edit(const char* name) { return get<QLineEdit>(name); }
    QComboBox* combo(const char* name) { return get<QComboBox>(name); }
    QCheckBox* check(const char* name) { return get<QCheckBox>(name); }
    void ok() { get<QPushButton>("bOK")->click(); }
    void cancel() { get<QPushButton>("bCansel")->click(); }

    std::unique_ptr<OptionsHost> host;
    TOptions dlg;
};

// Runs `f` on the next modal dialog of type T once it is up.
template <class T, class F>
void onModal(F f) {
    QTimer::singleShot(0, [f] {
        auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!d) qFatal("no modal dialog");
        f(*d);
    });
}

QByteArray storeText() {
    return zrktest::readAll(RegistryFile::userPath());
}

// The chooser's first, third and seventh columns switched.
void toggle(TItemOptions& c) {
    for (int i : {0, 2, 6}) {
        QListWidgetItem* item = c.clColum->item(i);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}

// A directory standing in for /dev, with a USB modem under its stable name.
void fakeDevices(MainFixture& fx) {
    QVERIFY(zrktest::writeAll(fx.box.filePath("dev/ttyUSB0"), {}));
    QVERIFY(QDir(fx.box.path()).mkpath("dev/serial/by-id"));
    QVERIFY(QFile::link("../../ttyUSB0", fx.box.filePath("dev/serial/by-id/usb-Modem-if00")));
}

}  // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }
    void cleanup() { setNowForTesting({}); }

    // --- every page at once ---
    // Every page shows what the store holds and puts it back: an untouched OK over values that
    // are none of the defaults, some of them more than the controls can show (a text longer
    // than its edit, a number longer than its edit, a system colour), leaves the record and
    // the store as they were, and the port as it was: the modem hears nothing.
    void untouchedOkKeepsEveryPagesValues() {
        setNowForTesting(QDateTime(QDate(2026, 12, 8), QTime(12, 0)));  // outside both schedules
        MainFixture fx(
            "\"StayOnTop\"=dword:00000000\n\"Minimized\"=dword:00000000\n"
            "\"Popup On Call\"=dword:00000000\n\"Screen\"=dword:00000001\n"
            "\"Double Click\"=dword:00000000\n\"Play WAV\"=dword:00000001\n"
            "\"WAV File on Ring\"=\"bell.wav\"\n\"Reminder Sound\"=\"due.wav\"\n"
            "\"Log File\"=\"calls.txt\"\n\"Digits in phone number\"=dword:00000007\n"
            "\"Separator of groups\"=\" - \"\n\"Digits in group\"=dword:00000003\n"
            "\"Phone Book\"=dword:00000001\n\"Phone Book File\"=\"people.phn\"\n"
            "\"Sound\"=dword:00000000\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n"
            "\"Port\"=dword:00000002\n\"Baud\"=dword:00000009\n\"Answer On Ring\"=dword:00000003\n"
            "\"Prefix\"=dword:00000001\n\"Init\"=\"ATZ\"\n\"Zrk\"=\"AT#CID=1\"\n"
            "\"HandUp\"=\"ATH1\"\n\"CallerID\"=\"NMBR=\"\n\"ReDial\"=dword:00000001\n"
            "\"ReDialTry\"=dword:00000008\n\"ReDialWait\"=dword:0000000c\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Action]\n"
            "\"On Normal\"=dword:00000001\n\"On Bad\"=dword:00000003\n\"On Prior\"=dword:00000002\n"
            "\"Sound on Normal\"=\"n.wav\"\n\"Sound on Bad\"=\"b.wav\"\n"
            "\"Sound on Prior\"=\"p.wav\"\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Fonts]\n"
            "\"Number Font\"=\"Courier New\"\n\"Counter Font\"=\"Times New Roman\"\n"
            "\"Info Font\"=\"Verdana\"\n\"Number Size\"=dword:000004d2\n"
            "\"Counter Size\"=dword:0000000c\n\"Info Size\"=dword:0000000a\n"
            "\"Background Color\"=dword:ff00ff00\n\"Number Color\"=dword:80000005\n"
            "\"Counter Color\"=dword:00008000\n\"Info Color\"=dword:00000080\n"
            "\"Not Active Color\"=dword:00c0c0c0\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Categories]\n\"1:\"=\"[один]|первая\"\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Scheduler]\n"
            "\"Port OnOff\"=dword:00000001\n\"Sound OnOff\"=dword:00000001\n"
            "\"Port Off\"=hex:55,55,55,55,55,55,a5,3f\n\"Port On\"=hex:55,55,55,55,55,55,b5,3f\n"
            "\"Sound Off\"=hex:00,00,00,00,00,00,c0,3f\n\"Sound On\"=hex:55,55,55,55,55,55,c5,3f\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Network]\n"
            "\"Send Calls\"=dword:00000000\n\"Receive Calls\"=dword:00000000\n"
            "\"Line Label\"=\"2\"\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\CardDAV]\n"
            "\"URL\"=\"https://dav.example/\"\n\"User\"=\"alice\"\n"
            "\"Password File\"=\"missing.pw\"\n\"Group\"=\"Друзья\"\n"
            "\"Interval\"=dword:00000000\n\"Allow HTTP\"=dword:00000001\n");
        const TIni loaded = ini();
        QCOMPARE(loaded.CardDavGroup, QString("Друзья"));
        QCOMPARE(loaded.Prefix, 1);  // the store was read
        QCOMPARE(loaded.SoundOn, 4 / 24.0);
        QCOMPARE(loaded.SeparatorOfGroups, QString(" - "));
        SaveSettings(ini());
        { Dialog(fx).cancel(); }  // its position key exists from now on
        SaveRaions({});           // and the district table's, empty
        const QByteArray before = storeText();
        fx.takeSent();
        Dialog d(fx);
        QVERIFY(!d.dlg.portChanged() && !d.dlg.fontsChanged());
        d.ok();
        QVERIFY(ini() == loaded);
        QCOMPARE(QString::fromUtf8(storeText()).split('\n'), QString::fromUtf8(before).split('\n'));
        QVERIFY(fx.desk->portActive());
        QCOMPARE(fx.takeSent(), QByteArray());
    }

    // A change in any control a page shows a setting in reaches that setting at OK, and that
    // setting only, in memory and in the store; a number edit takes whole numbers only.
    void eachControlsChangeReachesItsOwnSetting() {
        setNowForTesting(QDateTime(QDate(2026, 12, 8), QTime(12, 0)));  // outside both schedules
        MainFixture fx;
        ini() = TIni::defaults();
        TIni expected = ini();
        Dialog d(fx);
        const std::tuple<const char*, bool TIni::*, bool> checks[] = {
            {"cbStayOnTop", &TIni::StayOnTop, false},
            {"cbMinimized", &TIni::Minimized, false},
            {"cbNormal", &TIni::PopupOnCall, false},
            {"cbScreen", &TIni::Screen, true},
            {"cbSound", &TIni::Sound, false},
            {"cbAutoDial", &TIni::ReDial, true},
            {"cbBookshow", &TIni::PhoneBook, true},
            {"cbPortOnOff", &TIni::PortOnOff, true},
            {"cbSoundOnOff", &TIni::SoundOnOff, true},
            {"cbSendCalls", &TIni::SendCalls, false},
            {"cbReceiveCalls", &TIni::ReceiveCalls, false},
            {"cbCardDavAllowHttp", &TIni::CardDavAllowHttp, true}};
        for (const auto& [name, field, value] : checks) {
            d.check(name)->setChecked(value);
            expected.*field = value;
        }
        const std::tuple<const char*, qint32 TIni::*, qint32> combos[] = {
            {"cbRing", &TIni::AnswerOnRing, 2},
            {"cbTonePulse", &TIni::Prefix, 1},
            {"cbNorma", &TIni::OnNormal, 3},
            {"cbBad", &TIni::OnBad, 1},
            {"cbPrior", &TIni::OnPrior, 0},
            {"cbNotify", &TIni::Notifications, NotifyNever}};
        for (const auto& [name, field, value] : combos) {
            d.combo(name)->setCurrentIndex(value);
            expected.*field = value;
        }
        const std::tuple<const char*, QString TIni::*, const char*> texts[] = {
            {"eZrk", &TIni::Zrk, "AT#CID=1"},
            {"eHandUp", &TIni::HandUp, "ATH1"},
            {"eCallerID", &TIni::CallerID, "NMBR="},
            {"eLineLabel", &TIni::LineLabel, "2"},
            {"eCardDavUrl", &TIni::CardDavUrl, "https://dav.example/alice/"},
            {"eCardDavUser", &TIni::CardDavUser, "alice"},
            {"eCardDavGroup", &TIni::CardDavGroup, "Друзья"}};
        for (const auto& [name, field, value] : texts) {
            d.edit(name)->setText(QString::fromUtf8(value));
            expected.*field = QString::fromUtf8(value);
        }
        const std::tuple<const char*, qint32 TIni::*, const char*, qint32> numbers[] = {
            {"eCounter", &TIni::CounterSize, "17", 17},
            {"eDigits", &TIni::DigitsInPhoneNumber, "1x", 6},  // kept
            {"eCountNum", &TIni::DigitsInGroup, "3", 3},
            {"eCountPop", &TIni::ReDialTry, "+4", 4},
            {"ePause", &TIni::ReDialWait, "5 ", 5},  // kept: 5 is the default
            {"eNumber", &TIni::NumberSize, " -3", -3},
            {"eInfo", &TIni::InfoSize, "0", 0}};
        for (const auto& [name, field, text, value] : numbers) {
            d.edit(name)->setText(QString::fromUtf8(text));
            expected.*field = value;
        }
        const std::tuple<const char*, QString TIni::*, const char*> files[] = {
            {"eWave", &TIni::WAVFileOnRing, "bell.wav"},
            {"eLog", &TIni::LogFile, "calls.txt"},
            {"eBook", &TIni::PhoneBookFile, "people.phn"},
            {"feNormal", &TIni::SoundOnNormal, "n.wav"},
            {"feBad", &TIni::SoundOnBad, "b.wav"},
            {"fePrior", &TIni::SoundOnPrior, "p.wav"},
            {"feReminder", &TIni::ReminderSound, "due.wav"}};
        for (const auto& [name, field, value] : files) {
            d.get<FileNameEdit>(name)->setText(QString::fromUtf8(value));
            expected.*field = QString::fromUtf8(value);
        }
        d.get<QSpinBox>("seCardDavInterval")->setValue(1440);
        expected.CardDavInterval = 1440;
        d.get<ColorBox>("cbNotAct")->setColorRef(0x00123456);
        expected.NotActiveColor = 0x00123456;
        d.ok();
        QVERIFY(ini() == expected);
        TIni stored;
        LoadSettings(stored);
        QVERIFY(stored == expected);
    }

    // The keys walk a page's controls, then OK and Отмена.
    void tabLeavesThePageForOkThenCancel() {
        MainFixture fx;
        Dialog d(fx);
        d.dlg.show();
        QApplication::setActiveWindow(&d.dlg);
        d.edit("eCountNum")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), d.edit("eCountNum"));
        const QWidget* page = d.get<QWidget>("tsGeneral");
        for (int i = 0; i < 5 && page->isAncestorOf(QApplication::focusWidget()); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d.get<QWidget>("bOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), d.get<QWidget>("bCansel"));
    }

    // --- "Модем" ---
    void onlyPortSpeedInitOrDeviceRestartThePort() {
        const QList<std::tuple<const char*, std::function<void(Dialog&)>, bool>> cases = {
            {"ring count", [](Dialog& d) { d.combo("cbRing")->setCurrentIndex(3); }, false},
            {"dialing", [](Dialog& d) { d.combo("cbTonePulse")->setCurrentIndex(1); }, false},
            {"answer command", [](Dialog& d) { d.edit("eHandUp")->setText("ATH"); }, false},
            {"speed", [](Dialog& d) { d.combo("cbSpeed")->setCurrentIndex(12); }, true},
            {"init", [](Dialog& d) { d.edit("eInit")->setText("ATZ"); }, true},
            {"port", [](Dialog& d) { d.combo("cbPort")->setCurrentIndex(2); }, true},
            {"device", [](Dialog& d) { d.combo("cbDevice")->setEditText("/dev/ttyUSB7"); }, true},
            {"virtual", [](Dialog& d) { d.check("cbVirtual")->setChecked(true); }, true}};
        for (const auto& [what, change, restarts] : cases) {
            MainFixture fx;
            fx.takeSent();
            Dialog d(fx);
            change(d);
            d.ok();
            const QByteArray sent = fx.takeSent();
            QVERIFY2(sent.contains(ini().Init.toLatin1() + '\r') == restarts, what);
            QVERIFY2(fx.desk->portActive(), what);
        }
    }

    void modemDeviceChosenAndStored() {
        MainFixture fx;
        fakeDevices(fx);
        QVERIFY(zrktest::writeAll(fx.box.filePath("dev/ttyACM0"), {}));
        Dialog d(fx, {fx.box.filePath("dev"), fx.box.filePath("sys")});
        QComboBox* device = d.combo("cbDevice");
        QStringList offered;
        for (int i = 0; i < device->count(); ++i)
            offered << QFileInfo(device->itemText(i)).fileName();
        QCOMPARE(offered, (QStringList{"usb-Modem-if00", "ttyACM0", "ttyUSB0"}));
        QCOMPARE(device->currentText(), QString("/dev/ttyS1"));  // Com2 with no map
        QVERIFY(d.get<QLabel>("lDeviceNote")->text().contains("не найдено"));

        device->setCurrentIndex(0);  // the stable name of the USB modem
        QVERIFY(d.get<QLabel>("lDeviceNote")->text().contains("ttyUSB0"));
        d.combo("cbPort")->setCurrentIndex(3);  // Com4: its own device, typed
        QCOMPARE(device->currentText(), QString("/dev/ttyS3"));
        device->setEditText("/dev/rfcomm0");
        d.check("cbVirtual")->setChecked(true);
        d.combo("cbPort")->setCurrentIndex(1);  // back to Com2: its choice kept
        QCOMPARE(device->currentText(), fx.box.filePath("dev/serial/by-id/usb-Modem-if00"));
        QVERIFY(!d.check("cbVirtual")->isChecked());
        d.ok();
        QCOMPARE(locateSerialDevice("Com2").path,
                 fx.box.filePath("dev/serial/by-id/usb-Modem-if00"));
        QCOMPARE(locateSerialDevice("Com4").path, QString("/dev/rfcomm0"));
        QVERIFY(locateSerialDevice("Com4").isVirtual);
        // Ports nobody touched get no entry.
        QVERIFY(!storeText().contains("\"Com1\""));
        QVERIFY(!storeText().contains("\"Com3\""));
    }

    // The device field is a line edit like any other: typing inside a name keeps the cursor
    // where it is, keeps blanks and undo; what the name stands for is said beside it.
    void deviceFieldEditsInPlace() {
        MainFixture fx;
        fakeDevices(fx);
        Dialog d(fx, {fx.box.filePath("dev"), fx.box.filePath("sys")});
        d.dlg.show();
        QComboBox* device = d.combo("cbDevice");
        QLineEdit* field = device->lineEdit();
        const QString byId = fx.box.filePath("dev/serial/by-id/usb-Modem-if00");
        device->setEditText(fx.box.filePath("dev/serial/by-id/usb-Modem"));
        field->setFocus(Qt::MouseFocusReason);
        field->setCursorPosition(field->text().indexOf("Modem"));
        QTest::keyClicks(field, "My ");
        QCOMPARE(field->text(), fx.box.filePath("dev/serial/by-id/usb-My Modem"));
        QCOMPARE(field->cursorPosition(), field->text().indexOf("Modem"));
        QVERIFY(field->isUndoAvailable());
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(field->text() != fx.box.filePath("dev/serial/by-id/usb-My Modem"));
        field->setText(byId);  // as if typed to the end
        QCOMPARE(field->text(), byId);
        QVERIFY(d.get<QLabel>("lDeviceNote")->text().contains("ttyUSB0"));
        d.ok();
        QCOMPARE(locateSerialDevice("Com2").path, byId);
    }

    // A district table that cannot be read is not offered for editing and survives any OK.
    void unreadableDistrictTableIsLeftAlone() {
        MainFixture fx(
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n"
            "\"Count Raions\"=\"2\"\n\"Raion0\"=\"2|Центр\"\n");
        const QByteArray raions = "\"Count Raions\"=\"2\"";
        QVERIFY(storeText().contains(raions));
        Dialog d(fx);
        QTRY_VERIFY(fx.window->findChild<QMessageBox*>("errorBox"));
        for (const char* name : {"lvRaion", "bAdd", "bDel", "bProp"})
            QVERIFY2(!d.get<QWidget>(name)->isEnabled(), name);
        d.combo("cbRing")->setCurrentIndex(2);
        d.ok();
        QCOMPARE(ini().AnswerOnRing, 2);
        QVERIFY(storeText().contains(raions));
        QVERIFY(storeText().contains("\"Raion0\"=\"2|Центр\""));
    }

    void storedIndexOutsideItsListStaysOutside() {
        MainFixture fx(
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Port\"=dword:00000009\n"
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Action]\n\"On Bad\"=dword:00000007\n");
        Dialog d(fx);
        QCOMPARE(d.combo("cbPort")->currentIndex(), -1);
        QCOMPARE(d.combo("cbBad")->currentIndex(), -1);
        QVERIFY(!d.combo("cbDevice")->isEnabled());
        d.ok();
        QCOMPARE(ini().Port, -1);
        QCOMPARE(ini().OnBad, -1);
        QVERIFY(storeText().contains("\"Port\"=dword:ffffffff"));
    }

    // The language list on "Общие": stored value -> item shown -> item chosen -> value stored.
    void languageChoice_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first run: automatic, English chosen") << QByteArray() << 0 << 2 << "en";
        QTest::newRow("Russian stored, automatic chosen") << QByteArray("ru") << 1 << 0 << "";
        QTest::newRow("English stored, untouched") << QByteArray("en") << 2 << 2 << "en";
        QTest::newRow("unknown stored, untouched: kept") << QByteArray("de") << -1 << -1 << "de";
    }
    void languageChoice() {
        QFETCH(QByteArray, stored);
        QFETCH(int, shown);
        QFETCH(int, chosen);
        QFETCH(QString, expected);
        MainFixture fx(stored.isNull() ? QByteArray()
                                       : "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Language]\n"
                                         "\"Language\"=\"" +
                                             stored + "\"\n");
        Dialog d(fx);
        QStringList items;
        for (int i = 0; i < d.combo("cbLanguage")->count(); ++i)
            items << d.combo("cbLanguage")->itemText(i);
        QCOMPARE(items, QStringList({"Автоматически", "Русский", "English"}));
        QCOMPARE(d.combo("cbLanguage")->currentIndex(), shown);
        if (chosen != shown) d.combo("cbLanguage")->setCurrentIndex(chosen);
        d.ok();
        QCOMPARE(ini().Language, expected);
        QVERIFY(storeText().contains("\"Language\"=\"" + expected.toUtf8() + "\""));
    }

    // --- "Звонок" ---
    void enablingRules() {
        MainFixture fx("[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Sound\"=dword:00000000\n");
        Dialog d(fx);
        auto* speaker = d.get<QRadioButton>("rbSpeaker");
        auto* wave = d.get<QRadioButton>("rbWave");
        auto* waveFile = d.get<FileNameEdit>("eWave");
        QVERIFY(!speaker->isEnabled() && !wave->isEnabled() && !waveFile->isEnabled());
        d.check("cbSound")->click();
        QVERIFY(speaker->isEnabled() && wave->isEnabled());
        QVERIFY(!waveFile->isEnabled());  // "PC Speaker" is chosen
        wave->click();
        QVERIFY(waveFile->isEnabled());
        d.check("cbSound")->click();
        QVERIFY(!waveFile->isEnabled());
        d.check("cbSound")->click();
        QVERIFY(waveFile->isEnabled());  // back with the wave chosen

        const QList<std::pair<const char*, QStringList>> groups = {
            {"cbAutoDial", {"lCountPop", "lPause", "eCountPop", "ePause"}},
            {"cbPortOnOff", {"lPortOFF", "lPortON", "dtPortOFF", "dtPortON"}},
            {"cbSoundOnOff", {"lSoundOFF", "lSoundON", "dtSoundOFF", "dtSoundON"}}};
        for (const auto& [box, controls] : groups) {
            for (bool on : {true, false}) {
                d.check(box)->setChecked(on);
                for (const QString& c : controls)
                    QVERIFY2(d.get<QWidget>(c.toLatin1())->isEnabled() == on, qPrintable(c));
            }
        }
    }

    void chosenFilesStartInTheWorkingDirectory() {
        MainFixture fx;
        QVERIFY(zrktest::writeAll(fx.box.filePath("here.wav"), "RIFF"));
        QTemporaryDir elsewhere;
        const QString other = elsewhere.filePath("here.wav");  // same name, another file
        QVERIFY(zrktest::writeAll(other, "RIFF"));
        QStringList dirs;
        QString answer;
        FileNameEdit::fileDialog() = [&](QWidget*, const QString& dir, const QString&) {
            dirs << dir;
            return answer;
        };
        Dialog d(fx);
        d.check("cbSound")->setChecked(true);
        d.get<QRadioButton>("rbWave")->setChecked(true);
        const char* edits[] = {"eWave", "eLog",    "eBook",     "feNormal",
                               "feBad", "fePrior", "feReminder"};
        for (const char* name : edits) {
            auto* e = d.get<FileNameEdit>(name);
            answer = fx.box.filePath("here.wav");
            e->button()->click();
            QCOMPARE(e->text(), QString("here.wav"));
            answer = other;
            e->browse();
            QCOMPARE(e->text(), other);
            answer.clear();  // cancelled: the name stays
            e->browse();
            QCOMPARE(e->text(), other);
        }
        FileNameEdit::fileDialog() = nullptr;
        QCOMPARE(dirs.size(), 21);
        QCOMPARE(dirs.count(QDir::currentPath()), 21);
        d.ok();
        QCOMPARE(ini().ReminderSound, other);
    }

    // --- "Шрифт" ---
    void fontsSizesAndColoursReachTheMainWindow() {
        MainFixture fx;
        const QStringList families = QFontDatabase::families();
        QVERIFY(!families.isEmpty());
        const QString face = families.last();
        Dialog d(fx);
        struct Row {
            const char *faceBox, *sizeEdit, *colourBox;
            QWidget* shown;
        };
        const Row rows[] = {
            {"cbFNumber", "eNumber", "cbNumber", fx.child<QLabel>("pNumber")},
            {"cbFCounter", "eCounter", "cbCounter", fx.child<ClickLabel>("pCountCall")},
            {"cbFInfo", "eInfo", "cbInfo", fx.child<QLabel>("pInfo")}};
        quint32 colour = 0x123456;
        for (const Row& r : rows) {
            d.combo(r.faceBox)->setCurrentText(face);
            d.edit(r.sizeEdit)->setText("11");
            ColorBox::colorDialog() = [colour](QWidget*, const QColor&) {
                return fromColorRef(colour);
            };
            auto* box = d.get<ColorBox>(r.colourBox);
            emit box->activated(box->count() - 1);  // "Другой цвет..."
            QCOMPARE(box->colorRef(), colour);
            ++colour;
        }
        ColorBox::colorDialog() = [](QWidget*, const QColor&) { return QColor(); };  // cancelled
        auto* fon = d.get<ColorBox>("cbFon");
        fon->setColorRef(0xFFFFFF);
        emit fon->activated(fon->count() - 1);
        QCOMPARE(fon->colorRef(), 0xFFFFFFu);
        d.get<ColorBox>("cbNotAct")->setColorRef(0x0000FF);
        ColorBox::colorDialog() = nullptr;
        emit fx.child<ClickLabel>("pTimer")->clicked();  // a call being timed
        d.check("cbStayOnTop")->setChecked(false);
        QVERIFY(d.dlg.fontsChanged());
        d.ok();

        colour = 0x123456;
        for (const Row& r : rows) {
            QCOMPARE(r.shown->font().family(), face);
            QCOMPARE(r.shown->palette().color(QPalette::WindowText), fromColorRef(colour++));
            QCOMPARE(r.shown->palette().color(QPalette::Window), QColor(Qt::white));
        }
        QCOMPARE(fx.child<ClickLabel>("pCountCall")->font().pointSize(), 11);
        QCOMPARE(fx.child<QLabel>("pInfo")->font().pointSize(), 11);
        QCOMPARE(fx.child<ClickLabel>("stPhones")->palette().color(QPalette::WindowText),
                 QColor(Qt::red));
        QCOMPARE(fx.child<ClickLabel>("pTimer")->palette().color(QPalette::WindowText),
                 fromColorRef(0x123458));
        QVERIFY(!fx.child<QAction>("mPStayOnTop")->isChecked());
        QVERIFY(!fx.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(ini().NumberFont, face);
    }

    // --- "Абонент" ---
    void categoryTextsAreStoredOnSwitchEvenWhenCancelled() {
        MainFixture fx;
        SaveSettings(ini());
        {
            Dialog d(fx);
            QCOMPARE(d.edit("eKateg")->text(), ini().Categories[0]);
            d.edit("eKateg")->setText("[квартира]|правка");
            d.combo("cbKateg")->setCurrentIndex(1);
            QCOMPARE(d.edit("eKateg")->text(), TIni::defaults().Categories[1]);
            d.edit("eKateg")->setText("[гостиница]|не сохранится");
            d.cancel();
        }
        QCOMPARE(ini().Categories[0], QString("[квартира]|правка"));
        QCOMPARE(ini().Categories[1], TIni::defaults().Categories[1]);
        QVERIFY(!storeText().contains("правка"));
        SaveSettings(ini());
        QVERIFY(storeText().contains("\"1:\"=\"[квартира]|правка\""));

        Dialog d(fx);  // OK stores the category on show without a switch
        d.combo("cbKateg")->setCurrentIndex(9);
        d.edit("eKateg")->setText("[неизвестно]|0");
        d.ok();
        QCOMPARE(ini().Categories[9], QString("[неизвестно]|0"));
        QVERIFY(storeText().contains("\"0:\"=\"[неизвестно]|0\""));
    }

    void districtListAddChangeDelete() {
        MainFixture fx(
            "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n\"Count Raions\"=dword:00000005\n"
            "\"Raion0\"=\"(34) 5|Запад\"\n\"Raion1\"=\"2|Центр\"\n\"Raion2\"=\"23|Север\"\n"
            "\"Raion3\"=\"руками\"\n\"Raion4\"=\"7|Юг\"\n");
        {
            Dialog d(fx);  // Отмена forgets every change to the list
            d.get<QTreeWidget>("lvRaion")->clear();
            d.cancel();
        }
        QCOMPARE(LoadRaions().size(), 5);

        Dialog d(fx);
        auto* lv = d.get<QTreeWidget>("lvRaion");
        QCOMPARE(lv->topLevelItemCount(), 5);
        QCOMPARE(lv->topLevelItem(0)->text(0), QString("(34) 5"));  // as typed, not reduced
        QCOMPARE(lv->topLevelItem(3)->text(0), QString("руками"));
        d.dlg.show();
        QApplication::setActiveWindow(&d.dlg);
        lv->setFocus();
        QTRY_COMPARE(lv->selectedItems().size(), 1);  // the first row, on focus
        QCOMPARE(lv->selectedItems().first(), lv->topLevelItem(0));

        QString title;
        onModal<TInRaion>([&title](TInRaion& e) {
            title = e.windowTitle();
            e.eNumber->setText("8-9");
            e.eRaion->setText("Новый|район");
            e.bOK->click();
        });
        d.get<QPushButton>("bAdd")->click();
        QCOMPARE(title, QString("Добавить район"));
        QCOMPARE(lv->topLevelItemCount(), 6);

        lv->clearSelection();
        lv->topLevelItem(4)->setSelected(true);
        lv->topLevelItem(2)->setSelected(true);
        QString shown;
        onModal<TInRaion>([&](TInRaion& e) {
            title = e.windowTitle();
            shown = e.eNumber->text() + "|" + e.eRaion->text();
            e.eRaion->setText("Север-2");
            e.bOK->click();
        });
        d.get<QPushButton>("bProp")->click();
        QCOMPARE(title, QString("Изменить район"));
        QCOMPARE(shown, QString("23|Север"));  // the first selected row in list order
        onModal<TInRaion>([](TInRaion& e) {
            e.eRaion->setText("не так");
            e.bCansel->click();
        });
        d.get<QPushButton>("bProp")->click();
        QCOMPARE(lv->topLevelItem(2)->text(1), QString("Север-2"));

        lv->clearSelection();
        for (int i : {0, 1, 4}) lv->topLevelItem(i)->setSelected(true);
        d.get<QPushButton>("bDel")->click();
        QCOMPARE(lv->topLevelItemCount(), 3);
        d.ok();

        const QByteArray store = storeText();
        QVERIFY(store.contains("\"Count Raions\"=dword:00000003"));
        QVERIFY(store.contains("\"Raion0\"=\"23|Север-2\""));
        QVERIFY(store.contains("\"Raion1\"=\"руками\""));  // written back as it was found
        QVERIFY(store.contains("\"Raion2\"=\"8-9|Новый|район\""));
        QVERIFY(store.contains("\"Raion3\"=\"руками\"") && store.contains("\"Raion4\"=\"7|Юг\""));
        QCOMPARE(FindRaion("895"), QString("Новый|район"));
        QCOMPARE(FindRaion("70"), QString());  // past the count
    }

    // --- "Расписание" ---
    void scheduleAppliedAtOk() {
        MainFixture fx;
        setNowForTesting(QDateTime(QDate(2026, 12, 8), QTime(12, 0)));
        QVERIFY(fx.desk->portActive() && ini().Sound);
        QTimer* tick = fx.desk->findChild<QTimer*>("tSchedule");  // the schedules' own tick
        QVERIFY(!tick->isActive());
        Dialog d(fx);
        d.check("cbPortOnOff")->setChecked(true);
        d.get<QTimeEdit>("dtPortOFF")->setTime(QTime(8, 0));
        d.get<QTimeEdit>("dtPortON")->setTime(QTime(7, 0));
        d.check("cbSoundOnOff")->setChecked(true);
        d.get<QTimeEdit>("dtSoundOFF")->setTime(QTime(11, 59));
        d.get<QTimeEdit>("dtSoundON")->setTime(QTime(12, 1));
        d.ok();
        QVERIFY(!fx.desk->portActive());
        QVERIFY(tick->isActive());
        // The schedules act before OK writes the settings: the sound is stored off by it.
        QVERIFY(!ini().Sound);
        QVERIFY(storeText().contains("\"Sound\"=dword:00000000"));
        QCOMPARE(fx.child<ClickLabel>("stSound")->palette().color(QPalette::WindowText),
                 fromColorRef(ini().NotActiveColor));
        QCOMPARE(ini().PortOff, 36202.0 + 8 / 24.0);
        QCOMPARE(ini().PortOn, 7 / 24.0);  // untouched: as it was
        QCOMPARE(ini().SoundOn, 36202.0 + (12 * 60 + 1) / 1440.0);

        // A new speed during the off period: the port stays closed rather than reopen.
        Dialog speed(fx);
        speed.combo("cbSpeed")->setCurrentIndex(12);
        fx.takeSent();
        speed.ok();
        QVERIFY(!fx.desk->portActive());
        QCOMPARE(fx.takeSent(), QByteArray());

        // Outside the off period nothing is closed and the sound stays as it is.
        MainFixture other;
        setNowForTesting(QDateTime(QDate(2026, 12, 8), QTime(7, 30)));
        Dialog again(other);
        again.check("cbPortOnOff")->setChecked(true);
        again.get<QTimeEdit>("dtPortOFF")->setTime(QTime(8, 0));
        again.get<QTimeEdit>("dtPortON")->setTime(QTime(7, 0));
        again.ok();
        QVERIFY(other.desk->portActive());
    }

    void storeThatCannotBeWrittenIsSaidAndTheChoiceStillApplies() {
        MainFixture fx;
        // A file where the store's folder should be: every save fails.
        const QString folder = QFileInfo(fx.box.registryPath()).absolutePath();
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(zrktest::writeAll(folder, "not a folder"));
        fx.takeSent();
        Dialog d(fx);
        d.combo("cbSpeed")->setCurrentIndex(12);
        d.edit("eInit")->setText("ATZ");
        d.ok();
        QVERIFY(d.dlg.result() == QDialog::Accepted);
        QTRY_VERIFY(fx.window->findChild<QMessageBox*>("errorBox"));
        QCOMPARE(ini().Baud, 12);
        QVERIFY(fx.takeSent().contains("ATZ\r"));  // the port restarted with the new init
        QVERIFY(QFile::remove(folder) && QDir().mkpath(folder));  // for the window's own close
    }

    // --- the column chooser ---
    void columnChooserFlags() {
        MainFixture fx;
        const std::array<bool, 8> defaults = {true, true, false, false, true, false, false, true};
        QCOMPARE(ini().Columns, defaults);
        onModal<TItemOptions>([](TItemOptions& c) {
            QCOMPARE(c.windowTitle(), QString("Настройка списка"));
            toggle(c);
            c.bCansel->click();
        });
        QVERIFY(!TItemOptions::choose(fx.window.get()));
        QCOMPARE(ini().Columns, defaults);

        QStringList items;
        onModal<TItemOptions>([&items](TItemOptions& c) {
            for (int i = 0; i < c.clColum->count(); ++i) items << c.clColum->item(i)->text();
            toggle(c);
            c.bOK->click();
        });
        const std::function<bool(QWidget*)> chooser = &TItemOptions::choose;
        QVERIFY(chooser(fx.window.get()));
        QCOMPARE(items, (QStringList{"Фамилия", "Телефон", "Рабочий телефон", "Адрес", "E-Mail",
                                     "ICQ UIN", "Home Page", "Дополнительно"}));
        const std::array<bool, 8> chosen = {false, true, true, false, true, false, true, true};
        QCOMPARE(ini().Columns, chosen);
        QVERIFY(!storeText().contains("\"Column6\"=dword:00000001"));  // with the next save
        SaveSettings(ini());
        QVERIFY(storeText().contains("\"Column6\"=dword:00000001"));
        QVERIFY(
            storeText().contains("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Position\\OptionsList]"));
    }

    // --- the main window's command ---
    void menuCommandOpensTheDialog() {
        MainFixture fx;
        QVERIFY(fx.child<QAction>("mPOpti")->isEnabled());
        bool opened = false;
        onModal<TOptions>([&opened](TOptions& o) {
            opened = o.windowTitle() == QString("Настройка программы");
            QTest::keyClick(&o, Qt::Key_Escape);  // not bound: the dialog stays
            QVERIFY(o.isVisible());
            o.close();  // the close box: like Отмена
        });
        fx.child<QAction>("mPOpti")->trigger();
        QVERIFY(opened);
        QVERIFY(storeText().contains("Position\\Options]"));
    }
};

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
