#include "core/book/BookStore.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace zrk {
namespace {

// kept[b] tells whether byte b survives the filter.
using ByteSet = std::array<bool, 256>;

constexpr bool isStrictDialByte(unsigned char c) {
    return (c >= '0' && c <= '9') || c == 'P' || c == 'T' || c == 'W' || c == 'p' || c == 't' ||
           c == 'w';
}

constexpr ByteSet makeDialSet(bool loose) {
    ByteSet s{};
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        // The loose filter lets controls, the blank, the comma, 0x60 and 0x7E-0xBF pass too.
        s[size_t(c)] = isStrictDialByte(b) ||
                       (loose && (b <= 0x20 || b == ',' || b == 0x60 || (b >= 0x7E && b <= 0xBF)));
    }
    return s;
}

constexpr ByteSet kDialSet = makeDialSet(true);
constexpr ByteSet kStrictSet = makeDialSet(false);

QByteArray filterBytes(const QByteArray& in, const ByteSet& keep) {
    QByteArray out;
    out.reserve(in.size());
    for (char c : in)
        if (keep[static_cast<unsigned char>(c)]) out.append(c);
    return out;
}

// Compares a phone field, filtered, with `number` without building the filtered text: the
// lookups run over the whole book for every call.
bool filteredEquals(const char* phone, int n, const QByteArray& number, const ByteSet& keep) {
    const char* want = number.constData();
    const qsizetype wantSize = number.size();
    qsizetype matched = 0;
    for (int i = 0; i < n; ++i) {
        const char c = phone[i];
        if (!keep[static_cast<unsigned char>(c)]) continue;
        if (matched == wantSize || want[matched] != c) return false;
        ++matched;
    }
    return matched == wantSize;
}

// Where field `f` of a record lies, and its capacity.
struct FieldPlace {
    size_t offset;
    int capacity;
};
constexpr FieldPlace kFieldPlaces[BookFieldCount] = {
    {offsetof(BookEntry, Name), 70},      {offsetof(BookEntry, Phone), 50},
    {offsetof(BookEntry, WorkPhone), 50}, {offsetof(BookEntry, Address), 70},
    {offsetof(BookEntry, EMail), 50},     {offsetof(BookEntry, Icq), 15},
    {offsetof(BookEntry, HomePage), 70},  {offsetof(BookEntry, Note), 133}};

// Past this many bytes no entry refers to, and past half of all the texts, the texts are
// rebuilt.
constexpr size_t kMinWaste = 64 * 1024;

}  // namespace

BookEntry BookEntry::empty() {
    BookEntry e;
    std::memset(&e, 0, sizeof e);
    return e;
}

void BookEntry::normalize() {
    Name.normalize();
    Phone.normalize();
    WorkPhone.normalize();
    Address.normalize();
    EMail.normalize();
    Icq.normalize();
    HomePage.normalize();
    Note.normalize();
    std::memset(pad1, 0, sizeof pad1);
    std::memset(pad2, 0, sizeof pad2);
}

BookGroup BookGroup::empty() {
    BookGroup g;
    std::memset(&g, 0, sizeof g);
    return g;
}

BookGroup BookGroup::make(const QString& title, const QString& sound, qint32 action) {
    BookGroup g = empty();
    g.Title.setText(title);
    g.Sound.setText(sound);
    g.Action = action;
    return g;
}

void BookGroup::normalize() {
    Title.normalize();
    Sound.normalize();
}

const char* bookFieldData(const BookEntry& e, BookField field, int* size) {
    // A field is its length byte, then its characters (FixedText).
    const FieldPlace& place = kFieldPlaces[field >= 0 && field < FieldNote ? field : FieldNote];
    const char* at = reinterpret_cast<const char*>(&e) + place.offset;
    *size = std::min<int>(uchar(at[0]), place.capacity);
    return at + 1;
}

QByteArrayView bookField(const BookEntry& e, BookField field) {
    int n = 0;
    const char* data = bookFieldData(e, field, &n);
    return {data, n};
}

void copyBookField(BookEntry& to, const BookEntry& from, BookField field) {
    const FieldPlace& place = kFieldPlaces[field];
    std::memcpy(reinterpret_cast<char*>(&to) + place.offset,
                reinterpret_cast<const char*>(&from) + place.offset, size_t(place.capacity) + 1);
}

QByteArray DialFilter(const QByteArray& number) {
    return filterBytes(number, kDialSet);
}
QByteArray StrictDialFilter(const QByteArray& number) {
    return filterBytes(number, kStrictSet);
}
QString DialFilter(const QString& number) {
    return fromCp1251(DialFilter(toCp1251(number)));
}
QString StrictDialFilter(const QString& number) {
    return fromCp1251(StrictDialFilter(toCp1251(number)));
}

// Both shown on the call alert only: a group of the book file keeps the title it was given.
BookGroup defaultCallerGroup() {
    return BookGroup::make(QCoreApplication::translate("zrk::BookStore", "Общая"));
}

BookGroup commonGroup() {
    // Position 0 of the table, under the name the entry editor gives it: "[Все группы]" is
    // what the selector means by it, not a group a caller is in.
    return BookGroup::make(QCoreApplication::translate("zrk::BookStore", "[Общая]"));
}

size_t BookStore::Slot::size() const {
    size_t n = 0;
    for (quint8 l : length) n += l;
    return n;
}

BookStore::TextBlock::TextBlock(const TextBlock& other) : QSharedData(), used(other.used) {
    std::memcpy(bytes, other.bytes, used);
}

char* BookStore::appendRoom(Blocks& blocks, size_t n, Slot& s) {
    Q_ASSERT(n <= kBlockSize);
    if (blocks.empty() || kBlockSize - blocks.back()->used < n)
        blocks.emplace_back(new TextBlock);  // no parentheses: the bytes stay unwritten
    else
        blocks.back().detach();
    TextBlock& b = *blocks.back();
    s.block = quint32(blocks.size() - 1);
    s.offset = quint32(b.used);
    b.used += n;
    return b.bytes + s.offset;
}

const QExplicitlySharedDataPointer<BookStore::Data>& BookStore::emptyData() {
    static const QExplicitlySharedDataPointer<Data> empty = [] {
        QExplicitlySharedDataPointer<Data> d(new Data);
        // Never saved nor shown (the selector has a caption of its own): a fixed title, made
        // before the language may be chosen.
        d->groups.emplace_back(BookGroup::make(QStringLiteral("[Все группы]")));
        return d;
    }();
    return empty;
}

BookStore::BookStore() : d_(emptyData()) {}
BookStore::~BookStore() = default;
BookStore::BookStore(const BookStore&) = default;
BookStore& BookStore::operator=(const BookStore&) = default;
BookStore::BookStore(BookStore&& other) noexcept : d_(std::move(other.d_)) {
    other.d_ = emptyData();
}
BookStore& BookStore::operator=(BookStore&& other) noexcept {
    if (this != &other) {
        d_ = std::move(other.d_);
        other.d_ = emptyData();
    }
    return *this;
}

void BookStore::clear() {
    d_ = emptyData();
}

BookStore::Data& BookStore::data() {
    d_.detach();
    return *d_;
}

BookStore::Slot BookStore::pack(const BookEntry& e) {
    Data& d = data();
    Slot s;
    const char* texts[BookFieldCount];
    for (int f = 0; f < BookFieldCount; ++f) {
        int n = 0;
        texts[f] = bookFieldData(e, BookField(f), &n);
        s.length[f] = quint8(n);
    }
    char* out = appendRoom(d.blocks, s.size(), s);
    for (int f = 0; f < BookFieldCount; ++f) {
        if (s.length[f] > 0) std::memcpy(out, texts[f], s.length[f]);
        out += s.length[f];
    }
    s.status = e.Status;
    s.group = e.Group;
    s.tail = tailOf(texts[FieldPhone], s.length[FieldPhone]);
    return s;
}

void BookStore::fillRecord(const Slot& s, char* record) const {
    std::memset(record, 0, sizeof(BookEntry));
    const char* p = d_->texts(s);
    for (int f = 0; f < BookFieldCount; ++f) {
        const int n = s.length[f];
        char* field = record + kFieldPlaces[f].offset;
        field[0] = char(n);
        if (n > 0) std::memcpy(field + 1, p, size_t(n));
        p += n;
    }
    std::memcpy(record + offsetof(BookEntry, Status), &s.status, sizeof s.status);
    std::memcpy(record + offsetof(BookEntry, Group), &s.group, sizeof s.group);
}

BookEntry BookStore::entry(int i) const {
    BookEntry e;
    fillRecord(d_->entries[size_t(i)], reinterpret_cast<char*>(&e));
    return e;
}

QByteArrayView BookStore::field(int i, BookField f) const {
    const Slot& s = d_->entries[size_t(i)];
    const char* at = d_->texts(s);
    for (int k = 0; k < f; ++k) at += s.length[k];
    return QByteArrayView(at, s.length[f]);
}

QString BookStore::text(int i, BookField f) const {
    const QByteArrayView b = field(i, f);
    return fromCp1251(b.data(), b.size());
}

void BookStore::setStatus(int i, qint32 status) {
    data().entries[size_t(i)].status = status;
}

void BookStore::setId(int i, const QUuid& id) {
    data().entries[size_t(i)].id = id;
}

void BookStore::assignIds() {
    for (size_t i = 0; i < d_->entries.size(); ++i)
        if (d_->entries[i].id.isNull()) data().entries[i].id = QUuid::createUuid();
}

QByteArray phoneKey(QByteArrayView phone) {
    QByteArray digits = phone.toByteArray();
    digits.removeIf([](char c) { return c < '0' || c > '9'; });
    if (digits.size() == 11 && (digits[0] == '8' || digits[0] == '7')) digits.remove(0, 1);
    return digits;
}

void BookStore::setGroup(int i, qint32 group) {
    data().entries[size_t(i)].group = group;
}

void BookStore::dropTexts(const Slot& s) {
    d_->unused += s.size();
}

// Copies every text still in use into new blocks: as long as the texts left, but only once
// as many bytes were dropped as are kept, so a command pays it seldom.
void BookStore::compactIfWasteful() {
    if (d_->unused < kMinWaste) return;
    size_t total = 0;
    for (const auto& b : d_->blocks) total += b->used;
    if (d_->unused < total / 2) return;
    Data& d = data();
    Blocks blocks;
    blocks.reserve((total - d.unused) / kBlockSize + 1);
    for (Slot& s : d.entries) {
        const char* p = d.texts(s);
        const size_t n = s.size();
        char* out = appendRoom(blocks, n, s);
        if (n > 0) std::memcpy(out, p, n);
    }
    d.blocks = std::move(blocks);
    d.unused = 0;
}

int BookStore::AddItem(const BookEntry& entry, bool isNew, int index) {
    if (isNew) {
        const Slot s = pack(entry);  // its identity when one is asked for (assignIds)
        d_->entries.push_back(s);
        return count() - 1;
    }
    Q_ASSERT(index >= 0 && index < count());
    Data& d = data();
    Slot& old = d.entries[size_t(index)];
    Slot s = old;
    const char* texts[BookFieldCount];
    for (int f = 0; f < BookFieldCount; ++f) {
        int n = 0;
        texts[f] = bookFieldData(entry, BookField(f), &n);
        s.length[f] = quint8(n);
    }
    // Texts no longer than before go back where they were when no copy shares their block:
    // edits then leave nothing to rebuild. Otherwise they go to the end, as for a new entry.
    TextBlock& home = *d.blocks[old.block];
    if (home.ref.loadAcquire() == 1 && s.size() <= old.size()) {
        char* out = home.bytes + old.offset;
        for (int f = 0; f < BookFieldCount; ++f) {
            if (s.length[f] > 0) std::memcpy(out, texts[f], s.length[f]);
            out += s.length[f];
        }
        d.unused += old.size() - s.size();
        s.status = entry.Status;
        s.group = entry.Group;
        s.tail = tailOf(texts[FieldPhone], s.length[FieldPhone]);
    } else {
        s = pack(entry);
        s.id = old.id;
        dropTexts(old);
    }
    d.entries[size_t(index)] = s;
    compactIfWasteful();
    return index;
}

int BookStore::AddGroup(const BookGroup& group, bool isNew, int index) {
    Data& d = data();
    if (isNew) {
        d.groups.emplace_back(group);
        return groupCount() - 1;
    }
    Q_ASSERT(index >= 0 && index < groupCount());
    d.groups[size_t(index)] = TOBJGroup(group);
    return index;
}

namespace {

// A report is cut to its last digits while the book may hold whole numbers ("8903..."): when
// no phone equals the report, the first one whose digits end with it is the caller. A shorter
// tail names nobody: 5 digits end one number in 100,000, so a big book would match a stranger
// on about every call, and 2 to 4 digit service numbers end a tenth of all numbers or more.
// Six is also the report length the program cuts to unless told otherwise.
constexpr qsizetype kMinSuffixDigits = 6;

bool allDigits(const QByteArray& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool digitsEndWith(const char* phone, int n, const QByteArray& digits) {
    qsizetype k = digits.size();
    for (int i = n - 1; i >= 0 && k > 0; --i) {
        const char c = phone[i];
        if (c < '0' || c > '9') continue;
        if (c != digits[k - 1]) return false;
        --k;
    }
    return k == 0;
}

}  // namespace

quint32 BookStore::tailOf(const char* phone, int n) {
    quint32 value = 0, scale = 1;
    int digits = 0;
    for (int i = n - 1; i >= 0 && digits < kMinSuffixDigits; --i) {
        if (phone[i] < '0' || phone[i] > '9') continue;
        value += quint32(phone[i] - '0') * scale;
        scale *= 10;
        ++digits;
    }
    return digits == kMinSuffixDigits ? value : kNoTail;
}

CallerInfo BookStore::WhoCall(const QString& number) const {
    CallerInfo who;
    who.group = defaultCallerGroup();
    const QByteArray wanted = toCp1251(number);
    const bool bySuffix = wanted.size() >= kMinSuffixDigits && allDigits(wanted);
    const Data& d = *d_;
    const Slot* found = nullptr;
    const Slot* suffix = nullptr;
    // An all-digit number equal to a phone, or ending one, shares its last six digits.
    const quint32 tail = bySuffix ? tailOf(wanted.constData(), int(wanted.size())) : kNoTail;
    for (const Slot& s : d.entries) {
        if (bySuffix && s.tail != tail) continue;
        const char* phone = d.texts(s) + s.length[FieldName];
        if (filteredEquals(phone, s.length[FieldPhone], wanted, kDialSet)) {
            found = &s;
            break;
        }
        if (bySuffix && !suffix && digitsEndWith(phone, s.length[FieldPhone], wanted)) suffix = &s;
    }
    if (!found) found = suffix;
    if (found) {
        const Slot& s = *found;
        who.name = fromCp1251(d.texts(s), s.length[FieldName]);
        who.status = s.status;
        if (s.group == 0)
            who.group = commonGroup();
        else if (s.group > 0 && s.group < groupCount())
            who.group = d.groups[size_t(s.group)].Group;
    }
    return who;
}

bool BookStore::IsNum(const QString& number) const {
    const QByteArray wanted = toCp1251(number);
    const Data& d = *d_;
    for (const Slot& s : d.entries) {
        const char* phone = d.texts(s) + s.length[FieldName];
        if (filteredEquals(phone, s.length[FieldPhone], wanted, kStrictSet)) return true;
    }
    return false;
}

void BookStore::RemoveItem(int i) {
    Q_ASSERT(i >= 0 && i < count());
    Data& d = data();
    dropTexts(d.entries[size_t(i)]);
    d.entries.erase(d.entries.begin() + i);
    compactIfWasteful();
}

void BookStore::RemoveItems(std::vector<int> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    if (positions.empty()) return;
    Data& d = data();
    size_t next = 0;  // the next position to drop
    size_t kept = size_t(positions.front());
    for (size_t i = kept; i < d.entries.size(); ++i) {
        if (next < positions.size() && int(i) == positions[next]) {
            ++next;
            dropTexts(d.entries[i]);
            continue;
        }
        if (kept != i) d.entries[kept] = d.entries[i];
        ++kept;
    }
    d.entries.erase(d.entries.begin() + std::ptrdiff_t(kept), d.entries.end());
    compactIfWasteful();
}

void BookStore::RemoveGroup(int k) {
    Q_ASSERT(k > 0 && k < groupCount());
    Data& d = data();
    d.groups.erase(d.groups.begin() + k);
    for (Slot& s : d.entries)
        if (s.group > k) --s.group;
}

}  // namespace zrk
