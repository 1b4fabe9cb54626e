#pragma once
// TReMind: the reminder form, where one reminder is made or changed.
// A new reminder, or a change of one, by date and time or by number, with a note typed or taken
// from the seven templates. Modal; stores nothing until OK.
#include "core/reminders/ReminderStore.h"
#include "gui/settings/Form.h"
#include "gui/settings/PlacedDialog.h"

#include <QDateTime>

class QAction;
class QMenu;

namespace Ui {
class TReMind;
}

namespace zrk {

class TReminder;

class TReMind : public PlacedDialog {
    Q_OBJECT
public:
    // FormCreate: place, a new reminder by date at now, the quick-pick times, the book's
    // numbers, the template titles.
    TReMind(TReminder& list, QWidget* parent = nullptr);

    // Editing: the reminder `id` of the list, with its record.
    void InitForm(const ReminderRecord& r, quint64 id);
    // A new reminder by `number` (the main window's and the phone book's command).
    void setNumber(const QString& number);

    void InitPM();
    void CreateTimes(bool wholeDay);
    void AddNotes(const QString& text);
    void ViewNote(int k);

    const ReminderRecord& record() const { return rec_; }
    QMenu* pmNotes() const { return pmNotes_; }

public slots:
    void rbDateTimeClick();
    void dtDateChange();
    void sbMoreClick();
    void sbClearClick();
    void mpEditClick();
    void bOKClick();

private:
    // The date field wide enough for the longest date of the locale's long form.
    void fitLongestDate();
    FormPtr<Ui::TReMind> ui_;
    TReminder& list_;
    ReminderRecord rec_;
    quint64 editing_ = 0;  // the reminder being changed; 0 for a new one
    bool dateChanged_ = false;
    QDateTime quickBase_;  // when the quick-pick times were made: they count from it
    QMenu* pmNotes_;
    QAction* pm_[7];
};

}  // namespace zrk
