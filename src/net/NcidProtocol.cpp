#include "net/NcidProtocol.h"

#include "platform/Cp1251.h"

#include <QStringDecoder>

namespace zrk::ncid {
namespace {

// A field must not end the line or the field early: line breaks and the clients' field
// separator become blanks, and a field has a sane length.
QString cleanField(const QString& text, qsizetype maxChars) {
    QString out;
    out.reserve(qMin(text.size(), maxChars));
    for (QChar c : text) {
        if (out.size() >= maxChars) break;
        out.append(c.isPrint() && c != QLatin1Char('*') ? c : QLatin1Char(' '));
    }
    out.replace(QLatin1String("..."), QLatin1String(". ."));
    out.replace(QLatin1String("+++"), QLatin1String("+ +"));
    return out.trimmed();
}

// Names travel as UTF-8; a server that passes on another gateway's bytes unchanged may send
// the Russian code page instead.
QString decode(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? fromCp1251(bytes) : text;
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
    const QString n = cleanField(number, 64);
    return n.isEmpty() || n == QLatin1String("Unknown") ? QStringLiteral("OUT-OF-AREA") : n;
}

QString wireLabel(const QString& label) {
    const QString l = cleanField(label, 32);
    return l.isEmpty() ? QStringLiteral("-") : l;
}

QByteArray callLine(const QDateTime& when, const QString& label, const QString& number,
                    const QString& name) {
    const QString l = wireLabel(label);
    QString n = cleanField(name, 200);
    if (n.isEmpty()) n = QStringLiteral("NO NAME");
    return "CALL: ###DATE" + when.toString(QStringLiteral("MMddHHmm")).toLatin1() +
           "...CALLIN...LINE" + l.toUtf8() + "...NMBR" + wireNumber(number).toUtf8() + "...NAME" +
           n.toUtf8() + "+++";
}

QString reportNumber(const QString& wire) {
    QString digits;
    for (QChar c : wire)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits.append(c);
    return digits.isEmpty() ? QStringLiteral("Unknown") : digits;
}

ServerLine parseServerLine(const QByteArray& raw) {
    ServerLine out;
    if (raw.startsWith("200 ")) {
        out.kind = ServerLine::Greeting;
        return out;
    }
    if (raw.startsWith("300 ")) {
        out.kind = ServerLine::LogEnd;
        return out;
    }
    const bool cid = raw.startsWith("CID:");
    if (!cid && !raw.startsWith("CIDINFO:")) return out;
    // "*KEY*value*KEY*value*...*": the name is the last field and may hold a '*' of its own.
    const QString body = decode(raw.mid(raw.indexOf(':') + 1)).trimmed();
    if (!body.startsWith(QLatin1Char('*')) || !body.endsWith(QLatin1Char('*'))) return out;
    QString rest = body.mid(1, body.size() - 2);
    QString name;
    bool hasName = false;
    if (cid) {
        const qsizetype at = rest.indexOf(QLatin1String("NAME*"));
        if (at == 0 || (at > 0 && rest.at(at - 1) == QLatin1Char('*'))) {
            name = rest.mid(at + 5);
            rest.truncate(qMax<qsizetype>(0, at - 1));
            hasName = true;
        }
    }
    const QStringList parts = rest.split(QLatin1Char('*'));
    bool hasNumber = false, hasRing = false;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& key = parts[i];
        const QString& value = parts[i + 1];
        if (key == QLatin1String("NMBR")) {
            out.number = value;
            hasNumber = true;
        } else if (key == QLatin1String("LINE")) {
            out.line = value;
        } else if (key == QLatin1String("RING")) {
            bool ok = false;
            out.ring = value.toInt(&ok);
            hasRing = ok;
        }
    }
    if (cid && hasNumber) {
        out.kind = ServerLine::Call;
        out.name = hasName ? name : QString();
    } else if (!cid && hasRing) {
        out.kind = ServerLine::Ring;
    }
    return out;
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
    if (inFlight_ < qsizetype(lines_.size()) - 1) {
        lines_.erase(lines_.begin() + inFlight_);
        return false;
    }
    return true;
}

QList<QByteArray> OutQueue::takeToSend() {
    QList<QByteArray> out;
    for (auto it = lines_.begin() + inFlight_; it != lines_.end(); ++it) out.append(*it);
    inFlight_ = qsizetype(lines_.size());
    return out;
}

void OutQueue::written(qint64 bytes) {
    writtenBytes_ += bytes;
    while (inFlight_ > 0 && writtenBytes_ >= lines_.front().size() + 2) {
        writtenBytes_ -= lines_.front().size() + 2;
        lines_.pop_front();
        --inFlight_;
    }
    if (inFlight_ == 0) writtenBytes_ = 0;
}

void OutQueue::lost() {
    inFlight_ = 0;
    writtenBytes_ = 0;
}

int ReconnectPause::afterLoss(qint64 upForMs) {
    if (current_ == 0 || upForMs >= stable_)
        current_ = first_;
    else
        current_ = qMin(max_, current_ * 2);
    return current_;
}

void SentCalls::remember(const QString& line, const QString& number, qint64 atMs) {
    sent_.push_back({line, number, atMs});
    while (sent_.size() > size_t(kMaxUnsent) * 2) sent_.pop_front();
}

bool SentCalls::takeEcho(const QString& line, const QString& number, qint64 nowMs) {
    while (!sent_.empty() && nowMs - sent_.front().at > window_) sent_.pop_front();
    for (auto it = sent_.begin(); it != sent_.end(); ++it) {
        if (it->line == line && it->number == number) {
            sent_.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace zrk::ncid
