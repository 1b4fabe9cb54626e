#pragma once
// The rules of the options dialog that need no widget.
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace zrk {

// An integer edit's text replaces its setting only when all of it reads as a signed decimal
// 32-bit integer; blanks before it and a sign are allowed, nothing after it.
std::optional<qint32> readIntegerEdit(const QString& text);

// "Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*" as a file dialog takes it.
QString fileDialogFilter(const QString& pairs);

// The value stored for a schedule time picker: the stored value itself while the picker
// still shows its time of day (so that an untouched dialog rewrites what was there), else
// the pickers' fixed date (day 36202) plus the chosen time.
double scheduleTimeValue(double stored, const QTime& shown);
inline constexpr double kTimePickerDate = 36202.0;

}  // namespace zrk
