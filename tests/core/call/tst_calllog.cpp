// The call log file: header on creation only, the line format, and its failure rules.
#include "core/call/CallLog.h"

#include "core/platform/Cp1251.h"
#include "core/settings/Settings.h"

#include "TestSupport.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>

using namespace zrk;

namespace {

const QDateTime kWhen(QDate(2024, 3, 9), QTime(7, 5, 3));

QByteArray line(const QString& text, const QDateTime& when = kWhen) {
    return toCp1251(logDateText(when.date()) + ' ' + logTimeText(when.time()) + ' ' + text) +
           "\r\n";
}

}  // namespace

class TestCallLog : public QObject {
    Q_OBJECT

private slots:
    void init() {
        box_ = std::make_unique<zrktest::Sandbox>();
        ini() = TIni::defaults();
    }
    void cleanup() { box_.reset(); }

    void headerOnCreationThenOneLinePerCall() {
        WriteLog("12-34-56 Иванов");  // the file named by the settings, "ZrkLog.txt"
        const QByteArray first = zrktest::readAll("ZrkLog.txt");
        const QList<QByteArray> lines = first.split('\n');
        QCOMPARE(lines.size(), 5);  // three header lines, the call, and nothing after the last end
        QCOMPARE(lines[0], QByteArray(";Zrk (USR Courier) v2.01b\r"));
        QVERIFY(lines[1].startsWith(';') && lines[1].endsWith('\r') && lines[1].size() > 2);
        QCOMPARE(lines[2], QByteArray("\r"));
        QVERIFY(lines[3].endsWith(toCp1251(QStringLiteral(" 12-34-56 Иванов\r"))));
        QCOMPARE(lines[4], QByteArray());
        QCOMPARE(first.left(callLogHeader().size()), callLogHeader());

        WriteLog("ZrkLog.txt", "Unknown ", kWhen);
        QCOMPARE(zrktest::readAll("ZrkLog.txt"), first + line("Unknown "));

        ini().LogFile = "calls.log";
        WriteLog("654321 ");
        QVERIFY(zrktest::readAll("calls.log").startsWith(callLogHeader()));
        QCOMPARE(zrktest::readAll("ZrkLog.txt"), first + line("Unknown "));
    }

    void lineFields() {
        // The name of a caller in the book arrives joined to the number; a caller not in the book
        // leaves a trailing blank.
        WriteLog("log.txt", "12-34-56 Пётр Иванов", kWhen);
        WriteLog("log.txt", "12-34-56 ", kWhen);
        QCOMPARE(zrktest::readAll("log.txt").mid(callLogHeader().size()),
                 toCp1251("09.03.2024 7:05:03 12-34-56 Пётр Иванов\r\n"
                          "09.03.2024 7:05:03 12-34-56 \r\n"));
    }

    void dateAndTimeHoldNoBlanks_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("en_US") << "en_US";
        QTest::newRow("en_GB") << "en_GB";
        QTest::newRow("ru_RU") << "ru_RU";
    }

    void dateAndTimeHoldNoBlanks() {
        // One form whatever the language, the one every existing log has.
        QFETCH(QString, locale);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const QDateTime when(QDate(2026, 12, 9), QTime(14, 46, 12));
        const QByteArray written = callLogLine(when, "8-915-123-45-67 ");
        QVERIFY(WriteLog("log.txt", "1 ", when));
        QLocale::setDefault(QLocale(locale == "ru_RU" ? "en_US" : "ru_RU"));
        const QByteArray again = callLogLine(when, "8-915-123-45-67 ");
        QLocale::setDefault(before);
        QCOMPARE(written, QByteArray("09.12.2026 14:46:12 8-915-123-45-67 \r\n"));
        QCOMPARE(again, written);
        QCOMPARE(zrktest::readAll("log.txt"), callLogHeader() + "09.12.2026 14:46:12 1 \r\n");
        QCOMPARE(logDateText(QDate(1999, 1, 2)), QStringLiteral("02.01.1999"));
        QCOMPARE(logTimeText(QTime(23, 59, 58)), QStringLiteral("23:59:58"));
        QCOMPARE(logTimeText(QTime(0, 0, 0)), QStringLiteral("0:00:00"));
    }

    void existingFileGetsNoHeader() {
        QVERIFY(zrktest::writeAll("log.txt", QByteArray()));  // emptied by the user
        WriteLog("log.txt", "1 ", kWhen);
        QCOMPARE(zrktest::readAll("log.txt"), line("1 "));

        // A file the program may append to but not read is appended to, never emptied. (Root
        // reads it all the same; the outcome must then be the same.)
        QVERIFY(zrktest::writeAll("wo.txt", "earlier\r\n"));
        QVERIFY(QFile::setPermissions("wo.txt", QFile::WriteOwner));
        WriteLog("wo.txt", "2 ", kWhen);
        QFile::setPermissions("wo.txt", QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(zrktest::readAll("wo.txt"), "earlier\r\n" + line("2 "));
    }

    void unusablePlacesLoseTheLineSilently() {
        // Silently: no error comes back to be shown.
        QVERIFY(WriteLog("no-such-dir/log.txt", "1 ", kWhen));
        QVERIFY(!QFile::exists("no-such-dir"));
        QVERIFY(QDir().mkdir("adir"));
        QVERIFY(WriteLog("adir", "1 ", kWhen));
        QVERIFY(QFileInfo("adir").isDir());
        QVERIFY(WriteLog("", "1 ", kWhen));
        QCOMPARE(QDir(".").entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void writeFailureIsHandedBack() {
        if (!QFile::exists("/dev/full")) QSKIP("no /dev/full to fail the write");
        QVERIFY(QFile::link("/dev/full", "full.log"));
        FileError error;
        QVERIFY2(!WriteLog("full.log", "12-34-56 ", kWhen, &error), "a failed write was not told");
        QCOMPARE(error.code, ENOSPC);
        QCOMPARE(error.message, QStringLiteral("Ошибка записи full.log!"));
        // The next call goes on as usual.
        WriteLog("log.txt", "1 ", kWhen);
        QCOMPARE(zrktest::readAll("log.txt"), callLogHeader() + line("1 "));
    }

    void pipeWithoutReaderDoesNotBlock() {
        // A named pipe picked as the log must not hold the window until some reader shows up.
        QVERIFY(::mkfifo("pipe.log", 0600) == 0);
        auto done = std::async(std::launch::async, [] { WriteLog("pipe.log", "1 ", kWhen); });
        const bool returned = done.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
        if (!returned) {
            // Set the stuck call free so that the test can end.
            const int fd = ::open("pipe.log", O_RDWR);
            done.wait();
            ::close(fd);
        }
        QVERIFY(returned);
        done.get();
    }

private:
    std::unique_ptr<zrktest::Sandbox> box_;
};

QTEST_GUILESS_MAIN(TestCallLog)
#include "tst_calllog.moc"
