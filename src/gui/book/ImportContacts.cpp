#include "gui/book/ImportContacts.h"

#include "core/book/BookStore.h"
#include "gui/settings/Form.h"
#include "gui/windows/ToolBar.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace zrk {

using contacts::Duplicate;

namespace {

constexpr contacts::Encoding kEncodings[] = {
    contacts::Encoding::Utf8, contacts::Encoding::Utf8Bom, contacts::Encoding::Utf16LE,
    contacts::Encoding::Utf16BE, contacts::Encoding::Cp1251};

QPushButton* addButtons(QDialog* dialog, QBoxLayout* layout) {
    auto* box = new QDialogButtonBox(dialog);
    auto* ok = named<QPushButton>("bOK", QStringLiteral("OK"), box);
    ok->setDefault(true);
    box->addButton(ok, QDialogButtonBox::AcceptRole);
    box->addButton(
        named<QPushButton>("bCansel", QCoreApplication::translate("zrk::TImportContacts", "Отмена"),
                           box),
        QDialogButtonBox::RejectRole);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(box);
    return ok;
}

// What the first rows hold in `column`, for the user to recognise it.
QString samples(const contacts::CsvTable& table, int column) {
    QStringList seen;
    for (const QStringList& row : table.rows) {
        if (column < row.size() && !row[column].trimmed().isEmpty())
            seen << row[column].simplified().left(40);
        if (seen.size() == 3) break;
    }
    return seen.join(QStringLiteral("; "));
}

}  // namespace

TColumnMapping::TColumnMapping(const contacts::CsvTable& table, QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\ColumnMapping"), parent), header_(table.header) {
    setObjectName(QStringLiteral("TColumnMapping"));
    setWindowTitle(tr("Столбцы файла"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(tr("Заголовок файла незнаком программе. Укажите, что хранится в каждом "
                      "столбце; телефонов может быть несколько."),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    lvColumns = named<QTableWidget>("lvColumns", int(header_.size()), 3, this);
    lvColumns->setHorizontalHeaderLabels({tr("Столбец"), tr("Первые значения"), tr("Это")});
    lvColumns->verticalHeader()->hide();
    lvColumns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvColumns->setSelectionMode(QAbstractItemView::NoSelection);
    for (int c = 0; c < header_.size(); ++c) {
        lvColumns->setItem(c, 0, new QTableWidgetItem(header_[c]));
        auto* sample = new QTableWidgetItem(samples(table, c));
        sample->setToolTip(sample->text());
        lvColumns->setItem(c, 1, sample);
        auto* box = new QComboBox(lvColumns);
        box->setObjectName(QStringLiteral("cbRole%1").arg(c));
        for (int r = 0; r <= int(ColumnRole::Middle); ++r)
            box->addItem(columnRoleText(ColumnRole(r)), r);
        box->setCurrentIndex(box->findData(int(guessColumnRole(header_[c]))));
        connect(box, &QComboBox::currentIndexChanged, this, &TColumnMapping::rolesChanged);
        lvColumns->setCellWidget(c, 2, box);
        roleBoxes_ << box;
    }
    lvColumns->resizeColumnsToContents();
    lvColumns->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    layout->addWidget(lvColumns);

    stHint = named<QLabel>("stHint", this);
    layout->addWidget(stHint);
    bOK = addButtons(this, layout);
    const double scale = designScale(font());
    resize(qRound(480 * scale), qRound(320 * scale));
    placement_.restoreOrReport(this);
    rolesChanged();
}

QList<ColumnRole> TColumnMapping::roles() const {
    QList<ColumnRole> out;
    for (const QComboBox* box : roleBoxes_) out << ColumnRole(box->currentData().toInt());
    return out;
}

contacts::CsvMapping TColumnMapping::mapping() const {
    return mappingFromRoles(roles(), header_);
}

void TColumnMapping::rolesChanged() {
    // Callers are found by their phone: a file without one gives the book nothing.
    const QList<ColumnRole> r = roles();
    const bool phone = r.contains(ColumnRole::Phone) || r.contains(ColumnRole::WorkPhone);
    bOK->setEnabled(phone);
    stHint->setText(phone ? QString() : tr("Укажите хотя бы один столбец с телефоном."));
}

TImportContacts::TImportContacts(ContactsFile& file, const BookStore& book, QWidget* parent)
    : PlacedDialog(QStringLiteral("Position\\ImportContacts"), parent),
      file_(file),
      preview_(new ImportPreview(book, this)) {
    setObjectName(QStringLiteral("TImportContacts"));
    setWindowTitle(tr("Импорт контактов"));
    auto* layout = new QVBoxLayout(this);

    stFile = named<QLabel>("stFile", this);
    QString about = tr("Файл: %1").arg(QFileInfo(file.path()).fileName());
    if (file.skipped() > 0)
        about += tr(" (повреждённых записей пропущено: %n)", nullptr, file.skipped());
    stFile->setText(about);
    stFile->setToolTip(file.path());
    layout->addWidget(stFile);

    auto* choices = new QGridLayout;
    int col = 0;
    const auto labelled = [&](const QString& text, QWidget* control) {
        auto* label = new QLabel(text, this);
        label->setBuddy(control);
        choices->addWidget(label, 0, col++);
        choices->addWidget(control, 0, col++);
        return label;
    };
    cbEncoding = named<QComboBox>("cbEncoding", this);
    for (contacts::Encoding e : kEncodings) cbEncoding->addItem(contacts::encodingName(e), int(e));
    stEncoding = labelled(tr("&Кодировка:"), cbEncoding);
    stEncoding->setVisible(file.isCsv());
    cbEncoding->setVisible(file.isCsv());
    if (file.isCsv()) cbEncoding->setCurrentIndex(cbEncoding->findData(int(file.encoding())));

    // The book's groups, or a new title typed in; the file's own categories by default.
    cbImportGroup = named<QComboBox>("cbImportGroup", this);
    cbImportGroup->setEditable(true);
    cbImportGroup->setInsertPolicy(QComboBox::NoInsert);
    cbImportGroup->lineEdit()->setMaxLength(decltype(BookGroup::Title)::capacity);
    cbImportGroup->addItem(tr("[Из файла]"));
    cbImportGroup->addItem(tr("[Общая]"));
    for (int g = 1; g < book.groupCount(); ++g) cbImportGroup->addItem(book.group(g).Text);
    cbImportGroup->setMinimumContentsLength(16);
    cbImportGroup->setToolTip(
        tr("Группа новых записей: по категориям файла, одна из групп книги или "
           "новая (впишите название)"));
    labelled(tr("&Группа:"), cbImportGroup);

    cbRepeats = named<QComboBox>("cbRepeats", this);
    cbRepeats->addItem(tr("Пропустить"), int(Duplicate::Skip));
    cbRepeats->addItem(tr("Заменить"), int(Duplicate::Replace));
    cbRepeats->addItem(tr("Добавить"), int(Duplicate::Add));
    cbRepeats->setToolTip(tr("Что делать с записями, чей телефон уже есть в книге"));
    labelled(tr("&Повторы:"), cbRepeats);
    choices->setColumnStretch(col, 1);
    layout->addLayout(choices);

    lvImport = new QTreeView(this);
    setUpList(lvImport, "lvImport");
    lvImport->setModel(preview_);
    lvImport->setAllColumnsShowFocus(true);
    const double scale = designScale(lvImport->font());
    const int widths[ImportPreview::ColumnCount] = {160, 95, 95, 130, 80, 45, 200, 85};
    int listWidth = 0;
    for (int c = 0; c < ImportPreview::ColumnCount; ++c) listWidth += widths[c];
    for (int c = 0; c < ImportPreview::ColumnCount; ++c)
        lvImport->header()->resizeSection(c, qRound(widths[c] * scale));
    layout->addWidget(lvImport, 1);

    // Row by row: the rows chosen, through the list's menu.
    pmImport = named<QMenu>("pmImport", this);
    const auto item = [this](const char* name, const QString& text, Duplicate d) {
        QAction* a = pmImport->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, d] { setSelectedRows(d); });
    };
    item("mISkip", tr("&Пропустить"), Duplicate::Skip);
    item("mIReplace", tr("&Заменить"), Duplicate::Replace);
    item("mIAdd", tr("&Добавить"), Duplicate::Add);
    setListPopup(lvImport, pmImport);

    stError = named<QLabel>("stError", this);
    stError->setStyleSheet(QStringLiteral("color: #b00000"));
    stError->setWordWrap(true);
    stError->hide();
    layout->addWidget(stError);
    stCounts = named<QLabel>("stCounts", this);
    layout->addWidget(stCounts);
    stNotes = named<QLabel>("stNotes", this);
    stNotes->setWordWrap(true);
    layout->addWidget(stNotes);
    bOK = addButtons(this, layout);

    connect(preview_, &ImportPreview::countsChanged, this, &TImportContacts::showCounts);
    connect(cbEncoding, &QComboBox::currentIndexChanged, this, &TImportContacts::encodingChanged);
    connect(cbImportGroup, &QComboBox::currentTextChanged, this, &TImportContacts::groupChanged);
    connect(cbRepeats, &QComboBox::currentIndexChanged, this, &TImportContacts::forAllChanged);

    // Every column in sight at first, the repeated entry's name and number included.
    resize(qRound((listWidth + 40) * scale), qRound(400 * scale));
    placement_.restoreOrReport(this);
    preview_->setContacts(file.contacts());
}

void TImportContacts::encodingChanged() {
    const auto e = contacts::Encoding(cbEncoding->currentData().toInt());
    const bool ok = file_.reread(e);
    stError->setText(ok ? QString() : file_.error());
    stError->setVisible(!ok);
    preview_->setContacts(file_.contacts());
}

void TImportContacts::groupChanged() {
    const QString text = cbImportGroup->currentText();
    if (text == cbImportGroup->itemText(0))
        preview_->setGroup(ImportPreview::GroupRule::FromFile);
    else if (text.isEmpty() || text == cbImportGroup->itemText(1))
        preview_->setGroup(ImportPreview::GroupRule::Common);
    else
        preview_->setGroup(ImportPreview::GroupRule::Named, text);
}

void TImportContacts::forAllChanged() {
    preview_->setChoiceForAll(Duplicate(cbRepeats->currentData().toInt()));
}

void TImportContacts::setSelectedRows(Duplicate choice) {
    for (const QModelIndex& i : lvImport->selectionModel()->selectedRows())
        preview_->setChoice(i.row(), choice);
}

void TImportContacts::showCounts() {
    stCounts->setText(preview_->countsText());
    // What is left out or changed, in the words the console command uses.
    const QStringList notes = contacts::notesText(file_.notes(), preview_->rows());
    stNotes->setText(notes.join(QLatin1Char('\n')));
    stNotes->setVisible(!notes.isEmpty());
    const ImportPreview::Counts c = preview_->counts();
    // OK with nothing to add or replace would only save the same book again.
    bOK->setEnabled(c.added + c.replaced > 0);
    cbRepeats->setEnabled(preview_->repeats() > 0);
    for (QAction* a : pmImport->actions()) a->setEnabled(preview_->repeats() > 0);
}

}  // namespace zrk
