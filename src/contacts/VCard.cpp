#include "contacts/VCard.h"

#include "book/BookStore.h"

namespace zrk::contacts {

const char* const kProdId = "-//Zrk Pro//Zrk Pro 2.01b//RU";

ReadResult readVCards(QByteArrayView) {
    return {};
}

QByteArray writeVCards(const BookStore&, const std::vector<int>&) {
    return {};
}

}  // namespace zrk::contacts
