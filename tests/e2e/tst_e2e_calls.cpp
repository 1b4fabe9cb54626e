// The real program against the modem simulator on a pseudo-terminal.
#include "book/BookStore.h"
#include "platform/Cp1251.h"
#include "platform/Registry.h"

#include "ModemSimDriver.h"
#include "TestSupport.h"

#include <QProcess>

#include <csignal>

using namespace zrk;
using zrktest::ModemSimDriver;

namespace {

struct Program {
    explicit Program(const zrktest::Sandbox& box, const QString& device, const QByteArray& extra = {}) {
        zrktest::writeAll(box.registryPath(),
                          "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro]\n\"Minimized\"=dword:00000000\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Devices]\n\"Com2\"=\"" +
                              device.toUtf8() + "\"\n\"Com2 Virtual\"=dword:00000001\n\n" + extra);
        proc.setWorkingDirectory(box.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", box.filePath("config"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        proc.setProcessEnvironment(env);
        proc.setProcessChannelMode(QProcess::ForwardedChannels);
        proc.start(QStringLiteral(ZRK_PRO), {});
    }
    ~Program() {
        if (proc.state() != QProcess::NotRunning) {
            proc.kill();
            proc.waitForFinished(5000);
        }
    }
    bool terminate() {
        ::kill(pid_t(proc.processId()), SIGTERM);
        return proc.waitForFinished(10000) && proc.exitStatus() == QProcess::NormalExit &&
               proc.exitCode() == 0;
    }
    QProcess proc;
};

void writeBook() {
    BookStore book;
    BookGroup spam = BookGroup::empty();
    spam.Title.setText("Спам");
    spam.Action = 3;  // hang up
    book.AddGroup(spam, true);
    BookEntry friendEntry = BookEntry::empty();
    friendEntry.Name.setText("Иванов Иван");
    friendEntry.Phone.setText("34-56-78");
    book.AddItem(friendEntry, true);
    BookEntry seller = BookEntry::empty();
    seller.Name.setText("Продавец");
    seller.Phone.setText("111111");
    seller.Group = 1;
    book.AddItem(seller, true);
    QVERIFY(book.SaveList());
}

}  // namespace

class TestE2ECalls : public QObject {
    Q_OBJECT
private slots:
    void ringsReportLogAndHangUp() {
        zrktest::Sandbox box;
        writeBook();
        ModemSimDriver sim;
        QVERIFY(sim.start());
        Program zrk(box, sim.devicePath(),
                    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Modem]\n\"Answer On Ring\"=dword:00000001\n");
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));

        // Two rings before the number is asked for.
        sim.clear();
        sim.send("call 4952345678 1 rings 2 interval 0.3");
        QVERIFY(sim.waitForReceived("AT+SR", 10000));
        QCOMPARE(sim.sent().count("RING"), 2);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(box.filePath("ZrkLog.txt")), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(fromCp1251(zrktest::readAll(box.filePath("ZrkLog.txt")))
                                     .contains("34-56-78 Иванов Иван"), 5000);

        // A caller of a hang-up group: the modem is hung up and initialised again.
        sim.clear();
        sim.send("call 111111 1 rings 2 interval 0.3");
        QVERIFY(sim.waitForReceived("+++~~~ATH0", 10000));
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 5000));
        QVERIFY(sim.received().indexOf("+++~~~ATH0") < sim.received().lastIndexOf("ATM2+S64=1+S73=2"));

        QVERIFY(zrk.terminate());
        const QString log = fromCp1251(zrktest::readAll(box.filePath("ZrkLog.txt")));
        QCOMPARE(log.count("USR Courier"), 1);  // the header once
        QVERIFY(log.contains("11-11-11 Продавец"));
        QVERIFY(log.indexOf("34-56-78 Иванов Иван") < log.indexOf("11-11-11 Продавец"));

        // The settings and the window position were saved on SIGTERM.
        RegistryFile store(box.registryPath());
        RegKey reg(store);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\Main"));
        QVERIFY(reg.valueExists("Left"));
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(reg.readInteger("Answer On Ring"), 1);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Devices"));  // kept as it was
    }

    void closingSendsNoModemCommand() {
        zrktest::Sandbox box;
        ModemSimDriver sim;
        QVERIFY(sim.start());
        Program zrk(box, sim.devicePath());
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        QVERIFY(zrk.terminate());
        QVERIFY(!sim.received().contains("+++~~~ATH0"));  // closing sends no command
    }
};

QTEST_GUILESS_MAIN(TestE2ECalls)
#include "tst_e2e_calls.moc"
