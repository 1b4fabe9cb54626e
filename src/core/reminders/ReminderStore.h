#pragma once
// The reminders' record and their file "reminder.rmd": the magic "RMD " followed by one
// record per pending reminder, in the order of the list rows. The previous file is kept as
// "reminder.bak" beside it.
#include "core/platform/FixedText.h"
#include "core/platform/SafeFile.h"

#include <QList>
#include <QString>

#include <cstddef>
#include <type_traits>

namespace zrk {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the record files are little-endian");

inline constexpr auto kReminderFile = "reminder.rmd";
inline constexpr auto kReminderBackup = "reminder.bak";
inline constexpr quint32 kReminderMagic = 0x20444D52;  // "RMD "

enum ReminderKind : quint8 { ReminderByNumber = 0, ReminderByDate = 1 };

// Byte for byte the file's record. The doubles sit at offset 4, so the record is packed;
// read and write them by value, never through a pointer or reference.
#pragma pack(push, 1)
struct ReminderRecord {
    quint8 Kind;           // ReminderKind
    quint8 pad1[3];        // kept as found
    double Date;           // days since 1899-12-30; only the calendar day counts
    double Time;           // fraction of a day; only hour and minute count
    FixedText<25> Number;  // the caller number of a reminder by number
    FixedText<255> Note;   // lines, each ended by CR
    quint8 pad2[2];

    // All bytes zero: a reminder by number with empty texts, as the editor starts one.
    static ReminderRecord empty();
};
#pragma pack(pop)

static_assert(std::is_trivially_copyable_v<ReminderRecord>);
static_assert(sizeof(ReminderRecord) == 304);
static_assert(offsetof(ReminderRecord, Kind) == 0);
static_assert(offsetof(ReminderRecord, Date) == 4);
static_assert(offsetof(ReminderRecord, Time) == 12);
static_assert(offsetof(ReminderRecord, Number) == 20);
static_assert(offsetof(ReminderRecord, Note) == 46);
static_assert(offsetof(ReminderRecord, pad2) == 302);

// Holders of one reminder: a pending one (a row of the reminder list) and a raised one
// (waiting in the alert window).
class TOBJNotes {
public:
    explicit TOBJNotes(const ReminderRecord& r) : Rec(r) {}
    ReminderRecord Rec;
};

class TOBJAlerts {
public:
    explicit TOBJAlerts(const ReminderRecord& r) : Rec(r) {}
    ReminderRecord Rec;
};

// The records of "reminder.rmd" (or `fileName`) in file order. A missing or unreadable file,
// or one without the magic, gives none; a trailing partial record is dropped. Nothing is
// reported.
QList<ReminderRecord> LoadReminders(const QString& fileName = QString::fromLatin1(kReminderFile));

// Writes `records` as "reminder.rmd", the previous file becoming "reminder.bak"; an empty
// list leaves no "reminder.rmd". The new file is complete on disk before the old one is
// copied aside, and replaces it in one rename. Returns whether the files ended as intended;
// if not, `error` says why for the user ("Ошибка создания reminder.bak!", "Ошибка создания
// reminder.rmd!", "Ошибка записи reminder.rmd!").
bool SaveReminders(const QList<ReminderRecord>& records, FileError* error = nullptr);

// The file image of `records`.
QByteArray serializeReminders(const QList<ReminderRecord>& records);

}  // namespace zrk
