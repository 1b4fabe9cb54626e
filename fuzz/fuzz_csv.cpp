// A CSV file of any layout: read without fault, mapped by its header and by the guess for an
// unknown one, and what it gives is written out in the Google layout and read back whole.
#include "FuzzSupport.h"

#include "core/book/BookStore.h"
#include "core/contacts/Csv.h"
#include "core/contacts/ImportPlan.h"

using namespace zrk;
using namespace zrk::contacts;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    zrkfuzz::startCoreApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CsvTable table;
    QString error;
    int line = 0;
    if (!readCsv(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), &table,
                 &error, &line)) {
        if (error.isEmpty() || line < 1) std::abort();
        return 0;
    }
    if (table.rows.size() != table.rowLines.size()) std::abort();
    BookStore book;
    for (CsvLayout layout : {detectLayout(table.header), CsvLayout::Unknown}) {
        const QList<Contact> contacts = contactsFromCsv(table, mappingFor(layout, table.header));
        if (contacts.size() != table.rows.size()) std::abort();
        applyImport(book, planImport(contacts, book));
    }
    std::vector<int> all(size_t(book.count()));
    for (int i = 0; i < book.count(); ++i) all[size_t(i)] = i;
    CsvTable back;
    if (!readCsv(writeGoogleCsv(book, all), &back, &error, &line)) std::abort();
    if (back.rows.size() != book.count()) std::abort();
    return 0;
}
