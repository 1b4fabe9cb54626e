// Calls as the main window takes them: the modem's rings with their sounds and blinking,
// answering, dialing and redial; an NCID server's calls and rings, the line they came on; the
// options page "Сеть". Then the program's own set-up, as its entry runs it: the windows'
// titles, a caller report without a digit from the port to the display, the call list and the
// log, and a quit of the desktop session that must not wait on a box.
#include "gui/desktop/ColorRef.h"
#include "MainFixture.h"
#include "ShownBoxes.h"
#include "core/platform/Cp1251.h"
#include "gui/main/Program.h"

#include "gui/main/ClickLabel.h"

#include "gui/calls/ListRing.h"
#include "core/net/NcidLink.h"
#include "gui/settings/Options.h"
#include "gui/settings/OptionsHost.h"

#include "core/net/NcidTestServer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace zrk;

namespace {


const QByteArray kSounds =
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Play WAV\"=dword:00000001\n"
    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Action]\n\"On Bad\"=dword:00000000\n"
    "\"Sound on Bad\"=\"bad.wav\"\n\"Sound on Prior\"=\"prior.wav\"\n";

QColor zvon(const MainFixture& f) { return f.child<QLabel>("stZvon")->palette().color(QPalette::WindowText); }


// The standard error stream of this process, while it lives, into a file.
struct CapturedStderr {
    CapturedStderr() : file(QDir::current().filePath("stderr.txt")) {
        std::fflush(stderr);
        saved = ::dup(2);
        const int fd =
            ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 2);
        ::close(fd);
    }
    QByteArray text() {
        std::fflush(stderr);
        return zrktest::readAll(file);
    }
    ~CapturedStderr() {
        std::fflush(stderr);
        ::dup2(saved, 2);
        ::close(saved);
    }
    QString file;
    int saved;
};

// The book file on a slow medium: a named pipe that another thread fills only when told to,
// so that the program's book stays loading until then.
struct SlowBook {
    explicit SlowBook(const QByteArray& bytes) {
        QVERIFY(::mkfifo("book.phn", 0600) == 0);
        writer = std::thread([this, bytes] {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!released && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            const int fd = ::open("book.phn", O_WRONLY | O_CLOEXEC);
            if (fd < 0) return;
            // A few records: one write, whole (under PIPE_BUF).
            [[maybe_unused]] const ssize_t n = ::write(fd, bytes.constData(), size_t(bytes.size()));
            ::close(fd);
        });
    }
    // The book arrives `ms` after this call, whatever this thread is doing by then.
    void releaseAfter(int ms) {
        delayMs = ms;
        released = true;
    }
    ~SlowBook() {
        releaseAfter(0);
        writer.join();
    }
    std::atomic<bool> released{false};
    std::atomic<int> delayMs{0};
    std::thread writer;
};

QByteArray smallBook() {
    BookStore book;
    book.AddGroup(BookGroup::make("Друзья"), true);
    book.AddItem(entry("Анна Петровна", "34-56-78", StatusNormal, 1), true);
    book.AddItem(entry("Борис", "12-12-12", StatusNormal, 1), true);
    book.AddItem(entry("Вера", "99-88-77", StatusNormal, 1), true);
    return book.serialize();
}

struct Program {
    // `beforeWindows`: runs in the program's directory before the windows are made;
    // `sideLater`: the side windows come after the main window, as at the program's start.
    explicit Program(const QByteArray& storeBody = {},
                     const std::function<void()>& beforeWindows = {}, bool sideLater = false) {
        RegistryFile::resetUser();
        zrktest::writeAll(box.registryPath(),
                          "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Minimized\"=dword:00000000\n" +
                              storeBody);
        RegistryFile::resetUser();
        device->status = kMsDsrOn;
        nameApplication();
        if (beforeWindows) beforeWindows();
        run = std::make_unique<ProgramWindows>(device, nullptr, sideLater);
    }
    ~Program() {
        run.reset();
        RegistryFile::resetUser();
    }
    void receive(const QByteArray& bytes) {
        device->input.append(bytes);
        device->raise(kEvRxChar);
        QTRY_VERIFY_WITH_TIMEOUT(device->input.isEmpty(), 5000);
    }

    zrktest::Sandbox box;
    std::shared_ptr<FakeSerialDevice> device = std::make_shared<FakeSerialDevice>();
    std::unique_ptr<ProgramWindows> run;
};

}  // namespace

class TestNetwork : public QObject {
    Q_OBJECT
private slots:
    void init() { TRusCID::setTrayAvailableOverride(1); }

    // The queue file's trouble comes up in the main window's box, which holds up nothing: the
    // modem's data goes on being read under it.
    void queueFileTroubleShownWithoutHoldingUpTheLine() {
        MainFixture f({}, true, [](BookStore&) { QVERIFY(QDir().mkpath("ncid-queue.txt")); });
        auto* box = f.window->findChild<QMessageBox*>("errorBox");
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->windowTitle(), QString("Ошибка"));
        QVERIFY2(box->text().startsWith("Ошибка чтения /") &&
                     box->text().endsWith("/ncid-queue.txt!"),
                 qPrintable(box->text()));
        QCOMPARE(box->windowModality(), Qt::NonModal);
        f.receive("RING\r\nCallerID: 2345678:1\r\n");
        QCOMPARE(f.window->callCount(), 1);
    }

    // An office of several lines: the line of a call from the server shows in the call list
    // and on the full screen; a call on the one line ("-") shows none.
    void callsFromOtherLinesShowTheirLine() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        MainFixture f(server.settingsKey() + "\"Send Calls\"=dword:00000000\n" +
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Screen\"=dword:00000001\n",
                      true, callersInGroups);
        QTRY_COMPARE(f.desk->networkState(), QString("подключено"));
        server.sendToAll("CID: *DATE*12082026*TIME*0905*LINE*-*NMBR*5551234*MESG*NONE*NAME*A*\r\n");
        QTRY_COMPARE(f.list()->topLevelItemCount(), 1);
        QVERIFY(f.list()->header()->isSectionHidden(TListRing::ColLine));
        server.sendToAll(
            "CID: *DATE*12082026*TIME*0906*LINE*Склад*NMBR*2345678*MESG*NONE*NAME*A*\r\n");
        QTRY_COMPARE(f.list()->topLevelItemCount(), 2);
        QVERIFY(!f.list()->header()->isSectionHidden(TListRing::ColLine));
        QVERIFY(f.list()->columnWidth(TListRing::ColLine) >= 20);
        QCOMPARE(f.list()->topLevelItem(0)->text(TListRing::ColLine), QString());
        QCOMPARE(f.list()->topLevelItem(1)->text(TListRing::ColLine), QString("Склад"));
        QCOMPARE(f.allScreen->findChild<QLabel*>("pInfo")->text(),
                 QString("Иванов Иван (линия Склад)"));
        // A ring without caller ID from the server's own modem rings, and is no caller.
        server.sendRing();
        QTRY_COMPARE(f.info(), QString("* Звонок *"));
        QTest::qWait(100);
        QCOMPARE(f.list()->topLevelItemCount(), 2);
    }

    // A desk that only shows the server's calls says "no modem" and shows no port error.
    void aDeskWithoutAModem() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        MainFixture f(
            server.settingsKey() + "\"Send Calls\"=dword:00000000\n" +
                "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Port\"=dword:00000004\n",
            false);
        QTRY_COMPARE(f.desk->networkState(), QString("подключено"));
        QCOMPARE(f.info(), QString("* Нет модема *"));
        QVERIFY(f.window->findChildren<QMessageBox*>().isEmpty());
        QVERIFY(!f.desk->portActive());
        QVERIFY(f.device->openedName.isEmpty());
        // Nothing offers to open a port there is not.
        QVERIFY(!f.child<QToolButton>("sbOpenClose")->isEnabled());
        QVERIFY(f.child<QToolButton>("sbOpenClose")->icon().isNull());
        QVERIFY(!f.child<QAction>("mPOpenPort")->isEnabled());

        const auto host = f.window->makeOptionsHost();
        TOptions dlg(*host);
        auto* port = dlg.findChild<QComboBox*>("cbPort");
        QCOMPARE(port->currentText(), QString("Нет модема"));
        QVERIFY(!dlg.findChild<QComboBox*>("cbDevice")->isEnabled());
    }

    // The server's calls as the window shows them: the caller on the display, the server's
    // name where the book has none, a withheld number as Unknown, no error for a caller hung
    // up on elsewhere; blocked and missed calls marked, at their own time.
    void serverCallsShown() {
        zrktest::NcidTestServer server;
        QVERIFY(server.start());
        MainFixture f(server.settingsKey() + "\"Send Calls\"=dword:00000000\n", false,
                      callersInGroups);
        QTRY_COMPARE(f.desk->networkState(), QString("подключено"));
        server.sendToAll("CIDINFO: *LINE*-*RING*1*TIME*09:05:00*\r\n");
        QTRY_COMPARE(f.info(), QString("* Звонок *"));
        const QByteArray cid = "CID: *DATE*12082026*TIME*0906*LINE*-*MESG*NONE*NMBR*";
        server.sendToAll(cid + "4952345678*NAME*X*\r\n");
        QTRY_COMPARE(f.number(), QString("34-56-78"));
        QCOMPARE(f.info(), QString("Иванов Иван"));
        QCOMPARE(f.list()->topLevelItem(0)->text(0), QString("34-56-78"));
        server.sendToAll(cid + "5551234*NAME*Петров*\r\n" + cid + "5559999*NAME*NO NAME*\r\n");
        QTRY_COMPARE(f.list()->topLevelItemCount(), 3);
        QCOMPARE(f.list()->topLevelItem(1)->text(TListRing::ColName), QString("Петров"));
        QCOMPARE(f.list()->topLevelItem(2)->text(TListRing::ColName), QString());
        server.sendToAll(cid + "111111*NAME*Y*\r\n" + cid + "OUT-OF-AREA*NAME*NO NAME*\r\n");
        QTRY_COMPARE(f.list()->topLevelItemCount(), 5);
        QCOMPARE(f.number(), QString("Unknown"));
        QVERIFY(f.window->findChildren<QMessageBox*>().isEmpty());

        server.sendToAll("HUP: *DATE*12082026*TIME*0906*LINE*-*NMBR*2345678*MESG*NONE*NAME*A*\r\n");
        QTRY_COMPARE(f.list()->topLevelItemCount(), 6);
        QCOMPARE(f.list()->topLevelItem(5)->text(TListRing::ColName),
                 QString("Иванов Иван [заблокирован]"));
        server.stop();
        server.callLog = {"CID: *DATE*12082026*TIME*0907*LINE*-*NMBR*5551234*MESG*NONE*NAME*B*"};
        QVERIFY(server.start(server.port()));
        QTRY_COMPARE(f.list()->topLevelItemCount(), 7);
        QCOMPARE(f.list()->topLevelItem(6)->text(TListRing::ColName), QString("B [пропущен]"));
        // At the call's own time, in the locale's 12- or 24-hour form.
        const QString time = f.list()->topLevelItem(6)->text(TListRing::ColTime);
        QVERIFY2(time.contains(QRegularExpression("^0?9:07:00")), qPrintable(time));
    }

    void optionsPageShowsTheStateAndOkSwitchesServer() {
        zrktest::NcidTestServer first, second;
        QVERIFY(first.start());
        QVERIFY(second.start());
        MainFixture f(first.settingsKey());
        QTRY_COMPARE(f.desk->networkState(), QString("подключено"));
        const auto host = f.window->makeOptionsHost();
        TOptions dlg(*host);
        const auto edit = [&](const char* n) { return dlg.findChild<QLineEdit*>(n); };
        QCOMPARE(edit("eNcidServer")->text(), first.address());
        QCOMPARE(edit("eLineLabel")->text(), QString("-"));
        QCOMPARE(dlg.findChild<QLabel*>("stNetState")->text(), QString("подключено"));
        edit("eNcidServer")->setText("host:port");
        QVERIFY(!dlg.findChild<QLabel*>("lServerNote")->isHidden());
        edit("eNcidServer")->setText(second.address());
        edit("eLineLabel")->setText("Цех 1");
        QCOMPARE(dlg.findChild<QLabel*>("lLabelNote")->text(), QString("Клиенты NCID увидят: Цех_1"));
        edit("eLineLabel")->setText("2");
        QVERIFY(dlg.findChild<QLabel*>("lLabelNote")->isHidden());
        dlg.findChild<QCheckBox*>("cbReceiveCalls")->setChecked(false);
        dlg.findChild<QPushButton*>("bOK")->click();

        QVERIFY(second.waitForClients(1));
        QTRY_COMPARE(first.clientCount(), 0);
        const QString store = QString::fromUtf8(zrktest::readAll(RegistryFile::userPath()));
        QVERIFY(
            store.contains("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Network]\n\"NCID Server\"=\"" +
                           second.address() +
                           "\"\n\"Send Calls\"=dword:00000001\n"
                           "\"Receive Calls\"=dword:00000000\n\"Line Label\"=\"2\"\n"));
    }


    // The window plays what the desk tells it (which sound is the desk's), and blinks even
    // in silence.
    void playsWhatItIsTold() {
        MainFixture f(kSounds, true, callersOfEveryStatus);
        f.feed("RING\rCallerID: 999999:1\r");
        QCOMPARE(f.sound->played, QStringList{"ring.wav"});
        f.child<QTimer>("tRing")->stop();
        f.feed("RING\rCallerID: 100000:1\r");
        QCOMPARE(f.sound->played, QStringList{"ring.wav"});
        QVERIFY(f.child<QTimer>("tRing")->isActive());
    }

    void soundSwitchAndSpeaker() {
        MainFixture f;
        // "Play WAV" off: a report is silent and still; a BEEP gives the speaker signal.
        f.feed("RING\rCallerID: 1:1\r");
        QVERIFY(!f.child<QTimer>("tRing")->isActive());
        QCOMPARE(f.sound->melodies, 0);
        f.feed("BEEP\r");
        QCOMPARE(f.sound->melodies, 2);
        QVERIFY(f.child<QTimer>("tRing")->isActive());

        emit f.child<ClickLabel>("stSound")->clicked();  // sound off: blink without sound
        QVERIFY(!ini().Sound);
        f.child<QTimer>("tRing")->stop();
        f.feed("BEEP\r");
        QCOMPARE(f.sound->melodies, 2);
        QVERIFY(f.child<QTimer>("tRing")->isActive());
    }

    void blinkSequence() {
        MainFixture f;
        f.feed("RING\rBEEP\r");
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
        f.feed("BEEP\r");
        for (int i = 0; i < 6; ++i) f.tick("tRing");
        QVERIFY(f.child<QTimer>("tRing")->isActive());
    }

    void answerAfterIncomingAndOutgoing() {
        MainFixture f;
        f.feed("RING\rCallerID: 2345678:1\r");
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
        f.feed("BUSY\r");
        QStringList countdown;
        for (int tick = 0; tick < 4; ++tick) {
            f.desk->redialTick();
            countdown.append(f.info());
        }
        QCOMPARE(countdown, (QStringList{"*  повтор через 4 сек *", "*  повтор через 3 сек *",
                                         "*  повтор через 2 сек *", "*  повтор через 1 сек *"}));
        f.desk->redialTick();
        f.feed("BUSY\r");
        for (int tick = 0; tick < 5; ++tick) f.desk->redialTick();
        f.feed("BUSY\r");  // attempts used up
        QCOMPARE(f.child<QSystemTrayIcon>("icTray")->toolTip(), QString("Zrk: Занято"));
        QCOMPARE(f.info(), QString("* Занято *"));
    }

    void redialAfterOneSecond() {
        MainFixture f("[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"ReDial\"=dword:00000001\n"
                      "\"ReDialWait\"=dword:00000001\n");
        f.window->ViewNumber("777", false);
        f.window->sbDialClick();
        f.feed("BUSY\r");
        f.takeSent();
        f.desk->redialTick();
        QCOMPARE(f.takeSent(), QByteArray("ATDP777\r\n"));
        QCOMPARE(f.info(), QString("* Набор номера *"));  // no countdown text
    }

    void ringingBlinksTheStrip() {
        MainFixture f;
        f.feed("RINGING\r");
        QVERIFY(f.child<QTimer>("tRinging")->isActive());
        for (int i = 0; i < 21; ++i) f.tick("tRinging");
        QVERIFY(!f.child<QTimer>("tRinging")->isActive());
        QCOMPARE(f.child<QLabel>("pInfo")->palette().color(QPalette::WindowText), fromColorRef(ini().InfoColor));
    }

    // Each window keeps its own caption; the desktop appends nothing to it.
    void windowTitlesAreTheirOwn() {
        Program p;
        ProgramWindows& w = *p.run;
        const QList<QPair<QWidget*, QString>> titles{
            {&w.mainWindow, "Zrk Pro 2.01b"},        {&w.side->book, "Телефонная книжка"},
            {&w.side->alertReminder, "Напоминание"}, {&w.side->reminders, "Напоминания"},
            {&w.side->alert, "Сообщение о звонке"},  {&w.side->calls, "Список звонков"},
            {&w.side->itemInfo, "Полная информация"}};
        for (const auto& [window, title] : titles) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QCOMPARE(window->windowHandle()->title(), title);
            window->hide();
        }
        // The desktop appends the application's display name to every title, where one is
        // set; the set-up names the application only. Without a display name of its own, the
        // display name follows the name.
        QCOMPARE(QGuiApplication::applicationName(), QString("Zrk Pro 2.01b"));
        QGuiApplication::setApplicationName("probe");
        const QString display = QGuiApplication::applicationDisplayName();
        nameApplication();
        QCOMPARE(display, QString("probe"));
    }

    // A report without a digit is no number to cut or group: shown and listed whole.
    void wordInsteadOfANumberGoesEverywhereWhole() {
        Program p;
        p.receive("RING\r\nCallerID: Restricted\r\n");
        ProgramWindows& w = *p.run;
        QCOMPARE(w.mainWindow.findChild<QLabel*>("pNumber")->text(), QString("Restricted"));
        auto* list = w.side->calls.findChild<QTreeWidget*>("lvRing");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("Restricted"));
    }

    // At the start the main window paints first; the others follow it, the book window
    // opening with it where the settings say so.
    void sideWindowsFollowTheMainWindowsPaint() {
        Program p("\"Phone Book\"=dword:00000001\n", {}, true);
        ProgramWindows& w = *p.run;
        w.mainWindow.show();
        QVERIFY(!w.side);
        QVERIFY(QTest::qWaitForWindowExposed(&w.mainWindow));
        QTRY_VERIFY(w.side && w.side->book.isVisible());
        QVERIFY(w.mainWindow.findChild<QAction*>("mPBook")->isChecked());
    }

    // The book is read while the windows appear. What needs it meanwhile waits for it: a
    // caller reported through the port, even before the other windows are there, gets the
    // name from the book; a close of the book window saves the whole book, never the empty
    // one of a book not yet read.
    void whatNeedsTheBookWaitsForItsLoading_data() {
        QTest::addColumn<bool>("call");
        QTest::addColumn<bool>("sideLater");
        QTest::newRow("caller reported") << true << false;
        QTest::newRow("caller reported before the other windows") << true << true;
        QTest::newRow("book window closed") << false << false;
    }
    void whatNeedsTheBookWaitsForItsLoading() {
        QFETCH(bool, call);
        QFETCH(bool, sideLater);
        const QByteArray bytes = smallBook();
        QVERIFY(bytes.size() < PIPE_BUF);
        // The pipe is made in the program's own directory, before its windows. A check that
        // fails leaves it unfed: the writer gives up waiting and feeds it, so the end of the
        // program, which waits for the loading, still comes.
        std::unique_ptr<SlowBook> slow;
        Program p(
            "\"Phone Book\"=dword:00000001\n", [&] { slow = std::make_unique<SlowBook>(bytes); },
            sideLater);
        ProgramWindows& w = *p.run;
        if (sideLater) {
            QVERIFY(!w.side);
        } else {
            w.mainWindow.show();
            QTRY_VERIFY(w.side->book.isVisible());
            QVERIFY(!w.side->book.isLoaded());
            QVERIFY(!w.side->book.isEnabled());  // no command on a book not there yet
        }

        slow->releaseAfter(300);
        if (call) {
            p.receive("RING\r\nCallerID: 345678\r\n");
            QCOMPARE(w.mainWindow.findChild<QLabel*>("pInfo")->text(), QString("Анна Петровна"));
            auto* list = w.side->calls.findChild<QTreeWidget*>("lvRing");
            QCOMPARE(list->topLevelItemCount(), 1);
            QCOMPARE(list->topLevelItem(0)->text(TListRing::ColName), QString("Анна Петровна"));
            QVERIFY(fromCp1251(zrktest::readAll("ZrkLog.txt")).contains("Анна Петровна"));
        } else {
            w.side->book.close();
            BookStore saved;
            saved.load("book.phn");
            QCOMPARE(saved.count(), 3);
            QCOMPARE(saved.text(0, FieldName), QString("Анна Петровна"));
        }
        QVERIFY(w.side->book.isLoaded());
        QVERIFY(w.side->book.isEnabled());
        QCOMPARE(w.side->book.rows().count(), 3);
    }

    // The book is read where "Phone Book File" says, though its reading starts before the
    // main window is made.
    void bookReadFromTheStoredFile() {
        Program p("\"Phone Book File\"=\"other.phn\"\n",
                  [] { QVERIFY(zrktest::writeAll("other.phn", smallBook())); });
        p.receive("RING\r\nCallerID: 345678\r\n");
        QCOMPARE(p.run->mainWindow.findChild<QLabel*>("pInfo")->text(), QString("Анна Петровна"));
        QCOMPARE(p.run->bookDocument.store().count(), 3);
    }

    // The session manager quits the application: the close saves as the main window's close
    // does, and a book that cannot be saved is told on the standard error stream, not in a
    // box that nobody would click.
    void sessionQuitTellsFailuresOnStderr() {
        Program p("\"Phone Book\"=dword:00000001\n\"Phone Book File\"=\"nodir/book.phn\"\n");
        QVERIFY(zrktest::writeAll("nodir", "a file, not a folder"));
        ProgramWindows& w = *p.run;
        w.mainWindow.show();
        QTRY_VERIFY(w.side->book.isVisible());
        zrktest::ShownBoxes shown;
        CapturedStderr err;
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
        QVERIFY(!w.side->book.isVisible());
        QCOMPARE(shown.shown, QStringList());
        QVERIFY2(err.text().contains("Ошибка создания nodir/book.phn!"), err.text().constData());
        QVERIFY(zrktest::readAll(p.box.registryPath()).contains("Position\\PhoneBook"));
    }
};

QTEST_MAIN(TestNetwork)
#include "tst_network.moc"
