#pragma once
// What the import of an address book shows before anything changes, without widgets: the file
// read (again, in another encoding, or through the user's column mapping), the rows to add with
// the user's choices for repeated phones and for the group, and the counts of what OK does.
#include "core/contacts/Csv.h"
#include "core/contacts/ImportPlan.h"
#include "core/contacts/VCard.h"

#include <QAbstractTableModel>

#include <optional>

namespace zrk {

// An address book file of either kind, as the preview reads and re-reads it.
class ContactsFile {
public:
    // Reads the file; false with error() saying what is wrong, with the file and the line.
    bool load(const QString& path);
    // CSV only: reads the file again in `encoding`; false (and no contacts) on an error.
    bool reread(contacts::Encoding encoding);

    bool isCsv() const { return csv_.has_value(); }
    // A header this program does not know: the user says which column is what first.
    bool needsMapping() const { return isCsv() && layout_ == contacts::CsvLayout::Unknown; }
    const contacts::CsvTable* table() const { return csv_ ? &*csv_ : nullptr; }
    contacts::Encoding encoding() const;
    void setMapping(const contacts::CsvMapping& mapping);

    QString path() const { return path_; }
    QString error() const { return error_; }
    // Cards or rows left out as damaged.
    int skipped() const { return skipped_; }
    const QList<contacts::Contact>& contacts() const { return contacts_; }
    // What the reading left out: lines with nothing usable, contacts without a number.
    const contacts::ImportNotes& notes() const { return notes_; }

private:
    void noteContacts();

    QString path_;
    QString error_;
    int skipped_ = 0;
    std::optional<contacts::CsvTable> csv_;
    contacts::CsvLayout layout_ = contacts::CsvLayout::Unknown;
    std::optional<contacts::CsvMapping> userMapping_;
    QList<contacts::Contact> contacts_;
    contacts::ImportNotes notes_;
};

// What a column of an unknown CSV file holds, as the user says it in the mapping step.
enum class ColumnRole {
    Unused,
    Name,
    Family,
    Given,
    Phone,
    WorkPhone,
    EMail,
    Address,
    Note,
    Middle,  // the patronymic, after the given name
};
// Said in the column step (TColumnMapping), in the user's language.
QString columnRoleText(ColumnRole role);
// A first guess from the header's words, so that a sensible file needs no choosing at all.
ColumnRole guessColumnRole(const QString& header);
// The mapping of the roles chosen for each column; a phone takes its column's header as its
// label ("Дача"), shown after the name when a contact has several phones.
contacts::CsvMapping mappingFromRoles(const QList<ColumnRole>& roles, const QStringList& header);

// Whether the row's phone is in the book already, or in an earlier row of the same file.
bool isRepeat(const contacts::ImportRow& row);

// The rows the import adds, as the preview's table shows them, with the choices on them.
class ImportPreview : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColName, ColPhone, ColWork, ColEMail, ColGroup, ColLine, ColRepeats, ColDoes };
    static constexpr int ColumnCount = ColDoes + 1;

    // Where the entries go: the file's own categories, the common group, or one named group
    // (made when the book has none of that title).
    enum class GroupRule { FromFile, Common, Named };

    explicit ImportPreview(const BookStore& book, QObject* parent = nullptr);

    // The contacts to preview; the choices made for the rows so far are kept when the same
    // number of rows comes back (the same file in another encoding).
    void setContacts(const QList<contacts::Contact>& list);
    void setGroup(GroupRule rule, const QString& title = {});
    // The choice for every repeated phone; overrides the choices made row by row.
    void setChoiceForAll(contacts::Duplicate choice);
    // The choice for one row (rows without a repeat are added whatever is chosen).
    void setChoice(int row, contacts::Duplicate choice);

    // The rows as OK hands them to applyImport.
    const QList<contacts::ImportRow>& rows() const { return rows_; }
    int repeats() const { return repeats_; }
    struct Counts {
        int added = 0, replaced = 0, skipped = 0;
    };
    Counts counts() const;
    // "Будет добавлено: N, заменено: M, пропущено: K"
    QString countsText() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

signals:
    void countsChanged();

private:
    void applyGroup();
    // The entry a row repeats: the book's, or an earlier row's.
    QString repeatedText(const contacts::ImportRow& row) const;
    void rowsChanged();

    const BookStore& book_;
    QList<contacts::ImportRow> rows_;
    QStringList fileGroups_;  // each row's group as the file gives it
    GroupRule groupRule_ = GroupRule::FromFile;
    QString groupTitle_;
    contacts::Duplicate forAll_ = contacts::Duplicate::Skip;
    int repeats_ = 0;
};

}  // namespace zrk
