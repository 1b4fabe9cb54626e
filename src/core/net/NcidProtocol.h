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
// The line label as it travels: one word, "-" when empty. A client splits the server's
// line at blanks and '*', so a blank inside the label would break every client's reading.
QString wireLabel(const QString& label);
// The number as it travels, so that its echo can be recognised. A withheld number goes as
// the words a server and its clients know: "P" as PRIVATE, "O" (and "Unknown") as
// OUT-OF-AREA, "A" as ANONYMOUS; a server turns any other one-character number into
// NO NUMBER.
QString wireNumber(const QString& number);

// The caller's name from the server, empty where it gave none ("NO NAME", "-").
QString callerName(const QString& wire);

// A number from the server as a caller report of our own: its digits, or "Unknown" for a
// number withheld or out of area (no digits at all).
QString reportNumber(const QString& wire);

struct ServerLine {
    // LogCall: a call of the server's log, replayed to each client as it connects.
    enum Kind { Other, Greeting, LogEnd, Call, Ring, Ack, LogCall };
    Kind kind = Other;
    QString number{}, name{}, line{};  // Call (line also for Ring)
    QString date{}, time{};            // Call: as the server sent them ("12082026", "0905")
    int ring = 0;                      // Ring
    QByteArray acked{};                // Ack: the line the server took ("CALL: ...", "REQ: ACK")
    bool blocked = false;              // Call: the server hung up on it (HUP, HUPLOG)
};

// One line from the server (line end removed). Anything not understood is Other; a CID line
// without a number is Other too, and one whose number is RING (a server's own modem heard a
// ring without caller ID) is a Ring. HUP is a call the server hung up on; CIDLOG and HUPLOG
// are the same from its log.
ServerLine parseServerLine(const QByteArray& line);

// The minute of a call as the server gives it, "yyyyMMddHHmm" (its date is month, day and
// year, its time hours and minutes); empty when it gave none that can be read.
QString callMinute(const ServerLine& call);
// The number's digits, or the whole text where it has none (PRIVATE, NO NUMBER).
QString numberKey(const QString& number);

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
    // Takes out the first waiting line (not one on its way) for which `taken` is true: the
    // server has it already. False when there is none.
    bool removeFirst(const std::function<bool(const QByteArray&)>& taken);
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

// True when a CALL line we wrote is the call the server reports (in its log, say): the same
// minute and the same number. A call without date or time is matched on the number alone.
bool sameCall(const QByteArray& callLine, const ServerLine& call);

// The calls this program sent recently. A server hands every call to every client, the
// sender included, but may rename the line, cut or rename the name and rename the number
// (an alias; NO NUMBER for a one-character one). It keeps the date and time it was given: a
// call coming back within `windowMs` with those and the number is ours. So is one with those
// alone that comes while our call awaits its acknowledgement: a server echoes a call before
// it acknowledges it.
class SentCalls {
public:
    explicit SentCalls(qint64 windowMs = 120000) : window_(windowMs) {}
    // `line` as sent; a call sent again is remembered once.
    void remember(const QByteArray& callLine, qint64 atMs);
    // True (and forgotten) when the call is one of ours. `awaited`: our line the server has
    // not acknowledged yet, if any.
    bool takeEcho(const ServerLine& call, qint64 nowMs, const QByteArray& awaited = {});
    // True when the call is one we sent, however long ago (while remembered); nothing is
    // forgotten.
    bool sentEarlier(const ServerLine& call) const;

private:
    struct Sent {
        QByteArray line;
        qint64 at;
    };
    std::deque<Sent> sent_;
    qint64 window_;
};

}  // namespace zrk::ncid
