#pragma once
// The call log: one text line per identified call, appended to the file named by "Log File"
// (code page 1251, CR LF line ends). A new file starts with a three-line header. A call that
// rang out unanswered gets a comment line after it (`;missed` and its date, time and number),
// which only the history reads back.
#include "core/platform/SafeFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace zrk {

// The header of a new log file.
QByteArray callLogHeader();

// The fields are separated by blanks, so neither the date nor the time may hold one: the date
// as dd.MM.yyyy whatever the language (the form every log has), the time as H:mm:ss.
QString logDateText(const QDate& date);
QString logTimeText(const QTime& time);

// "date time text" with its line end, in code page 1251.
QByteArray callLogLine(const QDateTime& when, const QString& text);

// Appends one line for `text` (the number as shown, a blank, the phone-book name). A file
// that cannot be opened or created loses the line silently; only a missing file gets the
// header. A write or close that fails after opening returns false with `error` set
// ("Ошибка записи <file>!" and the errno); the caller reports it and carries on.
bool WriteLog(const QString& text, FileError* error = nullptr);
bool WriteLog(const QString& fileName, const QString& text,
              const QDateTime& when = QDateTime::currentDateTime(), FileError* error = nullptr);
// Marks the call logged at `when` as `number` missed, the same way and with the same errors.
bool WriteMissedMark(const QString& fileName, const QDateTime& when, const QString& number,
                     FileError* error = nullptr);

}  // namespace zrk
