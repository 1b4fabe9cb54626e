// Call log bytes of any kind: every line read without fault, what a line gives lies inside
// it and is a real date and time; the whole log becomes a history that answers every filter,
// charts, and writes CSV.
#include "FuzzSupport.h"

#include "core/history/CallHistory.h"

#include <QBuffer>

using namespace zrk;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The input as one line: what is read of it lies inside it.
    DateOrders orders;
    learnDateOrders(bytes, &orders);
    LogFields f;
    if (parseLogFields(bytes, orders, &f)) {
        if (!QDate::fromJulianDay(f.julianDay).isValid()) std::abort();
        if (f.secondsOfDay < 0 || f.secondsOfDay >= 86400) std::abort();
        for (QByteArrayView v : {f.number, f.name})
            if (!v.isEmpty() && (v.data() < bytes.data() || v.data() + v.size() > bytes.end()))
                std::abort();
    }

    // The input as a log: both directions give the same calls.
    const LogBatch forward = parseLogBytes(bytes, orders, false);
    const LogBatch backward = parseLogBytes(bytes, orders, true);
    if (forward.calls.size() != backward.calls.size() || forward.skipped != backward.skipped ||
        forward.marks.size() != backward.marks.size())
        std::abort();

    const CallHistory h = CallHistory::fromLog(bytes);
    if (h.size() != qsizetype(forward.calls.size())) std::abort();
    const std::vector<CallId> all = h.all();
    if (all.size() != size_t(h.size())) std::abort();
    for (size_t i = 0; i < all.size() && i < 64; ++i)
        if (!h.isValid(all[i]) || !h.when(all[i]).isValid()) std::abort();
    // A mark names calls by their time and number: never more missed calls than marks.
    if (!all.empty() && h.missedMarks() == 0 && h.missed(all.front())) std::abort();

    // Filters made of the input's own bytes find at least the calls they came from.
    for (size_t i = 0; i < all.size() && i < 8; ++i) {
        // A name with a letter is a name query (one without is taken for digits); control
        // characters are left out of a query.
        const QString name = h.name(all[i]);
        bool letter = false, control = false;
        for (QChar c : name) {
            letter = letter || c.isLetter();
            control = control || c.unicode() < 0x20;
        }
        if (letter && !control && h.select({name, {}, {}}).empty()) std::abort();
        const QDate day = h.date(all[i]);
        if (h.select({{}, day, day}).empty()) std::abort();
    }
    (void)h.select(
        {QString::fromLatin1(bytes.first(std::min<qsizetype>(bytes.size(), 6))), {}, {}});

    const CallChart chart = chartOf(h, all, {}, {});
    int sum = 0;
    for (const auto& bucket : chart.counts) sum += bucket.second;
    if (sum != chart.calls || chart.calls != h.size()) std::abort();

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    if (!writeHistoryCsv(h, all, out, &error)) std::abort();
    return 0;
}
