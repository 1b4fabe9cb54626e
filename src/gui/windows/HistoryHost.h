#pragma once
// What the call history window asks of the main window besides dialing (Line): the phone
// book's add form and the reminder form, each for a number taken from the log.
#include <QString>

namespace zrk {

class HistoryHost {
public:
    virtual ~HistoryHost() = default;

    // The phone book's form for a new entry with `number`, as "Добавить в книгу..." does.
    virtual void addNumberToBook(const QString& number) = 0;
    // The reminder form for a reminder by `number`, as "Добавить в напоминание..." does.
    virtual void addReminderForNumber(const QString& number) = 0;
};

}  // namespace zrk
