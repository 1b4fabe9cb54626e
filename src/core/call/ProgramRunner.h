#pragma once
// Runs the programs of call actions: each on its own, never through a shell, with the user's
// environment, in the home folder, its input empty and its output discarded. A program still
// running after its time is stopped with everything it started. None is waited for: a call
// never waits on an action.
#include "core/platform/Failure.h"

#include <QObject>
#include <QSet>
#include <QStringList>

class QProcess;

namespace zrk::actions {

class ProgramRunner : public QObject {
    Q_OBJECT
public:
    explicit ProgramRunner(QObject* parent = nullptr);
    // What still runs is stopped.
    ~ProgramRunner() override;

    // How long a program may run (30 s unless a test says otherwise).
    void setTimeLimit(int ms) { limitMs_ = ms; }
    // Starts `program` ("~/" is the home folder; a bare name is looked up in PATH) with
    // exactly `arguments`, and returns at once. One that cannot be started (or one too many)
    // is told once per program, until it starts again; false when it was not even tried.
    bool run(const QString& program, const QStringList& arguments);
    int running() const { return int(running_.size()); }

    // At most this many at once: a hung program on every call of a busy day must not fill
    // the machine.
    static constexpr int kMaxRunning = 16;

signals:
    void failed(const zrk::Failure& failure);
    // A program ended, by itself or stopped (tests wait for it).
    void finished(int exitCode, bool stopped);

private:
    void fail(const QString& program, const QString& why);
    void stop(QProcess* process);

    int limitMs_ = 30000;
    QList<QProcess*> running_;
    QSet<QString> told_;  // programs whose failure to start has been said
};

}  // namespace zrk::actions
