#include "gui/book/ImportPreview.h"

#include "core/book/BookStore.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace zrk {

using contacts::Duplicate;

bool isRepeat(const contacts::ImportRow& row) {
    return row.duplicateOf >= 0 || row.duplicateRow >= 0;
}

bool ContactsFile::load(const QString& path) {
    path_ = path;
    userMapping_.reset();
    contacts::LoadedContacts loaded = contacts::loadContactsFile(path);
    csv_ = std::move(loaded.csv);
    layout_ = loaded.layout;
    skipped_ = loaded.result.skipped;
    notes_ = contacts::readNotes(loaded.result);
    contacts_ = std::move(loaded.result.contacts);
    error_ = loaded.result.ok ? QString() : loaded.result.error;
    if (!loaded.result.ok) contacts_.clear();
    return loaded.result.ok;
}

bool ContactsFile::reread(contacts::Encoding encoding) {
    contacts_.clear();
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly)) {
        error_ = QCoreApplication::translate("zrk::ImportPreview", "Ошибка чтения %1!").arg(path_);
        return false;
    }
    const QByteArray raw = f.readAll();
    contacts::CsvTable table;
    QString error;
    int line = 0;
    if (!contacts::readCsv(raw, &table, &error, &line, encoding)) {
        error_ = QStringLiteral("%1: %2").arg(QFileInfo(path_).fileName(), error);
        return false;
    }
    error_.clear();
    // The header read anew may now be one the program knows, or no longer be.
    layout_ = contacts::detectLayout(table.header);
    csv_ = std::move(table);
    if (layout_ != contacts::CsvLayout::Unknown)
        contacts_ = contacts::contactsFromCsv(*csv_, contacts::mappingFor(layout_, csv_->header));
    else if (userMapping_)
        contacts_ = contacts::contactsFromCsv(*csv_, *userMapping_);
    noteContacts();
    return true;
}

contacts::Encoding ContactsFile::encoding() const {
    return csv_ ? csv_->encoding : contacts::Encoding::Utf8;
}

void ContactsFile::setMapping(const contacts::CsvMapping& mapping) {
    if (!csv_) return;
    userMapping_ = mapping;
    contacts_ = contacts::contactsFromCsv(*csv_, mapping);
    noteContacts();
}

void ContactsFile::noteContacts() {
    contacts::ReadResult read;
    read.contacts = contacts_;
    notes_ = contacts::readNotes(read);
}

QString columnRoleText(ColumnRole role) {
    // In the order of ColumnRole; "E-Mail" is the same in every language.
    static const char* const texts[] = {QT_TRANSLATE_NOOP("zrk::TColumnMapping", "[не нужен]"),
                                        QT_TRANSLATE_NOOP("zrk::TColumnMapping", "Имя полностью"),
                                        QT_TRANSLATE_NOOP("zrk::TColumnMapping", "Фамилия"),
                                        QT_TRANSLATE_NOOP("zrk::TColumnMapping", "Имя"),
                                        QT_TRANSLATE_NOOP("zrk::TColumnMapping", "Телефон"),
                                        QT_TRANSLATE_NOOP("zrk::TColumnMapping", "Рабочий телефон"),
                                        nullptr,
                                        QT_TRANSLATE_NOOP("zrk::TColumnMapping", "Адрес"),
                                        QT_TRANSLATE_NOOP("zrk::TColumnMapping", "Примечание"),
                                        QT_TRANSLATE_NOOP("zrk::TColumnMapping", "Отчество")};
    if (role == ColumnRole::EMail) return QStringLiteral("E-Mail");
    return QCoreApplication::translate("zrk::TColumnMapping", texts[int(role)]);
}

ColumnRole guessColumnRole(const QString& header) {
    const QString h = QLocale().toLower(header.trimmed());
    const auto has = [&h](std::initializer_list<const char*> words) {
        for (const char* w : words)
            if (h.contains(QString::fromUtf8(w))) return true;
        return false;
    };
    // Most specific first: "рабочий телефон" is a phone, "e-mail" holds no "имя".
    if (has({"mail", "почт"})) return ColumnRole::EMail;
    if (has({"тел", "phone", "моб", "mobile", "cell"}))
        return has({"раб", "work", "business", "служ"}) ? ColumnRole::WorkPhone : ColumnRole::Phone;
    if (has({"фамил", "family", "surname", "last name"})) return ColumnRole::Family;
    if (has({"отчеств", "middle name"})) return ColumnRole::Middle;
    if (has({"фио", "full name", "display name"})) return ColumnRole::Name;
    if (has({"имя", "given", "first name"})) return ColumnRole::Given;
    if (h == QLatin1String("name") || h == QLatin1String("название")) return ColumnRole::Name;
    if (has({"адрес", "address"})) return ColumnRole::Address;
    if (has({"примеч", "замет", "коммент", "note", "comment"})) return ColumnRole::Note;
    return ColumnRole::Unused;
}

contacts::CsvMapping mappingFromRoles(const QList<ColumnRole>& roles, const QStringList& header) {
    contacts::CsvMapping m;
    // The roles that name one column, in the order of ColumnRole.
    using M = contacts::CsvMapping;
    int M::*const single[] = {nullptr, &M::name, &M::family, &M::given, nullptr,
                              nullptr, nullptr,  nullptr,    &M::note,  &M::middle};
    for (int c = 0; c < roles.size(); ++c) {
        const ColumnRole role = roles[c];
        if (role == ColumnRole::Phone || role == ColumnRole::WorkPhone) {
            contacts::CsvMapping::PhoneColumn p;
            p.column = c;
            p.label = c < header.size() ? header[c].trimmed() : QString();
            p.work = role == ColumnRole::WorkPhone;
            m.phones << p;
        } else if (role == ColumnRole::EMail) {
            m.emails << c;
        } else if (role == ColumnRole::Address) {
            m.addresses << c;
        } else if (single[int(role)]) {
            m.*single[int(role)] = c;
        }
    }
    return m;
}

ImportPreview::ImportPreview(const BookStore& book, QObject* parent)
    : QAbstractTableModel(parent), book_(book) {}

void ImportPreview::setContacts(const QList<contacts::Contact>& list) {
    beginResetModel();
    QList<contacts::ImportRow> rows = contacts::planImport(list, book_);
    const bool same = rows.size() == rows_.size();
    repeats_ = 0;
    fileGroups_.clear();
    fileGroups_.reserve(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        contacts::ImportRow& row = rows[r];
        fileGroups_ << row.groupTitle;
        if (!isRepeat(row)) continue;
        ++repeats_;
        row.choice = same && isRepeat(rows_[r]) ? rows_[r].choice : forAll_;
    }
    rows_ = std::move(rows);
    applyGroup();
    endResetModel();
    emit countsChanged();
}

void ImportPreview::setGroup(GroupRule rule, const QString& title) {
    groupRule_ = rule;
    groupTitle_ = title;
    applyGroup();
    rowsChanged();
}

void ImportPreview::applyGroup() {
    for (int r = 0; r < rows_.size(); ++r)
        rows_[r].groupTitle = groupRule_ == GroupRule::FromFile ? fileGroups_[r]
                              : groupRule_ == GroupRule::Named  ? groupTitle_
                                                                : QString();
}

void ImportPreview::setChoiceForAll(Duplicate choice) {
    forAll_ = choice;
    for (contacts::ImportRow& row : rows_)
        if (isRepeat(row)) row.choice = choice;
    rowsChanged();
    emit countsChanged();
}

void ImportPreview::setChoice(int row, Duplicate choice) {
    if (row < 0 || row >= rows_.size() || !isRepeat(rows_[row])) return;
    rows_[row].choice = choice;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    emit countsChanged();
}

void ImportPreview::rowsChanged() {
    if (rows_.isEmpty()) return;
    // Whole rows: a skipped row is drawn grey in every column.
    emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, ColumnCount - 1));
}

ImportPreview::Counts ImportPreview::counts() const {
    Counts c;
    for (const contacts::ImportRow& row : rows_) {
        if (!isRepeat(row) || row.choice == Duplicate::Add)
            ++c.added;
        else if (row.choice == Duplicate::Replace)
            ++c.replaced;
        else
            ++c.skipped;
    }
    return c;
}

QString ImportPreview::countsText() const {
    const Counts c = counts();
    return tr("Будет добавлено: %1, заменено: %2, пропущено: %3")
        .arg(c.added)
        .arg(c.replaced)
        .arg(c.skipped);
}

int ImportPreview::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ImportPreview::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

namespace {

QString choiceText(Duplicate d) {
    // In the order of Duplicate.
    static const char* const texts[] = {QT_TRANSLATE_NOOP("zrk::ImportPreview", "Пропустить"),
                                        QT_TRANSLATE_NOOP("zrk::ImportPreview", "Заменить"),
                                        QT_TRANSLATE_NOOP("zrk::ImportPreview", "Добавить")};
    return QCoreApplication::translate("zrk::ImportPreview", texts[int(d)]);
}

}  // namespace

QString ImportPreview::repeatedText(const contacts::ImportRow& row) const {
    if (row.duplicateOf >= 0 && row.duplicateOf < book_.count())
        return QStringLiteral("%1 (%2)").arg(book_.text(row.duplicateOf, FieldName),
                                             book_.text(row.duplicateOf, FieldPhone));
    // A number the file gives twice: the first of them is the one repeated.
    if (row.duplicateRow >= 0 && row.duplicateRow < rows_.size())
        return tr("строке %1 файла").arg(rows_[row.duplicateRow].line);
    return {};
}

QVariant ImportPreview::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const contacts::ImportRow& row = rows_[index.row()];
    const bool repeat = isRepeat(row);
    switch (role) {
        case Qt::DisplayRole: {
            // In the order of Column.
            const QVariant cells[ColumnCount] = {
                row.entry.Name.text(),
                row.entry.Phone.text(),
                row.entry.WorkPhone.text(),
                row.entry.EMail.text(),
                row.groupTitle.isEmpty() ? tr("[Общая]") : row.groupTitle,
                row.line,
                repeatedText(row),
                choiceText(repeat ? row.choice : Duplicate::Add)};
            return index.column() < ColumnCount ? cells[index.column()] : QVariant();
        }
        case Qt::ToolTipRole:
            if (index.column() == ColRepeats && repeat)
                return (row.duplicateOf >= 0 ? tr("Этот телефон уже есть в книге: %1")
                                             : tr("Этот телефон уже есть выше, в %1"))
                    .arg(repeatedText(row));
            {
                QStringList said;
                if (row.cut)
                    said << tr("Не уместилось и обрезано: %1")
                                .arg(row.cutFields.join(QStringLiteral(", ")));
                if (row.replaced)
                    said << tr("Буквы, которых нет в кодировке книги, заменены на \"?\": %1")
                                .arg(row.replacedFields.join(QStringLiteral(", ")));
                return said.isEmpty() ? QVariant() : QVariant(said.join(QLatin1Char('\n')));
            }
        case Qt::BackgroundRole:
            // Amber: something of the contact was changed; the user should look before adding it.
            if (row.cut || row.replaced) return QBrush(QColor(255, 226, 153));
            return {};
        case Qt::ForegroundRole:
            // Rows that will not be added are drawn grey, on any background.
            if (repeat && row.choice == Duplicate::Skip) return QBrush(QColor(128, 128, 128));
            if (row.cut || row.replaced) return QBrush(QColor(0, 0, 0));
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() == ColLine) return int(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default:
            return {};
    }
}

QVariant ImportPreview::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    // In the order of Column; "E-Mail" is the same in every language.
    static const char* const titles[ColumnCount] = {
        QT_TR_NOOP("Фамилия"),     QT_TR_NOOP("Телефон"),
        QT_TR_NOOP("Рабочий"),     nullptr,
        QT_TR_NOOP("Группа"),      QT_TR_NOOP("Строка"),
        QT_TR_NOOP("Уже в книге"), QT_TR_NOOP("Действие")};
    return section == ColEMail ? QStringLiteral("E-Mail") : tr(titles[section]);
}

}  // namespace zrk
