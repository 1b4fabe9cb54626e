#include "core/platform/SingleInstance.h"

#include "core/platform/DataDirectory.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zrk {
namespace {

// A request is "forward", then "activation TOKEN" when there is one, then an empty line. The
// answers: "wait" at once while the first is starting, "shown" when its window came forward.
constexpr char kWake[] = "forward\n";
constexpr char kWait[] = "wait\n";
constexpr char kShown[] = "shown\n";
constexpr char kRequestBuffer[] = "zrkRequest";
constexpr char kServed[] = "zrkServed";

// The request in `data`, once it is whole.
bool parseRequest(const QByteArray& data, WakeRequest* r) {
    const qsizetype end = data.indexOf("\n\n");
    if (end < 0 || !data.startsWith(kWake)) return false;
    for (const QByteArray& line : data.left(end).split('\n')) {
        if (line.startsWith("activation ")) r->activationToken = line.mid(11);
    }
    return true;
}

int remaining(const QDeadlineTimer& d) {
    return int(qMax<qint64>(1, d.remainingTime()));
}

}  // namespace

void WakeRequest::prepareActivation() const {
    if (!activationToken.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", activationToken);
}

QString SingleInstance::lockPath(const QString& dataDir) {
    return runtimeFileFor("data", dataDir, ".lock");
}

QString SingleInstance::socketPath(const QString& dataDir) {
    return shortSocketPath(runtimeFileFor("data", dataDir, ".socket"));
}

SingleInstance::SingleInstance(const QString& dataDir, const QString& program, QObject* parent)
    : QObject(parent), socket_(socketPath(dataDir)) {
    const QString path = lockPath(dataDir);
    if (path.isEmpty()) {
        problem_ =
            tr("Нет каталога для блокировки (XDG_RUNTIME_DIR). Второй экземпляр "
               "программы с этим каталогом данных не будет замечен.");
        return;
    }
    lockFd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        problem_ = tr("Не удалось создать %1: %2. Второй экземпляр программы с "
                      "этим каталогом данных не будет замечен.")
                       .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            state_ = AnotherRuns;
        else
            problem_ = tr("Не удалось заблокировать %1: %2.")
                           .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    state_ = First;
    // Who holds it, for a second start to say; the lock, not the text, is what guards.
    const QByteArray name = program.toUtf8() + '\n';
    if (::ftruncate(lockFd_, 0) != 0 || ::pwrite(lockFd_, name.constData(), size_t(name.size()), 0) < 0)
        qWarning("zrk: the lock file does not name its holder: %s", std::strerror(errno));
    // Where older versions kept the lock: the data directory holds only the user's files.
    QFile::remove(QDir(dataDir).filePath(QStringLiteral(".zrk-pro.lock")));
    // Listening now, not once the windows are built: a second start in that time would find
    // nobody and give up.
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock: a socket left by a crashed first instance is stale.
    QLocalServer::removeServer(socket_);
    if (!server_->listen(socket_)) {
        problem_ = server_->errorString();
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) take(s);
    });
}

QString SingleInstance::holder() const {
    if (state_ != AnotherRuns || lockFd_ < 0) return {};
    char buffer[64] = {};
    const ssize_t n = ::pread(lockFd_, buffer, sizeof buffer - 1, 0);
    return n > 0 ? QString::fromUtf8(buffer, n).section(QLatin1Char('\n'), 0, 0).trimmed()
                 : QString();
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
    if (lockFd_ >= 0) ::close(lockFd_);  // releases the lock
}

void SingleInstance::take(QLocalSocket* s) {
    connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    // A second start that has already gone still left its request to be read.
    connect(s, &QLocalSocket::readyRead, this, [this, s] { serve(s); });
    connect(s, &QLocalSocket::disconnected, this, [this, s] { serve(s); });
    if (s->bytesAvailable() > 0) serve(s);
}

void SingleInstance::serve(QLocalSocket* s) {
    if (s->property(kServed).toBool()) return;
    const QByteArray buffer = s->property(kRequestBuffer).toByteArray() + s->readAll();
    s->setProperty(kRequestBuffer, buffer);
    WakeRequest request;
    if (!parseRequest(buffer, &request)) {
        if (buffer.size() > 4096) s->disconnectFromServer();  // not a request of ours
        return;
    }
    s->setProperty(kServed, true);
    if (!bringForward_) {
        pending_.append(request);
        waiting_.append(s);
        s->write(kWait);
        s->flush();
        return;
    }
    bringForward_(request);
    s->write(kShown);
    s->flush();
    s->disconnectFromServer();
}

void SingleInstance::answerWith(std::function<void(const WakeRequest&)> bringForward) {
    bringForward_ = std::move(bringForward);
    // What came while nobody ran the event loop is read first.
    if (server_)
        while (QLocalSocket* s = server_->nextPendingConnection()) take(s);
    const QList<WakeRequest> requests = std::exchange(pending_, {});
    for (const WakeRequest& r : requests) bringForward_(r);
    for (const QPointer<QLocalSocket>& s : std::exchange(waiting_, {})) {
        if (!s || s->state() != QLocalSocket::ConnectedState) continue;
        s->write(kShown);
        s->flush();
        s->disconnectFromServer();
    }
}

SingleInstance::Wake SingleInstance::wakeFirst(const WakeRequest& request, int ms) {
    QByteArray message = kWake;
    if (!request.activationToken.isEmpty())
        message += "activation " + request.activationToken + '\n';
    message += '\n';
    const QDeadlineTimer deadline(ms);
    // The first may be between taking its lock and listening.
    while (!deadline.hasExpired()) {
        QLocalSocket s;
        s.connectToServer(socket_);
        if (!s.waitForConnected(remaining(deadline))) {
            QThread::msleep(50);
            continue;
        }
        s.write(message);
        if (!s.waitForBytesWritten(remaining(deadline))) return NoAnswer;
        // Sent: a first still building its windows reads it when its event loop runs, whether
        // or not we are still here.
        while (!deadline.hasExpired()) {
            while (s.canReadLine()) {
                const QByteArray line = s.readLine();
                if (line == kShown) return Raised;
                if (line == kWait) return Queued;
            }
            if (s.state() != QLocalSocket::ConnectedState) return NoAnswer;
            s.waitForReadyRead(remaining(deadline));
        }
        return Queued;
    }
    return NoAnswer;
}

}  // namespace zrk
