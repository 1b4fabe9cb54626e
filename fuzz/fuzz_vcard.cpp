// A vCard file from any phone or address book: read without fault, and whatever it gives,
// once planned and applied to a book, is written out and read back whole.
#include "FuzzSupport.h"

#include "core/book/BookStore.h"
#include "core/contacts/ImportPlan.h"
#include "core/contacts/VCard.h"

using namespace zrk;
using namespace zrk::contacts;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ReadResult r =
        readVCards(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!r.ok && !r.contacts.isEmpty()) std::abort();
    if (!r.ok && r.error.isEmpty()) std::abort();
    BookStore book;
    applyImport(book, planImport(r.contacts, book));
    std::vector<int> all(size_t(book.count()));
    for (int i = 0; i < book.count(); ++i) all[size_t(i)] = i;
    const ReadResult back = readVCards(writeVCards(book, all));
    if (book.count() > 0 && (!back.ok || back.contacts.size() != book.count())) std::abort();
    return 0;
}
