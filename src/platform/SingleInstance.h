#pragma once
// One program per data directory: two on one phone book would overwrite each other's saves
// and fight for the modem. The first holds a lock on a file in the directory (the kernel drops
// it when the program ends, crashed or not) and listens on a local socket; a second start
// finds the lock taken and asks the first to come forward instead.
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace zrk {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum State { First, AnotherRuns, Unguarded };

    // Tries the lock of `dataDir`. Unguarded: the lock file could not be made (a read-only
    // directory); the program runs, without the guard, and `problem()` says why.
    explicit SingleInstance(const QString& dataDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    State state() const { return state_; }
    const QString& problem() const { return problem_; }

    // First: listen for later starts; `bringForward` runs for each on this thread.
    void listen(std::function<void()> bringForward);
    // AnotherRuns: asks the first to come forward; true when it answered within `ms`.
    bool wakeFirst(int ms = 1500);

    static QString socketName(const QString& dataDir);

private:
    State state_ = Unguarded;
    QString problem_;
    QString name_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
};

}  // namespace zrk
