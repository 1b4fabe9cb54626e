// The main window's side of the reminders and of the call history: the reminders' tick and
// sound, the list's check mark, and the forms the history window asks for.
#include "gui/main/RusCID.h"

#include "gui/book/PhoneBook.h"
#include "gui/calls/HistoryWindow.h"
#include "gui/desktop/Sound.h"
#include "gui/reminders/ReminderWindows.h"

#include <QAction>
#include <QTimer>

namespace zrk {

void TRusCID::setReminderTimer(bool on) {
    c_.tReminder->setInterval(30000);
    if (!on)
        c_.tReminder->stop();
    else if (!c_.tReminder->isActive())
        c_.tReminder->start();  // a refresh must not put off the tick
}

// The desk keeps the daily schedules on a tick of its own.
void TRusCID::runSchedules() {}

void TRusCID::reminderListClosed() {
    c_.mPReminder->setChecked(false);
}

void TRusCID::playReminderSound(const QString& fileName) {
    if (!sound_) return;
    sound_->stop();
    sound_->play(fileName);
}

HistoryWindow* TRusCID::historyWindow() const {
    return c_.history;
}

void TRusCID::addNumberToBook(const QString& number) {
    if (windows_.book) windows_.book->addWithNumber(number);
}

void TRusCID::addReminderForNumber(const QString& number) {
    if (windows_.reminders) windows_.reminders->addForNumber(number);
}

}  // namespace zrk
