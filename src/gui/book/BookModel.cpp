#include "gui/book/BookModel.h"

#include "gui/windows/StatusIcons.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace zrk {
namespace {

struct FieldInfo {
    const char* caption;
    int width;
};
constexpr FieldInfo kFields[BookFieldCount] = {
    {QT_TRANSLATE_NOOP("zrk::BookModel", "Фамилия"), 150},
    {QT_TRANSLATE_NOOP("zrk::BookModel", "Телефон"), 70},
    {QT_TRANSLATE_NOOP("zrk::BookModel", "Рабочий"), 70},
    {QT_TRANSLATE_NOOP("zrk::BookModel", "Адрес"), 90},
    {QT_TRANSLATE_NOOP("zrk::BookModel", "E-Mail"), 90},
    {QT_TRANSLATE_NOOP("zrk::BookModel", "ICQ UIN"), 60},
    {QT_TRANSLATE_NOOP("zrk::BookModel", "Home Page"), 100},
    {QT_TRANSLATE_NOOP("zrk::BookModel", "Дополнительно"), 100}};

}  // namespace

QString bookFieldCaption(BookField field) {
    return QCoreApplication::translate("zrk::BookModel", kFields[field].caption);
}

int bookFieldWidth(BookField field) {
    return kFields[field].width;
}

int lvBookCompare(const char* a, int na, const char* b, int nb) {
    const int c = std::memcmp(a, b, size_t(std::min(na, nb)));  // memcmp: unsigned bytes
    if (c != 0) return c < 0 ? -1 : 1;
    return na < nb ? -1 : na > nb ? 1 : 0;
}

BookModel::BookModel(const BookStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {
    for (int s = 0; s < 3; ++s) statusIcons_[size_t(s)] = statusIcon(s);
}

void BookModel::setFields(std::vector<BookField> fields) {
    beginResetModel();
    fields_ = std::move(fields);
    endResetModel();
}

BookField BookModel::fieldOf(int column) const {
    return fields_.empty() ? FieldName : fields_[size_t(column)];
}

void BookModel::rebuild(int group) {
    beginResetModel();
    masters_.clear();
    const int n = store_.count();
    if (group == 0) masters_.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        if (group == 0 || store_.groupOf(i) == group) masters_.push_back(i);
    endResetModel();
}

void BookModel::append(int masterIndex) {
    beginInsertRows({}, count(), count());
    masters_.push_back(masterIndex);
    endInsertRows();
}

void BookModel::refresh(int r) {
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

void BookModel::sortOn(BookField field) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The keys side by side: comparing inside the entries themselves would walk the whole
    // book's memory on every comparison.
    struct Key {
        quint32 offset;
        int length;
        int row;
    };
    std::vector<char> bytes;
    std::vector<Key> keys;
    keys.reserve(masters_.size());
    bytes.reserve(masters_.size() * 16);
    for (size_t r = 0; r < masters_.size(); ++r) {
        const QByteArrayView text = store_.field(masters_[r], field);
        keys.push_back({quint32(bytes.size()), int(text.size()), int(r)});
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    const char* base = bytes.data();
    std::stable_sort(keys.begin(), keys.end(), [base](const Key& a, const Key& b) {
        return lvBookCompare(base + a.offset, a.length, base + b.offset, b.length) < 0;
    });
    std::vector<int> sorted(keys.size());
    std::vector<int> newPlace(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        sorted[i] = masters_[size_t(keys[i].row)];
        newPlace[size_t(keys[i].row)] = int(i);
    }
    // Selection and the current row follow their entries.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before) after << index(newPlace[size_t(i.row())], i.column());
    masters_ = std::move(sorted);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int BookModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int BookModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max<int>(1, int(fields_.size()));
}

QVariant BookModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() || masterIndex(index.row()) >= store_.count())
        return {};
    const int i = masterIndex(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        QString text = store_.text(i, fieldOf(index.column()));
        if (role == Qt::DisplayRole) text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        return text;
    }
    const qint32 status = store_.status(i);
    if (role == Qt::DecorationRole && index.column() == 0 && status >= 0 && status < 3)
        return statusIcons_[size_t(status)];
    return {};
}

QVariant BookModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return {};
    if (fields_.empty()) return QString();
    return bookFieldCaption(fieldOf(section));
}

}  // namespace zrk
