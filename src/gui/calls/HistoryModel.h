#pragma once
// The call history's rows for a table view: a list of call ids over the history, each row
// read from the history only when the view shows it, so a million calls cost one id each.
#include "core/history/CallHistory.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

namespace zrk {

class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColDate, ColTime, ColNumber, ColName, ColumnCount };

    explicit HistoryModel(QObject* parent = nullptr);

    // Shows `rows` of `history`. Where the new rows are the old ones with calls added in
    // front (a new call) or behind (an older batch of the load), only those are inserted, so
    // the view keeps its place and selection; otherwise the rows are reset. `sameIds`: false
    // after the history was reloaded, when an old id may name another call.
    void setRows(const CallHistory* history, std::vector<CallId> rows, bool sameIds = true);
    // Adds calls of the same history: `front` before the rows (calls logged since), `back`
    // after them (older calls of the load). The view keeps its place and selection.
    void addRows(const std::vector<CallId>& front, const std::vector<CallId>& back);
    // Room for `rows` rows, so that a growing list is not copied while the load goes on.
    void reserve(size_t rows) { rows_.reserve(rows); }
    const std::vector<CallId>& rows() const { return rows_; }
    CallId idAt(int row) const { return rows_[size_t(row)]; }
    // The row of `id`, or -1.
    int rowOf(CallId id) const;
    // The call of a row (cached: the view asks for one row's cells in turn).
    const LoggedCall& callAt(int row) const;
    // Missed marks came for calls already shown: every row is drawn again.
    void marksChanged();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const CallHistory* history_ = nullptr;
    std::vector<CallId> rows_;
    mutable qint64 cachedId_ = -1;
    mutable LoggedCall cached_;
    mutable bool cachedMissed_ = false;
    QIcon missedIcon_;  // painted once, not at every repaint
};

}  // namespace zrk
