#pragma once
// The reminder list and the reminder alert. The list owns the pending reminders for the
// whole run and loads them when it is created. (Their full windows are still to come.)
#include "reminders/ReminderStore.h"

#include <QList>
#include <QWidget>

namespace zrk {

class TAlertReminder : public QWidget {
    Q_OBJECT
public:
    explicit TAlertReminder(QWidget* parent = nullptr);
};

class TReminder : public QWidget {
    Q_OBJECT
public:
    explicit TReminder(QWidget* parent = nullptr);
    const QList<ReminderRecord>& records() const { return records_; }

private:
    QList<ReminderRecord> records_;
};

}  // namespace zrk
