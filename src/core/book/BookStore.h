#pragma once
// The phone book in memory: the entries in book order (MasterList) and the groups
// (GroupTable, whose position 0 is the built-in "[Все группы]"), the book file they are
// loaded from and saved to, and the two questions asked of it: who is calling (WhoCall) and
// is a number already in the book (IsNum).
//
// A store is a value: a copy is a snapshot that shares its memory with the original until
// either changes (copy on write), so it is made at once and may be read or saved on another
// thread while the original is edited on this one.
#include "core/book/BookRecords.h"
#include "core/platform/SafeFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QExplicitlySharedDataPointer>
#include <QString>
#include <QUuid>

#include <vector>

namespace zrk {

inline constexpr auto kBookFile = "book.phn";            // the default of "Phone Book File"
inline constexpr auto kBookBackup = "book.bak";          // always in the current directory
inline constexpr quint32 kBookMagic = 0x024E4850;        // "PHN" + format version 2
inline constexpr quint32 kLegacyBookMagic = 0x204E4850;  // "PHN "
inline constexpr int kBookHeaderSize = 24;

// The text fields of an entry, in the order of the record. The field (not the column's
// place on screen) names a list column's width key, and is the index of its flag in
// "Book Columns".
enum BookField : int {
    FieldName,
    FieldPhone,
    FieldWorkPhone,
    FieldAddress,
    FieldEMail,
    FieldIcq,
    FieldHomePage,
    FieldNote,
    BookFieldCount
};

// The text field `field` of a record: its meaningful bytes.
const char* bookFieldData(const BookEntry& e, BookField field, int* size);
QByteArrayView bookField(const BookEntry& e, BookField field);
// Field `field` of `from` (length and characters) into `to`.
void copyBookField(BookEntry& to, const BookEntry& from, BookField field);

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

// The key two books (or a book and an address book) match a number by: its digits, without
// the leading 8 or 7 of an eleven-digit one.
QByteArray phoneKey(QByteArrayView phone);

// The group record of a caller not in the book, and of an entry whose group is unknown.
BookGroup defaultCallerGroup();
// The group record of an entry of group 0 (no group): "[Общая]", no sound, no action.
BookGroup commonGroup();

class BookStore {
public:
    BookStore();
    ~BookStore();
    // O(1): the copy shares everything until one side changes. Then that side copies the
    // entries' fixed parts (24 bytes an entry) and at most one block of texts: the texts
    // themselves stay shared.
    BookStore(const BookStore&);
    BookStore& operator=(const BookStore&);
    // The store moved from is left empty.
    BookStore(BookStore&& other) noexcept;
    BookStore& operator=(BookStore&& other) noexcept;

    // Fills the book from the file named by "Phone Book File" (or `fileName`), or from
    // "book.bak" when that file is missing. Reports nothing: a missing, short or foreign
    // file leaves the book empty or partly loaded.
    void load();
    void load(const QString& fileName);

    // Writes the whole book to the file named by "Phone Book File" (or `fileName`); the
    // previous file becomes "book.bak" (the book file stays whole until the new one
    // replaces it). Returns whether the new file is in place; if not, `error` says why for
    // the user ("Ошибка создания book.bak!", "Ошибка записи book.phn!"...). The book in
    // memory is never touched. Changes nothing in the store: a copy may be saved on another
    // thread.
    bool SaveList(FileError* error = nullptr) const;
    bool SaveList(const QString& fileName, FileError* error = nullptr) const;

    // isNew: appends a copy and returns its position; otherwise overwrites position `index`.
    int AddItem(const BookEntry& entry, bool isNew, int index = -1);
    int AddGroup(const BookGroup& group, bool isNew, int index = -1);

    // `number` is the prepared caller number; the first entry whose Phone, after DialFilter,
    // equals it byte for byte wins. Failing that, a report of six digits or more names the
    // first entry whose phone digits end with it: the book holds full numbers ("8903...")
    // while a report is cut to its last digits.
    CallerInfo WhoCall(const QString& number) const;
    // `number` is already StrictDialFilter'ed.
    bool IsNum(const QString& number) const;

    // MasterList
    int count() const { return int(d_->entries.size()); }
    // Entry i as the book file holds it (every text within its field, zeros after it).
    BookEntry entry(int i) const;
    // A text field of entry i: the bytes, valid until the store next changes.
    QByteArrayView field(int i, BookField f) const;
    QString text(int i, BookField f) const;
    qint32 status(int i) const { return d_->entries[size_t(i)].status; }
    qint32 groupOf(int i) const { return d_->entries[size_t(i)].group; }
    void setStatus(int i, qint32 status);
    // The entry's identity, kept across edits and moves, never in the book file: null until
    // the book's side file, assignIds() or setId() gives it one (only a book that syncs
    // needs them, and a big book would pay for them at every start).
    QUuid idOf(int i) const { return d_->entries[size_t(i)].id; }
    void setId(int i, const QUuid& id);
    // Every entry without an identity gets a new one.
    void assignIds();

    void setGroup(int i, qint32 group);
    void RemoveItem(int i);
    // Removes the entries at these positions (any order; repeats count once) in one pass.
    void RemoveItems(std::vector<int> positions);

    // GroupTable, position 0 included
    int groupCount() const { return int(d_->groups.size()); }
    const TOBJGroup& group(int i) const { return d_->groups[size_t(i)]; }
    // Removes group k (k > 0) and moves every entry of a later group down one position, so
    // that positions stay dense. The group's own entries are the caller's business.
    void RemoveGroup(int k);

    // Everything back to the state before loading.
    void clear();

    // The file image SaveList writes.
    QByteArray serialize() const;

private:
    // An entry without its texts: they lie one after another, in field order, from `offset`
    // in text block `block`. Status and Group are kept as they are, known values or not.
    struct Slot {
        quint32 block;
        quint32 offset;
        quint8 length[BookFieldCount];
        qint32 status;
        qint32 group;
        // The value of the phone's last six digits, or kNoTail with fewer: a lookup by a
        // number of six digits or more skips every entry whose tail differs without reading
        // its texts.
        quint32 tail;
        QUuid id;  // kept by an overwrite
        size_t size() const;
    };
    static constexpr quint32 kNoTail = 0xFFFFFFFF;
    static quint32 tailOf(const char* phone, int n);
    // Texts are only ever appended, so a block once full never changes: copies share it for
    // good, and the first change after a copy duplicates at most the last, open block. The
    // texts of all entries in blocks rather than a fixed-size record per entry: a book holds
    // about a tenth of its file size in text, and a lookup walks the phones in book order.
    static constexpr size_t kBlockSize = 64 * 1024;
    struct TextBlock : QSharedData {
        TextBlock() = default;
        TextBlock(const TextBlock& other);
        TextBlock& operator=(const TextBlock&) = delete;
        size_t used = 0;
        char bytes[kBlockSize];  // left uninitialised past `used`
    };
    using Blocks = std::vector<QExplicitlySharedDataPointer<TextBlock>>;
    // Shared between copies. Written only while this store alone holds it, and a block only
    // while this Data alone holds the block: a snapshot read on another thread never sees
    // a byte change.
    struct Data : QSharedData {
        std::vector<Slot> entries;
        Blocks blocks;
        size_t unused = 0;  // text bytes no slot refers to any more
        std::vector<TOBJGroup> groups;
        const char* texts(const Slot& s) const { return blocks[s.block]->bytes + s.offset; }
    };
    static const QExplicitlySharedDataPointer<Data>& emptyData();
    // Room for `n` more bytes at the end of `blocks`, the last block made this store's own
    // first (the only block a change ever copies); its place goes into `s`.
    static char* appendRoom(Blocks& blocks, size_t n, Slot& s);

    Data& data();  // the store's own data, copied first if shared
    Slot pack(const BookEntry& e);
    void fillRecord(const Slot& s, char* record) const;
    QByteArray headImage() const;  // the header and the groups
    void appendRecords(size_t from, size_t n, QByteArray& out) const;
    void dropTexts(const Slot& s);
    void compactIfWasteful();

    QExplicitlySharedDataPointer<Data> d_;
};

}  // namespace zrk
