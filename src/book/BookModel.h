#pragma once
// The rows of the phone book window: one copy of an entry per row, with the position of the
// entry it shows (MasterIndex), in book order until sorted. A model rather than one widget
// item per row, so that a book of a hundred thousand entries opens, filters and sorts at once.
#include "book/BookStore.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <vector>

namespace zrk {

inline constexpr int kBookFieldCount = 8;

// Caption and default width of each field's column, field 0 (Name) to 7 (Note).
QString bookFieldCaption(int field);
int bookFieldWidth(int field);
// The text field `field` of an entry.
const char* bookFieldData(const BookEntry& e, int field, int* size);
QString bookFieldText(const BookEntry& e, int field);

// Orders two entries on one field: bytes as unsigned code-page values over the shorter
// length, then the shorter text first; letter case counts.
int lvBookCompare(const BookEntry& a, const BookEntry& b, int field);

class BookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BookModel(QObject* parent = nullptr);

    // The fields shown, in field order. None shown: one column with the name.
    void setFields(std::vector<int> fields);
    const std::vector<int>& fields() const { return fields_; }
    // The field shown in a column.
    int fieldOf(int column) const;

    // Every entry of `store` whose Group is `group`, or all of them for group 0.
    void rebuild(const BookStore& store, int group);
    void clear();
    // A new last row (unsorted) for the entry at `masterIndex`.
    void append(const BookEntry& e, int masterIndex);
    // The row shows `e` now; its MasterIndex stays.
    void update(int row, const BookEntry& e);
    // Sorts the rows once, ascending, on `field`.
    void sortOn(int field);

    const TOBJBook& row(int r) const { return rows_[size_t(r)]; }
    TOBJBook& row(int r) { return rows_[size_t(r)]; }
    int count() const { return int(rows_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    std::vector<TOBJBook> rows_;
    std::vector<int> fields_;
    std::array<QIcon, 3> statusIcons_;
};

}  // namespace zrk
