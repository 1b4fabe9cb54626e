#pragma once
// TAlertReminder: the reminder alert, the window that shows reminders as the document raises
// them. A queue shown one at a time, dismissed or postponed (back to the document). Not modal;
// closing it with the window's close box keeps the queue for the next raise.
#include "core/platform/Failure.h"
#include "core/reminders/ReminderStore.h"
#include "gui/settings/WindowPlacement.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace zrk {

class ReminderDocument;

class TAlertReminder : public QDialog {
    Q_OBJECT
public:
    // Restores its place ("Position\Alert").
    explicit TAlertReminder(QWidget* parent = nullptr);

    // The document whose raised reminders this shows, and which takes postponed ones back.
    void setDocument(ReminderDocument& document);
    // Queues the raised reminders and shows the first of the queue.
    void showAlerts(const QList<ReminderRecord>& raised);

    // Queues a raised reminder at the end; the caller shows the window.
    void InitForm(const ReminderRecord& r);
    void View();
    void NextAlert();

    int count() const { return int(queue_.size()); }
    const ReminderRecord& alert(int i) const { return queue_[i].Rec; }
    int current() const;
    // Every alert still queued, in order; the queue is left empty.
    QList<ReminderRecord> takeAll();
    // At the end of the program: closes; a place that cannot be kept is returned.
    Failures closeForExit() { return placement_.closeForExit(this); }

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
    QPointer<ReminderDocument> document_;
    WindowPlacement placement_{QStringLiteral("Position\\Alert"), false};
    bool viewing_ = false;
};

}  // namespace zrk
