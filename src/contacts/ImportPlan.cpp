#include "contacts/ImportPlan.h"

#include "book/BookStore.h"

namespace zrk::contacts {

QByteArray dialableNumber(const QString&) {
    return {};
}
QByteArray phoneKey(QByteArrayView) {
    return {};
}
QList<ImportRow> planImport(const QList<Contact>&, const BookStore&, const ImportOptions&) {
    return {};
}
ImportCounts applyImport(BookStore&, const QList<ImportRow>&) {
    return {};
}
LoadedContacts loadContactsFile(const QString&) {
    return {};
}

}  // namespace zrk::contacts
