#pragma once
// One program per data directory: two on one phone book would overwrite each other's saves
// and fight for the modem. The first holds a lock (the kernel drops it when the program ends,
// crashed or not) and listens on a local socket, both in the runtime directory and named
// after the data directory's canonical path; a second start finds the lock taken and asks
// the first to come forward instead.
//
// The first listens as soon as it holds the lock, while its windows are still being built;
// a request that comes in that time is acknowledged at once and answered when the main
// window exists.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLocalServer;
class QLocalSocket;

namespace zrk {

// What a second start hands over: on Wayland a window comes forward only with the activation
// token the desktop gave the start that asked for it.
struct WakeRequest {
    QByteArray activationToken;  // the second start's XDG_ACTIVATION_TOKEN

    // Lets the next activation of a window of this program use the token (Qt's Wayland
    // platform reads it from the environment); call before bringing the window forward.
    void prepareActivation() const;
};

class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum State { First, AnotherRuns, Unguarded };
    enum Wake { Raised, Queued, NoAnswer };

    // Tries the lock of `dataDir` for `program` (the name another start is told); as the
    // first, listens at once. Unguarded: the lock file could not be made; the program runs
    // without the guard, and `problem()` says why.
    explicit SingleInstance(const QString& dataDir, const QString& program = QStringLiteral("zrk-pro"),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    State state() const { return state_; }
    const QString& problem() const { return problem_; }
    // AnotherRuns: the program that holds the directory ("zrk-pro", "zrk-line"), as it wrote
    // itself into the lock; empty when it did not say.
    QString holder() const;

    // First: from now on `bringForward` answers each later start, those that came while the
    // program was starting first; it runs on this thread.
    void answerWith(std::function<void(const WakeRequest&)> bringForward);
    // AnotherRuns: asks the first to come forward. Raised: it did within `ms`; Queued: it got
    // the request and will come forward once it has started; NoAnswer: it could not be
    // reached.
    Wake wakeFirst(const WakeRequest& request, int ms = 3000);

    static QString lockPath(const QString& dataDir);
    static QString socketPath(const QString& dataDir);

private:
    void take(QLocalSocket* s);
    void serve(QLocalSocket* s);

    State state_ = Unguarded;
    QString problem_;
    QString socket_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
    std::function<void(const WakeRequest&)> bringForward_;
    QList<WakeRequest> pending_;             // came before answerWith()
    QList<QPointer<QLocalSocket>> waiting_;  // told to wait; told "shown" later
};

}  // namespace zrk
