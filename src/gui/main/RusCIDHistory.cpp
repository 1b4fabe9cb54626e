// The main window's side of the call history window: opening it, and the book's and the
// reminders' forms it asks for.
#include "gui/main/RusCID.h"

#include "gui/book/PhoneBook.h"
#include "gui/calls/HistoryWindow.h"
#include "gui/reminders/ReminderWindows.h"
#include "core/settings/Settings.h"

namespace zrk {

void TRusCID::mPHistoryClick() {
    if (!history_) {
        // A window of its own, not kept over the main window; it reads the log anew each time
        // it opens, so a changed "Log File" is followed.
        history_ = new HistoryWindow(*this, *this, ini().LogFile);
        history_->setAttribute(Qt::WA_DeleteOnClose);
    }
    history_->show();
    history_->raise();
    history_->activateWindow();
}

HistoryWindow* TRusCID::historyWindow() const {
    return history_;
}

void TRusCID::addNumberToBook(const QString& number) {
    if (windows_.book) windows_.book->addWithNumber(number);
}

void TRusCID::addReminderForNumber(const QString& number) {
    if (windows_.reminders) windows_.reminders->addForNumber(number);
}

}  // namespace zrk
