#pragma once
// The part of the NCID network caller-ID protocol that Zrk Pro speaks, without a socket:
// the gateway's CALL line, the server's lines as we read them, the line reader with its
// length limit, the queue of calls the server has not had yet (and its file), the pause rule
// between connection attempts and the recognition of our own calls coming back.
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
// A server keeps this many bytes of a CALL line's LINE, NMBR and NAME and cuts the rest,
// wherever that falls.
inline constexpr qsizetype kMaxFieldBytes = 49;

struct ServerAddress {
    QString host;
    quint16 port = kDefaultPort;
};

// "host", "host:port", "[v6 address]:port" or a bare IPv6 address. Blanks around are
// ignored; empty, a bad port or blanks inside give nothing.
std::optional<ServerAddress> parseServerAddress(const QString& text);

// The gateway's line for one identified call, without its line end. `number` is the number
// as processed ("Unknown" travels as OUT-OF-AREA), `name` the phone book's (empty: NO NAME).
// Each field is cut to kMaxFieldBytes at a character's end, and the characters a server takes
// as a field's end ('.' in the line and the number, '+' in the name) travel as blanks.
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
    enum Kind { Other, Greeting, LogEnd, Call, Ring, Ack };
    Kind kind = Other;
    QString number{}, name{}, line{};  // Call (line also for Ring)
    QString date{}, time{};            // Call: as the server sent them ("12082026", "0905")
    int ring = 0;                      // Ring
    QByteArray acked{};                // Ack: the line the server took ("CALL: ...", "REQ: ACK")
};

// One line from the server (line end removed). Anything not understood is Other; a CID line
// without a number is Other too, and one whose number is RING (a server's own modem heard a
// ring without caller ID) is a Ring.
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

// Lines for the server in order, one on its way at a time: a server reads one line per
// wake-up and drops whatever came with it. The line on its way stays first until the server
// has it (delivered); a link lost before that sends it again. At most kMaxUnsent lines are
// kept: past that the oldest waiting one gives way.
class OutQueue {
public:
    // Returns false when an older line had to be dropped for it.
    bool append(const QByteArray& line);
    // The first line, now on its way; empty when there is none or one is on its way already.
    QByteArray takeNext();
    // The line on its way reached the server.
    void delivered();
    // The link is gone: the line on its way waits again, in its place.
    void lost() { inFlight_ = false; }
    qsizetype size() const { return qsizetype(lines_.size()); }
    bool inFlight() const { return inFlight_; }
    QList<QByteArray> lines() const { return {lines_.begin(), lines_.end()}; }

private:
    std::deque<QByteArray> lines_;
    bool inFlight_ = false;
};

// The queue's file, so that calls the server has not had survive the program's end or crash:
// a first line "ZRK NCID QUEUE 1", one CALL line each, a last line "END <count>".
QByteArray queueFileText(const QList<QByteArray>& lines);
struct QueueFileContent {
    QList<QByteArray> lines;  // the whole CALL lines found, in order
    bool damaged = false;     // not the file written: cut short, or not a queue at all
};
QueueFileContent parseQueueFile(const QByteArray& text);

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
// sender included, but may rename the line, cut or rename the name and rename the number. It
// keeps the number's digits and the date and time it was given: a call coming back within
// `windowMs` with those is ours.
class SentCalls {
public:
    explicit SentCalls(qint64 windowMs = 120000) : window_(windowMs) {}
    // `line` as sent; a call sent again is remembered once.
    void remember(const QByteArray& callLine, qint64 atMs);
    // True (and forgotten) when the call is one of ours. A call without date or time is
    // matched on the number alone.
    bool takeEcho(const ServerLine& call, qint64 nowMs);

private:
    struct Sent {
        QString number, stamp;  // digits (or the word sent), "MMddHHmm"
        qint64 at;
    };
    std::deque<Sent> sent_;
    qint64 window_;
};

}  // namespace zrk::ncid
