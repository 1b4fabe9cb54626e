#pragma once
// The link to an NCID server: one TCP connection, made and kept in the background on the
// user-interface thread (nothing here ever blocks). As a gateway it sends each call it is
// given, one at a time, each kept until the server has it: acknowledged where the server
// acknowledges ("REQ: ACK"), else written with a pause before the next. As a client it hands
// on the calls and rings the server reports. A lost or silent server is tried again after
// growing pauses; calls wait meanwhile (see OutQueue), in a file that outlives the program.
#include "core/net/NcidProtocol.h"
#include "core/platform/BackgroundSave.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>

class QTcpSocket;
class QTimer;

namespace zrk {

struct NcidConfig {
    QString server;  // host[:port]; empty: no link
    bool send = false;
    bool receive = false;
    QString label;
};

class NcidLink : public QObject {
    Q_OBJECT
public:
    enum class State { Off, Connecting, Connected, Down };

    explicit NcidLink(QObject* parent = nullptr);
    ~NcidLink() override;

    // Applies the settings: a new server or a link switched on connects at once.
    void configure(const NcidConfig& config);
    void stop();
    // Shorter pauses and waits for tests.
    void setTimings(int firstPauseMs, int maxPauseMs, int greetingTimeoutMs);
    // How long a server may take to answer "REQ: ACK" and to acknowledge a call, and the
    // pause between calls for a server that does not acknowledge.
    void setAckTimings(int replyMs, int ackMs, int pauseMs);
    // Keeps the unsent calls in `path` from now on, first taking those it holds. A damaged
    // file is moved aside and reported (fileError); the calls that could be read from it
    // are kept.
    void setQueueFile(const QString& path);

    // A call identified here: sent when the link is up, else kept for it.
    void sendCall(const QDateTime& when, const QString& number, const QString& name);

    State state() const { return state_; }
    // "выключено", "подключение...", "подключено", "нет связи: <reason>".
    QString stateText() const;
    qsizetype unsent() const { return queue_.size(); }
    int droppedLines() const { return reader_.dropped(); }

signals:
    // A call from the server (not one of ours, not from its greeting log); number as it came.
    void callReceived(const QString& number, const QString& name, const QString& line);
    // A call the server hung up on (a number it blocks): it never rang here.
    void callBlocked(const QString& number, const QString& name, const QString& line);
    // A call that reached the server while this desk had no link, from its log as replayed
    // on a new connection; at the server's minute.
    void callWhileAway(const QString& number, const QString& name, const QString& line,
                       const QDateTime& when, bool blocked);
    // The queue was full: its oldest calls were dropped, `total` of them in this run.
    void callsDropped(int total);
    void ringReceived(int ring);
    void stateChanged(const QString& text);
    // The queue file could not be read or written, or was damaged: the text for the user.
    // A signal, not a result: most saves run from the link's own timers.
    void fileError(const QString& text);

private:
    void connectNow();
    void onConnected();
    void onReadyRead();
    void onLine(const QByteArray& line);
    void onCall(const ncid::ServerLine& call);
    // The server's log as replayed to this connection.
    void takeReplay();
    void noteSeen(const ncid::ServerLine& call);
    bool seenAlready(const ncid::ServerLine& call) const;
    // The socket closed and forgotten, the unsent lines back in the queue, the reader empty.
    void dropConnection();
    void lose(const QString& reason);
    void flush();
    void onAck(const QByteArray& acked);
    void delivered();
    void saveQueue();
    void saveQueueLater();
    void queueSaved(bool ok);
    void setState(State s, const QString& reason = {});
    bool wanted() const;

    NcidConfig config_;
    QPointer<QTcpSocket> socket_;
    QTimer* retry_ = nullptr;
    QTimer* greetingTimer_ = nullptr;
    QTimer* ackTimer_ = nullptr;   // the answer to "REQ: ACK", then each call's acknowledgement
    QTimer* paceTimer_ = nullptr;  // the pause between calls to a server that does not ack
    QTimer* saveTimer_ = nullptr;  // delivered calls leave the file in batches, on a worker
    // A new call goes to the file at once, here, after what the worker still writes: an
    // older snapshot never lands on a newer one. The worker's fsync never holds up a call.
    BackgroundSave saver_;
    ncid::LineReader reader_;
    ncid::OutQueue queue_;
    ncid::ReconnectPause pause_;
    ncid::SentCalls sent_;
    QElapsedTimer clock_;
    QElapsedTimer upSince_;
    State state_ = State::Off;
    QString reason_;
    bool greeted_ = false;
    bool ready_ = false;  // the server accepted us ("300 "): calls may go
    enum class Ack { Asked, Yes, No } ack_ = Ack::No;
    QList<ncid::ServerLine> replay_;
    bool everReady_ = false;  // a connection of this run got past its replay
    // The newest call minute seen from the server, and the numbers seen in that minute.
    QString lastSeen_;
    QSet<QString> seenAtLast_;
    int droppedCalls_ = 0;
    // The last line written, for knowing its echo when the server renamed its number.
    QByteArray lastWritten_;
    qint64 lastWrittenAt_ = -kEchoWaitMs;
    static constexpr qint64 kEchoWaitMs = 2000;
    QString queueFile_;
    bool saveFailed_ = false;
    QString refusal_;  // the server's message before it closed on us
    int firstPause_ = 1000, maxPause_ = 60000, greetingTimeout_ = 10000;
    int ackReply_ = 3000, ackWait_ = 5000, linePause_ = 250;
};

}  // namespace zrk
