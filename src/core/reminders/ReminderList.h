#pragma once
// The pending reminders in list order, each with an identity that outlives changes of the
// rows around it (an editor holds on to the reminder it edits, not to a row number).
#include "core/reminders/ReminderStore.h"

#include <QList>

#include <vector>

namespace zrk {

class ReminderList {
public:
    struct Row {
        quint64 id;
        TOBJNotes notes;
        qint64 due;  // dueKey() of a date reminder, kept so a tick compares numbers only
    };

    int count() const { return int(rows_.size()); }
    const Row& row(int i) const { return rows_[size_t(i)]; }
    const ReminderRecord& record(int i) const { return rows_[size_t(i)].notes.Rec; }

    // Appends a copy; returns its identity.
    quint64 append(const ReminderRecord& r);
    void update(int i, const ReminderRecord& r);
    void remove(int i);
    // Removes every row whose index is in `sorted` (ascending).
    void removeAll(const QList<int>& sorted);
    void clear() { rows_.clear(); }
    // The row of identity `id`, or -1 when it is gone.
    int indexOf(quint64 id) const;

    QList<ReminderRecord> records() const;

private:
    std::vector<Row> rows_;
    quint64 nextId_ = 1;
};

}  // namespace zrk
