#include "gui/calls/HistoryModel.h"

#include "gui/calls/CallRow.h"

#include <algorithm>

namespace zrk {

HistoryModel::HistoryModel(QObject* parent)
    : QAbstractTableModel(parent), missedIcon_(missedIcon()) {}

void HistoryModel::setRows(const CallHistory* history, std::vector<CallId> rows, bool sameIds) {
    const size_t oldSize = rows_.size();
    const bool grew = sameIds && history == history_ && rows.size() > oldSize && oldSize > 0;
    if (grew && std::equal(rows_.begin(), rows_.end(), rows.end() - qsizetype(oldSize))) {
        const int added = int(rows.size() - oldSize);
        beginInsertRows({}, 0, added - 1);
        rows_ = std::move(rows);
        endInsertRows();
        return;
    }
    if (grew && std::equal(rows_.begin(), rows_.end(), rows.begin())) {
        beginInsertRows({}, int(oldSize), int(rows.size()) - 1);
        rows_ = std::move(rows);
        endInsertRows();
        return;
    }
    if (sameIds && history == history_ && rows == rows_) return;
    beginResetModel();
    history_ = history;
    rows_ = std::move(rows);
    cachedId_ = -1;
    endResetModel();
}

void HistoryModel::addRows(const std::vector<CallId>& front, const std::vector<CallId>& back) {
    if (!front.empty()) {
        beginInsertRows({}, 0, int(front.size()) - 1);
        rows_.insert(rows_.begin(), front.begin(), front.end());
        endInsertRows();
    }
    if (!back.empty()) {
        beginInsertRows({}, int(rows_.size()), int(rows_.size() + back.size()) - 1);
        rows_.insert(rows_.end(), back.begin(), back.end());
        endInsertRows();
    }
}

int HistoryModel::rowOf(CallId id) const {
    const auto it = std::find(rows_.begin(), rows_.end(), id);
    return it == rows_.end() ? -1 : int(it - rows_.begin());
}

const LoggedCall& HistoryModel::callAt(int row) const {
    const CallId id = idAt(row);
    if (cachedId_ != qint64(id)) {
        cached_ = history_->call(id);
        cachedMissed_ = history_->missed(id);
        cachedId_ = id;
    }
    return cached_;
}

void HistoryModel::marksChanged() {
    cachedId_ = -1;
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
    // The view asks for many roles per cell; only the texts and the mark cost a read of the call.
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::DecorationRole &&
         role != Qt::ForegroundRole) ||
        !index.isValid() || index.row() >= rowCount())
        return {};
    const LoggedCall& call = callAt(index.row());
    if (role == Qt::DecorationRole)
        return cachedMissed_ && index.column() == ColNumber ? missedIcon_ : QVariant();
    if (role == Qt::ForegroundRole) return cachedMissed_ ? missedColour() : QVariant();
    if (role == Qt::ToolTipRole && cachedMissed_)
        return missedHint() + QLatin1Char('\n') + data(index, Qt::DisplayRole).toString();
    switch (index.column()) {
        case ColDate:
            // The chosen language's locale (QLocale::system() would ignore it).
            return callDateText(call.when.date(), QLocale());
        case ColTime:
            return callTimeText(call.when.time());
        case ColNumber:
            return call.number;
        case ColName:
            return call.name;
        default:
            return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case ColDate:
            return tr("Дата");
        case ColTime:
            return tr("Время");
        case ColNumber:
            return tr("Номер");
        case ColName:
            return tr("Имя");
        default:
            return {};
    }
}

}  // namespace zrk
