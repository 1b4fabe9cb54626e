#pragma once
// One line of the call log: "date time number name", fields separated by one blank, the name
// possibly empty (the line then ends in the blank after the number). The date is in the short
// form of whatever locale wrote it, so the reader takes every numeric form: dd.MM.yyyy,
// d.M.yy, dd/MM/yyyy, M/d/yy, yyyy-MM-dd, yyyy/MM/dd, d-M-yy. Bytes are code page 1251; a line
// that is valid UTF-8 with at least one multi-byte character is read as UTF-8.
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <array>
#include <vector>

namespace zrk {

struct LoggedCall {
    QDateTime when{};  // local date and time as logged
    QString number{};  // as logged: "8-915-123-45-67", "Unknown", ...
    QString name{};    // the phone-book name; empty for an unknown caller
};

// Which of two slash-separated small numbers is the day ("3/4/24": 3 April or 4 March). It is
// decided per form of date: a locale writes one form, and a file written under two locales
// has two. The forms are told apart by the year's length and by zero padding.
enum class SlashOrder : quint8 { Unknown, DayFirst, MonthFirst };
struct DateOrders {
    // [4-digit year][padded]; Unknown falls back to `fallback`.
    std::array<std::array<SlashOrder, 2>, 2> byForm{};
    SlashOrder fallback = SlashOrder::DayFirst;

    // Learns from one date field (bytes before the first blank) that is unambiguous.
    void learn(QByteArrayView dateField);
    // The system locale's own order where its short date uses slashes, else day first.
    static DateOrders fromSystemLocale();
};

// A parsed line without QString: what the history stores. The number and name are views into
// the line given to parseLogFields.
struct LogFields {
    int julianDay = 0;     // QDate::toJulianDay
    int secondsOfDay = 0;  // 0..86399
    QByteArrayView number{};
    QByteArrayView name{};
    bool utf8 = false;  // the number and name bytes are UTF-8, not code page 1251
};

// A line without its line end. false for the header, comments (";..."), blank lines and damaged
// or foreign lines: a date or time that is not one, a control character, a line far longer
// than any call line.
bool parseLogFields(QByteArrayView line, const DateOrders& orders, LogFields* out);

// Calls parsed off the main thread, handed to the history in one piece.
struct LogBatch {
    struct Call {
        qint32 julianDay = 0;
        qint32 secondsOfDay = 0;
        quint32 offset = 0;  // number bytes, then name bytes, in `text`
        quint16 numberSize = 0;
        quint16 nameSize = 0;
        bool utf8 = false;
        quint32 hash = 0;  // of number, name and encoding: the history's key, made here
    };
    // A call marked missed: its date, time and number (numberKey) as the mark gives them.
    struct Mark {
        qint32 julianDay = 0;
        qint32 secondsOfDay = 0;
        quint32 number = 0;
    };
    std::vector<Call> calls{};
    std::vector<Mark> marks{};
    QByteArray text{};
    qsizetype skipped = 0;  // lines of this batch that were not calls

    // Takes the call; UTF-8 text that code page 1251 can hold is stored in it.
    void add(const LogFields& f);
    void addMark(const LogFields& f);
};

// Reads complete lines (CR LF, LF or CR ends; the last line may lack its end) into calls,
// in file order or, with `newestFirst`, last line first, and the missed marks among them.
// Comment lines (";...", as the header of a new log) and the blank lines right after them are
// not counted as skipped.
LogBatch parseLogBytes(QByteArrayView bytes, const DateOrders& orders, bool newestFirst);
// Learns the slash-date orders from every date in `bytes`.
void learnDateOrders(QByteArrayView bytes, DateOrders* orders);

// The comment that marks a logged call as missed: this, then the call's date, time and number
// as its own line has them. Not translated: a log reads the same in every language.
inline constexpr char kMissedMark[] = ";missed ";

// Longest line taken as a call: a name field holds at most a few hundred bytes.
inline constexpr qsizetype kMaxLogLine = 1024;
inline constexpr qsizetype kMaxLogNumber = 255;

// The key of a caller in the history.
quint32 callerHash(QByteArrayView number, QByteArrayView name, bool utf8);
// The key of a number as stored (code page 1251 where it can hold it), for the missed marks.
quint32 numberKey(QByteArrayView number, bool utf8);

}  // namespace zrk
