#include "gui/calls/ListRing.h"

#include "gui/calls/CallRow.h"
#include "gui/desktop/DesktopShell.h"
#include "core/platform/TimeText.h"
#include "gui/settings/Form.h"
#include "core/settings/Settings.h"
#include "gui/windows/Line.h"
#include "gui/windows/ToolBar.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <QTreeWidget>

namespace zrk {

TListRing::TListRing(Line& line, QWidget* parent)
    : QMainWindow(parent),
      line_(line),
      placement_(QStringLiteral("Position\\ListRings"), true),
      lvRing_(new QTreeWidget(this)),
      openLog_(&openTextFile) {
    setObjectName(QStringLiteral("ListRing"));
    setWindowTitle(tr("Список звонков"));

    auto* toolbar = addFixedToolBar(this, "ToolBar1");
    const auto button = [&](const char* name, const char* hint, QStyle::StandardPixmap icon,
                            auto slot) {
        return addToolButton(toolbar, name, tr(hint), style()->standardIcon(icon), this, slot);
    };
    sbReDial_ = button("sbReDial", QT_TR_NOOP("Перезвонить"), QStyle::SP_BrowserReload,
                       &TListRing::sbReDialClick);
    toolbar->addSeparator();
    sbDel_ = button("sbDel", QT_TR_NOOP("Удалить из списка"), QStyle::SP_DialogDiscardButton,
                    &TListRing::sbDelClick);
    sbClear_ = button("sbClear", QT_TR_NOOP("Очистить список"), QStyle::SP_TrashIcon,
                      &TListRing::sbClearClick);
    button("sbLog", QT_TR_NOOP("Показать файл логов"), QStyle::SP_FileDialogDetailedView,
           &TListRing::sbLogClick);
    toolbar->addSeparator();
    button("sbExit", QT_TR_NOOP("Спрятать список"), QStyle::SP_DialogCloseButton, &QWidget::close);

    setUpList(lvRing_, "lvRing");
    lvRing_->setColumnCount(ColumnCount);
    lvRing_->setHeaderLabels(
        {tr("Номер"), tr("Время"), tr("Дата"), tr("Статус"), tr("Фамилия"), tr("Линия")});
    const double scale = designScale(lvRing_->font());
    const int designWidths[ColumnCount] = {50, 50, 55, 90, 120, 60};
    // A number of three groups (with the missed call's sign), a time and a date must show
    // whole on a first run.
    const QFontMetrics fm(lvRing_->font());
    const int samples[ColumnCount] = {
        fm.horizontalAdvance(QStringLiteral("00-00-00")) +
            style()->pixelMetric(QStyle::PM_SmallIconSize) + 4,
        fm.horizontalAdvance(localTimeText(QTime(22, 58, 58), true)),
        fm.horizontalAdvance(callDateText(QDate(2000, 12, 28), QLocale()))};
    int columnsWidth = 0;
    for (int c = 0; c < ColLine; ++c) {
        lvRing_->setColumnWidth(c, qMax(qRound(designWidths[c] * scale), samples[c] + 12));
        columnsWidth += lvRing_->columnWidth(c);
    }
    lvRing_->setColumnWidth(ColLine, qRound(designWidths[ColLine] * scale));
    lvRing_->header()->setSectionHidden(ColLine, true);  // a desk of one line has no use for it
    lvRing_->installEventFilter(this);
    connect(lvRing_, &QTreeWidget::itemDoubleClicked, this, &TListRing::sbReDialClick);
    setCentralWidget(lvRing_);

    auto* stStatus = named<QStatusBar>("stStatus", this);
    status_ = addStatusPanel(stStatus, "stStatusPanel", 80);
    setStatusBar(stStatus);

    // Wide enough for all the columns and a vertical scroll bar.
    resize(qMax(qRound(377 * scale), columnsWidth + 24), qRound(272 * scale));
    move(264, 188);
    placement_.setColumns(lvRing_->header());
    placement_.restoreOrReport(this);
    ED();
}

int TListRing::rowCount() const {
    return lvRing_->topLevelItemCount();
}

void TListRing::AddItem(const QString& number, const QString& name, int status,
                        const QString& line, const QDateTime& when) {
    const QDateTime now = when.isValid() ? when : QDateTime::currentDateTime();
    auto* item =
        new QTreeWidgetItem({number, localTimeText(now.time(), true),
                             callDateText(now.date(), QLocale()), statusWord(status), name, line});
    item->setData(ColNumber, Qt::UserRole, now);  // finds the row when the call is missed
    if (!line.isEmpty() && lvRing_->header()->isSectionHidden(ColLine)) {
        lvRing_->header()->setSectionHidden(ColLine, false);
        if (lvRing_->columnWidth(ColLine) < 20) lvRing_->setColumnWidth(ColLine, 60);
        // The new column is seen without scrolling: the window grows by what is missing.
        const int missing = lvRing_->header()->length() - lvRing_->viewport()->width();
        if (missing > 0) resize(width() + missing + 4, height());
    }
    lvRing_->addTopLevelItem(item);
    ED();
}

void TListRing::markMissed(const QString& number, const QDateTime& when) {
    for (int i = rowCount(); i-- > 0;) {
        QTreeWidgetItem* item = lvRing_->topLevelItem(i);
        if (item->text(ColNumber) != number || item->data(ColNumber, Qt::UserRole) != when)
            continue;
        item->setIcon(ColNumber, missedIcon());
        for (int c = 0; c < ColumnCount; ++c) {
            item->setForeground(c, missedColour());
            item->setToolTip(c, missedHint());
        }
        return;
    }
}

void TListRing::ED() {
    const bool any = rowCount() > 0;
    for (QToolButton* b : {sbReDial_, sbDel_, sbClear_}) b->setEnabled(any);
    status_->setText(tr("Звонков: %n", nullptr, rowCount()));
}

void TListRing::sbReDialClick() {
    // The first selected row in list order, whatever order the rows were selected in.
    for (int i = 0; i < rowCount(); ++i) {
        const QTreeWidgetItem* item = lvRing_->topLevelItem(i);
        if (item->isSelected()) {
            line_.dial(item->text(ColNumber));
            return;
        }
    }
}

void TListRing::sbDelClick() {
    const QList<QTreeWidgetItem*> selected = lvRing_->selectedItems();
    if (selected.isEmpty()) return;
    line_.CountCaller(qMax(0, line_.callCount() - int(selected.size())));
    qDeleteAll(selected);
    ED();
}

void TListRing::sbClearClick() {
    lvRing_->clear();
    line_.CountCaller(0);
    ED();
}

void TListRing::sbLogClick() {
    if (openLog_) openLog_(ini().LogFile);
}

bool TListRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvRing_ && event->type() == QEvent::FocusIn) selectFirstRow(lvRing_);
    return QMainWindow::eventFilter(watched, event);
}

void TListRing::closeEvent(QCloseEvent* event) {
    placement_.saveOnClose(this);
    line_.setCallListShown(false);
    QMainWindow::closeEvent(event);
}

}  // namespace zrk
