#pragma once
// The pending reminders as rows that say when they change, so that a view's model follows
// them: each change is announced before it is made and confirmed after, as a model needs.
#include "core/reminders/ReminderList.h"

#include <QObject>

namespace zrk {

class ReminderRows : public QObject {
    Q_OBJECT
public:
    explicit ReminderRows(QObject* parent = nullptr) : QObject(parent) {}

    const ReminderList& list() const { return list_; }

    // Appends `records` as one change, not one per row.
    void load(const QList<ReminderRecord>& records);
    // Appends a copy; returns its identity.
    quint64 append(const ReminderRecord& r);
    void update(int row, const ReminderRecord& r);
    // Removes the rows at these positions (ascending).
    void remove(const QList<int>& sorted);

signals:
    void aboutToReset();
    void wasReset();
    void aboutToAppend(int row);
    void appended();
    void aboutToRemove(int row);
    void removed();
    void changed(int row);

private:
    ReminderList list_;
};

}  // namespace zrk
