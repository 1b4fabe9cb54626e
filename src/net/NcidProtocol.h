#pragma once
// The part of the NCID network caller-ID protocol that Zrk Pro speaks, without a socket:
// the gateway's CALL line, the server's lines as we read them, the line reader with its
// length limit, the queue of calls the server has not had yet, the pause rule between
// connection attempts and the recognition of our own calls coming back.
#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

namespace zrk::ncid {

inline constexpr quint16 kDefaultPort = 3333;
inline constexpr qsizetype kMaxLine = 1000;  // longer lines from a server are dropped
inline constexpr qsizetype kMaxUnsent = 100;

struct ServerAddress {
    QString host;
    quint16 port = kDefaultPort;
};

// "host", "host:port", "[v6 address]:port" or a bare IPv6 address. Blanks around are
// ignored; empty, a bad port or blanks inside give nothing.
std::optional<ServerAddress> parseServerAddress(const QString& text);

// The gateway's line for one identified call, without its line end. `number` is the number
// as processed ("Unknown" travels as OUT-OF-AREA), `name` the phone book's (empty: NO NAME).
QByteArray callLine(const QDateTime& when, const QString& label, const QString& number,
                    const QString& name);
// The line label as it travels: "-" when empty.
QString wireLabel(const QString& label);
// The number as it travels, so that its echo can be recognised.
QString wireNumber(const QString& number);

// A number from the server as a caller report of our own: its digits, or "Unknown" for a
// number withheld or out of area (no digits at all).
QString reportNumber(const QString& wire);

struct ServerLine {
    enum Kind { Other, Greeting, LogEnd, Call, Ring };
    Kind kind = Other;
    QString number, name, line;  // Call (line also for Ring)
    int ring = 0;                // Ring
};

// One line from the server (line end removed). Anything not understood is Other; a CID line
// without a number is Other too.
ServerLine parseServerLine(const QByteArray& line);

// Splits the server's bytes into lines ended by LF (a CR before it is dropped). A line
// longer than kMaxLine is dropped whole, however many reads it spans.
class LineReader {
public:
    void feed(const QByteArray& bytes, const std::function<void(const QByteArray&)>& onLine);
    void clear() {
        buffer_.clear();
        overflow_ = false;
    }
    int dropped() const { return dropped_; }

private:
    QByteArray buffer_;
    bool overflow_ = false;
    int dropped_ = 0;
};

// Lines for the server in order. Lines handed to the socket stay until the socket reports
// them written; a link lost before that sends them again. At most kMaxUnsent lines are kept:
// past that the oldest waiting one gives way.
class OutQueue {
public:
    // Returns false when an older line had to be dropped for it.
    bool append(const QByteArray& line);
    // The lines not yet handed to the socket, now counted as in flight.
    QList<QByteArray> takeToSend();
    // The socket wrote `bytes` more bytes (each line counts with its CR LF).
    void written(qint64 bytes);
    // The link is gone: what was in flight waits again, in its place.
    void lost();
    qsizetype size() const { return qsizetype(lines_.size()); }
    qsizetype inFlight() const { return inFlight_; }

private:
    std::deque<QByteArray> lines_;
    qsizetype inFlight_ = 0;
    qint64 writtenBytes_ = 0;
};

// Growing pauses between attempts: first, twice that, ... up to max. A link that had been
// greeted and lasted `stableMs` starts again from the first pause after its loss.
class ReconnectPause {
public:
    explicit ReconnectPause(int firstMs = 1000, int maxMs = 60000, qint64 stableMs = 30000)
        : first_(firstMs), max_(maxMs), stable_(stableMs) {}
    // The pause before the next attempt; `upForMs`: how long the lost link had been greeted
    // (-1: it never was).
    int afterLoss(qint64 upForMs);

private:
    int first_, max_;
    qint64 stable_;
    int current_ = 0;
};

// The calls this program sent recently. A server hands every call to every client, the
// sender included: a call coming back within `windowMs` on our line with our number is ours.
class SentCalls {
public:
    explicit SentCalls(qint64 windowMs = 120000) : window_(windowMs) {}
    void remember(const QString& line, const QString& number, qint64 atMs);
    // True (and forgotten) when the call is one of ours.
    bool takeEcho(const QString& line, const QString& number, qint64 nowMs);

private:
    struct Sent {
        QString line, number;
        qint64 at;
    };
    std::deque<Sent> sent_;
    qint64 window_;
};

}  // namespace zrk::ncid
