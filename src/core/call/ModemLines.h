#pragma once
// The modem's byte stream turned into response lines, and the lines into responses.
#include <QByteArray>
#include <QString>

#include <functional>

namespace zrk {

// Collects bytes into lines ended by a carriage return; line feeds and NUL bytes are
// dropped. Bytes after the last carriage return wait for the next batch.
class LineAssembler {
public:
    // No modem line comes near this; a stream that never sends a carriage return must not
    // grow memory without end. An over-long line is dropped whole, unrecognised.
    static constexpr qsizetype kMaxLine = 512;

    void feed(const char* data, qsizetype size, const std::function<void(const QByteArray&)>& onLine);
    const QByteArray& pending() const { return buffer_; }
    void clear() {
        buffer_.clear();
        overflow_ = false;
    }

private:
    QByteArray buffer_;
    bool overflow_ = false;  // the current line went past kMaxLine: skip to its end
};

enum class Response { Ring, CallerId, Busy, Error, NoCarrier, Ringing, Beep, Other };

// Exact, case-sensitive comparisons on the whole line, in this order: "RING", a line that
// begins with `callerIdPrefix` (the rest is the report), "BUSY", "ERROR", "NO CARRIER",
// "RINGING", "BEEP". An empty prefix makes every other line a report.
Response recognise(const QByteArray& line, const QByteArray& callerIdPrefix, QByteArray* report);

}  // namespace zrk
