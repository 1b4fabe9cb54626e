#include "book/BookStore.h"

#include "platform/Backup.h"
#include "platform/SafeFile.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace zrk {
namespace {

// kept[b] tells whether byte b survives the filter.
using ByteSet = std::array<bool, 256>;

constexpr bool isStrictDialByte(unsigned char c) {
    return (c >= '0' && c <= '9') || c == 'P' || c == 'T' || c == 'W' || c == 'p' || c == 't' ||
           c == 'w';
}

constexpr ByteSet makeDialSet() {
    ByteSet s{};
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        // Controls, the blank, the comma, 0x60 and 0x7E-0xBF pass besides the dial characters.
        s[size_t(c)] =
            isStrictDialByte(b) || b <= 0x20 || b == ',' || b == 0x60 || (b >= 0x7E && b <= 0xBF);
    }
    return s;
}

constexpr ByteSet makeStrictSet() {
    ByteSet s{};
    for (int c = 0; c < 256; ++c) s[size_t(c)] = isStrictDialByte(static_cast<unsigned char>(c));
    return s;
}

constexpr ByteSet kDialSet = makeDialSet();
constexpr ByteSet kStrictSet = makeStrictSet();

QByteArray filterBytes(const QByteArray& in, const ByteSet& keep) {
    QByteArray out;
    out.reserve(in.size());
    for (char c : in)
        if (keep[static_cast<unsigned char>(c)]) out.append(c);
    return out;
}

// Compares a phone field, filtered, with `number` without building the filtered text: the
// lookups run over the whole book for every call.
bool filteredEquals(const FixedText<50>& phone, const QByteArray& number, const ByteSet& keep) {
    const char* want = number.constData();
    const qsizetype wantSize = number.size();
    qsizetype matched = 0;
    const int n = phone.size();
    for (int i = 0; i < n; ++i) {
        const char c = phone.chars[i];
        if (!keep[static_cast<unsigned char>(c)]) continue;
        if (matched == wantSize || want[matched] != c) return false;
        ++matched;
    }
    return matched == wantSize;
}

QString creationError(const QString& name) {
    return QStringLiteral("Ошибка создания %1!").arg(name);
}
QString writeError(const QString& name) {
    return QStringLiteral("Ошибка записи %1!").arg(name);
}

// writeSyncedTemp fails either making the file or filling it; the user is told which.
bool isWriteFailure(const FileError& err) {
    switch (err.code) {
        case ENOSPC:
        case EIO:
        case EFBIG:
        case EDQUOT:
            return true;
        default:
            return false;
    }
}

struct BookHeader {
    quint32 magic;
    FixedText<15> banner;
    qint32 groupCount;
};
static_assert(sizeof(BookHeader) == kBookHeaderSize);
static_assert(offsetof(BookHeader, banner) == 4 && offsetof(BookHeader, groupCount) == 20);

template <typename T>
bool readRecord(QFile& f, T* rec) {
    return f.read(reinterpret_cast<char*>(rec), sizeof(T)) == qint64(sizeof(T));
}

// Hands every complete record from the file position to the end to `each`; a partial record
// at the end is dropped. Reads in large blocks: a book may hold many thousands of entries.
template <typename T, typename F>
void readRecords(QFile& f, F each) {
    constexpr qint64 kBlock = 256 * qint64(sizeof(T));
    std::vector<char> buf(static_cast<size_t>(kBlock));
    qint64 have = 0;
    for (;;) {
        const qint64 n = f.read(buf.data() + have, kBlock - have);
        if (n <= 0) return;
        have += n;
        const qint64 whole = have / qint64(sizeof(T));
        for (qint64 i = 0; i < whole; ++i) {
            T rec;
            std::memcpy(&rec, buf.data() + i * qint64(sizeof(T)), sizeof(T));
            each(rec);
        }
        const qint64 used = whole * qint64(sizeof(T));
        std::memmove(buf.data(), buf.data() + used, size_t(have - used));
        have -= used;
    }
}

BookEntry fromLegacy(const LegacyBookEntry& old) {
    BookEntry e = BookEntry::empty();
    e.Name.setBytes(old.Name.data(), old.Name.size());
    e.Phone.setBytes(old.Phone.data(), old.Phone.size());
    e.Status = old.Status;
    e.Note.setBytes(old.Note.data(), old.Note.size());
    return e;
}

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

BookGroup defaultCallerGroup() {
    return BookGroup::make(QStringLiteral("Общая"));
}

BookGroup commonGroup() {
    // Position 0 of the table, under the name the entry editor gives it: "[Все группы]" is
    // what the selector means by it, not a group a caller is in.
    return BookGroup::make(QStringLiteral("[Общая]"));
}

BookStore::BookStore() {
    clear();
}
BookStore::~BookStore() = default;

void BookStore::clear() {
    master_.clear();
    groups_.clear();
    groups_.emplace_back(BookGroup::make(QStringLiteral("[Все группы]")));
}

void BookStore::load() {
    load(ini().PhoneBookFile);
}

void BookStore::load(const QString& fileName) {
    clear();
    // A book file missing while "book.bak" is there was moved aside by a save that then
    // failed or was killed (saves before this version renamed the book away first): the
    // backup is the user's book. Starting empty would let the second save after it delete
    // the only copy. Only for a book in the working directory, beside its backup: a new book
    // named elsewhere must not start as the backup of another one.
    const QFileInfo info(fileName);
    const bool missing = !info.exists() && !info.isSymLink();
    const bool besideBackup =
        QFileInfo(info.absolutePath()).canonicalFilePath() == QDir::current().canonicalPath();
    QFile f(missing && besideBackup ? QString::fromLatin1(kBookBackup) : fileName);
    if (!f.open(QIODevice::ReadOnly)) return;

    BookHeader header;
    if (!readRecord(f, &header)) return;
    if (header.magic == kBookMagic) {
        for (qint32 i = 0; i < header.groupCount; ++i) {
            BookGroup g;
            // A group cut short ends the loading: what follows would not be entries.
            if (!readRecord(f, &g)) return;
            AddGroup(g, true);
        }
        master_.reserve(
            size_t(std::max<qint64>(0, f.size() - f.pos()) / qint64(sizeof(BookEntry))));
        readRecords<BookEntry>(f, [this](const BookEntry& e) { AddItem(e, true); });
    } else if (header.magic == kLegacyBookMagic) {
        if (!f.seek(4)) return;
        readRecords<LegacyBookEntry>(
            f, [this](const LegacyBookEntry& old) { AddItem(fromLegacy(old), true); });
    }
}

QByteArray BookStore::serialize() const {
    QByteArray out;
    serializeInto(out);
    return out;
}

void BookStore::serializeInto(QByteArray& out) const {
    const qsizetype groups = qsizetype(groups_.size()) - 1;
    out.resize(kBookHeaderSize + groups * qsizetype(sizeof(BookGroup)) +
               qsizetype(master_.size()) * qsizetype(sizeof(BookEntry)));
    char* p = out.data();

    BookHeader header;
    std::memset(&header, 0, sizeof header);
    header.magic = kBookMagic;
    header.banner.setBytes(QByteArrayLiteral("Zrk Pro 2.01b"));
    header.groupCount = qint32(groups);
    std::memcpy(p, &header, sizeof header);
    p += sizeof header;

    for (size_t i = 1; i < groups_.size(); ++i) {
        BookGroup g = groups_[i].Group;
        g.normalize();
        std::memcpy(p, &g, sizeof g);
        p += sizeof g;
    }
    for (const TOBJBook& obj : master_) {
        BookEntry e = obj.Entry;
        e.normalize();
        std::memcpy(p, &e, sizeof e);
        p += sizeof e;
    }
}

bool BookStore::SaveList(FileError* error) const {
    return SaveList(ini().PhoneBookFile, error);
}

bool BookStore::SaveList(const QString& fileName, FileError* error) const {
    // The new book is complete on disk before the old one is copied aside, and the book file
    // is replaced in one rename, so that neither a failure nor a crash at any moment of the
    // save leaves the book's name without a whole book behind it.
    FileError err;
    const auto fail = [&](const QString& text) {
        if (error) *error = FileError{err.code, text};
        return false;
    };
    const QString temp = writeSyncedTemp(fileName, serialize(), &err);
    if (temp.isEmpty())
        return fail(isWriteFailure(err) ? writeError(fileName) : creationError(fileName));
    const QFileInfo target(fileName);
    if (target.exists() || target.isSymLink()) {
        bool oldBackupStays = false;
        if (!keepAsBackup(fileName, QString::fromLatin1(kBookBackup), &err, &oldBackupStays)) {
            QFile::remove(temp);
            return fail(
                creationError(QString::fromLatin1(oldBackupStays ? kBookBackup : kBookFile)));
        }
    }
    if (!renameSynced(temp, fileName, &err)) {
        QFile::remove(temp);
        return fail(creationError(fileName));
    }
    return true;
}

int BookStore::AddItem(const BookEntry& entry, bool isNew, int index) {
    if (isNew) {
        master_.emplace_back(entry);
        return count() - 1;
    }
    Q_ASSERT(index >= 0 && index < count());
    master_[size_t(index)].Entry = entry;
    return index;
}

int BookStore::AddGroup(const BookGroup& group, bool isNew, int index) {
    if (isNew) {
        groups_.emplace_back(group);
        return groupCount() - 1;
    }
    Q_ASSERT(index >= 0 && index < groupCount());
    groups_[size_t(index)].Group = group;
    groups_[size_t(index)].Text = group.Title.text();
    return index;
}

CallerInfo BookStore::WhoCall(const QString& number) const {
    CallerInfo who;
    who.group = defaultCallerGroup();
    const QByteArray wanted = toCp1251(number);
    for (const TOBJBook& obj : master_) {
        const BookEntry& e = obj.Entry;
        if (!filteredEquals(e.Phone, wanted, kDialSet)) continue;
        who.name = e.Name.text();
        who.status = e.Status;
        if (e.Group == 0)
            who.group = commonGroup();
        else if (e.Group > 0 && e.Group < groupCount())
            who.group = groups_[size_t(e.Group)].Group;
        break;
    }
    return who;
}

bool BookStore::IsNum(const QString& number) const {
    const QByteArray wanted = toCp1251(number);
    for (const TOBJBook& obj : master_)
        if (filteredEquals(obj.Entry.Phone, wanted, kStrictSet)) return true;
    return false;
}

void BookStore::RemoveItem(int i) {
    Q_ASSERT(i >= 0 && i < count());
    master_.erase(master_.begin() + i);
}

void BookStore::RemoveItems(std::vector<int> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    if (positions.empty()) return;
    size_t next = 0;  // the next position to drop
    size_t kept = size_t(positions.front());
    for (size_t i = kept; i < master_.size(); ++i) {
        if (next < positions.size() && int(i) == positions[next]) {
            ++next;
            continue;
        }
        if (kept != i) master_[kept] = std::move(master_[i]);
        ++kept;
    }
    master_.erase(master_.begin() + std::ptrdiff_t(kept), master_.end());
}

void BookStore::RemoveGroup(int k) {
    Q_ASSERT(k > 0 && k < groupCount());
    groups_.erase(groups_.begin() + k);
    for (TOBJBook& obj : master_)
        if (obj.Entry.Group > k) --obj.Entry.Group;
}

}  // namespace zrk
