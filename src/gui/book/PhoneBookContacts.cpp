// The phone book window's commands that bring contacts in from other address books and give
// them back: vCard and CSV files.
#include "gui/book/ImportContacts.h"
#include "gui/book/PhoneBook.h"

#include "core/contacts/Csv.h"
#include "core/contacts/VCard.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTreeView>

#include <optional>

namespace zrk {
namespace {

const QString kVCardFilter = QStringLiteral("vCard (*.vcf)");
const QString kCsvFilter = QStringLiteral("CSV (*.csv)");

// A big file takes a second or two to read or write: the pointer says the window is busy.
struct BusyCursor {
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

void TPhoneBook::sbImportClick() {
    document_.waitForBook();  // the preview compares with the whole book, not an empty one
    if (document_.loadFailed()) return;
    const QString path = prompts_.openFile(
        tr("Импорт контактов"),
        QStringList{kVCardFilter, kCsvFilter, tr("Все файлы (*)")}.join(QStringLiteral(";;")));
    if (path.isEmpty()) return;
    ContactsFile file;
    bool loaded = false;
    {
        const BusyCursor busy;
        loaded = file.load(path);
    }
    if (!loaded) {
        prompts_.error(tr("Ошибка"), file.error());
        return;
    }
    if (file.needsMapping()) {
        TColumnMapping mapping(*file.table(), this);
        if (prompts_.exec(mapping) != QDialog::Accepted) return;
        file.setMapping(mapping.mapping());
    }
    std::optional<TImportContacts> preview;
    {
        const BusyCursor busy;
        preview.emplace(file, store(), this);
    }
    if (prompts_.exec(*preview) != QDialog::Accepted) return;
    const BusyCursor busy;
    // One change and one save: book.bak then holds the book as it was before the import.
    contacts::applyImport(store(), preview->rows());
    fillSelector();
    MenuCreate();
    ItemsView();
    save();
}

void TPhoneBook::exportContacts(ExportWhat what) {
    document_.waitForBook();
    std::vector<int> positions;
    switch (what) {
        case ExportWhat::Book:
            positions.resize(size_t(store().count()));
            for (int i = 0; i < store().count(); ++i) positions[size_t(i)] = i;
            break;
        case ExportWhat::Shown:
            for (int r = 0; r < model_->count(); ++r) positions.push_back(model_->masterIndex(r));
            break;
        case ExportWhat::Selected:
            for (int r : selectedRows()) positions.push_back(model_->masterIndex(r));
            break;
    }
    if (positions.empty()) return;
    QString filter = kVCardFilter;
    QString path = prompts_.saveFile(tr("Экспорт контактов"),
                                     kVCardFilter + QStringLiteral(";;") + kCsvFilter, &filter);
    if (path.isEmpty()) return;
    // The format is the extension's; a name without one gets the chosen filter's.
    QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("vcf") && suffix != QLatin1String("csv")) {
        suffix = filter == kCsvFilter ? QStringLiteral("csv") : QStringLiteral("vcf");
        path += QLatin1Char('.') + suffix;
    }
    FileError error;
    bool written = false;
    {
        const BusyCursor busy;
        const QByteArray data = suffix == QLatin1String("csv")
                                    ? contacts::writeGoogleCsv(store(), positions)
                                    : contacts::writeVCards(store(), positions);
        // Written whole or not at all: a failed export never leaves half a file under the name.
        written = replaceFileAtomically(path, data, &error);
    }
    if (!written)
        prompts_.error(tr("Ошибка"), tr("Ошибка записи %1!\n%2").arg(path, error.message));
}

}  // namespace zrk
