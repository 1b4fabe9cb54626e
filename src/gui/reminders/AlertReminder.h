#pragma once
// TAlertReminder: the reminder alert, the window that shows reminders as they come due.
// A queue shown one at a time, dismissed or postponed. Not modal; closing it with the window's
// close box keeps the queue for the next raise.
#include "core/reminders/ReminderStore.h"
#include "gui/settings/WindowPlacement.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace zrk {

class TReminder;

class TAlertReminder : public QDialog {
    Q_OBJECT
public:
    // Restores its place ("Position\Alert").
    explicit TAlertReminder(QWidget* parent = nullptr);

    // The list that takes postponed reminders back.
    void setList(TReminder* list) { list_ = list; }

    // Queues a raised reminder at the end; the caller shows the window.
    void InitForm(const ReminderRecord& r);
    void View();
    void NextAlert();

    int count() const { return int(queue_.size()); }
    const ReminderRecord& alert(int i) const { return queue_[i].Rec; }
    int current() const;
    // Every alert still queued, in order; the queue is left empty.
    QList<ReminderRecord> takeAll();
    // At the end of the program: closes; a place that cannot be kept is added to `failures`.
    void closeForExit(QStringList& failures);

public slots:
    void bCanselClick();
    void bLaterClick();
    void srPNClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

public:
    QLabel* pInfo;
    QPlainTextEdit* mNote;
    QPushButton* bCansel;
    QPushButton* bLater;
    QComboBox* cbAlarmLater;
    QScrollBar* srPN;

private:
    QList<TOBJAlerts> queue_;
    TReminder* list_ = nullptr;
    WindowPlacement placement_{QStringLiteral("Position\\Alert"), false};
    bool viewing_ = false;
    QStringList* exitFailures_ = nullptr;
};

}  // namespace zrk
