// The program's own set-up, as its entry runs it: the windows' titles, a caller report
// without a digit from the port to the display, the call list and the log, and a quit of the
// desktop session that must not wait on a box.
#include "main/Program.h"

#include "platform/Cp1251.h"
#include "platform/Registry.h"
#include "serial/FakeSerialDevice.h"
#include "settings/Settings.h"

#include "ShownBoxes.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QTreeWidget>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <memory>

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

struct Program {
    explicit Program(const QByteArray& storeBody = {}) {
        RegistryFile::resetUser();
        zrktest::writeAll(box.registryPath(),
                          "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Minimized\"=dword:00000000\n" +
                              storeBody);
        RegistryFile::resetUser();
        device->status = kMsDsrOn;
        nameApplication();
        run = std::make_unique<ProgramWindows>(device, nullptr);
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
            {&w.mainWindow, "Zrk Pro 2.01b"},  {&w.book, "Телефонная книжка"},
            {&w.alertReminder, "Напоминание"}, {&w.reminders, "Напоминания"},
            {&w.alert, "Сообщение о звонке"},  {&w.calls, "Список звонков"},
            {&w.itemInfo, "Полная информация"}};
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

    // A report without a digit is no number to cut or group: shown, listed and logged whole.
    void wordInsteadOfANumberGoesEverywhereWhole() {
        Program p;
        p.receive("RING\r\nCallerID: Restricted\r\n");
        ProgramWindows& w = *p.run;
        QCOMPARE(w.mainWindow.findChild<QLabel*>("pNumber")->text(), QString("Restricted"));
        auto* list = w.calls.findChild<QTreeWidget*>("lvRing");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("Restricted"));
        const QStringList log = fromCp1251(zrktest::readAll("ZrkLog.txt"))
                                    .split(QRegularExpression("[\r\n]+"), Qt::SkipEmptyParts);
        QVERIFY(!log.isEmpty());
        // Date, time, the word, and the blank before an empty name.
        QVERIFY2(QRegularExpression("^\\S+ \\S+ Restricted $").match(log.last()).hasMatch(),
                 qPrintable(log.last()));
    }

    // The session manager quits the application: the close saves as the main window's close
    // does, and a book that cannot be saved is told on the standard error stream, not in a
    // box that nobody would click.
    void sessionQuitTellsFailuresOnStderr() {
        Program p("\"Phone Book\"=dword:00000001\n\"Phone Book File\"=\"nodir/book.phn\"\n");
        QVERIFY(zrktest::writeAll("nodir", "a file, not a folder"));
        ProgramWindows& w = *p.run;
        w.mainWindow.show();
        QTRY_VERIFY(w.book.isVisible());
        zrktest::ShownBoxes shown;
        CapturedStderr err;
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(qApp, &quit);
        QVERIFY(!w.book.isVisible());
        QCOMPARE(shown.shown, QStringList());
        QVERIFY2(err.text().contains("Ошибка создания nodir/book.phn!"), err.text().constData());
        QVERIFY(zrktest::readAll(p.box.registryPath()).contains("Position\\PhoneBook"));
    }
};

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
