#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zrk {
namespace {

constexpr char kLockName[] = ".zrk-pro.lock";
constexpr char kWake[] = "forward\n";
constexpr char kDone[] = "shown\n";

}  // namespace

QString SingleInstance::socketName(const QString& dataDir) {
    const QString canonical = QDir(dataDir).canonicalPath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("zrk-pro-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

SingleInstance::SingleInstance(const QString& dataDir, QObject* parent)
    : QObject(parent), name_(socketName(dataDir)) {
    const QByteArray path = QFile::encodeName(QDir(dataDir).filePath(QLatin1String(kLockName)));
    lockFd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lockFd_ < 0) {
        problem_ = QStringLiteral("Не удалось создать %1: %2. Второй экземпляр программы с "
                                  "этим каталогом не будет замечен.")
                       .arg(QFile::decodeName(path), QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        state_ = First;
    } else if (errno == EWOULDBLOCK) {
        state_ = AnotherRuns;
    } else {
        problem_ = QStringLiteral("Не удалось заблокировать %1: %2.")
                       .arg(QFile::decodeName(path), QString::fromLocal8Bit(std::strerror(errno)));
    }
}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
    if (lockFd_ >= 0) ::close(lockFd_);  // releases the lock
}

void SingleInstance::listen(std::function<void()> bringForward) {
    if (state_ != First) return;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock: a socket left by a crashed first instance is stale.
    QLocalServer::removeServer(name_);
    if (!server_->listen(name_)) {
        problem_ = server_->errorString();
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, [this, bringForward] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, this, [s, bringForward] {
                if (!s->canReadLine()) return;
                if (s->readLine() != kWake) return s->disconnectFromServer();
                bringForward();
                s->write(kDone);
                s->flush();
                s->disconnectFromServer();
            });
        }
    });
}

bool SingleInstance::wakeFirst(int ms) {
    const QDeadlineTimer deadline(ms);
    // The first may still be starting: its socket comes a moment after its lock.
    while (!deadline.hasExpired()) {
        QLocalSocket s;
        s.connectToServer(name_);
        if (s.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            s.write(kWake);
            if (!s.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())))) return false;
            while (!s.canReadLine() && s.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            }
            return s.canReadLine() && s.readLine() == kDone;
        }
        QThread::msleep(50);
    }
    return false;
}

}  // namespace zrk
