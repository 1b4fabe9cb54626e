#pragma once
// The rows of the phone book window: each row shows one entry of the book and knows its
// position in the book; rows are in book order until sorted. A row refers to its entry
// rather than holding a copy: every command of the window changes entry and row together,
// so a copy would always equal its entry, and a big book would be held twice. A model
// rather than one widget item per row, so that a book of a hundred thousand entries opens,
// filters and sorts at once.
#include "core/book/BookStore.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <vector>

namespace zrk {

// Caption and default width of a field's column.
QString bookFieldCaption(BookField field);
int bookFieldWidth(BookField field);

// Orders two texts of a field: bytes as unsigned code-page values over the shorter length,
// then the shorter text first; letter case counts. -1, 0 or 1.
int lvBookCompare(const char* a, int na, const char* b, int nb);

class BookModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BookModel(const BookStore& store, QObject* parent = nullptr);

    // The fields shown, in field order. None shown: one column with the name.
    void setFields(std::vector<BookField> fields);
    const std::vector<BookField>& fields() const { return fields_; }
    // The field shown in `column` (0 <= column < columnCount()).
    BookField fieldOf(int column) const;

    // A row for every entry whose Group is `group`, or for all of them for group 0.
    void rebuild(int group);
    // A new last row (unsorted) for the entry at `masterIndex`.
    void append(int masterIndex);
    // The row's entry has changed.
    void refresh(int row);
    // Sorts the rows once, ascending, on `field`.
    void sortOn(BookField field);

    int masterIndex(int row) const { return masters_[size_t(row)]; }
    BookEntry entry(int row) const { return store_.entry(masterIndex(row)); }
    int count() const { return int(masters_.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    const BookStore& store_;
    std::vector<int> masters_;
    std::vector<BookField> fields_;
    std::array<QIcon, 3> statusIcons_;
};

}  // namespace zrk
