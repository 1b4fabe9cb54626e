#include "gui/calls/HistoryChart.h"

#include "gui/calls/CallRow.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QRegularExpression>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace zrk {

namespace {

// The locale's short date without its year ("M/d", "dd/MM", "dd.MM", "MM-dd"): the order of
// day and month is the one the table's dates have. Where the table falls back to dd.MM.yyyy
// (a short date in words), so does the chart.
QString dayMonthForm(const QLocale& locale) {
    QString f = locale.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression year(QStringLiteral("^y+[^dM]*|[^dM]*y+$"));
    f.remove(year);
    const bool usable = !f.contains(QLatin1Char('y')) && f.contains(QLatin1Char('d')) &&
                        !f.contains(QLatin1Char(' ')) && !f.contains(QLatin1String("MMM"));
    return usable ? f : QStringLiteral("dd.MM");
}

// A bar's date; `withYear` where the chart spans more than one year.
QString bucketLabel(const QDate& start, Bucket bucket, bool withYear) {
    const QLocale locale;
    if (bucket == Bucket::Month)
        // A text of the translation: the month's name reads best where the language has one.
        return locale.toString(start, QCoreApplication::translate("zrk::HistoryChart", "MM.yyyy"));
    return withYear ? callDateText(start, locale) : locale.toString(start, dayMonthForm(locale));
}

// A round top for the count axis with whole-number ticks: 1, 2, 5 or 10 times a power of ten.
int roundTop(int max, int ticks) {
    if (max <= 0) return ticks - 1;
    const double rough = double(max) / (ticks - 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        const double step = std::max(1.0, m * power);
        if (step * (ticks - 1) >= max) return int(step * (ticks - 1));
    }
    return max;
}

}  // namespace

HistoryChart::HistoryChart(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("chart"));
    setRenderHint(QPainter::Antialiasing);
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->setAnimationOptions(QChart::NoAnimation);
    QFont titleFont = font();
    titleFont.setBold(true);
    chart->setTitleFont(titleFont);

    auto* series = new QBarSeries(chart);
    bars_ = new QBarSet(QString(), series);
    bars_->setColor(palette().color(QPalette::Highlight));
    bars_->setBorderColor(palette().color(QPalette::Highlight).darker(120));
    series->append(bars_);
    series->setBarWidth(0.8);
    chart->addSeries(series);

    auto* x = new QCategoryAxis(chart);
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x->setGridLineVisible(false);
    x->setLabelsFont(font());
    auto* y = new QValueAxis(chart);
    y->setLabelFormat(QStringLiteral("%d"));
    y->setLabelsFont(font());
    y->setTickCount(3);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    setChart(chart);
    setMinimumHeight(QFontMetrics(font()).height() * 9);
    showChart({});
}

void HistoryChart::showChart(const CallChart& chart) {
    chart_ = chart;
    QList<qreal> values;
    int max = 0;
    values.reserve(qsizetype(chart.counts.size()));
    for (const auto& [start, count] : chart.counts) {
        values.append(count);
        max = std::max(max, count);
    }
    bars_->remove(0, bars_->count());
    bars_->append(values);
    // In the order of Bucket.
    static const char* const titles[] = {QT_TR_NOOP("Звонков в день"),
                                         QT_TR_NOOP("Звонков в неделю"),
                                         QT_TR_NOOP("Звонков в месяц")};
    this->chart()->setTitle(tr(titles[int(chart.bucket)]));
    auto* y = static_cast<QValueAxis*>(this->chart()->axes(Qt::Vertical).value(0));
    y->setRange(0, roundTop(max, y->tickCount()));
    labelledWidth_ = -1;
    placeLabels();
}

void HistoryChart::placeLabels() {
    auto* x = static_cast<QCategoryAxis*>(chart()->axes(Qt::Horizontal).value(0));
    if (labelledWidth_ == width()) return;
    labelledWidth_ = width();
    for (const QString& label : x->categoriesLabels()) x->remove(label);
    const int n = int(chart_.counts.size());
    x->setStartValue(-0.5);
    x->setRange(-0.5, std::max(n, 1) - 0.5);
    if (n == 0) return;
    // Every k-th bar gets its date, k such that a label and a gap fit in k bars' width.
    const bool withYear = chart_.counts.front().first.year() != chart_.counts.back().first.year();
    const QFontMetrics fm(x->labelsFont());
    const int textWidth =
        fm.horizontalAdvance(bucketLabel(QDate(2000, 12, 28), chart_.bucket, withYear));
    const int labelWidth = textWidth + fm.horizontalAdvance(QStringLiteral("00"));
    // A label stands centred under its bar: the last one needs half its width beyond the plot.
    QMargins margins = chart()->margins();
    if (margins.right() != textWidth / 2 + 2) {
        margins.setRight(textWidth / 2 + 2);
        chart()->setMargins(margins);
    }
    const double plotWidth = std::max(
        40.0, chart()->plotArea().width() > 0 ? chart()->plotArea().width() : double(width() - 60));
    const int fits = std::max(1, int(plotWidth / labelWidth));
    const int step = std::max(1, (n + fits - 1) / fits);
    for (int i = 0; i < n; i += step)
        x->append(bucketLabel(chart_.counts[size_t(i)].first, chart_.bucket, withYear), i);
}

void HistoryChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    placeLabels();
}

QList<int> HistoryChart::barValues() const {
    QList<int> out;
    for (int i = 0; i < bars_->count(); ++i) out.append(int(bars_->at(i)));
    return out;
}

QStringList HistoryChart::dateLabels() const {
    return static_cast<QCategoryAxis*>(chart()->axes(Qt::Horizontal).value(0))->categoriesLabels();
}

}  // namespace zrk
