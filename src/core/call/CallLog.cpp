#include "core/call/CallLog.h"

#include "core/history/LogLine.h"
#include "core/platform/Cp1251.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace zrk {
namespace {

// Closes on every way out; close() reports the error of the final close.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool fail(FileError* error, const QString& fileName, int code) {
    if (error) *error = FileError{code, QCoreApplication::translate("zrk::CallLog", "Ошибка записи %1!").arg(fileName)};
    return false;
}

// Writes `data` and closes; false with errno set when either fails.
bool writeAndClose(Fd& fd, const QByteArray& data) {
    return writeAll(fd.get(), data) && fd.close();
}

}  // namespace

// Russian in every language: the log file's own first lines.
QByteArray callLogHeader() {
    return toCp1251(
        QStringLiteral(";Zrk (USR Courier) v2.01b\r\n"
                       ";Zrk Pro для Linux: журнал звонков, одна строка на звонок\r\n"
                       "\r\n"));
}

// One form in every language: a log written under one is read the same under another.
QString logDateText(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString logTimeText(const QTime& time) {
    return time.toString(QStringLiteral("H:mm:ss"));
}

QByteArray callLogLine(const QDateTime& when, const QString& text) {
    return toCp1251(logDateText(when.date()) + QLatin1Char(' ') + logTimeText(when.time()) +
                    QLatin1Char(' ') + text + QStringLiteral("\r\n"));
}

namespace {

bool appendLine(const QString& fileName, const QByteArray& line, FileError* error) {
    const QByteArray path = QFile::encodeName(fileName);
    if (path.isEmpty()) return true;

    // Only a file that is not there at all gets the header; one that exists but cannot be
    // read is appended to as it is.
    // Never wait in open(): a named pipe picked as the log would hold the window until a
    // reader came. For a plain file the flag changes nothing.
    const int probe = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (probe >= 0) {
        ::close(probe);
    } else if (errno == ENOENT) {
        Fd created(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (created.get() >= 0) {
            if (!writeAndClose(created, callLogHeader())) return fail(error, fileName, errno);
        } else if (errno != EEXIST) {
            return true;  // no directory, no rights: the line is lost, as the user chose the place
        }
    }

    Fd log(::open(path.constData(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC));
    if (log.get() < 0) return true;
    if (!writeAndClose(log, line)) return fail(error, fileName, errno);
    return true;
}

}  // namespace

bool WriteLog(const QString& text, FileError* error) {
    return WriteLog(ini().LogFile, text, QDateTime::currentDateTime(), error);
}

bool WriteLog(const QString& fileName, const QString& text, const QDateTime& when,
              FileError* error) {
    return appendLine(fileName, callLogLine(when, text), error);
}

bool WriteMissedMark(const QString& fileName, const QDateTime& when, const QString& number,
                     FileError* error) {
    return appendLine(fileName, kMissedMark + callLogLine(when, number), error);
}

}  // namespace zrk
