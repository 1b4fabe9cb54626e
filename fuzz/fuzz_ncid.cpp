// The NCID server's bytes, the only input that comes from the network: the line reader (in
// one piece and in the pieces the first byte chooses, with the same lines either way), each
// line's reading, a call's fields going out again as a gateway's line, and the same bytes as
// the queue file a crash may have cut short.
#include "FuzzSupport.h"

#include "core/net/NcidProtocol.h"

#include <QStringDecoder>

using namespace zrk::ncid;

namespace {

// A gateway line out of any text: one line, its fields within what a server keeps, UTF-8.
void checkCallLine(const QString& label, const QString& number, const QString& name) {
    const QByteArray line =
        callLine(QDateTime(QDate(2026, 12, 8), QTime(9, 5)), label, number, name);
    if (line.contains('\r') || line.contains('\n') || line.contains('*')) std::abort();
    const auto field = [&](const QByteArray& key, char end) {
        const qsizetype at = line.indexOf(key) + key.size();
        const qsizetype stop = line.indexOf(end, at);
        return line.mid(at, stop < 0 ? -1 : stop - at);
    };
    for (const QByteArray& f :
         {field("...LINE", '.'), field("...NMBR", '.'), field("...NAME", '+')}) {
        if (f.isEmpty() || f.size() > kMaxFieldBytes) std::abort();
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        (void)utf8(f);
        if (utf8.hasError()) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const qsizetype step = 1 + data[0] % 64;
    const QByteArray raw(reinterpret_cast<const char*>(data) + 1, qsizetype(size) - 1);

    QList<QByteArray> whole, pieces;
    LineReader one, many;
    one.feed(raw, [&](const QByteArray& l) { whole.append(l); });
    for (qsizetype at = 0; at < raw.size(); at += step)
        many.feed(raw.mid(at, step), [&](const QByteArray& l) { pieces.append(l); });
    if (whole != pieces || one.dropped() != many.dropped()) std::abort();

    for (const QByteArray& l : whole) {
        if (l.size() > kMaxLine || l.contains('\n')) std::abort();
        const ServerLine s = parseServerLine(l);
        if (s.kind == ServerLine::Call) {
            if (s.number == QLatin1String("RING")) std::abort();  // a ring, never a caller
            checkCallLine(s.line, s.number, s.name);
            (void)reportNumber(s.number);
        }
    }

    const QueueFileContent q = parseQueueFile(raw);
    for (const QByteArray& l : q.lines)
        if (!l.startsWith("CALL: ") || l.contains('\n')) std::abort();
    if (!q.damaged && queueFileText(q.lines) != raw && !raw.isEmpty()) std::abort();
    return 0;
}
