#include "core/reminders/ReminderDocument.h"

#include "core/platform/Clock.h"
#include "core/reminders/ReminderRules.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

#include <algorithm>

namespace zrk {
namespace {

constexpr int kTickMs = 30000;

Failure saveFailure(const QString& text) {
    return {Failure::Kind::File, text, true,
            QCoreApplication::translate("zrk::TReminder", "Ошибка")};
}

bool holdsDateReminders(const ReminderList& list) {
    for (int i = 0; i < list.count(); ++i)
        if (list.record(i).Kind == ReminderByDate) return true;
    return false;
}

}  // namespace

ReminderDocument::ReminderDocument(QObject* parent) : QObject(parent) {
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &ReminderDocument::tick);
    connect(&saver_, &BackgroundSave::failed, this,
            [this](const FileError& error) { emit failed(saveFailure(error.message)); });
    rows_.load(LoadReminders());
}

void ReminderDocument::followRows() {
    // After the close has begun the list is saved as it stands: nothing restarts the timer.
    if (closing_) return;
    if (!holdsDateReminders(list())) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        timer_.start();  // a refresh must not put off the tick
    }
}

void ReminderDocument::refresh() {
    followRows();
    // Inside a tick the raise that called this is the tick: no tick within a tick.
    if (list().count() > 0 && !ticking_ && !closing_) tick();
}

void ReminderDocument::tick() {
    if (ticking_ || closing_) return;
    const QScopedValueRollback guard(ticking_, true);  // released on every path
    const QList<int> rows = dueNow(list(), now());
    if (rows.isEmpty()) return;
    // The timer's call: what a view of the raise throws (a sound that cannot start) is told
    // as a failure; it must not reach the event loop.
    try {
        raiseRows(rows);
    } catch (...) {
        emit failed(failureOf(std::current_exception()));
    }
}

bool ReminderDocument::raiseForNumber(const QString& number) {
    if (closing_) return false;
    const QList<int> rows = dueForCall(list(), number);
    if (rows.isEmpty()) return false;
    // The rest is not due now, or the tick would have raised it. An error out of a view of
    // the raise (a sound that cannot start) must not leave the tick switched off for the run.
    const QScopedValueRollback guard(ticking_, true);
    raiseRows(rows);
    return true;
}

void ReminderDocument::raiseRows(const QList<int>& rows) {
    // All that are due go at once, in list order, so the first stays at the head of the
    // alert's queue; one save, one signal.
    QList<ReminderRecord> raised;
    raised.reserve(rows.size());
    for (int i : rows) raised.append(list().record(i));
    rows_.remove(rows);
    refresh();
    save();
    emit due(raised);
}

void ReminderDocument::store(const ReminderRecord& r, quint64 editing) {
    if (closing_) return;
    const int row = editing ? list().indexOf(editing) : -1;
    if (row >= 0)
        rows_.update(row, r);
    else
        rows_.append(r);
    refresh();
    save();
}

void ReminderDocument::addPostponed(const ReminderRecord& r) {
    store(r, 0);
}

void ReminderDocument::remove(const QList<quint64>& ids) {
    if (closing_) return;
    QList<int> still;
    for (quint64 id : ids)
        if (const int r = list().indexOf(id); r >= 0) still.append(r);
    std::sort(still.begin(), still.end());
    still.erase(std::unique(still.begin(), still.end()), still.end());
    rows_.remove(still);
    followRows();
}

void ReminderDocument::save() {
    saver_.schedule(
        [records = list().records()](FileError* error) { return SaveReminders(records, error); });
}

Failures ReminderDocument::finishSaves() {
    if (const std::optional<FileError> failure = saver_.finish())
        return {saveFailure(failure->message)};
    return {};
}

void ReminderDocument::stop() {
    closing_ = true;
    timer_.stop();
}

void ReminderDocument::putBack(const QList<ReminderRecord>& alerts) {
    const QDateTime at = now();
    for (const ReminderRecord& r : alerts) rows_.append(dueAgainAtOnce(r, at));
}

Failures ReminderDocument::close() {
    stop();
    if (!closed_) save();
    closed_ = true;
    return finishSaves();
}

}  // namespace zrk
