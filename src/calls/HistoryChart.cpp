#include "calls/HistoryChart.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace zrk {

namespace {

QString bucketLabel(const QDate& start, Bucket bucket) {
    // The forms are texts of the translation: each language writes its short dates its own way.
    const char* form = bucket == Bucket::Month ? QT_TRANSLATE_NOOP("zrk::HistoryChart", "MM.yyyy")
                                               : QT_TRANSLATE_NOOP("zrk::HistoryChart", "dd.MM");
    return QLocale().toString(start, QCoreApplication::translate("zrk::HistoryChart", form));
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
    switch (chart.bucket) {
        case Bucket::Day:
            this->chart()->setTitle(tr("Звонков в день"));
            break;
        case Bucket::Week:
            this->chart()->setTitle(tr("Звонков в неделю"));
            break;
        case Bucket::Month:
            this->chart()->setTitle(tr("Звонков в месяц"));
            break;
    }
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
    const QFontMetrics fm(x->labelsFont());
    const int labelWidth = fm.horizontalAdvance(bucketLabel(QDate(2000, 12, 28), chart_.bucket)) +
                           fm.horizontalAdvance(QStringLiteral("00"));
    const double plotWidth = std::max(
        40.0, chart()->plotArea().width() > 0 ? chart()->plotArea().width() : double(width() - 60));
    const int fits = std::max(1, int(plotWidth / labelWidth));
    const int step = std::max(1, (n + fits - 1) / fits);
    for (int i = 0; i < n; i += step)
        x->append(bucketLabel(chart_.counts[size_t(i)].first, chart_.bucket), i);
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
