#pragma once
// The rows of the reminder list window, straight from the pending reminders: no widget item
// per row. Every change of the rows goes through here, so the view follows it.
#include "core/reminders/ReminderList.h"

#include <QAbstractTableModel>
#include <QIcon>

namespace zrk {

class ReminderModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColKind, ColDateTime, ColNumber, ColText, ColumnCount };

    ReminderModel(ReminderList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    // Appends `records` as one change for the view, not one per row.
    void load(const QList<ReminderRecord>& records);
    // Appends a copy; returns its identity.
    quint64 append(const ReminderRecord& r);
    void update(int row, const ReminderRecord& r);
    // Removes the rows at these positions (ascending).
    void remove(const QList<int>& sorted);

private:
    ReminderList& list_;
    QIcon icons_[2];  // by the kind value: number, date
};

}  // namespace zrk
