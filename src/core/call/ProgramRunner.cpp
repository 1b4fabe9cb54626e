#include "core/call/ProgramRunner.h"

#include <QDir>
#include <QProcess>
#include <QTimer>

#include <unistd.h>
#include <csignal>

namespace zrk::actions {
namespace {

// How long a stopped program gets to end before it is killed.
constexpr int kGraceMs = 2000;

QString resolved(const QString& program) {
    if (program.startsWith(QLatin1String("~/"))) return QDir::homePath() + program.mid(1);
    return program;
}

// The process group the program leads (it starts a session of its own): a script's children
// go with it.
void signalGroup(const QProcess* process, int sig) {
    const qint64 pid = process->processId();
    if (pid > 0) ::kill(-pid_t(pid), sig);
}

}  // namespace

ProgramRunner::ProgramRunner(QObject* parent) : QObject(parent) {}

ProgramRunner::~ProgramRunner() {
    for (QProcess* p : std::as_const(running_)) {
        p->disconnect(this);
        signalGroup(p, SIGKILL);
        p->waitForFinished(1000);
        delete p;
    }
}

void ProgramRunner::fail(const QString& program, const QString& why) {
    if (told_.contains(program)) return;
    told_.insert(program);
    emit failed(
        Failure::make(Failure::Kind::Other,
                      tr("Действие при звонке: программа «%1» не запущена: %2").arg(program, why)));
}

bool ProgramRunner::run(const QString& program, const QStringList& arguments) {
    const QString path = resolved(program.trimmed());
    if (path.isEmpty()) return false;
    if (running_.size() >= kMaxRunning) {
        fail(program, tr("уже работают %1 программ действий").arg(kMaxRunning));
        return false;
    }
    auto* p = new QProcess;
    p->setProgram(path);
    p->setArguments(arguments);
    p->setWorkingDirectory(QDir::homePath());
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    // A session of its own: no terminal's signals reach it, and it leads a group to stop.
    p->setChildProcessModifier([] { ::setsid(); });
    auto* limit = new QTimer(p);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, p, [this, p] { stop(p); });
    connect(p, &QProcess::started, this, [this, program, limit] {
        told_.remove(program);
        limit->start(limitMs_);
    });
    connect(p, &QProcess::errorOccurred, this, [this, p, program](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        fail(program, p->errorString());
        running_.removeOne(p);
        p->deleteLater();
    });
    connect(p, &QProcess::finished, this, [this, p, limit](int code, QProcess::ExitStatus) {
        running_.removeOne(p);
        p->deleteLater();
        emit finished(code, !limit->isActive());
    });
    running_.append(p);
    p->start();
    return true;
}

void ProgramRunner::stop(QProcess* process) {
    signalGroup(process, SIGTERM);
    QTimer::singleShot(kGraceMs, process, [process] { signalGroup(process, SIGKILL); });
}

}  // namespace zrk::actions
