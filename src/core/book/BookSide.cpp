#include "core/book/BookSide.h"

#include "core/book/BookStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <deque>

namespace zrk {

namespace {

constexpr QByteArrayView kMagic = "ZRK-BOOK-IDS 1";

// What an entry was when the side file was written: a changed record is matched by number.
quint64 recordHash(const BookStore& book, int i) {
    const BookEntry e = book.entry(i);
    return quint64(qHashBits(&e, sizeof e, 0x5a524b));
}

struct Row {
    QUuid id;
    quint64 hash = 0;
    QByteArray key;
};

// The rows and the sync state, or nullopt for a file that is not ours or is cut short.
std::optional<std::pair<std::vector<Row>, QByteArray>> parse(const QByteArray& raw) {
    qsizetype at = 0;
    auto line = [&]() -> std::optional<QByteArrayView> {
        const qsizetype nl = raw.indexOf('\n', at);
        if (nl < 0) return std::nullopt;
        const QByteArrayView l = QByteArrayView(raw).sliced(at, nl - at);
        at = nl + 1;
        return l;
    };
    if (line() != std::optional<QByteArrayView>(kMagic)) return std::nullopt;
    bool ok = false;
    const std::optional<QByteArrayView> countLine = line();
    const qlonglong n = countLine ? countLine->toLongLong(&ok) : -1;
    if (!ok || n < 0 || n > raw.size()) return std::nullopt;
    std::vector<Row> rows;
    rows.reserve(size_t(n));
    for (qlonglong k = 0; k < n; ++k) {
        const std::optional<QByteArrayView> l = line();
        if (!l) return std::nullopt;
        const QList<QByteArray> parts = l->toByteArray().split(' ');
        if (parts.size() != 3) return std::nullopt;
        Row r;
        r.id = QUuid::fromString(QLatin1StringView(parts[0]));
        r.hash = parts[1].toULongLong(&ok, 16);
        if (r.id.isNull() || !ok) return std::nullopt;
        r.key = parts[2];
        rows.push_back(std::move(r));
    }
    const std::optional<QByteArrayView> stateLine = line();
    if (!stateLine || !stateLine->startsWith("sync ")) return std::nullopt;
    const qlonglong size = stateLine->sliced(5).toLongLong(&ok);
    if (!ok || size < 0 || size != raw.size() - at) return std::nullopt;
    return std::pair{std::move(rows), raw.mid(at)};
}

}  // namespace

QString bookSideFile(const QString& bookFile) {
    const QFileInfo info(bookFile);
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return info.dir().filePath(base + QStringLiteral(".ids"));
}

BookSide readBookSide(const QString& bookFile, BookStore& book) {
    BookSide side;
    QFile f(bookSideFile(bookFile));
    if (f.open(QIODevice::ReadOnly)) {
        side.found = true;
        const auto parsed = parse(f.readAll());
        f.close();
        if (!parsed) {
            const QString aside = moveAsideAsDamaged(f.fileName());
            side.problem = QCoreApplication::translate(
                               "zrk::BookStore",
                               "Файл %1 повреждён и отложен как %2: записи книги получат новые "
                               "метки, синхронизация сопоставит их по номерам.")
                               .arg(f.fileName(), aside);
        } else {
            const std::vector<Row>& rows = parsed->first;
            side.syncState = parsed->second;
            std::vector<bool> used(rows.size(), false);
            std::vector<int> open;
            // The same record at the same place is the same entry.
            for (int i = 0; i < book.count(); ++i) {
                if (size_t(i) < rows.size() && rows[size_t(i)].hash == recordHash(book, i)) {
                    book.setId(i, rows[size_t(i)].id);
                    used[size_t(i)] = true;
                } else {
                    open.push_back(i);
                }
            }
            // Else an entry takes the first unused identity of its number, in book order.
            QHash<QByteArray, std::deque<size_t>> byKey;
            for (size_t r = 0; r < rows.size(); ++r)
                if (!used[r] && !rows[r].key.isEmpty()) byKey[rows[r].key].push_back(r);
            for (int i : open) {
                const auto it = byKey.find(phoneKey(book.field(i, FieldPhone)));
                if (it == byKey.end() || it->empty()) continue;
                book.setId(i, rows[it->front()].id);
                it->pop_front();
            }
        }
    }
    if (side.found) book.assignIds();
    return side;
}

QByteArray bookSideImage(const BookStore& book, const QByteArray& syncState) {
    QByteArray out;
    out.reserve(book.count() * 64 + syncState.size() + 64);
    out.append(kMagic).append('\n').append(QByteArray::number(book.count())).append('\n');
    for (int i = 0; i < book.count(); ++i) {
        out.append(book.idOf(i).toByteArray(QUuid::WithoutBraces)).append(' ');
        out.append(QByteArray::number(recordHash(book, i), 16)).append(' ');
        out.append(phoneKey(book.field(i, FieldPhone))).append('\n');
    }
    out.append("sync ").append(QByteArray::number(syncState.size())).append('\n');
    out.append(syncState);
    return out;
}

bool writeBookSide(const QString& bookFile, const BookStore& book, const QByteArray& syncState,
                   FileError* error) {
    return replaceFileAtomically(bookSideFile(bookFile), bookSideImage(book, syncState), error);
}

}  // namespace zrk
