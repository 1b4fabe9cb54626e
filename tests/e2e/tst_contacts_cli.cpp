// --import-contacts and --export-contacts, run as a user runs them.
#include "CardDavServer.h"
#include "TestSupport.h"
#include "core/book/BookStore.h"

#include <QProcess>
#include <QRandomGenerator>

#include <csignal>
#include <memory>

using namespace zrk;

namespace {

struct Run {
    int code = -1;
    QString out, err;
};

Run run(const QStringList& args) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QProcess p;
    p.start(QStringLiteral(ZRK_PRO), args);
    Run r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QStringList bookIn(const QString& dir) {
    BookStore b;
    b.load(dir + "/book.phn");
    QStringList out;
    for (int i = 0; i < b.count(); ++i) {
        const int g = b.groupOf(i);
        out << b.text(i, FieldName) + "|" + b.text(i, FieldPhone) + "|" +
                   b.text(i, FieldWorkPhone) + "|" + (g > 0 ? b.group(g).Text : QString());
    }
    return out;
}

const QByteArray kCards =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Орлов Андрей\r\nTEL;TYPE=CELL:+7 903 765-43-21\r\n"
    "TEL;TYPE=WORK:+7 495 111-22-33\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Петров\r\nTEL:8 (903) 000-00-01\r\nEND:VCARD\r\n";

}  // namespace

class TestContactsCli : public QObject {
    Q_OBJECT
private slots:
    void importAndExport() {
        zrktest::Sandbox box;
        const QString dir = box.filePath("data");
        QVERIFY(zrktest::writeAll(box.filePath("first.vcf"),
                                  "BEGIN:VCARD\nFN:Петров П.\nTEL:89030000001\nEND:VCARD\n"));
        Run r = run({"--data-dir", dir, "--import-contacts", box.filePath("first.vcf")});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains("Добавлено записей: 1; пропущено (номер уже есть в книге): 0; "
                                "создано групп: 0."),
                 qPrintable(r.out));
        const QByteArray before = zrktest::readAll(dir + "/book.phn");

        // A relative file name is the caller's, not the data directory's.
        QVERIFY(zrktest::writeAll(box.filePath("contacts.vcf"), kCards));
        r = run({"--import-contacts", "contacts.vcf", "--group", "Друзья", "--data-dir", dir});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.contains("Добавлено записей: 2; пропущено (номер уже есть в книге): 1; "
                                "создано групп: 1."),
                 qPrintable(r.out));
        QCOMPARE(zrktest::readAll(dir + "/book.bak"), before);
        QCOMPARE(bookIn(dir), (QStringList{
                                  "Петров П.|89030000001||",
                                  "Орлов Андрей (Мобильный)|89037654321|84951112233|Друзья",
                                  "Орлов Андрей (Рабочий)|84951112233|84951112233|Друзья",
                              }));

        // Out and back in, to a data directory of its own.
        for (const char* name : {"out.vcf", "out.csv"}) {
            r = run({"--data-dir", dir, "--export-contacts", box.filePath(name)});
            QCOMPARE(r.code, 0);
            QVERIFY(r.out.contains("Записей выгружено: 3"));
            const QString other = box.filePath(QString("copy-") + name);
            r = run({"--data-dir", other, "--import-contacts", box.filePath(name)});
            QCOMPARE(r.code, 0);
            QCOMPARE(bookIn(other), bookIn(dir));
        }
        QVERIFY(zrktest::readAll(box.filePath("out.csv")).startsWith("\xEF\xBB\xBF"));
    }

    // Bad input: a message (with the line where there is one) and the book as it was, and
    // nothing written beside it.
    void badInputLeavesTheBook_data() {
        QTest::addColumn<QByteArray>("file");   // written as bad.csv, if any
        QTest::addColumn<QStringList>("args");  // file names in the sandbox
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("quote never closed")
            << QByteArray("Name,Phone\n\"open,1\n") << QStringList{"--import-contacts", "bad.csv"}
            << 1 << "bad.csv: Строка 2: кавычка";
        QTest::newRow("random bytes named .csv") <<
            [] {
                QByteArray noise(100 * 1024, '\0');
                QRandomGenerator rng(7);
                for (char& c : noise) c = char(rng.bounded(256));
                return noise;
            }() << QStringList{"--import-contacts", "bad.csv"}
                                                 << 1 << "bad.csv: Строка 1: это не текстовый файл";
        QTest::newRow("no such file")
            << QByteArray() << QStringList{"--import-contacts", "missing.vcf"} << 1
            << "missing.vcf";
        QTest::newRow("export in a kind it does not write")
            << QByteArray() << QStringList{"--export-contacts", "out.txt"} << 2 << "";
        QTest::newRow("import of no file")
            << QByteArray() << QStringList{"--import-contacts"} << 2 << "";
    }
    void badInputLeavesTheBook() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        zrktest::Sandbox box;
        const QString dir = box.filePath("data");
        QVERIFY(zrktest::writeAll(box.filePath("first.vcf"),
                                  "BEGIN:VCARD\nFN:Петров П.\nTEL:89030000001\nEND:VCARD\n"));
        QCOMPARE(run({"--data-dir", dir, "--import-contacts", box.filePath("first.vcf")}).code, 0);
        if (!file.isEmpty()) QVERIFY(zrktest::writeAll(box.filePath("bad.csv"), file));
        const QByteArray book = zrktest::readAll(dir + "/book.phn");
        const auto all = QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden;
        const QStringList before = QDir(box.path()).entryList(all);
        const QStringList data = QDir(dir).entryList(all);
        for (QString& arg : args)
            if (!arg.startsWith("--")) arg = box.filePath(arg);
        const Run r = run(QStringList{"--data-dir", dir} + args);
        QCOMPARE(r.code, code);
        QVERIFY2(!r.err.isEmpty() && r.err.contains(message), qPrintable(r.err));
        QCOMPARE(zrktest::readAll(dir + "/book.phn"), book);
        QCOMPARE(QDir(box.path()).entryList(all), before);
        QCOMPARE(QDir(dir).entryList(all), data);
    }

    // What the import left out or changed is said, each kind on its line.
    void importSaysWhatItLeftOut() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(
            box.filePath("odd.vcf"),
            "BEGIN:VCARD\nFN:Без номера\nEND:VCARD\nBEGIN:VCARD\nFN:Без номера 2\nEND:VCARD\n"
            "BEGIN:VCARD\nFN:Лис\nTEL;TYPE=WORK:Work\nTEL:Privat\nFN\nTEL:89030000002\n"
            "END:VCARD\nBEGIN:VCARD\nFN:Zoë\nTEL:3\nEND:VCARD\n"));
        const Run r =
            run({"--data-dir", box.filePath("data"), "--import-contacts", box.filePath("odd.vcf")});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts),
                 (QStringList{"Добавлено записей: 2; пропущено (номер уже есть в книге): 0; "
                              "создано групп: 0.",
                              "Пропущено строк, из которых нечего взять: 1 (первая — Строка 11: "
                              "строка без двоеточия внутри карточки.)",
                              "Контактов без номера телефона (не добавлены): 2.",
                              "Пропущено номеров без единой цифры (\"Privat\", \"Work\"...): 2.",
                              "Буквы, которых нет в кодировке книги (Windows-1251), заменены на "
                              "\"?\": записей 1."}));
        QCOMPARE(bookIn(box.filePath("data")), (QStringList{"Лис|89030000002||", "Zo?|3||"}));
    }

    // One writer per data directory: with the program running there, the import is refused
    // and the book is left to the program.
    void refusedWhileTheProgramRuns() {
        zrktest::Sandbox box;
        const QString dir = box.filePath("data");
        QVERIFY(zrktest::writeAll(box.filePath("contacts.vcf"), kCards));
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QProcess running;
        running.start(QStringLiteral(ZRK_PRO), {"--data-dir", dir});
        QVERIFY(running.waitForStarted(5000));
        QVERIFY(!running.waitForFinished(3000));
        const QByteArray book = zrktest::readAll(dir + "/book.phn");

        for (const QString& command :
             {QString("--import-contacts"), QString("--export-contacts")}) {
            const Run r = run({"--data-dir", dir, command, box.filePath("contacts.vcf")});
            QCOMPARE(r.code, 3);
            QVERIFY2(r.err.contains("Закройте программу"), qPrintable(r.err));
        }
        QCOMPARE(run({"--data-dir", dir, "--sync-contacts"}).code, 3);
        QCOMPARE(zrktest::readAll(dir + "/book.phn"), book);
        QCOMPARE(zrktest::readAll(box.filePath("contacts.vcf")), kCards);

        ::kill(pid_t(running.processId()), SIGTERM);
        QVERIFY(running.waitForFinished(10000));
        const Run r = run({"--data-dir", dir, "--import-contacts", box.filePath("contacts.vcf")});
        QCOMPARE(r.code, 0);
        QCOMPARE(bookIn(dir).size(), 3);
    }

    // Two desks through a real server with --sync-contacts, as a script or a line server runs
    // it: what one imports the other gets; a server away is exit 1 with the reason.
    void syncTwoDesks() {
        zrktest::Sandbox box;
        zrktest::CardDavServer server;
        if (!server.missing().isEmpty()) QSKIP(qPrintable(server.missing()));
        QVERIFY(server.start());
        QVERIFY(zrktest::writeAll(box.filePath("pw"), "secret\n"));
        QFile::setPermissions(box.filePath("pw"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QDir().mkpath(box.filePath("config/zrk-pro"));
        QVERIFY(zrktest::writeAll(
            box.registryPath(),
            QString("Windows Registry Editor Version 5.00\n\n"
                    "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\CardDAV]\n\"URL\"=\"%1\"\n"
                    "\"User\"=\"alice\"\n\"Password File\"=\"%2\"\n")
                .arg(server.serverUrl().toString(), box.filePath("pw"))
                .toUtf8()));
        QVERIFY(zrktest::writeAll(box.filePath("contacts.vcf"), kCards));
        const QString a = box.filePath("a"), b = box.filePath("b");
        QCOMPARE(run({"--data-dir", a, "--import-contacts", box.filePath("contacts.vcf")}).code, 0);
        Run r = run({"--data-dir", a, "--sync-contacts"});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QCOMPARE(server.cards().size(), 3);  // an entry a card
        r = run({"--data-dir", b, "--sync-contacts"});
        QVERIFY2(r.code == 0, qPrintable(r.err));
        QStringList inA = bookIn(a), inB = bookIn(b);  // in the order the server lists them
        inA.sort();
        inB.sort();
        QCOMPARE(inB, inA);
        server.stop();
        r = run({"--data-dir", a, "--sync-contacts"});
        QCOMPARE(r.code, 1);
        QVERIFY2(r.err.contains("не синхронизирована"), qPrintable(r.err));
        QCOMPARE(bookIn(a).size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestContactsCli)
#include "tst_contacts_cli.moc"
