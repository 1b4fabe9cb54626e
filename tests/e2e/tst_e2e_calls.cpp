// The real program against the modem simulator on a pseudo-terminal.
#include "core/book/BookStore.h"
#include "core/platform/Cp1251.h"
#include "core/platform/Registry.h"

#include "ModemSimDriver.h"
#include "TestSupport.h"

#include <QProcess>
#include <QScopeGuard>

#include <csignal>

using namespace zrk;

class TestE2ECalls : public QObject {
    Q_OBJECT
private slots:
    void ringsReportLogHangUpAndSave() {
        zrktest::Sandbox box;
        BookStore book;
        book.AddGroup(BookGroup::make("Спам", {}, 3), true);  // callers to hang up on
        for (const auto& [name, phone, group] :
             {std::tuple{"Иванов Иван", "34-56-78", 0}, std::tuple{"Продавец", "111111", 1}}) {
            BookEntry e = BookEntry::empty();
            e.Name.setText(name);
            e.Phone.setText(phone);
            e.Group = group;
            book.AddItem(e, true);
        }
        QVERIFY(book.SaveList());

        zrktest::ModemSimDriver sim;
        QVERIFY(sim.start());
        QVERIFY(zrktest::writeAll(box.registryPath(),
                                  sim.settingsStore("\"Answer On Ring\"=dword:00000001\n")));
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QProcess zrk;
        zrk.setProcessChannelMode(QProcess::ForwardedChannels);
        zrk.start(QStringLiteral(ZRK_PRO), {});  // the sandbox's directory and settings
        const auto end = qScopeGuard([&] {
            zrk.kill();
            zrk.waitForFinished(5000);
        });
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));

        // Two rings before the number is asked for; the caller is logged with the book's name.
        // Asked again two rings later, the same call is logged once. A second between rings
        // (a line's are five apart) leaves a loaded machine time to answer each.
        sim.clear();
        sim.send("call 4952345678 1 rings 4 interval 1");
        QVERIFY(sim.waitForReceived("AT+SR", 10000));
        QCOMPARE(sim.sentBefore("AT+SR", "RING"), 2);
        const auto log = [&] { return fromCp1251(zrktest::readAll(box.filePath("ZrkLog.txt"))); };
        QTRY_VERIFY_WITH_TIMEOUT(log().contains("34-56-78 Иванов Иван"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(sim.received().count("AT+SR"), 2, 10000);
        QTest::qWait(300);
        QCOMPARE(log().count("34-56-78 Иванов Иван"), 1);

        // A caller of a hang-up group: the modem is hung up and initialised again.
        sim.clear();
        sim.send("call 111111 1 rings 2 interval 0.3");
        QVERIFY(sim.waitForReceived("ATM2+S64=1+S73=2", 10000));
        QCOMPARE(sim.receivedFrom("+++~~~ATH0", 2), QStringList({"+++~~~ATH0", "ATM2+S64=1+S73=2"}));

        // SIGTERM: the settings and the window position are saved; closing sends no command.
        sim.clear();
        ::kill(pid_t(zrk.processId()), SIGTERM);
        QVERIFY(zrk.waitForFinished(10000));
        QCOMPARE(zrk.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zrk.exitCode(), 0);
        QVERIFY(!sim.waitForReceived("+++~~~ATH0", 300));
        QCOMPARE(log().count("USR Courier"), 1);  // the header once
        QVERIFY(log().indexOf("34-56-78 Иванов Иван") < log().indexOf("11-11-11 Продавец"));
        RegistryFile store(box.registryPath());
        RegKey reg(store);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Position\\Main"));
        QVERIFY(reg.valueExists("Left"));
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Modem"));
        QCOMPARE(reg.readInteger("Answer On Ring"), 1);
        QVERIFY(reg.openKeyReadOnly("Software\\Zrk Pro\\Devices"));  // kept as it was
    }
};

QTEST_GUILESS_MAIN(TestE2ECalls)
#include "tst_e2e_calls.moc"
