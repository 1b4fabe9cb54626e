#pragma once
// Contacts to phone-book entries: one entry per number, texts cut to their fields, numbers
// made dialable, duplicates found; then the whole plan applied to a store in one go.
#include "core/book/BookStore.h"
#include "core/contacts/Csv.h"
#include "core/contacts/VCard.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace zrk {
class BookStore;
}

namespace zrk::contacts {

// What the modem can dial, in cp1251: "+7 903 765-43-21" -> "89037654321"; another
// international "+" becomes the exit code "810".
QByteArray dialableNumber(const QString& number);
// The duplicate key: digits only, the leading 8 or 7 of an 11-digit number dropped.
using zrk::phoneKey;

enum class Duplicate { Skip, Replace, Add };

struct ImportRow {
    BookEntry entry = BookEntry::empty();  // ready to add (texts cut to their fields)
    QString groupTitle;     // from CATEGORIES or the chosen group; empty = common group
    bool cut = false;       // some text was longer than its field and was cut
    QStringList cutFields;  // which, for the tooltip
    bool replaced = false;  // some letters are not in cp1251 and became '?'
    QStringList replacedFields;
    int duplicateOf = -1;   // position in the book of an entry with the same phoneKey
    int duplicateRow = -1;  // an earlier row of this plan with the same phoneKey
    Duplicate choice = Duplicate::Skip;
    int line = 0;                // source line
    bool international = false;  // a "+" number other than +7 was given the exit code 810
};

struct ImportOptions {
    QString forcedGroup;  // non-empty: every entry to this group
};

QList<ImportRow> planImport(const QList<Contact>& contacts, const BookStore& book,
                            const ImportOptions& options = {});

struct ImportCounts {
    int added = 0, replaced = 0, skipped = 0, groupsMade = 0;
};
// Applies the rows to `book` in one go (groups made if missing); the caller saves once.
// Replaced entries stay in their places; new ones are appended in row order.
ImportCounts applyImport(BookStore& book, const QList<ImportRow>& rows);

}  // namespace zrk::contacts

Q_DECLARE_TYPEINFO(zrk::contacts::ImportRow, Q_RELOCATABLE_TYPE);

namespace zrk::contacts {

// A file of either kind read for the import: by extension, then by content (BEGIN:VCARD).
struct LoadedContacts {
    ReadResult result;
    std::optional<CsvTable> csv;  // set for a CSV file: the preview may remap its columns
    CsvLayout layout = CsvLayout::Unknown;
};
// The error text names the file and the line.
LoadedContacts loadContactsFile(const QString& path);

// What the import leaves out or changes, said to the user after the counts (the console
// command and the preview say the same).
struct ImportNotes {
    int linesSkipped = 0;   // lines of the file with nothing usable
    QString firstLine;      // "Строка 7: ..."
    int withoutNumber = 0;  // contacts that have no number at all: nothing to add
    int notNumbers = 0;     // "numbers" without a digit, left out
    int cut = 0, replaced = 0, international = 0;  // entries to add, counted by notesText
};
// The file's part of the notes: its skipped lines, its contacts without a number.
ImportNotes readNotes(const ReadResult& read);
// One line for each kind that happened, the entries of `rows` to be added counted in.
QStringList notesText(ImportNotes notes, const QList<ImportRow>& rows);

}  // namespace zrk::contacts
