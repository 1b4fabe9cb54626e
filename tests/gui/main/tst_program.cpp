// The program's own set-up, as its entry runs it: the windows' titles, a caller report
// without a digit from the port to the display, the call list and the log, and a quit of the
// desktop session that must not wait on a box.
#include "gui/main/Program.h"

#include "core/book/BookStore.h"
#include "core/platform/Cp1251.h"
#include "core/platform/Registry.h"
#include "core/serial/FakeSerialDevice.h"
#include "core/settings/Settings.h"

#include "BookSamples.h"
#include "ShownBoxes.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTreeWidget>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

using namespace zrk;

namespace {

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

class TestProgram : public QObject {
    Q_OBJECT
private slots:
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

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
