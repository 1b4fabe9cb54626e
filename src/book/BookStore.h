#pragma once
// The phone book in memory: the entries in book order (MasterList) and the groups
// (GroupTable, whose position 0 is the built-in "[Все группы]"), the book file they are
// loaded from and saved to, and the two questions asked of it: who is calling (WhoCall) and
// is a number already in the book (IsNum). Used on the user-interface thread only.
#include "book/BookRecords.h"
#include "platform/SafeFile.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace zrk {

inline constexpr auto kBookFile = "book.phn";            // the default of "Phone Book File"
inline constexpr auto kBookBackup = "book.bak";          // always in the current directory
inline constexpr quint32 kBookMagic = 0x024E4850;        // "PHN" + format version 2
inline constexpr quint32 kLegacyBookMagic = 0x204E4850;  // "PHN "
inline constexpr int kBookHeaderSize = 24;

// One entry of the book.
class TOBJBook {
public:
    explicit TOBJBook(const BookEntry& e) : Entry(e) {}
    BookEntry Entry;
};

// One group with the text the group selector shows for it (its title).
class TOBJGroup {
public:
    explicit TOBJGroup(const BookGroup& g) : Group(g), Text(g.Title.text()) {}
    BookGroup Group;
    QString Text;
};

struct CallerInfo {
    QString name;        // empty when the caller is not in the book
    qint32 status = -1;  // -1: not in the book
    BookGroup group;     // the caller's group record, or the default "Общая"
};

// Removal of every byte of a fixed set: DialFilter keeps what a number may be shown and
// dialled with (digits, P T W p t w, the comma, blanks and controls, 0x60, 0x7E-0xBF);
// StrictDialFilter keeps only the digits and P T W p t w.
QByteArray DialFilter(const QByteArray& number);
QByteArray StrictDialFilter(const QByteArray& number);
QString DialFilter(const QString& number);
QString StrictDialFilter(const QString& number);

// The group record of a caller not in the book, and of an entry whose group is unknown.
BookGroup defaultCallerGroup();
// The group record of an entry of group 0 (no group): "[Общая]", no sound, no action.
BookGroup commonGroup();

class BookStore {
public:
    BookStore();
    ~BookStore();
    BookStore(const BookStore&) = delete;
    BookStore& operator=(const BookStore&) = delete;
    BookStore(BookStore&&) = default;
    BookStore& operator=(BookStore&&) = default;

    // Fills the book from the file named by "Phone Book File" (or `fileName`), or from
    // "book.bak" when that file is missing. Reports nothing: a missing, short or foreign
    // file leaves the book empty or partly loaded.
    void load();
    void load(const QString& fileName);

    // Writes the whole book to the file named by "Phone Book File" (or `fileName`); the
    // previous file becomes "book.bak" (the book file stays whole until the new one
    // replaces it). Returns whether the new file is in place; if not, `error` says why for
    // the user ("Ошибка создания book.bak!", "Ошибка записи book.phn!"...). The book in
    // memory is never touched.
    bool SaveList(FileError* error = nullptr);
    bool SaveList(const QString& fileName, FileError* error = nullptr);

    // isNew: appends a copy and returns its position; otherwise overwrites position `index`.
    int AddItem(const BookEntry& entry, bool isNew, int index = -1);
    int AddGroup(const BookGroup& group, bool isNew, int index = -1);

    // `number` is the prepared caller number; the first entry whose Phone, after DialFilter,
    // equals it byte for byte wins.
    CallerInfo WhoCall(const QString& number) const;
    // `number` is already StrictDialFilter'ed.
    bool IsNum(const QString& number) const;

    // MasterList
    int count() const { return int(master_.size()); }
    const TOBJBook& item(int i) const { return master_[size_t(i)]; }
    TOBJBook& item(int i) { return master_[size_t(i)]; }
    void RemoveItem(int i);
    // Removes the entries at these positions (any order; repeats count once) in one pass.
    void RemoveItems(std::vector<int> positions);

    // GroupTable, position 0 included
    int groupCount() const { return int(groups_.size()); }
    const TOBJGroup& group(int i) const { return *groups_[size_t(i)]; }
    // Removes group k (k > 0) and moves every entry of a later group down one position, so
    // that positions stay dense. The group's own entries are the caller's business.
    void RemoveGroup(int k);

    // Everything back to the state before loading.
    void clear();

    // The file image SaveList writes.
    QByteArray serialize() const;

private:
    void serializeInto(QByteArray& out) const;

    // Entries side by side: a large book loads without one allocation per entry, and the
    // lookups walk memory in order.
    std::vector<TOBJBook> master_;
    std::vector<std::unique_ptr<TOBJGroup>> groups_;
    // Kept between saves: the book is saved after every change, and fresh memory for a
    // large book costs more than filling it.
    QByteArray saveBuffer_;
};

}  // namespace zrk
