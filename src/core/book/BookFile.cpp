// The book file: reading it into a store, and writing a store out whole.
#include "core/book/BookStore.h"

#include "core/platform/Backup.h"
#include "core/platform/SafeFile.h"
#include "core/settings/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace zrk {
namespace {
QString creationError(const QString& name) {
    return QCoreApplication::translate("zrk::BookStore", "Ошибка создания %1!").arg(name);
}
QString writeError(const QString& name) {
    return QCoreApplication::translate("zrk::BookStore", "Ошибка записи %1!").arg(name);
}

// writeSyncedTemp fails either making the file or filling it; the user is told which.
bool isWriteFailure(const FileError& err) {
    return err.code == ENOSPC || err.code == EIO || err.code == EFBIG || err.code == EDQUOT;
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
        data().entries.reserve(
            size_t(std::max<qint64>(0, f.size() - f.pos()) / qint64(sizeof(BookEntry))));
        // No identities yet: the book's side file gives them (assignIds makes the rest).
        readRecords<BookEntry>(f,
                               [this](const BookEntry& e) { data().entries.push_back(pack(e)); });
    } else if (header.magic == kLegacyBookMagic) {
        if (!f.seek(4)) return;
        readRecords<LegacyBookEntry>(f, [this](const LegacyBookEntry& old) {
            data().entries.push_back(pack(fromLegacy(old)));
        });
    }
}

QByteArray BookStore::headImage() const {
    const Data& d = *d_;
    const qsizetype groups = qsizetype(d.groups.size()) - 1;
    QByteArray out(kBookHeaderSize + groups * qsizetype(sizeof(BookGroup)), Qt::Uninitialized);
    char* p = out.data();

    BookHeader header;
    std::memset(&header, 0, sizeof header);
    header.magic = kBookMagic;
    header.banner.setBytes(QByteArrayLiteral("Zrk Pro 2.01b"));
    header.groupCount = qint32(groups);
    std::memcpy(p, &header, sizeof header);
    p += sizeof header;

    for (size_t i = 1; i < d.groups.size(); ++i) {
        BookGroup g = d.groups[i].Group;
        g.normalize();
        std::memcpy(p, &g, sizeof g);
        p += sizeof g;
    }
    return out;
}

void BookStore::appendRecords(size_t from, size_t n, QByteArray& out) const {
    const qsizetype start = out.size();
    out.resize(start + qsizetype(n * sizeof(BookEntry)));
    char* p = out.data() + start;
    for (size_t i = from; i < from + n; ++i, p += sizeof(BookEntry)) fillRecord(d_->entries[i], p);
}

QByteArray BookStore::serialize() const {
    QByteArray out = headImage();
    appendRecords(0, d_->entries.size(), out);
    return out;
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
    // Written in pieces of a few hundred records: no image of the whole file in memory.
    constexpr size_t kChunk = 256;
    size_t written = 0;
    bool headDone = false;
    const QString temp = writeSyncedTemp(
        fileName,
        [&](QByteArray& chunk) {
            if (!std::exchange(headDone, true)) {
                chunk = headImage();
                return true;
            }
            const size_t n = std::min(kChunk, d_->entries.size() - written);
            if (n == 0) return false;
            chunk.clear();
            appendRecords(written, n, chunk);
            written += n;
            return true;
        },
        &err);
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

}  // namespace zrk
