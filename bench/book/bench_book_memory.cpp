// Resident memory of the phone book: writes a book file of 100,000 entries record by record
// (no book in memory while writing), then reads VmRSS from /proc/self/status before and after
// loading it into a store, and after a copy of the store is made and the original edited
// (the copy shares until the edit, which then copies what it changes). Prints the figures in
// megabytes, the times of the copy and of the first edits after it, and of the commands
// that leave the most texts behind (edits while a copy is held, then a removal of half the
// book, which rebuilds the texts); asserts nothing.
#include "BenchBook.h"
#include "core/book/BookStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

using namespace zrk;

namespace {

constexpr int kEntries = bench::kBookEntries;
constexpr int kGroups = bench::kBookGroups;

// VmRSS in kilobytes; memory freed to the allocator is handed back first.
long residentKb() {
    malloc_trim(0);
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The same entries as the timing benchmark's book, written straight to the file.
bool writeBook(const QString& name) {
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly)) return false;
    char header[kBookHeaderSize] = {};
    const quint32 magic = kBookMagic;
    const qint32 groups = kGroups;
    std::memcpy(header, &magic, 4);
    std::memcpy(header + 20, &groups, 4);
    f.write(header, sizeof header);
    for (int g = 1; g <= kGroups; ++g) {
        const BookGroup group = bench::benchGroup(g);
        f.write(reinterpret_cast<const char*>(&group), sizeof group);
    }
    for (int i = 0; i < kEntries; ++i) {
        const BookEntry e = bench::benchEntry(i);
        f.write(reinterpret_cast<const char*>(&e), sizeof e);
    }
    return f.flush();
}

// CPU time of this thread: on a busy machine the wall clock says more about the others.
double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString name = dir.filePath(QString::fromLatin1(kBookFile));
    if (!dir.isValid() || !writeBook(name)) {
        std::fprintf(stderr, "cannot write the book\n");
        return 1;
    }
    const long before = residentKb();
    BookStore book;
    QElapsedTimer t;
    t.start();
    book.load(name);
    const double loadMs = double(t.nsecsElapsed()) / 1e6;
    const long loaded = residentKb();
    std::printf("entries %d, load %.1f ms\n", book.count(), loadMs);
    std::printf("VmRSS before load %8.1f MB\n", before / 1024.0);
    std::printf("VmRSS after load  %8.1f MB   book: %.1f MB\n", loaded / 1024.0,
                (loaded - before) / 1024.0);

    // The records a save writes, without the disk: median of 5.
    std::vector<double> images;
    for (int r = 0; r < 5; ++r) {
        t.start();
        const QByteArray image = book.serialize();
        images.push_back(double(t.nsecsElapsed()) / 1e6);
        if (image.size() < qsizetype(kEntries) * qsizetype(sizeof(BookEntry))) return 1;
    }
    std::sort(images.begin(), images.end());
    std::printf("file image of the book %.1f ms\n", images[2]);

    t.start();
    const BookStore copy = book;
    const double copyMs = double(t.nsecsElapsed()) / 1e6;
    t.start();
    const double cpu = threadCpuMs();
    book.setStatus(0, 1);
    const double detachMs = double(t.nsecsElapsed()) / 1e6;
    const double detachCpuMs = threadCpuMs() - cpu;
    const long twice = residentKb();
    std::printf("copy %.3f ms, first edit after it %.1f ms (CPU %.1f ms)\n", copyMs, detachMs,
                detachCpuMs);
    std::printf("VmRSS with the copy detached %8.1f MB\n", twice / 1024.0);

    // The first change of each kind after a copy, each on a copy of its own: the median of 5
    // in CPU time.
    const auto firstAfterACopy = [&](const char* what, const std::function<void(BookStore&)>& f) {
        std::vector<double> cpus;
        for (int r = 0; r < 5; ++r) {
            BookStore mine = book;
            const BookStore held = mine;
            const double start = threadCpuMs();
            f(mine);
            cpus.push_back(threadCpuMs() - start);
        }
        std::sort(cpus.begin(), cpus.end());
        std::printf("first %-24s after a copy: CPU %6.2f ms\n", what, cpus[2]);
    };
    firstAfterACopy("status", [](BookStore& b) { b.setStatus(kEntries / 2, 2); });
    firstAfterACopy("add", [](BookStore& b) { b.AddItem(bench::benchEntry(kEntries), true); });
    firstAfterACopy("edit",
                    [](BookStore& b) { b.AddItem(b.entry(kEntries / 2), false, kEntries / 2); });
    firstAfterACopy("removal", [](BookStore& b) { b.RemoveItem(kEntries / 2); });

    // Every entry rewritten with its own texts while a copy holds them, one at a time: each
    // puts its texts after the others and drops the old ones.
    std::vector<double> edits;
    edits.reserve(size_t(kEntries));
    {
        const BookStore held = book;
        for (int i = 0; i < kEntries; ++i) {
            const double start = threadCpuMs();
            book.AddItem(book.entry(i), false, i);
            edits.push_back(threadCpuMs() - start);
        }
    }
    std::sort(edits.begin(), edits.end());
    std::printf("edits of every entry, a copy held: median %.4f ms, slowest %.1f ms\n",
                edits[edits.size() / 2], edits.back());
    // More than half of the entries removed in one command: the texts left are rebuilt.
    std::vector<int> half;
    for (int i = 0; i <= kEntries / 2; ++i) half.push_back(i);
    const double start = threadCpuMs();
    book.RemoveItems(half);
    std::printf("removal of half the book at once (the texts rebuilt): CPU %.1f ms\n",
                threadCpuMs() - start);
    return book.count() == kEntries / 2 - 1 && copy.count() == kEntries ? 0 : 1;
}
