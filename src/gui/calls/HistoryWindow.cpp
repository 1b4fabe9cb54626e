#include "gui/calls/HistoryWindow.h"

#include "gui/calls/CallRow.h"
#include "gui/calls/HistoryChart.h"
#include "core/history/HistoryExport.h"
#include "core/history/HistoryLoader.h"
#include "gui/calls/HistoryModel.h"
#include "core/platform/Clock.h"
#include "gui/settings/Form.h"
#include "gui/windows/HistoryHost.h"
#include "gui/windows/Line.h"
#include "gui/windows/ToolBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace zrk {

namespace {

// Typing is left to settle this long before the search runs.
constexpr int kSearchDelayMs = 150;
// While the log loads, the rows and the chart follow the batches at most this often.
constexpr int kBatchRefreshMs = 250;
// Older calls taken in one turn of the event loop; the rest wait for the next turn. Each row
// costs the view fresh memory, and fresh memory comes slowly on some machines: a quarter of a
// million rows at once stood the window still for a tenth of a second.
constexpr size_t kCallsPerTurn = 50000;

bool hasDigit(const QString& s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

HistoryWindow::HistoryWindow(Line& line, HistoryHost& host, const QString& logFile, QWidget* parent)
    : QMainWindow(parent),
      line_(line),
      host_(host),
      loader_(new HistoryLoader(logFile, this)),
      model_(new HistoryModel(this)),
      placement_(QStringLiteral("Position\\History"), true) {
    setObjectName(QStringLiteral("History"));
    setWindowTitle(tr("История звонков"));
    buildControls();

    connect(loader_, &HistoryLoader::grown, this, &HistoryWindow::batchArrived);
    connect(loader_, &HistoryLoader::appended, this, &HistoryWindow::takeNew);
    connect(loader_, &HistoryLoader::reloaded, this, [this] {
        // The log was replaced (or made at last): read again from the start.
        failure_.clear();
        loadDone_ = false;
        firstBatchShown_ = false;
        progress_->setValue(0);
        progress_->show();
        loadState_->show();
        refresh(false);
    });
    connect(loader_, &HistoryLoader::progress, this, &HistoryWindow::loadProgress);
    connect(loader_, &HistoryLoader::loaded, this, &HistoryWindow::loadFinished);
    connect(loader_, &HistoryLoader::failed, this, [this](const QString& message) {
        failure_ = message;
        loadFinished();
    });
    placement_.setColumns(table_->horizontalHeader());
    placement_.restoreOrReport(this);
    refresh(false);
    loader_->start();
}

HistoryWindow::~HistoryWindow() {
    delete exporting_;  // its worker reads the loader's history: stopped before that goes
}

void HistoryWindow::buildControls() {
    const double scale = designScale(font());
    auto* toolbar = addFixedToolBar(this, "ToolBar1");
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto action = [&](const char* name, const QString& text, const char* icon,
                            QStyle::StandardPixmap fallback, const std::function<void()>& run) {
        QAction* a = toolbar->addAction(themed(icon, fallback, this), text);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    // A command on the row's number as logged, where it has one.
    const auto withNumber = [this](void (HistoryHost::*send)(const QString&)) {
        return [this, send] {
            if (const QString number = selectedNumber(); !number.isEmpty()) (host_.*send)(number);
        };
    };
    dial_ = action("acDial", tr("&Звонить"), "call-start", QStyle::SP_BrowserReload,
                   [this] { dialSelected(); });
    addBook_ = action("acAddBook", tr("&Добавить в книгу..."), "contact-new",
                      QStyle::SP_FileDialogNewFolder, withNumber(&HistoryHost::addNumberToBook));
    addReminder_ =
        action("acAddReminder", tr("Добавить в напо&минание..."), "appointment-new",
               QStyle::SP_FileDialogInfoView, withNumber(&HistoryHost::addReminderForNumber));
    toolbar->addSeparator();
    export_ = action("acExport", tr("&Экспорт в CSV..."), "document-save-as",
                     QStyle::SP_DialogSaveButton, [this] { exportCsv(); });
    rowMenu_ = named<QMenu>("rowMenu", this);
    rowMenu_->addActions({dial_, addBook_, addReminder_});
    rowMenu_->addSeparator();
    rowMenu_->addAction(export_);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* filters = new QHBoxLayout;
    search_ = named<QLineEdit>("eSearch", central);
    search_->setPlaceholderText(tr("Номер или часть имени"));
    search_->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(tr("&Поиск:"), central);
    searchLabel->setBuddy(search_);
    range_ = named<QComboBox>("cbRange", central);
    range_->addItems(
        {tr("Сегодня"), tr("7 дней"), tr("30 дней"), tr("Год"), tr("Все"), tr("Период")});
    range_->setCurrentIndex(All);
    auto* rangeLabel = new QLabel(tr("&За:"), central);
    rangeLabel->setBuddy(range_);
    const QDate today = now().date();
    from_ = named<QDateEdit>("dtFrom", today.addDays(-29), central);
    to_ = named<QDateEdit>("dtTo", today, central);
    // The language's short date, with the whole year: "3/14/26" reads badly as a range's end.
    QString dateForm = QLocale().dateFormat(QLocale::ShortFormat);
    if (!dateForm.contains(QStringLiteral("yyyy")))
        dateForm.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(dateForm);
        d->setVisible(false);
    }
    filters->addWidget(searchLabel);
    filters->addWidget(search_, 1);
    filters->addSpacing(8);
    filters->addWidget(rangeLabel);
    filters->addWidget(range_);
    filters->addWidget(from_);
    filters->addWidget(to_);
    layout->addLayout(filters);

    auto* splitter = named<QSplitter>("splitter", Qt::Vertical, central);
    table_ = named<QTableView>("tvHistory", splitter);
    table_->setModel(model_);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setShowGrid(false);
    table_->setAlternatingRowColors(true);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    // Fixed row heights: the view then never measures a million rows.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setHighlightSections(false);
    const QFontMetrics fm(font());
    const int widths[HistoryModel::ColumnCount] = {
        fm.horizontalAdvance(QStringLiteral("28.12.2000")) + 16,
        fm.horizontalAdvance(QStringLiteral("20:00:00")) + 16,
        // Room for the missed call's sign beside the number.
        fm.horizontalAdvance(QStringLiteral("8-000-000-00-00")) + 16 +
            style()->pixelMetric(QStyle::PM_SmallIconSize) + 4,
        120};
    for (int c = 0; c < HistoryModel::ColumnCount; ++c)
        table_->setColumnWidth(c, qMax(widths[c], qRound(60 * scale)));
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (model_->rowCount() == 0) return;
        rowMenu_->popup(table_->viewport()->mapToGlobal(at));
    });
    connect(table_, &QAbstractItemView::doubleClicked, this, &HistoryWindow::dialSelected);
    // The current row moves before the selection follows it: the commands wait for both.
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryWindow::enableCommands);
    table_->installEventFilter(this);

    auto* chartBox = new QWidget(splitter);
    auto* chartLayout = new QVBoxLayout(chartBox);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chart_ = new HistoryChart(chartBox);
    figures_ = named<QLabel>("stFigures", chartBox);
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    chartLayout->addWidget(chart_, 1);
    chartLayout->addWidget(figures_);
    splitter->addWidget(table_);
    splitter->addWidget(chartBox);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    auto* status = named<QStatusBar>("stStatus", this);
    total_ = named<QLabel>("stTotal", status);
    loadState_ = named<QLabel>("stLoad", status);
    progress_ = named<QProgressBar>("pbLoad", status);
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(qRound(120 * scale));
    progress_->setTextVisible(false);
    status->addWidget(total_, 1);
    status->addPermanentWidget(loadState_);
    status->addPermanentWidget(progress_);
    setStatusBar(status);

    const auto timer = [this](int ms, const std::function<void()>& run) {
        auto* t = new QTimer(this);
        t->setSingleShot(true);
        t->setInterval(ms);
        connect(t, &QTimer::timeout, this, run);
        return t;
    };
    searchTimer_ = timer(kSearchDelayMs, [this] { refresh(); });
    connect(search_, &QLineEdit::textChanged, searchTimer_, qOverload<>(&QTimer::start));
    connect(search_, &QLineEdit::returnPressed, this, [this] {
        searchTimer_->stop();
        refresh();
    });
    batchTimer_ = timer(kBatchRefreshMs, [this] { takeNew(); });
    catchUpTimer_ = timer(0, [this] { takeNew(); });
    connect(range_, &QComboBox::currentIndexChanged, this, [this](int range) {
        from_->setVisible(range == Period);
        to_->setVisible(range == Period);
        refresh();
    });
    for (QDateEdit* d : {from_, to_})
        connect(d, &QDateEdit::dateChanged, this, [this] { refresh(); });

    resize(qRound(560 * scale), qRound(520 * scale));
}

HistoryFilter HistoryWindow::filter() const {
    HistoryFilter f;
    f.text = search_->text().trimmed();
    const int range = range_->currentIndex();
    if (range == Period) {
        // Dates given the wrong way round still mean the days between them.
        f.from = qMin(from_->date(), to_->date());
        f.to = qMax(from_->date(), to_->date());
    } else if (range >= Today && range <= Year) {
        f.to = now().date();
        const int back[] = {0, -6, -29};  // today, the last 7 days, the last 30 days
        f.from = range == Year ? f.to.addYears(-1).addDays(1) : f.to.addDays(back[range]);
    }
    return f;
}

void HistoryWindow::refresh(bool sameIds) {
    batchTimer_->stop();
    catchUpTimer_->stop();
    const CallHistory& history = loader_->history();
    query_.emplace(filter());
    std::vector<CallId> rows;
    query_->update(history, &rows, &rows);
    if (!history.inTimeOrder()) history.sortNewestFirst(rows);
    unsorted_ = false;
    // A reset model loses the selection: the call that was current is found again.
    const QModelIndex current = table_->currentIndex();
    const qint64 keep = current.isValid() && sameIds ? qint64(model_->idAt(current.row())) : -1;
    model_->setRows(&history, std::move(rows), sameIds);
    takeMarks();
    if (keep >= 0 && !table_->currentIndex().isValid()) {
        const int row = model_->rowOf(CallId(keep));
        if (row >= 0) {
            table_->setCurrentIndex(model_->index(row, 0));
            table_->scrollTo(model_->index(row, 0));
        }
    }
    days_ = CallDays();
    days_.add(history, model_->rows());
    showFigures();
    showTotals();
    enableCommands();
}

void HistoryWindow::takeNew() {
    batchTimer_->stop();
    catchUpTimer_->stop();
    // Another filter (the day turned under a range ending today) needs every call again.
    if (!query_ || query_->filter() != filter()) return refresh();
    const CallHistory& history = loader_->history();
    std::vector<CallId> front, back;
    if (!query_->update(history, &front, &back, kCallsPerTurn)) return refresh(false);
    if (!history.inTimeOrder() && !(back.empty() && front.empty())) {
        // Calls logged since go on top as long as they are the newest; an older log appended
        // to the file (or read in from its end) brings calls out of order.
        const auto newer = [&](CallId a, CallId b) { return history.timeKey(a) > history.timeKey(b); };
        const bool onTop = back.empty() && std::is_sorted(front.begin(), front.end(), newer) &&
                           (model_->rowCount() == 0 ||
                            !newer(model_->idAt(0), front.back()));
        if (!onTop) unsorted_ = true;
    }
    // Room for the whole log while it loads: a million rows copied at once would stand the
    // window still.
    if (loader_->loading()) model_->reserve(size_t(loader_->callsExpected()));
    model_->addRows(front, back);
    takeMarks();
    if (!front.empty() || !back.empty()) {
        days_.add(history, front);
        days_.add(history, back);
        figuresStale_ = true;
    }
    const bool behind = !query_->caughtUp(history);
    if (unsorted_ && !behind && !loader_->loading()) return refresh();
    if (behind) catchUpTimer_->start();
    // The chart is drawn once the rows have caught up, or now and then while they catch up.
    if (figuresStale_ && (!behind || figuresShown_.elapsed() >= kBatchRefreshMs)) showFigures();
    showTotals();
    enableCommands();
}

void HistoryWindow::takeMarks() {
    const qsizetype marks = loader_->history().missedMarks();
    if (marks == marksShown_) return;
    marksShown_ = marks;
    model_->marksChanged();
}

void HistoryWindow::showFigures() {
    figuresStale_ = false;
    figuresShown_.start();
    const HistoryFilter f = query_ ? query_->filter() : filter();
    const CallChart chart = days_.chart(f.from, f.to);
    chart_->showChart(chart);
    // Below one a day, two decimals: a quiet line's average would otherwise read 0,0.
    const QLocale locale;
    if (chart.busiestDay.isValid())
        figures_->setText(
            tr("Больше всего звонков за день: %Ln (%1); в среднем за день: %2", nullptr,
               chart.busiestDayCalls)
                .arg(callDateText(chart.busiestDay, locale),
                     locale.toString(chart.averagePerDay, 'f', chart.averagePerDay < 1 ? 2 : 1)));
    else
        figures_->setText(tr("Звонков за это время нет"));
}

void HistoryWindow::batchArrived() {
    // The first rows show at once; later batches are gathered, so that the window is not
    // kept busy with every one.
    if (model_->rowCount() == 0)
        takeNew();
    else if (!batchTimer_->isActive())
        batchTimer_->start();
}

void HistoryWindow::loadProgress(qint64 read, qint64 total) {
    if (loadDone_) return;
    const int percent = total > 0 ? int(qBound(qint64(0), read * 100 / total, qint64(100))) : 0;
    progress_->setValue(percent);
    loadState_->setText(tr("Загрузка… %1%").arg(percent));
}

void HistoryWindow::loadFinished() {
    if (!loadDone_) {
        loadDone_ = true;
        progress_->hide();
        takeNew();
    }
    loadState_->setText(failure_);
    loadState_->setVisible(!failure_.isEmpty());
}

void HistoryWindow::showTotals() {
    const CallHistory& history = loader_->history();
    const qsizetype shown = model_->rowCount();
    const QLocale locale;  // grouped: 1 000 000 reads at a glance, 1000000 does not
    QString text = shown == history.size()
                       ? tr("Звонков: %1").arg(locale.toString(shown))
                       : tr("Звонков: %1 из %2").arg(locale.toString(shown),
                                                     locale.toString(history.size()));
    if (history.skipped() > 0)
        text += tr("; пропущено строк: %1").arg(locale.toString(history.skipped()));
    total_->setText(text);
}

void HistoryWindow::enableCommands() {
    const bool number = !selectedNumber().isEmpty();
    dial_->setEnabled(number);
    addBook_->setEnabled(number);
    addReminder_->setEnabled(number);
    export_->setEnabled(model_->rowCount() > 0 && !exporting_);
}

QString HistoryWindow::selectedNumber() const {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid() || !table_->selectionModel()->isRowSelected(current.row())) return {};
    const QString number = model_->callAt(current.row()).number;
    // "Unknown" and other words are no number to dial or keep.
    return hasDigit(number) ? number : QString();
}

void HistoryWindow::dialSelected() {
    const QString number = selectedNumber();
    if (!number.isEmpty()) line_.dial(number);  // as logged
}

void HistoryWindow::exportCsv() {
    if (model_->rowCount() == 0) return;
    static QString lastDirectory;
    if (lastDirectory.isEmpty())
        lastDirectory = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(this, tr("Экспорт в CSV"),
                       QDir(lastDirectory).filePath(tr("История звонков.csv")),
                       tr("Таблицы CSV (*.csv);;Все файлы (*)"));
    dialog.setObjectName(QStringLiteral("exportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    lastDirectory = QFileInfo(path).absolutePath();

    // Written on a worker, aside, and put in place at the end. The history stays as it is
    // until then: the load and the follow wait.
    loader_->hold(true);
    exporting_ = new CsvExport(loader_->history(), model_->rows(), path, this);
    exportProgress_ = new QProgressDialog(tr("Экспорт в CSV: %1").arg(QDir::toNativeSeparators(path)),
                                          tr("Отмена"), 0, 100, this);
    exportProgress_->setObjectName(QStringLiteral("exportProgress"));
    exportProgress_->setWindowTitle(tr("Экспорт в CSV"));
    exportProgress_->setWindowModality(Qt::NonModal);
    exportProgress_->setAutoClose(false);
    exportProgress_->setAutoReset(false);
    exportProgress_->setMinimumDuration(0);
    exportProgress_->show();
    connect(exporting_, &CsvExport::progress, exportProgress_, &QProgressDialog::setValue);
    connect(exportProgress_, &QProgressDialog::canceled, exporting_, &CsvExport::cancel);
    connect(exporting_, &CsvExport::finished, this, &HistoryWindow::exportDone);
    enableCommands();
    exporting_->start();
}

void HistoryWindow::exportDone(bool ok, const QString& error) {
    const QString path = exporting_->path();
    const qsizetype rows = exporting_->rows();
    exporting_->deleteLater();
    exporting_ = nullptr;
    exportProgress_->deleteLater();
    exportProgress_ = nullptr;
    loader_->hold(false);
    enableCommands();
    if (ok)
        statusBar()->showMessage(tr("Записано в CSV звонков: %Ln", nullptr, int(rows)), 10000);
    else if (error.isEmpty())
        statusBar()->showMessage(tr("Экспорт отменён; файл %1 не записан")
                                     .arg(QDir::toNativeSeparators(path)),
                                 10000);
    else
        QMessageBox::critical(
            this, tr("Ошибка"),
            tr("Не удалось записать файл %1:\n%2").arg(QDir::toNativeSeparators(path), error));
    emit exportFinished(ok);
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            dialSelected();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void HistoryWindow::closeEvent(QCloseEvent* event) {
    placement_.saveOnClose(this);
    QMainWindow::closeEvent(event);
}

}  // namespace zrk
