// One program per data directory, between real processes: this test starts itself as the
// first program (which may take its time before its event loop runs, as the real one does
// while it builds its windows) and as the second.
#include "core/platform/DataDirectory.h"
#include "core/platform/SingleInstance.h"

#include "TestSupport.h"

#include <QProcess>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstring>

using namespace zrk;

namespace {

// --first DIR MS: takes the data directory, says "locked", is busy for MS milliseconds,
// then answers; says "forward TOKEN" for each start it brings forward, and ends a second
// after the first one.
int runFirst(char** argv) {
    SingleInstance instance(QString::fromLocal8Bit(argv[2]));
    std::printf("%s\n", instance.state() == SingleInstance::First ? "locked" : "not first");
    std::fflush(stdout);
    if (instance.state() != SingleInstance::First) return 1;
    QThread::msleep(std::strtoul(argv[3], nullptr, 10));
    instance.answerWith([](const WakeRequest& r) {
        std::printf("forward %s\n", r.activationToken.constData());
        std::fflush(stdout);
        QTimer::singleShot(1000, QCoreApplication::instance(), &QCoreApplication::quit);
    });
    QTimer::singleShot(20000, QCoreApplication::instance(), &QCoreApplication::quit);
    return QCoreApplication::exec();
}

// --second DIR TOKEN: says what the first did with its request.
int runSecond(char** argv) {
    SingleInstance instance(QString::fromLocal8Bit(argv[2]));
    if (instance.state() != SingleInstance::AnotherRuns) {
        std::printf("first\n");
        return 0;
    }
    const SingleInstance::Wake w = instance.wakeFirst({QByteArray(argv[3])});
    std::printf("%s\n", w == SingleInstance::Raised   ? "raised"
                        : w == SingleInstance::Queued ? "queued"
                                                      : "no answer");
    return 0;
}

QString self() {
    return QCoreApplication::applicationFilePath();
}

// The first program, once it holds the lock.
std::unique_ptr<QProcess> startFirst(const QString& dir, int busyMs) {
    auto p = std::make_unique<QProcess>();
    p->start(self(), {"--first", dir, QString::number(busyMs)});
    if (!p->waitForReadyRead(10000) || !p->canReadLine() || p->readLine() != "locked\n") return {};
    return p;
}

QByteArray second(const QString& dir, const QString& token, qint64* ms = nullptr) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(self(), {"--second", dir, token});
    if (!p.waitForFinished(15000)) return "hung";
    if (ms) *ms = t.elapsed();
    return p.readAllStandardOutput().trimmed();
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    // A second start while the first is still busy starting is not lost: it leaves its
    // request (with its activation token) and ends; the first comes forward once it can.
    void secondStartDuringTheFirstsStart() {
        zrktest::Sandbox box;
        const QString dir = box.filePath("data");
        QVERIFY(QDir().mkpath(dir));
        auto first = startFirst(dir, 8000);
        QVERIFY(first);
        qint64 ms = 0;
        const QByteArray said = second(dir, "token-1", &ms);
        // Queued and gone long before the first can answer, unless this machine is so slow
        // that the first was ready first.
        QVERIFY2(said == "queued" || said == "raised", said.constData());
        QVERIFY2(ms < 8000 || said == "raised", qPrintable(QString::number(ms)));
        // It has gone; the first still brings its window forward, with its token.
        QVERIFY(first->waitForReadyRead(10000));
        QCOMPARE(first->readLine(), QByteArray("forward token-1\n"));
        // Started, it answers at once.
        QCOMPARE(second(dir, "token-2"), QByteArray("raised"));
        QVERIFY(first->waitForFinished(10000));
        QCOMPARE(first->readAllStandardOutput(), QByteArray("forward token-2\n"));
    }

    // Lock and socket live in the runtime directory, named after the data directory's real
    // path: the data directory holds nothing of ours, a link to it is the same directory, and
    // a first that was killed blocks nothing.
    void lockLivesOutsideTheDataDirectory() {
        zrktest::Sandbox box;
        const QString dir = box.filePath("data");
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(zrktest::writeAll(dir + "/.zrk-pro.lock", ""));  // left by an older version
        QVERIFY(QFile::link(dir, box.filePath("link")));
        auto first = startFirst(dir, 0);
        QVERIFY(first);
        QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        const QString lock = SingleInstance::lockPath(dir);
        QVERIFY2(lock.startsWith(runtimeDirectory() + "/") && QFile::exists(lock),
                 qPrintable(lock));
        QCOMPARE(SingleInstance::lockPath(box.filePath("link")), lock);
        QVERIFY(SingleInstance::lockPath(box.filePath("other")) != lock);
        QCOMPARE(second(box.filePath("link"), "t"), QByteArray("raised"));
        QVERIFY(first->waitForFinished(10000));

        first = startFirst(dir, 60000);
        QVERIFY(first);
        first->kill();
        QVERIFY(first->waitForFinished(5000));
        QCOMPARE(second(dir, "t"), QByteArray("first"));

        // A runtime directory too deep for a socket's name: the second still finds the first.
        const QString deep = box.filePath("run/" + QString("r").repeated(100));
        QVERIFY(QDir().mkpath(deep));
        qputenv("XDG_RUNTIME_DIR", deep.toLocal8Bit());
        QVERIFY(QFile::encodeName(SingleInstance::socketPath(dir)).size() <= 107);
        first = startFirst(dir, 0);
        QVERIFY(first);
        QCOMPARE(second(dir, "t"), QByteArray("raised"));
        QVERIFY(first->waitForFinished(10000));
        QVERIFY2(!first->readAllStandardError().contains("Name error"),
                 "the socket's name was too long");
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && !std::strcmp(argv[1], "--first")) return runFirst(argv);
    if (argc == 4 && !std::strcmp(argv[1], "--second")) return runSecond(argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
