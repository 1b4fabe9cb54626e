#include "core/call/ModemLines.h"

namespace zrk {

void LineAssembler::feed(const char* data, qsizetype size,
                         const std::function<void(const QByteArray&)>& onLine) {
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\0' || c == '\n') continue;
        if (c == '\r') {
            const bool dropped = overflow_;
            QByteArray line;
            line.swap(buffer_);
            overflow_ = false;
            if (!dropped) onLine(line);
            continue;
        }
        if (overflow_) continue;
        if (buffer_.size() >= kMaxLine) {
            buffer_.clear();
            overflow_ = true;
            continue;
        }
        buffer_.append(c);
    }
}

Response recognise(const QByteArray& line, const QByteArray& callerIdPrefix, QByteArray* report) {
    if (line == "RING") return Response::Ring;
    if (line.startsWith(callerIdPrefix)) {
        if (report) *report = line.mid(callerIdPrefix.size());
        return Response::CallerId;
    }
    if (line == "BUSY") return Response::Busy;
    if (line == "ERROR") return Response::Error;
    if (line == "NO CARRIER") return Response::NoCarrier;
    if (line == "RINGING") return Response::Ringing;
    if (line == "BEEP") return Response::Beep;
    return Response::Other;
}

}  // namespace zrk
