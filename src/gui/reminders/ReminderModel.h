#pragma once
// The rows of the reminder list window, straight from the pending reminders: no widget item
// per row. It follows the rows' own signals, so the view follows every change.
#include "core/reminders/ReminderRows.h"

#include <QAbstractTableModel>
#include <QIcon>

namespace zrk {

class ReminderModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColKind, ColDateTime, ColNumber, ColText, ColumnCount };

    explicit ReminderModel(const ReminderRows& rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    const ReminderList& list_;
    QIcon icons_[2];  // by the kind value: number, date
};

}  // namespace zrk
