// The main window's side of the reminders and of the call history: the reminders' sound, the
// list's check mark, and the forms the history window asks for.
#include "gui/main/RusCID.h"

#include "gui/book/PhoneBook.h"
#include "gui/calls/HistoryWindow.h"
#include "gui/desktop/Sound.h"
#include "gui/reminders/ReminderWindows.h"

#include <QAction>

namespace zrk {

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
