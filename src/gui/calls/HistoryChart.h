#pragma once
// The history window's chart: calls per day, week or month over the chosen range, as bars,
// with a date under every few bars so that the labels never run into each other.
#include "core/history/CallHistory.h"

#include <QtCharts/QChartView>

class QBarSet;

namespace zrk {

class HistoryChart : public QChartView {
    Q_OBJECT
public:
    explicit HistoryChart(QWidget* parent = nullptr);

    void showChart(const CallChart& chart);
    const CallChart& shown() const { return chart_; }

    // The bars' values and the dates under them, as drawn (for the tests and the look).
    QList<int> barValues() const;
    QStringList dateLabels() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeLabels();

    CallChart chart_;
    QBarSet* bars_ = nullptr;
    int labelledWidth_ = -1;
};

}  // namespace zrk
