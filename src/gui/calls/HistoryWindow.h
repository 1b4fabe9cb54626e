#pragma once
// The call history window: every call of the log, newest first, with a search, a date range,
// a chart of calls per day, week or month, and the commands on a call (dial, add to the book,
// add a reminder) and on the rows found (export as CSV). It reads the log on a worker and
// follows it while open; it never writes to it.
#include "core/history/CallHistory.h"
#include "gui/settings/WindowPlacement.h"

#include <QDate>
#include <QElapsedTimer>
#include <QMainWindow>

#include <optional>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QProgressDialog;
class QTableView;
class QTimer;

namespace zrk {

class CsvExport;
class HistoryChart;
class HistoryHost;
class HistoryLoader;
class HistoryModel;
class Line;

class HistoryWindow : public QMainWindow {
    Q_OBJECT
public:
    // The date ranges offered, in the order of the choice.
    enum Range { Today, Week, Month, Year, All, Period };

    // Starts reading `logFile` at once; restores the stored place and size
    // ("Position\History").
    HistoryWindow(Line& line, HistoryHost& host, const QString& logFile, QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // The filter that the search field and the range make now.
    HistoryFilter filter() const;
    const HistoryModel& model() const { return *model_; }

    // At the end of the program: closes; a place that cannot be kept is returned.
    Failures closeForExit() { return placement_.closeForExit(this); }

signals:
    // An export asked for by exportCsv is over: written, or failed or cancelled (told).
    void exportFinished(bool written);

public slots:
    void dialSelected();
    void exportCsv();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Runs the filter again over every call; `sameIds` false after the log was read anew.
    void refresh(bool sameIds = true);
    // Takes the calls handed over since the rows were made: only those are filtered, added
    // and counted in the chart.
    void takeNew();
    // Missed marks that came for rows shown already: those rows are drawn again.
    void takeMarks();
    void showFigures();
    void batchArrived();
    void loadProgress(qint64 read, qint64 total);
    void loadFinished();
    void showTotals();
    void enableCommands();
    // The number of the current row where it has digits to dial; empty otherwise.
    QString selectedNumber() const;
    void exportDone(bool ok, const QString& error);

    Line& line_;
    HistoryHost& host_;
    HistoryLoader* loader_;
    HistoryModel* model_;
    std::optional<HistoryQuery> query_;  // the filter the rows were made with
    CallDays days_;                      // the rows' calls per day
    WindowPlacement placement_;
    QTableView* table_ = nullptr;
    QLineEdit* search_ = nullptr;
    QComboBox* range_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    HistoryChart* chart_ = nullptr;
    QLabel* figures_ = nullptr;
    QLabel* total_ = nullptr;
    QLabel* loadState_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer* searchTimer_ = nullptr;
    QTimer* batchTimer_ = nullptr;
    QTimer* catchUpTimer_ = nullptr;  // the rest of a batch, at the next turn
    QElapsedTimer figuresShown_;
    bool figuresStale_ = false;  // rows added since the chart was drawn
    QAction* dial_ = nullptr;
    QAction* addBook_ = nullptr;
    QAction* addReminder_ = nullptr;
    QAction* export_ = nullptr;
    QMenu* rowMenu_ = nullptr;
    QString failure_;
    bool loadDone_ = false;
    bool firstBatchShown_ = false;
    bool unsorted_ = false;     // rows added out of time order: sorted once the load is in
    qsizetype marksShown_ = 0;  // missed marks the rows were drawn with
    CsvExport* exporting_ = nullptr;
    QProgressDialog* exportProgress_ = nullptr;
};

}  // namespace zrk
