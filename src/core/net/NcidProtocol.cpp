#include "core/net/NcidProtocol.h"

#include "core/platform/Cp1251.h"

#include <algorithm>

namespace zrk::ncid {
namespace {

// A field must not end the line or the field early: line breaks and the clients' field
// separator become blanks, so do the characters in `ends` (where a server ends the field),
// and the field is cut to what a server keeps, at a character's end.
QString cleanField(const QString& text, QLatin1StringView ends = {}) {
    QString out;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        const char32_t c = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                                : char32_t(text.at(i).unicode());
        const QString one = pair ? text.mid(i, 2) : QString(text.at(i));
        if (pair) ++i;
        const bool printable =
            QChar::isPrint(c) && c != U'*' && (c > 0x7f || !ends.contains(QLatin1Char(char(c))));
        const QString add = printable ? one : QStringLiteral(" ");
        bytes += add.toUtf8().size();
        if (bytes > kMaxFieldBytes) break;
        out.append(add);
    }
    // A server ends the line at "+++"; "..." ends a field only where '.' does, and those
    // fields have no '.' left by now.
    out.replace(QLatin1String("+++"), QLatin1String("+ +"));
    return out.trimmed();
}

// Names travel as UTF-8; a server that passes on another gateway's bytes unchanged may send
// the Russian code page instead. A server that cut a field inside a letter leaves that
// letter's first bytes at its end: the text before them is still good UTF-8.
QString decode(const QByteArray& bytes) {
    if (bytes.isValidUtf8()) return QString::fromUtf8(bytes);
    qsizetype lead = bytes.size() - 1;
    while (lead >= 0 && lead > bytes.size() - 4 && (uchar(bytes[lead]) & 0xC0) == 0x80) --lead;
    if (lead >= 0 && uchar(bytes[lead]) >= 0xC0) {
        const uchar b = uchar(bytes[lead]);
        const qsizetype need = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        const QByteArray head = bytes.left(lead);
        // Only where the rest holds letters of more than one byte: a Russian code page text
        // ending in one such byte is not taken for UTF-8.
        const QString text = QString::fromUtf8(head);
        if (bytes.size() - lead < need && head.isValidUtf8() && text.size() < head.size())
            return text;
    }
    return fromCp1251(bytes);
}

QString digitsOf(QString text) {
    text.removeIf([](QChar c) { return c < QLatin1Char('0') || c > QLatin1Char('9'); });
    return text;
}

// The value after `key` in a CALL line ("...LINE-...NMBR123..." -> "-" for "...LINE").
QByteArray callField(const QByteArray& line, const QByteArray& key, const QByteArray& end) {
    const qsizetype at = line.indexOf(key);
    if (at < 0) return {};
    const qsizetype from = at + key.size();
    const qsizetype stop = line.indexOf(end, from);
    return line.mid(from, stop < 0 ? -1 : stop - from);
}

}  // namespace

std::optional<ServerAddress> parseServerAddress(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.contains(QLatin1Char(' '))) return std::nullopt;
    ServerAddress a;
    QString portText;
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close < 2) return std::nullopt;
        a.host = t.mid(1, close - 1);
        const QString rest = t.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':'))) return std::nullopt;
            portText = rest.mid(1);
            if (portText.isEmpty()) return std::nullopt;
        }
    } else if (t.count(QLatin1Char(':')) == 1) {
        a.host = t.section(QLatin1Char(':'), 0, 0);
        portText = t.section(QLatin1Char(':'), 1);
        if (a.host.isEmpty() || portText.isEmpty()) return std::nullopt;
    } else {
        a.host = t;  // a name, an IPv4 address or a bare IPv6 address
    }
    if (!portText.isEmpty()) {
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        if (!ok || port == 0 || port > 65535 || !portText.front().isDigit()) return std::nullopt;
        a.port = quint16(port);
    }
    return a;
}

QString wireNumber(const QString& number) {
    const QString n = cleanField(number, QLatin1StringView("."));
    if (n.isEmpty() || n == QLatin1String("Unknown")) return QStringLiteral("OUT-OF-AREA");
    if (n.size() == 1) {
        switch (n.at(0).toUpper().unicode()) {
            case 'O': return QStringLiteral("OUT-OF-AREA");
            case 'P': return QStringLiteral("PRIVATE");
            case 'A': return QStringLiteral("ANONYMOUS");
            default: break;
        }
    }
    return n;
}

QString wireLabel(const QString& label) {
    QString l = cleanField(label, QLatin1StringView("."));
    l.replace(QLatin1Char(' '), QLatin1Char('_'));
    return l.isEmpty() ? QStringLiteral("-") : l;
}

QByteArray callLine(const QDateTime& when, const QString& label, const QString& number,
                    const QString& name) {
    const QString l = wireLabel(label);
    QString n = cleanField(name, QLatin1StringView("+"));
    if (n.isEmpty()) n = QStringLiteral("NO NAME");
    return "CALL: ###DATE" + when.toString(QStringLiteral("MMddHHmm")).toLatin1() +
           "...CALLIN...LINE" + l.toUtf8() + "...NMBR" + wireNumber(number).toUtf8() + "...NAME" +
           n.toUtf8() + "+++";
}

QString callerName(const QString& wire) {
    const QString name = wire.trimmed();
    for (const char* none : {"NO NAME", "NONAME", "-", "UNKNOWN"})
        if (name.compare(QLatin1String(none), Qt::CaseInsensitive) == 0) return {};
    return name;
}

QString reportNumber(const QString& wire) {
    const QString digits = digitsOf(wire);
    return digits.isEmpty() ? QStringLiteral("Unknown") : digits;
}

ServerLine parseServerLine(const QByteArray& raw) {
    if (raw.startsWith("200 ")) return {.kind = ServerLine::Greeting};
    if (raw.startsWith("300 ")) return {.kind = ServerLine::LogEnd};
    if (raw.startsWith("ACK: ")) return {.kind = ServerLine::Ack, .acked = raw.mid(5)};
    ServerLine out;
    const QByteArray type = raw.left(raw.indexOf(':'));
    const bool logged = type == "CIDLOG" || type == "HUPLOG";
    const bool blocked = type == "HUP" || type == "HUPLOG";
    const bool cid = logged || blocked || type == "CID";
    if (!cid && type != "CIDINFO") return out;
    // "*KEY*value*KEY*value*...*": the name is the last field and may hold a '*' of its own.
    // Each field is decoded by itself, so that one cut inside a letter spoils no other.
    const QByteArray body = raw.mid(raw.indexOf(':') + 1).trimmed();
    if (!body.startsWith('*') || !body.endsWith('*') || body.size() < 2) return out;
    QByteArray rest = body.mid(1, body.size() - 2);
    QString name;
    bool hasName = false;
    if (cid) {
        const qsizetype at = rest.indexOf("NAME*");
        if (at == 0 || (at > 0 && rest.at(at - 1) == '*')) {
            name = decode(rest.mid(at + 5));
            rest.truncate(qMax<qsizetype>(0, at - 1));
            hasName = true;
        }
    }
    const QList<QByteArray> parts = rest.split('*');
    bool hasNumber = false, hasRing = false;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QByteArray& key = parts[i];
        const QString value = decode(parts[i + 1]);
        if (key == "NMBR") {
            out.number = value;
            hasNumber = true;
        } else if (key == "LINE") {
            out.line = value;
        } else if (key == "DATE") {
            out.date = value;
        } else if (key == "TIME") {
            out.time = value;
        } else if (key == "RING") {
            bool ok = false;
            out.ring = value.toInt(&ok);
            hasRing = ok;
        }
    }
    if (cid && hasNumber && out.number == QLatin1String("RING")) {
        // A server's own modem heard a ring that brought no caller ID: a ring, not a caller.
        if (logged) return {};
        out = ServerLine{ServerLine::Ring, {}, {}, out.line, {}, {}, 1, {}};
    } else if (cid && hasNumber) {
        out.kind = logged ? ServerLine::LogCall : ServerLine::Call;
        out.name = hasName ? name : QString();
        out.blocked = blocked;
    } else if (!cid && hasRing) {
        out.kind = ServerLine::Ring;
    }
    if (out.kind != ServerLine::Call && out.kind != ServerLine::LogCall)
        out.date = out.time = QString();
    return out;
}

QString callMinute(const ServerLine& call) {
    const QString date = digitsOf(call.date), time = digitsOf(call.time);
    if (date.size() != 8 || time.size() < 4) return {};
    return date.right(4) + date.left(4) + time.left(4);
}

QString numberKey(const QString& number) {
    const QString digits = digitsOf(number);
    return digits.isEmpty() ? number : digits;
}

bool sameCall(const QByteArray& callLine, const ServerLine& call) {
    if (numberKey(QString::fromUtf8(callField(callLine, "...NMBR", "..."))) !=
        numberKey(call.number))
        return false;
    // The server's date is month, day and year; its time hours and minutes.
    const QString date = digitsOf(call.date), time = digitsOf(call.time);
    if (date.size() < 4 || time.size() < 4) return true;
    return QString::fromLatin1(callField(callLine, "###DATE", "...")) ==
           date.left(4) + time.left(4);
}

void LineReader::feed(const QByteArray& bytes,
                      const std::function<void(const QByteArray&)>& onLine) {
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', from);
        const qsizetype end = nl < 0 ? bytes.size() : nl;
        if (!overflow_) {
            buffer_.append(bytes.constData() + from, end - from);
            if (buffer_.size() > kMaxLine + 1) {  // +1: the CR before the LF
                buffer_.clear();
                overflow_ = true;
            }
        }
        if (nl < 0) break;
        if (overflow_) {
            ++dropped_;
            overflow_ = false;
        } else {
            if (buffer_.endsWith('\r')) buffer_.chop(1);
            if (buffer_.size() > kMaxLine)
                ++dropped_;
            else
                onLine(buffer_);
            buffer_.clear();
        }
        from = nl + 1;
    }
}

bool OutQueue::append(const QByteArray& line) {
    lines_.push_back(line);
    if (qsizetype(lines_.size()) <= kMaxUnsent) return true;
    // The oldest line that is not on its way already gives way.
    lines_.erase(lines_.begin() + (inFlight_ ? 1 : 0));
    return false;
}

bool OutQueue::removeFirst(const std::function<bool(const QByteArray&)>& taken) {
    const auto found = std::find_if(lines_.begin() + (inFlight_ ? 1 : 0), lines_.end(), taken);
    if (found == lines_.end()) return false;
    lines_.erase(found);
    return true;
}

QByteArray OutQueue::takeNext() {
    if (inFlight_ || lines_.empty()) return {};
    inFlight_ = true;
    return lines_.front();
}

void OutQueue::delivered() {
    if (!inFlight_) return;
    lines_.pop_front();
    inFlight_ = false;
}

namespace {
constexpr QByteArrayView kQueueHeader = "ZRK NCID QUEUE 1";
}

QByteArray queueFileText(const QList<QByteArray>& lines) {
    QByteArray out = kQueueHeader.toByteArray() + '\n';
    for (const QByteArray& l : lines) out += l + '\n';
    return out + "END " + QByteArray::number(lines.size()) + '\n';
}

QueueFileContent parseQueueFile(const QByteArray& text) {
    QueueFileContent out;
    if (text.isEmpty()) return out;
    QList<QByteArray> rows = text.split('\n');
    const bool whole = text.endsWith('\n');
    rows.removeLast();  // after the last line end: empty, or a line cut short
    bool ended = false;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QByteArray& row = rows[i];
        if (i == 0 && row == kQueueHeader) continue;
        if (i > 0 && !ended && row.startsWith("CALL: ")) {
            out.lines.append(row);
        } else if (i > 0 && !ended && row == "END " + QByteArray::number(out.lines.size())) {
            ended = true;
        } else {
            out.damaged = true;
        }
    }
    if (rows.isEmpty() || rows.front() != kQueueHeader) out.damaged = true;
    if (!whole || !ended) out.damaged = true;
    return out;
}

int ReconnectPause::afterLoss(qint64 upForMs) {
    if (current_ == 0 || upForMs >= stable_)
        current_ = first_;
    else
        current_ = qMin(max_, current_ * 2);
    return current_;
}

void SentCalls::remember(const QByteArray& callLine, qint64 atMs) {
    for (Sent& old : sent_) {
        if (old.line == callLine) {
            old.at = atMs;
            return;
        }
    }
    sent_.push_back({callLine, atMs});
    while (sent_.size() > size_t(kMaxUnsent) * 2) sent_.pop_front();
}

bool SentCalls::takeEcho(const ServerLine& call, qint64 nowMs, const QByteArray& awaited) {
    while (!sent_.empty() && nowMs - sent_.front().at > window_) sent_.pop_front();
    auto it = std::find_if(sent_.begin(), sent_.end(),
                           [&](const Sent& s) { return sameCall(s.line, call); });
    if (it == sent_.end() && !awaited.isEmpty() && !call.date.isEmpty() && !call.time.isEmpty()) {
        // Renamed by the server (an alias, NO NUMBER): the call of that minute it has just
        // taken.
        ServerLine renamed = call;
        renamed.number = QString::fromUtf8(callField(awaited, "...NMBR", "..."));
        if (sameCall(awaited, renamed))
            it = std::find_if(sent_.begin(), sent_.end(),
                              [&](const Sent& s) { return s.line == awaited; });
    }
    if (it == sent_.end()) return false;
    sent_.erase(it);
    return true;
}

bool SentCalls::sentEarlier(const ServerLine& call) const {
    return std::any_of(sent_.begin(), sent_.end(),
                       [&](const Sent& s) { return sameCall(s.line, call); });
}

}  // namespace zrk::ncid
