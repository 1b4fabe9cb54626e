#include "core/history/LogLine.h"

#include "core/platform/Cp1251.h"

#include <QHashFunctions>
#include <QLocale>

#include <algorithm>

namespace zrk {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The date field split into its three numbers.
struct DateParts {
    int n[3] = {};
    int len[3] = {};
    char sep = 0;
};

bool splitDate(QByteArrayView f, DateParts* p) {
    int part = 0;
    qsizetype i = 0;
    while (part < 3) {
        int value = 0, len = 0;
        while (i < f.size() && isDigit(f[i]) && len < 5) {
            value = value * 10 + (f[i] - '0');
            ++len;
            ++i;
        }
        if (len == 0 || len > 4) return false;
        p->n[part] = value;
        p->len[part] = len;
        ++part;
        if (i == f.size()) break;
        const char c = f[i];
        if (c != '.' && c != '/' && c != '-') return false;
        if (p->sep == 0) p->sep = c;
        if (c != p->sep) return false;
        ++i;
        // Some locales end the date in its separator ("2024.01.31.").
        if (part == 3 && i != f.size()) return false;
    }
    return part == 3;
}

int fullYear(int year, int len) {
    if (len == 4) return year;
    if (len != 2) return -1;
    // A two-digit year is this century's unless that lies in the future.
    static const int thisYear = QDate::currentDate().year();
    const int y = 2000 + year;
    return y <= thisYear + 1 ? y : y - 100;
}

// Which form of slash date a field is: [4-digit year][padded]; `known` false when the field
// does not show whether its day and month are padded ("12/25/24").
struct SlashForm {
    int year4 = 0;
    int padded = 0;
    bool known = true;
};

SlashForm formOf(const DateParts& p) {
    SlashForm f;
    f.year4 = p.len[2] == 4 ? 1 : 0;
    if (p.len[0] == 1 || p.len[1] == 1)
        f.padded = 0;
    else if (p.n[0] < 10 || p.n[1] < 10)
        f.padded = 1;
    else
        f.known = false;
    return f;
}

SlashOrder orderFor(const DateOrders& o, const DateParts& p) {
    const SlashForm f = formOf(p);
    const auto& byPad = o.byForm[size_t(f.year4)];
    SlashOrder r =
        f.known ? byPad[size_t(f.padded)] : (byPad[1] != SlashOrder::Unknown ? byPad[1] : byPad[0]);
    return r == SlashOrder::Unknown ? o.fallback : r;
}

bool parseDate(QByteArrayView f, const DateOrders& orders, QDate* out) {
    DateParts p;
    if (!splitDate(f, &p)) return false;
    int y, m, d;
    if (p.len[0] == 4) {  // year first, whatever the separator
        if (p.len[1] > 2 || p.len[2] > 2) return false;
        y = p.n[0];
        m = p.n[1];
        d = p.n[2];
    } else {
        if (p.len[0] > 2 || p.len[1] > 2) return false;
        y = fullYear(p.n[2], p.len[2]);
        d = p.n[0];
        m = p.n[1];
        if (p.sep == '/') {
            const bool monthFirst =
                p.n[1] > 12 || (p.n[0] <= 12 && orderFor(orders, p) == SlashOrder::MonthFirst);
            if (monthFirst) std::swap(d, m);
        }
    }
    if (y < 1900 || y > 2199) return false;
    const QDate date(y, m, d);
    if (!date.isValid()) return false;
    *out = date;
    return true;
}

// H:mm:ss or HH:mm:ss.
bool parseTime(QByteArrayView f, int* hour, int* minute, int* second) {
    const qsizetype h = f.size() - 6;
    if (h < 1 || h > 2 || f[h] != ':' || f[h + 3] != ':') return false;
    for (qsizetype i : {qsizetype(0), h - 1, h + 1, h + 2, h + 4, h + 5})
        if (!isDigit(f[i])) return false;
    *hour = h == 1 ? f[0] - '0' : (f[0] - '0') * 10 + (f[1] - '0');
    *minute = (f[h + 1] - '0') * 10 + (f[h + 2] - '0');
    *second = (f[h + 4] - '0') * 10 + (f[h + 5] - '0');
    return *hour < 24 && *minute < 60 && *second < 60;
}

bool isMeridiem(QByteArrayView t) {
    if (t.size() != 2 || (t[1] != 'M' && t[1] != 'm')) return false;
    return t[0] == 'A' || t[0] == 'a' || t[0] == 'P' || t[0] == 'p';
}

// Valid UTF-8 holding at least one multi-byte character; code page 1251 Cyrillic almost
// never is (its letters are all lead bytes, and two letters in a row are no sequence).
bool isMultiByteUtf8(QByteArrayView s) {
    return s.isValidUtf8() && std::any_of(s.begin(), s.end(), [](char c) { return uchar(c) >= 0x80; });
}

bool allDigits(QByteArrayView t) {
    return !t.isEmpty() && std::all_of(t.begin(), t.end(), isDigit);
}

// Calls `f` with each line of `bytes` without its end; CR LF, LF and a lone CR all end a line.
template <typename F>
void forEachLine(QByteArrayView bytes, F&& f) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p < end) {
        const char* e = p;
        while (e < end && *e != '\n' && *e != '\r') ++e;
        f(QByteArrayView(p, e - p));
        if (e < end && *e == '\r' && e + 1 < end && e[1] == '\n') ++e;
        p = e + 1;
    }
}

}  // namespace

void DateOrders::learn(QByteArrayView f) {
    DateParts p;
    if (!splitDate(f, &p) || p.sep != '/' || p.len[0] > 2 || p.len[1] > 2) return;
    SlashOrder o;
    if (p.n[0] > 12 && p.n[1] <= 12)
        o = SlashOrder::DayFirst;
    else if (p.n[1] > 12 && p.n[0] <= 12)
        o = SlashOrder::MonthFirst;
    else
        return;
    const SlashForm form = formOf(p);
    auto& byPad = byForm[size_t(form.year4)];
    for (int pad = 0; pad < 2; ++pad)
        if ((!form.known || form.padded == pad) && byPad[size_t(pad)] == SlashOrder::Unknown)
            byPad[size_t(pad)] = o;
}

DateOrders DateOrders::fromSystemLocale() {
    DateOrders o;
    const QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
    // A short date with blanks was not what the log got: it got dd.MM.yyyy.
    if (f.contains(QLatin1Char('/')) && !f.contains(QLatin1Char(' ')) &&
        f.indexOf(QLatin1Char('M')) < f.indexOf(QLatin1Char('d')))
        o.fallback = SlashOrder::MonthFirst;
    return o;
}

bool parseLogFields(QByteArrayView line, const DateOrders& orders, LogFields* out) {
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == '\n')) line.chop(1);
    // A hand-made file may open with a UTF-8 byte-order mark.
    if (line.startsWith("\xEF\xBB\xBF")) line = line.sliced(3);
    if (line.isEmpty() || line.front() == ';' || line.size() > kMaxLogLine) return false;
    for (char c : line)
        if ((uchar(c) < 0x20 && c != '\t') || c == 0x7F) return false;

    const qsizetype dateEnd = line.indexOf(' ');
    if (dateEnd <= 0) return false;
    QDate date;
    if (!parseDate(line.first(dateEnd), orders, &date)) return false;

    QByteArrayView rest = line.sliced(dateEnd + 1);
    qsizetype timeEnd = rest.indexOf(' ');
    if (timeEnd <= 0) return false;  // no number field at all
    int hour, minute, second;
    if (!parseTime(rest.first(timeEnd), &hour, &minute, &second)) return false;
    rest = rest.sliced(timeEnd + 1);
    // A long time form of the old days ends in AM or PM.
    const qsizetype next = rest.indexOf(' ');
    if (next == 2 && isMeridiem(rest.first(2))) {
        if (hour < 1 || hour > 12) return false;
        const bool pm = rest[0] == 'P' || rest[0] == 'p';
        hour = hour % 12 + (pm ? 12 : 0);
        rest = rest.sliced(3);
    }

    // The number: one field, unless digit groups were separated by blanks ("123 45 67"):
    // groups of one length after a first group of that length up to twice it less one.
    qsizetype numberEnd = rest.indexOf(' ');
    if (numberEnd < 0) numberEnd = rest.size();
    if (allDigits(rest.first(numberEnd))) {
        const qsizetype first = numberEnd;
        qsizetype group = 0;
        while (numberEnd < rest.size()) {
            qsizetype e = rest.indexOf(' ', numberEnd + 1);
            if (e < 0) e = rest.size();
            const QByteArrayView token = rest.sliced(numberEnd + 1, e - numberEnd - 1);
            if (!allDigits(token)) break;
            if (group == 0) {
                group = token.size();
                if (first < group || first > 2 * group - 1) break;
            } else if (token.size() != group) {
                break;
            }
            numberEnd = e;
        }
    }
    if (numberEnd > kMaxLogNumber) return false;
    out->number = rest.first(numberEnd);
    out->name = numberEnd < rest.size() ? rest.sliced(numberEnd + 1) : QByteArrayView();
    out->julianDay = int(date.toJulianDay());
    out->secondsOfDay = hour * 3600 + minute * 60 + second;
    out->utf8 = isMultiByteUtf8(rest);
    return true;
}

quint32 callerHash(QByteArrayView number, QByteArrayView name, bool utf8) {
    const size_t h = qHashMulti(utf8 ? 1u : 0u, number, name);
    return quint32(h ^ (quint64(h) >> 32));
}

quint32 numberKey(QByteArrayView number, bool utf8) {
    QByteArray converted;
    if (utf8) {
        // A mark written in UTF-8 by hand names the call the program wrote in code page 1251.
        const QString n = QString::fromUtf8(number);
        if (fitsCp1251(n)) {
            converted = toCp1251(n);
            number = converted;
            utf8 = false;
        }
    }
    return callerHash(number, {}, utf8);
}

void LogBatch::addMark(const LogFields& f) {
    marks.push_back({f.julianDay, f.secondsOfDay, numberKey(f.number, f.utf8)});
}

void LogBatch::add(const LogFields& f) {
    QByteArrayView number = f.number, name = f.name;
    QByteArray converted;
    bool utf8 = f.utf8;
    if (utf8) {
        // The same caller from a hand-made UTF-8 line and from the program's own line is one.
        const QString n = QString::fromUtf8(number), m = QString::fromUtf8(name);
        if (fitsCp1251(n) && fitsCp1251(m)) {
            converted = toCp1251(n + m);
            number = QByteArrayView(converted).first(toCp1251(n).size());
            name = QByteArrayView(converted).sliced(number.size());
            utf8 = false;
        }
    }
    Call c;
    c.julianDay = f.julianDay;
    c.secondsOfDay = f.secondsOfDay;
    c.offset = quint32(text.size());
    c.numberSize = quint16(number.size());
    c.nameSize = quint16(name.size());
    c.utf8 = utf8;
    c.hash = callerHash(number, name, utf8);
    text.append(number.data(), number.size());
    text.append(name.data(), name.size());
    calls.push_back(c);
}

LogBatch parseLogBytes(QByteArrayView bytes, const DateOrders& orders, bool newestFirst) {
    LogBatch batch;
    batch.calls.reserve(size_t(bytes.size() / 40));
    batch.text.reserve(bytes.size() / 2);
    LogFields f;
    bool inHeader = false;  // after a comment line: the blank line that ends a header
    forEachLine(bytes, [&](QByteArrayView line) {
        if (parseLogFields(line, orders, &f)) {
            batch.add(f);
            inHeader = false;
        } else if (line.startsWith(';')) {
            inHeader = true;  // the header's and the user's remarks: no damage
            if (line.startsWith(kMissedMark) &&
                parseLogFields(line.sliced(qsizetype(sizeof kMissedMark) - 1), orders, &f))
                batch.addMark(f);
        } else if (!(inHeader && line.isEmpty())) {
            ++batch.skipped;
            inHeader = false;
        }
    });
    if (newestFirst) std::reverse(batch.calls.begin(), batch.calls.end());
    return batch;
}

void learnDateOrders(QByteArrayView bytes, DateOrders* orders) {
    forEachLine(bytes, [&](QByteArrayView line) {
        const qsizetype blank = line.indexOf(' ');
        // Most logs have no slash date at all: the date field is looked into only for one.
        if (blank > 0 && blank <= 10 && line.first(blank).contains('/'))
            orders->learn(line.first(blank));
    });
}

}  // namespace zrk
