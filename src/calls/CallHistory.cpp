#include "calls/CallHistory.h"

#include "platform/Cp1251.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstring>

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

bool fitsCp1251(const QString& s) {
    for (QChar c : s)
        if (toCp1251(c) == '?' && c != QLatin1Char('?')) return false;
    return true;
}

// A digit query: digits and separators only ("8-915 12", "(495)").
bool isDigitQuery(const QString& s, QByteArray* digits) {
    for (QChar c : s) {
        if (c.isLetter()) return false;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits->append(char(c.unicode()));
    }
    return !digits->isEmpty();
}

}  // namespace

struct CallHistory::Data {
    struct Rec {
        qint32 day;
        quint32 secs;
        quint32 caller;
    };
    // One distinct number and name: its texts as stored (code page 1251, or UTF-8 for text
    // the code page cannot hold), its folded form and its digits, each in a buffer of its own.
    struct Caller {
        quint32 text;
        quint32 fold;    // folded number, '\x01', folded name, '\n'
        quint32 digits;  // the number's digits, '\n'
        quint16 numberSize;
        quint16 nameSize;
        bool utf8;
    };
    std::vector<Rec> older;  // newest first
    std::vector<Rec> newer;  // file order
    std::vector<Caller> callers;
    QByteArray texts, folds, digits;
    std::vector<quint32> table;  // open addressing: caller index + 1; 0 is free
    qsizetype skipped = 0;
    bool hasUtf8 = false;

    static size_t hashOf(QByteArrayView number, QByteArrayView name, bool utf8) {
        return qHashMulti(utf8 ? 1u : 0u, number, name);
    }
    QByteArrayView numberOf(const Caller& c) const {
        return QByteArrayView(texts).sliced(c.text, c.numberSize);
    }
    QByteArrayView nameOf(const Caller& c) const {
        return QByteArrayView(texts).sliced(c.text + c.numberSize, c.nameSize);
    }
    QString decode(QByteArrayView b, bool utf8) const {
        return utf8 ? QString::fromUtf8(b) : fromCp1251(b.data(), b.size());
    }

    void rehash() {
        std::vector<quint32> t(std::max<size_t>(1024, table.size() * 2), 0);
        const size_t mask = t.size() - 1;
        for (size_t i = 0; i < callers.size(); ++i) {
            const Caller& c = callers[i];
            size_t h = hashOf(numberOf(c), nameOf(c), c.utf8) & mask;
            while (t[h]) h = (h + 1) & mask;
            t[h] = quint32(i + 1);
        }
        table.swap(t);
    }

    quint32 intern(QByteArrayView number, QByteArrayView name, bool utf8) {
        if ((callers.size() + 1) * 2 > table.size()) rehash();
        const size_t mask = table.size() - 1;
        size_t h = hashOf(number, name, utf8) & mask;
        while (const quint32 slot = table[h]) {
            const Caller& c = callers[slot - 1];
            if (c.utf8 == utf8 && numberOf(c) == number && nameOf(c) == name) return slot - 1;
            h = (h + 1) & mask;
        }
        Caller c{};
        c.text = quint32(texts.size());
        c.fold = quint32(folds.size());
        c.digits = quint32(digits.size());
        c.numberSize = quint16(number.size());
        c.nameSize = quint16(name.size());
        c.utf8 = utf8;
        texts.append(number.data(), number.size());
        texts.append(name.data(), name.size());
        if (utf8) {
            hasUtf8 = true;
            folds += foldText(decode(number, true)).toUtf8();
            folds += '\x01';
            folds += foldText(decode(name, true)).toUtf8();
        } else {
            const auto& fold = foldTable();
            for (char ch : number) folds += fold[uchar(ch)];
            folds += '\x01';
            for (char ch : name) folds += fold[uchar(ch)];
        }
        folds += '\n';
        for (char ch : number)
            if (ch >= '0' && ch <= '9') digits += ch;
        digits += '\n';
        callers.push_back(c);
        table[h] = quint32(callers.size());
        return quint32(callers.size() - 1);
    }

    void append(const LogBatch& batch, std::vector<Rec>& to) {
        const QByteArrayView text(batch.text);
        to.reserve(to.size() + batch.calls.size());
        for (const LogBatch::Call& c : batch.calls) {
            const quint32 caller = intern(text.sliced(c.offset, c.numberSize),
                                          text.sliced(c.offset + c.numberSize, c.nameSize), c.utf8);
            to.push_back(Rec{c.julianDay, quint32(c.secondsOfDay), caller});
        }
        skipped += batch.skipped;
    }

    const Rec* rec(CallId id) const {
        if (id & kNewer) {
            const size_t i = id & ~kNewer;
            return i < newer.size() ? &newer[i] : nullptr;
        }
        return id < older.size() ? &older[id] : nullptr;
    }

    // Marks the callers whose `buffer` span (found by `offsetOf`) holds `needle`; a match in a
    // UTF-8 caller counts only when `utf8` says the needle is in its encoding too.
    template <typename Offset>
    void mark(const QByteArray& buffer, QByteArrayView needle, Offset offsetOf,
              std::vector<char>& hit, int utf8Wanted) const {
        const char* base = buffer.constData();
        const char* p = base;
        const char* end = base + buffer.size();
        while (p < end) {
            const void* found = memmem(p, size_t(end - p), needle.data(), size_t(needle.size()));
            if (!found) break;
            const quint32 at = quint32(static_cast<const char*>(found) - base);
            // The caller whose span holds the match: the last one starting at or before it.
            const auto it =
                std::upper_bound(callers.begin(), callers.end(), at,
                                 [&](quint32 v, const Caller& c) { return v < offsetOf(c); });
            const size_t i = size_t(it - callers.begin()) - 1;
            const Caller& c = callers[i];
            if (utf8Wanted < 0 || int(c.utf8) == utf8Wanted) hit[i] = 1;
            p = i + 1 < callers.size() ? base + offsetOf(callers[i + 1]) : end;
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

std::vector<CallId> CallHistory::select(const HistoryFilter& filter) const {
    QString text;
    for (QChar c : filter.text.trimmed())
        if (c.unicode() >= 0x20) text += c;

    std::vector<char> hit;
    if (!text.isEmpty()) {
        hit.assign(d->callers.size(), 0);
        QByteArray digits;
        if (isDigitQuery(text, &digits)) {
            d->mark(
                d->digits, digits, [](const Data::Caller& c) { return c.digits; }, hit, -1);
        } else {
            const QString folded = foldText(text);
            const auto foldOf = [](const Data::Caller& c) { return c.fold; };
            bool ascii = true;
            for (QChar c : folded) ascii = ascii && c.unicode() < 0x80;
            if (ascii) {
                d->mark(d->folds, folded.toLatin1(), foldOf, hit, -1);
            } else {
                if (fitsCp1251(folded)) d->mark(d->folds, toCp1251(folded), foldOf, hit, 0);
                if (d->hasUtf8) d->mark(d->folds, folded.toUtf8(), foldOf, hit, 1);
            }
        }
    }

    const qint64 from = filter.from.isValid() ? filter.from.toJulianDay() : INT64_MIN;
    const qint64 to = filter.to.isValid() ? filter.to.toJulianDay() : INT64_MAX;
    const bool all = text.isEmpty();
    std::vector<CallId> out;
    const auto take = [&](const Data::Rec& r, CallId id) {
        if (r.day >= from && r.day <= to && (all || hit[r.caller])) out.push_back(id);
    };
    for (size_t i = d->newer.size(); i-- > 0;) take(d->newer[i], CallId(i) | kNewer);
    for (size_t i = 0; i < d->older.size(); ++i) take(d->older[i], CallId(i));
    return out;
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
    return qsizetype((d->older.capacity() + d->newer.capacity()) * sizeof(Data::Rec) +
                     d->callers.capacity() * sizeof(Data::Caller) +
                     d->table.capacity() * sizeof(quint32)) +
           d->texts.capacity() + d->folds.capacity() + d->digits.capacity();
}

}  // namespace zrk
