#include "core/reminders/ReminderList.h"

#include "core/reminders/ReminderRules.h"

#include <algorithm>

namespace zrk {

quint64 ReminderList::append(const ReminderRecord& r) {
    rows_.push_back(Row{nextId_, TOBJNotes(r), dueKey(r)});
    return nextId_++;
}

void ReminderList::update(int i, const ReminderRecord& r) {
    Row& row = rows_[size_t(i)];
    row.notes.Rec = r;
    row.due = dueKey(r);
}

void ReminderList::remove(int i) {
    rows_.erase(rows_.begin() + i);
}

void ReminderList::removeAll(const QList<int>& sorted) {
    if (sorted.isEmpty()) return;
    // One pass, however many go: raising a thousand reminders must not move the rest a
    // thousand times.
    size_t out = size_t(sorted.first());
    qsizetype next = 0;
    for (size_t in = out; in < rows_.size(); ++in) {
        if (next < sorted.size() && size_t(sorted[next]) == in) {
            ++next;
            continue;
        }
        rows_[out++] = std::move(rows_[in]);
    }
    rows_.erase(rows_.begin() + qsizetype(out), rows_.end());
}

int ReminderList::indexOf(quint64 id) const {
    const auto it =
        std::find_if(rows_.begin(), rows_.end(), [id](const Row& r) { return r.id == id; });
    return it == rows_.end() ? -1 : int(it - rows_.begin());
}

QList<ReminderRecord> ReminderList::records() const {
    QList<ReminderRecord> out;
    out.reserve(qsizetype(rows_.size()));
    for (const Row& r : rows_) out.append(r.notes.Rec);
    return out;
}

}  // namespace zrk
