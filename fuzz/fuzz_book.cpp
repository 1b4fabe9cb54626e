// The book file, either format: loading never reads outside the input, every loaded entry can
// be looked up, and what is loaded saves to a file that loads back to the same book.
#include "FuzzSupport.h"

#include "core/book/BookStore.h"

using namespace zrk;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = zrkfuzz::inputFile("book.phn", data, size);
    BookStore store;
    store.load(path);
    for (int i = 0; i < store.count() && i < 64; ++i) {
        const BookEntry e = store.entry(i);
        const CallerInfo who = store.WhoCall(DialFilter(e.Phone.text()));
        (void)who.group.Title.text();
        (void)store.IsNum(StrictDialFilter(e.Phone.text()));
    }
    for (int g = 0; g < store.groupCount(); ++g) (void)store.group(g).Text;

    const QByteArray saved = store.serialize();
    const QString again = zrkfuzz::workDir().filePath(QStringLiteral("again.phn"));
    QFile f(again);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(saved) != saved.size())
        std::abort();
    f.close();
    BookStore reloaded;
    reloaded.load(again);
    if (reloaded.serialize() != saved) std::abort();

    // A copy keeps the book as it was while the original changes; an entry written back as
    // it was read changes nothing.
    const BookStore copy = reloaded;
    for (int i = 0; i < reloaded.count(); ++i) reloaded.AddItem(reloaded.entry(i), false, i);
    if (reloaded.serialize() != saved) std::abort();
    if (reloaded.count() > 0) {
        reloaded.setStatus(0, reloaded.status(0) + 1);
        reloaded.RemoveItem(reloaded.count() - 1);
    }
    if (copy.serialize() != saved) std::abort();
    return 0;
}
