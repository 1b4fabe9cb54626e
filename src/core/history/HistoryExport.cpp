// The chart's buckets and figures, and the rows as CSV.
#include "core/history/HistoryExport.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <algorithm>
#include <limits>

namespace zrk {

CallChart chartOf(const CallHistory& history, const std::vector<CallId>& rows, QDate from,
                  QDate to) {
    CallDays days;
    days.add(history, rows);
    return days.chart(from, to);
}

void CallDays::add(const CallHistory& history, const std::vector<CallId>& rows) {
    qint64 lo = std::numeric_limits<qint64>::max(), hi = std::numeric_limits<qint64>::min();
    for (CallId id : rows) {
        const QDate day = history.date(id);
        if (!day.isValid()) continue;
        lo = std::min(lo, day.toJulianDay());
        hi = std::max(hi, day.toJulianDay());
    }
    if (lo > hi) return;
    if (counts_.empty()) {
        first_ = lo;
        counts_.assign(size_t(hi - lo + 1), 0);
    } else {
        // A load brings older days in front, a new call a later day behind.
        if (lo < first_) {
            counts_.insert(counts_.begin(), size_t(first_ - lo), 0);
            first_ = lo;
        }
        if (hi - first_ >= qint64(counts_.size())) counts_.resize(size_t(hi - first_ + 1), 0);
    }
    for (CallId id : rows) {
        const QDate day = history.date(id);
        if (day.isValid()) ++counts_[size_t(day.toJulianDay() - first_)];
    }
}

CallChart CallDays::chart(QDate from, QDate to) const {
    CallChart chart;
    const bool any = !counts_.empty();
    const QDate lo = from.isValid() ? from : any ? QDate::fromJulianDay(first_) : QDate();
    const QDate hi = to.isValid() ? to
                     : any        ? QDate::fromJulianDay(first_ + qint64(counts_.size()) - 1)
                                  : QDate();
    if (!lo.isValid() || !hi.isValid() || lo > hi) return chart;
    chart.from = lo;
    chart.to = hi;

    const qint64 days = lo.daysTo(hi) + 1;
    std::vector<int> perDay(size_t(days), 0);
    const qint64 shift = lo.toJulianDay() - first_;  // counts_ index of `lo`
    for (qint64 i = std::max<qint64>(0, -shift); i < days && i + shift < qint64(counts_.size());
         ++i) {
        perDay[size_t(i)] = counts_[size_t(i + shift)];
        chart.calls += perDay[size_t(i)];
    }

    chart.bucket = days <= 62 ? Bucket::Day : days <= 366 ? Bucket::Week : Bucket::Month;
    QDate start = lo;
    if (chart.bucket == Bucket::Week) start = lo.addDays(1 - lo.dayOfWeek());
    if (chart.bucket == Bucket::Month) start = QDate(lo.year(), lo.month(), 1);
    while (start <= hi) {
        const QDate next = chart.bucket == Bucket::Day    ? start.addDays(1)
                           : chart.bucket == Bucket::Week ? start.addDays(7)
                                                          : start.addMonths(1);
        int n = 0;
        const qint64 a = std::max<qint64>(0, lo.daysTo(start));
        const qint64 b = std::min<qint64>(days, lo.daysTo(next));
        for (qint64 i = a; i < b; ++i) n += perDay[size_t(i)];
        chart.counts.emplace_back(start, n);
        start = next;
    }

    const auto busiest = std::max_element(perDay.begin(), perDay.end());
    if (*busiest > 0) {
        chart.busiestDay = lo.addDays(busiest - perDay.begin());
        chart.busiestDayCalls = *busiest;
    }
    chart.averagePerDay = double(chart.calls) / double(days);
    return chart;
}

namespace {

bool numberLike(const QString& s) {
    return std::none_of(s.begin(), s.end(), [](QChar c) {
        return c.isLetter() || c == QLatin1Char('(') || c == QLatin1Char('=');
    });
}

// RFC 4180: quoted when it holds a comma, a quote or a line break, or blanks at either end.
// A spreadsheet runs a cell that starts like a formula: such a cell gets an apostrophe first,
// except a number such as +7-915-...
void appendField(QByteArray& out, QString field) {
    if (!field.isEmpty()) {
        const QChar c = field.front();
        if (c == QLatin1Char('=') || c == QLatin1Char('@') || c == QLatin1Char('\t') ||
            ((c == QLatin1Char('+') || c == QLatin1Char('-')) && !numberLike(field)))
            field.prepend(QLatin1Char('\''));
    }
    const bool quote = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                       field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')) ||
                       field.startsWith(QLatin1Char(' ')) || field.endsWith(QLatin1Char(' '));
    if (!quote) {
        out += field.toUtf8();
        return;
    }
    out += '"';
    out += field.replace(QLatin1Char('"'), QStringLiteral("\"\"")).toUtf8();
    out += '"';
}

}  // namespace

bool writeHistoryCsv(const CallHistory& history, const std::vector<CallId>& rows, QIODevice& out,
                     QString* error, const std::function<bool(size_t)>& going) {
    QByteArray buf("\xEF\xBB\xBF");
    const auto row = [&](const QString& a, const QString& b, const QString& c, const QString& d) {
        for (const QString* field : {&a, &b, &c, &d}) {
            if (field != &a) buf += ',';
            appendField(buf, *field);
        }
        buf += "\r\n";
    };
    const auto flush = [&] {
        if (out.write(buf) != buf.size()) {
            if (error)
                *error = QCoreApplication::translate("CallHistory", "Ошибка записи CSV: %1")
                             .arg(out.errorString());
            return false;
        }
        buf.clear();
        return true;
    };
    // The column names are for the reader of the sheet: in the user's language.
    const auto tr = [](const char* text) {
        return QCoreApplication::translate("CallHistory", text);
    };
    row(tr(QT_TRANSLATE_NOOP("CallHistory", "Дата")), tr(QT_TRANSLATE_NOOP("CallHistory", "Время")),
        tr(QT_TRANSLATE_NOOP("CallHistory", "Номер")), tr(QT_TRANSLATE_NOOP("CallHistory", "Имя")));
    for (size_t i = 0; i < rows.size(); ++i) {
        const CallId id = rows[i];
        if (!history.isValid(id)) continue;
        const QDateTime when = history.when(id);
        row(when.date().toString(Qt::ISODate), when.time().toString(QStringLiteral("HH:mm:ss")),
            history.number(id), history.name(id));
        if (buf.size() >= 1 << 16) {
            if (!flush()) return false;
            if (going && !going(i + 1)) return false;
        }
    }
    return flush();
}

CsvExport::CsvExport(const CallHistory& history, std::vector<CallId> rows, QString path,
                     QObject* parent)
    : QObject(parent), history_(history), rows_(std::move(rows)), path_(std::move(path)) {}

CsvExport::~CsvExport() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void CsvExport::start() {
    if (worker_.joinable()) return;
    worker_ = std::thread([this] {
        QString error;
        bool ok = false;
        int told = -1;
        {
            QSaveFile file(path_);
            if (!file.open(QIODevice::WriteOnly)) {
                error = file.errorString();
            } else if (!writeHistoryCsv(history_, rows_, file, &error, [&](size_t done) {
                           const int percent = int(done * 100 / std::max<size_t>(1, rows_.size()));
                           if (percent != told) {
                               told = percent;
                               // Queued to this object: dropped if it is gone by then.
                               QMetaObject::invokeMethod(
                                   this, [this, percent] { emit progress(percent); },
                                   Qt::QueuedConnection);
                           }
                           return !cancel_;
                       })) {
                file.cancelWriting();
                if (error.isEmpty() && !cancel_) error = file.errorString();
            } else if (!cancel_ && file.commit()) {
                ok = true;
            } else if (!cancel_) {
                error = file.errorString();
            }
        }  // a file not committed is removed here
        QMetaObject::invokeMethod(
            this, [this, ok, error] { emit finished(ok, error); }, Qt::QueuedConnection);
    });
}

}  // namespace zrk
