#pragma once
// The windows of the contacts import: TColumnMapping, where the user says what the columns of
// an unknown CSV file hold, and TImportContacts, the preview of every entry to be added, with
// the choices for repeated phones, the group and (CSV) the file's encoding. Both only show and
// choose; the rows and counts are ImportPreview's, and the phone book applies them after OK.
#include "gui/book/ImportPreview.h"
#include "gui/settings/PlacedDialog.h"

class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;
class QTreeView;

namespace zrk {

class TColumnMapping : public PlacedDialog {
    Q_OBJECT
public:
    // One line per column of `table`: its header, what the first rows hold, and its role.
    explicit TColumnMapping(const contacts::CsvTable& table, QWidget* parent = nullptr);

    QList<ColumnRole> roles() const;
    contacts::CsvMapping mapping() const;

private:
    void rolesChanged();

    QStringList header_;
    QTableWidget* lvColumns = nullptr;
    QList<QComboBox*> roleBoxes_;
    QLabel* stHint = nullptr;
    QPushButton* bOK = nullptr;
};

class TImportContacts : public PlacedDialog {
    Q_OBJECT
public:
    // `file` is read already (and mapped, when its header needed it); it is re-read here when
    // the user changes its encoding.
    TImportContacts(ContactsFile& file, const BookStore& book, QWidget* parent = nullptr);

    const ImportPreview& preview() const { return *preview_; }
    const QList<contacts::ImportRow>& rows() const { return preview_->rows(); }

private:
    void encodingChanged();
    void groupChanged();
    void forAllChanged();
    void setSelectedRows(contacts::Duplicate choice);
    void showCounts();

    ContactsFile& file_;
    ImportPreview* preview_;
    QLabel* stFile = nullptr;
    QLabel* stEncoding = nullptr;
    QComboBox* cbEncoding = nullptr;
    QComboBox* cbImportGroup = nullptr;
    QComboBox* cbRepeats = nullptr;
    QTreeView* lvImport = nullptr;
    QMenu* pmImport = nullptr;
    QLabel* stCounts = nullptr;
    QLabel* stNotes = nullptr;
    QLabel* stError = nullptr;
    QPushButton* bOK = nullptr;
};

}  // namespace zrk
