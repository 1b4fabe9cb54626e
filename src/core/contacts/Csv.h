#pragma once
// Address books in CSV (RFC 4180 quoting, ',' or ';'), and the column layouts of the common
// address books.
#include "core/contacts/Contact.h"
#include "core/contacts/TextCodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>

#include <optional>
#include <vector>

namespace zrk {
class BookStore;
}

namespace zrk::contacts {

struct CsvTable {
    QStringList header;
    QList<QStringList> rows;
    QList<int> rowLines;  // first file line of each row
    QChar separator = QLatin1Char(',');
    Encoding encoding = Encoding::Utf8;
};

// False with `error` ("Строка 7: ...") and `errorLine` set when the file is not a table;
// `out` is then left as it was.
bool readCsv(QByteArrayView raw, CsvTable* out, QString* error, int* errorLine,
             std::optional<Encoding> forced = std::nullopt);

enum class CsvLayout { Google, Outlook, Thunderbird, Unknown };

struct CsvMapping {  // column indexes, -1 = none
    int name = -1, family = -1, given = -1, middle = -1, organization = -1, note = -1,
        categories = -1;
    QList<int> emails, urls;
    QList<int> addresses;  // the columns that together make the one address line
    struct PhoneColumn {
        int column = -1;
        int labelColumn =
            -1;  // a column whose text is this phone's label (Google's "Phone 1 - Type")
        QString label;
        bool work = false;
    };
    QList<PhoneColumn> phones;
    // Instant-messenger columns: a service column ("ICQ") and its value; an ICQ one fills Icq.
    struct ImColumn {
        int service = -1;
        int value = -1;
    };
    QList<ImColumn> ims;
    int ownMark = -1;    // a column holding our own mark: the row is an entry this program wrote
    int ownStatus = -1;  // beside it, the entry's status
};

CsvLayout detectLayout(const QStringList& header);
CsvMapping mappingFor(CsvLayout layout, const QStringList& header);
QList<Contact> contactsFromCsv(const CsvTable& table, const CsvMapping& mapping);

// The entries at `positions` in the Google Contacts layout: UTF-8 with a BOM, CRLF.
QByteArray writeGoogleCsv(const BookStore& book, const std::vector<int>& positions);

}  // namespace zrk::contacts
