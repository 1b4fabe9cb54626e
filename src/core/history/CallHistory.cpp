#include "core/history/CallHistory.h"

#include "core/platform/Cp1251.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace zrk {
namespace {

constexpr CallId kNewer = 0x80000000u;  // ids of calls written after the load

// Lower case in code page 1251, with ё as е: people type е for both.
const std::array<char, 256>& foldTable() {
    static const auto table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            QChar c = fromCp1251(&byte, 1).at(0).toLower();
            if (c == QChar(0x0451)) c = QChar(0x0435);
            t[size_t(b)] = toCp1251(c);
        }
        return t;
    }();
    return table;
}

QString foldText(const QString& s) {
    QString out = s.toLower();
    out.replace(QChar(0x0451), QChar(0x0435));
    return out;
}

// A digit query: digits and separators only ("8-915 12", "(495)").
bool isDigitQuery(const QString& s, QByteArray* digits) {
    for (QChar c : s) {
        if (c.isLetter()) return false;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits->append(char(c.unicode()));
    }
    return !digits->isEmpty();
}

// Bytes in blocks of 1 MB: an entry never straddles two, so a search runs block by block, and
// growing never copies what is there (no pause, no second copy held while it runs).
class Arena {
public:
    static constexpr int kShift = 20;
    static constexpr quint32 kBlock = 1u << kShift;

    quint32 append(QByteArrayView a, QByteArrayView b = {}, QByteArrayView c = {},
                   QByteArrayView d = {}) {
        const qsizetype n = a.size() + b.size() + c.size() + d.size();
        // Blocks start small (a short log takes little) and double up to kBlock; one is
        // never grown past the room it was given.
        if (blocks_.empty() ||
            blocks_.back().size() + n >
                std::min<qsizetype>(blocks_.back().capacity(), qsizetype(kBlock))) {
            const qsizetype room = blocks_.empty()
                                       ? 16 * 1024
                                       : std::min<qsizetype>(kBlock, blocks_.back().capacity() * 2);
            blocks_.emplace_back();
            blocks_.back().reserve(room);
        }
        QByteArray& block = blocks_.back();
        const quint32 at = quint32((blocks_.size() - 1) << kShift) | quint32(block.size());
        block.append(a).append(b).append(c).append(d);
        return at;
    }
    const char* at(quint32 offset) const {
        return blocks_[offset >> kShift].constData() + (offset & (kBlock - 1));
    }
    const std::vector<QByteArray>& blocks() const { return blocks_; }

private:
    std::vector<QByteArray> blocks_;
};

}  // namespace

struct CallHistory::Data {
    struct Rec {
        qint32 day;
        quint32 secs;
        quint32 caller;
    };
    // One distinct number and name: its texts as stored (code page 1251, or UTF-8 for text
    // the code page cannot hold), its folded form and its digits.
    struct Caller {
        quint32 text;    // number, then name
        quint32 fold;    // folded number, '\x01', folded name, '\n'
        quint32 digits;  // the number's digits, '\n'
        quint16 nameSize;
        quint8 numberSize;
        bool utf8;
    };
    static_assert(sizeof(Caller) == 16);
    std::vector<Rec> older;  // newest first
    std::vector<Rec> newer;  // file order
    std::vector<Caller> callers;
    Arena texts, folds, digits;
    // Open addressing: the caller's hash above, its index + 1 below; 0 is free. The table
    // grows by moving a few cells at each call into one twice its size (a million callers
    // moved at once would hold the window), looking in both until all are moved.
    struct Table {
        struct Free {
            void operator()(quint64* p) const { std::free(p); }
        };
        std::unique_ptr<quint64[], Free> cells;  // fresh zero pages: untouched until used
        size_t size = 0;
        void make(size_t n) {
            cells.reset(static_cast<quint64*>(std::calloc(n, sizeof(quint64))));
            if (!cells) throw std::bad_alloc();
            size = n;
        }
    };
    Table table, old;
    size_t moved = 0;  // cells of `old` moved so far

    static void put(Table& t, quint64 slot) {
        const size_t mask = t.size - 1;
        size_t h = size_t(slot >> 32) & mask;
        while (t.cells[h]) h = (h + 1) & mask;
        t.cells[h] = slot;
    }
    void moveSome(size_t n) {
        for (; n > 0 && moved < old.size; --n, ++moved)
            if (old.cells[moved]) put(table, old.cells[moved]);
        if (moved == old.size && old.size) old = Table();
    }
    void grow() {
        moveSome(SIZE_MAX);
        old = std::move(table);
        moved = 0;
        table = Table();
        table.make(std::max<size_t>(1024, old.size * 2));
    }
    // The caller with this key in `t`, or -1.
    qint64 find(const Table& t, QByteArrayView number, QByteArrayView name, bool utf8, quint32 hash,
                size_t* free) const {
        if (!t.size) return -1;
        const size_t mask = t.size - 1;
        size_t h = hash & mask;
        while (const quint64 slot = t.cells[h]) {
            if (quint32(slot >> 32) == hash) {
                const quint32 i = quint32(slot) - 1;
                const Caller& c = callers[i];
                if (c.utf8 == utf8 && numberOf(c) == number && nameOf(c) == name) return i;
            }
            h = (h + 1) & mask;
        }
        if (free) *free = h;
        return -1;
    }
    // The missed marks by time key and number key: a mark may come before its call (a log read
    // from its end) or in a later batch.
    QSet<std::pair<qint64, quint32>> missed;
    qsizetype skipped = 0;
    bool hasUtf8 = false;
    bool ordered = true;

    QByteArrayView numberOf(const Caller& c) const {
        return QByteArrayView(texts.at(c.text), c.numberSize);
    }
    QByteArrayView nameOf(const Caller& c) const {
        return QByteArrayView(texts.at(c.text) + c.numberSize, c.nameSize);
    }
    QString decode(QByteArrayView b, bool utf8) const {
        return utf8 ? QString::fromUtf8(b) : fromCp1251(b.data(), b.size());
    }

    quint32 intern(QByteArrayView number, QByteArrayView name, bool utf8, quint32 hash) {
        if ((callers.size() + 1) * 2 > table.size) grow();
        moveSome(4);  // all moved before the table is half full again
        size_t h = 0;
        qint64 found = find(table, number, name, utf8, hash, &h);
        if (found < 0) found = find(old, number, name, utf8, hash, nullptr);
        if (found >= 0) return quint32(found);
        Caller c{};
        c.numberSize = quint8(number.size());
        c.nameSize = quint16(name.size());
        c.utf8 = utf8;
        c.text = texts.append(number, name);
        QByteArray foldedNumber, foldedName;
        if (utf8) {
            hasUtf8 = true;
            foldedNumber = foldText(decode(number, true)).toUtf8();
            foldedName = foldText(decode(name, true)).toUtf8();
        } else {
            const auto& fold = foldTable();
            foldedNumber.resize(number.size());
            for (qsizetype k = 0; k < number.size(); ++k) foldedNumber[k] = fold[uchar(number[k])];
            foldedName.resize(name.size());
            for (qsizetype k = 0; k < name.size(); ++k) foldedName[k] = fold[uchar(name[k])];
        }
        c.fold = folds.append(foldedNumber, "\x01", foldedName, "\n");
        char buf[256];
        qsizetype n = 0;
        for (char ch : number)
            if (ch >= '0' && ch <= '9') buf[n++] = ch;
        c.digits = digits.append(QByteArrayView(buf, n), "\n");
        callers.push_back(c);
        table.cells[h] = (quint64(hash) << 32) | quint64(callers.size());
        return quint32(callers.size() - 1);
    }

    static qint64 keyOf(const Rec& r) { return qint64(r.day) * 86400 + r.secs; }

    void append(const LogBatch& batch, std::vector<Rec>& to) {
        const QByteArrayView text(batch.text);
        const bool older = &to == &this->older;
        for (const LogBatch::Call& c : batch.calls) {
            const QByteArrayView number = text.sliced(c.offset, c.numberSize);
            const QByteArrayView name = text.sliced(c.offset + c.numberSize, c.nameSize);
            // Guard against a batch not made by LogBatch::add.
            if (number.size() > kMaxLogNumber || name.size() > kMaxLogLine) {
                ++skipped;
                continue;
            }
            const quint32 caller = intern(number, name, c.utf8, c.hash);
            const Rec r{c.julianDay, quint32(c.secondsOfDay), caller};
            // Older calls come newest first, newer ones oldest first after the newest older.
            const Rec* before = !to.empty() ? &to.back() : older || this->older.empty() ? nullptr
                                                                                         : &this->older.front();
            if (before && (older ? keyOf(r) > keyOf(*before) : keyOf(r) < keyOf(*before)))
                ordered = false;
            to.push_back(r);
        }
        for (const LogBatch::Mark& m : batch.marks)
            missed.insert({qint64(m.julianDay) * 86400 + m.secondsOfDay, m.number});
        skipped += batch.skipped;
    }

    const Rec* rec(CallId id) const {
        if (id & kNewer) {
            const size_t i = id & ~kNewer;
            return i < newer.size() ? &newer[i] : nullptr;
        }
        return id < older.size() ? &older[id] : nullptr;
    }

    // Marks the callers from `firstCaller` on whose span in `arena` (found by `offsetOf`)
    // holds `needle`; a match in a UTF-8 caller counts only when `utf8Wanted` allows it (-1:
    // any). The callers' spans follow each other in the arena, so the search starts at the
    // first one's.
    template <typename Offset>
    void mark(const Arena& arena, QByteArrayView needle, Offset offsetOf, std::vector<char>& hit,
              int utf8Wanted, size_t firstCaller) const {
        if (firstCaller >= callers.size()) return;
        const auto& blocks = arena.blocks();
        const quint32 start = offsetOf(callers[firstCaller]);
        size_t from = firstCaller;  // callers before it start before the last match
        for (size_t b = start >> Arena::kShift; b < blocks.size(); ++b) {
            const char* base = blocks[b].constData();
            const char* p =
                b == (start >> Arena::kShift) ? base + (start & (Arena::kBlock - 1)) : base;
            const char* end = base + blocks[b].size();
            while (p < end) {
                const void* found =
                    memmem(p, size_t(end - p), needle.data(), size_t(needle.size()));
                if (!found) break;
                const quint32 at =
                    quint32(b << Arena::kShift) | quint32(static_cast<const char*>(found) - base);
                // The caller whose span holds the match: the last one starting at or before it.
                // Matches come in order, so the search gallops on from the last one found.
                size_t step = 1, hi = from;
                while (hi < callers.size() && offsetOf(callers[hi]) <= at) {
                    from = hi;
                    hi += step;
                    step *= 2;
                }
                const auto it =
                    std::upper_bound(callers.begin() + qsizetype(from),
                                     callers.begin() + qsizetype(std::min(hi, callers.size())), at,
                                     [&](quint32 v, const Caller& c) { return v < offsetOf(c); });
                const size_t i = size_t(it - callers.begin()) - 1;
                from = i + 1;
                if (utf8Wanted < 0 || int(callers[i].utf8) == utf8Wanted) hit[i] = 1;
                if (i + 1 >= callers.size()) break;
                const quint32 next = offsetOf(callers[i + 1]);
                if ((next >> Arena::kShift) != b) break;  // the rest of this block is free
                p = base + (next & (Arena::kBlock - 1));
            }
        }
    }
};

CallHistory::CallHistory() : d(std::make_unique<Data>()) {}
CallHistory::~CallHistory() = default;
CallHistory::CallHistory(CallHistory&&) noexcept = default;
CallHistory& CallHistory::operator=(CallHistory&&) noexcept = default;

CallHistory CallHistory::fromLog(QByteArrayView bytes) {
    DateOrders orders = DateOrders::fromSystemLocale();
    learnDateOrders(bytes, &orders);
    CallHistory h;
    h.appendOlder(parseLogBytes(bytes, orders, true));
    return h;
}

qsizetype CallHistory::size() const {
    return qsizetype(d->older.size() + d->newer.size());
}
qsizetype CallHistory::skipped() const {
    return d->skipped;
}
qsizetype CallHistory::callers() const {
    return qsizetype(d->callers.size());
}
bool CallHistory::isValid(CallId id) const {
    return d->rec(id) != nullptr;
}

LoggedCall CallHistory::call(CallId id) const {
    LoggedCall c;
    c.when = when(id);
    c.number = number(id);
    c.name = name(id);
    return c;
}

QDate CallHistory::date(CallId id) const {
    const auto* r = d->rec(id);
    return r ? QDate::fromJulianDay(r->day) : QDate();
}

QDateTime CallHistory::when(CallId id) const {
    const auto* r = d->rec(id);
    if (!r) return {};
    return QDateTime(QDate::fromJulianDay(r->day),
                     QTime::fromMSecsSinceStartOfDay(int(r->secs) * 1000));
}

QString CallHistory::number(CallId id) const {
    const auto* r = d->rec(id);
    if (!r) return {};
    const auto& c = d->callers[r->caller];
    return d->decode(d->numberOf(c), c.utf8);
}

QString CallHistory::name(CallId id) const {
    const auto* r = d->rec(id);
    if (!r) return {};
    const auto& c = d->callers[r->caller];
    return d->decode(d->nameOf(c), c.utf8);
}

bool CallHistory::missed(CallId id) const {
    const auto* r = d->rec(id);
    if (!r || d->missed.isEmpty()) return false;
    const auto& c = d->callers[r->caller];
    return d->missed.contains({Data::keyOf(*r), numberKey(d->numberOf(c), c.utf8)});
}

qsizetype CallHistory::missedMarks() const {
    return d->missed.size();
}

std::vector<CallId> CallHistory::select(const HistoryFilter& filter) const {
    std::vector<CallId> out;
    HistoryQuery(filter).update(*this, &out, &out);
    if (!inTimeOrder()) sortNewestFirst(out);
    return out;
}

bool CallHistory::inTimeOrder() const {
    return d->ordered;
}

qint64 CallHistory::timeKey(CallId id) const {
    const auto* r = d->rec(id);
    return r ? Data::keyOf(*r) : std::numeric_limits<qint64>::min();
}

void CallHistory::sortNewestFirst(std::vector<CallId>& rows) const {
    std::stable_sort(rows.begin(), rows.end(),
                     [this](CallId a, CallId b) { return timeKey(a) > timeKey(b); });
}

HistoryQuery::HistoryQuery(HistoryFilter filter) : filter_(std::move(filter)) {
    for (QChar c : filter_.text.trimmed())
        if (c.unicode() >= 0x20) text_ += c;
}

bool HistoryQuery::caughtUp(const CallHistory& history) const {
    return history.d->older.size() == olderSeen_ && history.d->newer.size() == newerSeen_;
}

bool HistoryQuery::update(const CallHistory& history, std::vector<CallId>* front,
                          std::vector<CallId>* back, size_t olderLimit) {
    using Data = CallHistory::Data;
    const Data& d = *history.d;
    if (d.older.size() < olderSeen_ || d.newer.size() < newerSeen_ ||
        d.callers.size() < hit_.size())
        return false;

    const bool all = text_.isEmpty();
    if (!all && hit_.size() < d.callers.size()) {
        // Only the callers added since are searched: the others keep their marks.
        const size_t firstNew = hit_.size();
        hit_.resize(d.callers.size(), 0);
        QByteArray digits;
        if (isDigitQuery(text_, &digits)) {
            d.mark(
                d.digits, digits, [](const Data::Caller& c) { return c.digits; }, hit_, -1,
                firstNew);
        } else {
            const QString folded = foldText(text_);
            const auto foldOf = [](const Data::Caller& c) { return c.fold; };
            bool ascii = true;
            for (QChar c : folded) ascii = ascii && c.unicode() < 0x80;
            if (ascii) {
                d.mark(d.folds, folded.toLatin1(), foldOf, hit_, -1, firstNew);
            } else {
                if (fitsCp1251(folded))
                    d.mark(d.folds, toCp1251(folded), foldOf, hit_, 0, firstNew);
                if (d.hasUtf8) d.mark(d.folds, folded.toUtf8(), foldOf, hit_, 1, firstNew);
            }
        }
    }

    const qint64 from = filter_.from.isValid() ? filter_.from.toJulianDay() : INT64_MIN;
    const qint64 to = filter_.to.isValid() ? filter_.to.toJulianDay() : INT64_MAX;
    const auto wanted = [&](const Data::Rec& r) {
        return r.day >= from && r.day <= to && (all || hit_[r.caller]);
    };
    // Room for every call looked at, so that a long list is never copied while it grows
    // (fresh pages cost more than the copy); room not used is never touched.
    const size_t newer = d.newer.size() - newerSeen_;
    const size_t older = std::min(d.older.size() - olderSeen_, olderLimit);
    const auto makeRoom = [](std::vector<CallId>* v, size_t more) {
        if (v->capacity() < v->size() + more)
            v->reserve(std::max(v->size() + more, v->capacity() * 2));
    };
    makeRoom(front, front == back ? newer + older : newer);
    for (size_t i = d.newer.size(); i-- > newerSeen_;)
        if (wanted(d.newer[i])) front->push_back(CallId(i) | kNewer);
    makeRoom(back, older);
    for (size_t i = olderSeen_; i < olderSeen_ + older; ++i)
        if (wanted(d.older[i])) back->push_back(CallId(i));
    newerSeen_ = d.newer.size();
    olderSeen_ += older;
    return true;
}

void CallHistory::appendOlder(const LogBatch& batch) {
    d->append(batch, d->older);
}
void CallHistory::appendNewer(const LogBatch& batch) {
    d->append(batch, d->newer);
}

void CallHistory::reserve(qsizetype calls) {
    d->older.reserve(size_t(calls));
}

void CallHistory::clear() {
    d = std::make_unique<Data>();
}

qsizetype CallHistory::memoryUsed() const {
    qsizetype arenas = 0;
    for (const Arena* a : {&d->texts, &d->folds, &d->digits})
        for (const QByteArray& b : a->blocks()) arenas += b.size();
    return qsizetype((d->older.size() + d->newer.size()) * sizeof(Data::Rec) +
                     d->callers.size() * sizeof(Data::Caller) +
                     (d->table.size + d->old.size) * sizeof(quint64)) +
           arenas;
}

}  // namespace zrk
