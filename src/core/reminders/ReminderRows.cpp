#include "core/reminders/ReminderRows.h"

namespace zrk {

void ReminderRows::load(const QList<ReminderRecord>& records) {
    emit aboutToReset();
    for (const ReminderRecord& r : records) list_.append(r);
    emit wasReset();
}

quint64 ReminderRows::append(const ReminderRecord& r) {
    emit aboutToAppend(list_.count());
    const quint64 id = list_.append(r);
    emit appended();
    return id;
}

void ReminderRows::update(int row, const ReminderRecord& r) {
    list_.update(row, r);
    emit changed(row);
}

void ReminderRows::remove(const QList<int>& sorted) {
    // Many at once (a day's reminders raised after a night off) in one pass.
    if (sorted.size() > 16) {
        emit aboutToReset();
        list_.removeAll(sorted);
        emit wasReset();
        return;
    }
    for (qsizetype k = sorted.size() - 1; k >= 0; --k) {
        emit aboutToRemove(sorted[k]);
        list_.remove(sorted[k]);
        emit removed();
    }
}

}  // namespace zrk
