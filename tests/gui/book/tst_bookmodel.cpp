// The phone book's rows under Qt's model checker: sorting (whose moving of the persistent
// indexes is written by hand), rebuilding after a removal, appending and changing columns,
// with the view's selection and current row held across every change.
#include "gui/book/BookModel.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QtTest>

using namespace zrk;

namespace {

struct Person {
    const char* name;
    const char* phone;
    int group;
};

// "Name:Phone" of the entry behind a held index, read through the index itself.
QString at(const QPersistentModelIndex& i) {
    if (!i.isValid()) return QStringLiteral("gone");
    return i.sibling(i.row(), 0).data().toString() + QLatin1Char(':') +
           i.sibling(i.row(), 1).data().toString();
}

}  // namespace

class TestBookModel : public QObject {
    Q_OBJECT

    void fill(BookStore& store, const QList<Person>& people) {
        store.AddGroup(BookGroup::make(QStringLiteral("Друзья")), true);
        for (const Person& p : people) {
            BookEntry e = BookEntry::empty();
            e.Name.setText(QString::fromUtf8(p.name));
            e.Phone.setText(QString::fromUtf8(p.phone));
            e.Group = p.group;
            store.AddItem(e, true);
        }
    }

private slots:
    // After a sort every held index still names its own entry, at the entry's new row; the
    // selection goes with its entries. Rows are typed in the order the bytes of code page
    // 1251 give: Latin before Cyrillic, capitals first, the shorter text first.
    void heldIndexesFollowTheirEntriesThroughASort_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("by name") << int(FieldName)
                                 << QStringList{"Zeta:1", "alpha:10", "Бета:2", "бет:4", "бета:3"};
        QTest::newRow("by phone, as text")
            << int(FieldPhone) << QStringList{"Zeta:1", "alpha:10", "Бета:2", "бета:3", "бет:4"};
        QTest::newRow("on a field all share: order kept")
            << int(FieldNote) << QStringList{"бета:3", "Zeta:1", "Бета:2", "alpha:10", "бет:4"};
    }
    void heldIndexesFollowTheirEntriesThroughASort() {
        QFETCH(int, field);
        QFETCH(QStringList, sorted);
        BookStore store;
        fill(store, {{"бета", "3", 0},
                     {"Zeta", "1", 0},
                     {"Бета", "2", 1},
                     {"alpha", "10", 0},
                     {"бет", "4", 1}});
        BookModel model(store);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setFields({FieldName, FieldPhone, FieldNote});
        model.rebuild(0);
        QItemSelectionModel selection(&model);
        QList<QPersistentModelIndex> held;
        QStringList before;
        for (int r = 0; r < model.rowCount(); ++r) {
            held << QPersistentModelIndex(model.index(r, r % 3));  // every column somewhere
            before << at(held.last());
        }
        selection.select(model.index(1, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection.setCurrentIndex(model.index(4, 2), QItemSelectionModel::NoUpdate);

        model.sortOn(BookField(field));

        QStringList rows;
        for (int r = 0; r < model.rowCount(); ++r)
            rows << at(QPersistentModelIndex(model.index(r, 0)));
        QCOMPARE(rows, sorted);
        for (int k = 0; k < held.size(); ++k) {
            QCOMPARE(at(held[k]), before[k]);
            QCOMPARE(held[k].row(), int(sorted.indexOf(before[k])));
            QCOMPARE(held[k].column(), k % 3);
            QCOMPARE(model.masterIndex(held[k].row()), k);  // the book itself never moves
        }
        const QModelIndexList chosen = selection.selectedRows();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(at(chosen.first()), QString("Zeta:1"));
        QCOMPARE(at(selection.currentIndex()), QString("бет:4"));
        QCOMPARE(selection.currentIndex().column(), 2);
    }

    // A removal from the book rebuilds the rows: nothing held may name another entry then.
    // Appending keeps what is held; a change of columns starts afresh; headers outside the
    // columns are empty.
    void removalAppendAndColumns() {
        BookStore store;
        fill(store, {{"Анна", "111", 1}, {"Борис", "222", 0}, {"Вера", "333", 1}});
        BookModel model(store);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setFields({FieldName, FieldPhone});
        model.rebuild(1);
        QCOMPARE(model.rowCount(), 2);
        QPersistentModelIndex vera(model.index(1, 1));
        QCOMPARE(at(vera), QString("Вера:333"));

        BookEntry e = BookEntry::empty();
        e.Name.setText(QStringLiteral("Дина"));
        e.Group = 1;
        model.append(store.AddItem(e, true));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(at(vera), QString("Вера:333"));
        QCOMPARE(vera.row(), 1);
        QCOMPARE(at(model.index(2, 0)), QString("Дина:"));

        QPersistentModelIndex anna(model.index(0, 0));
        store.RemoveItems({0});
        model.rebuild(1);
        QCOMPARE(at(anna), QString("gone"));
        QCOMPARE(at(vera), QString("gone"));
        QCOMPARE(at(model.index(0, 0)), QString("Вера:333"));
        QCOMPARE(model.masterIndex(0), 1);

        QPersistentModelIndex dina(model.index(1, 0));
        model.setFields({});
        QVERIFY(!dina.isValid());
        QCOMPARE(model.columnCount(), 1);
        QCOMPARE(model.index(1, 0).data().toString(), QString("Дина"));
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QString());
        model.setFields({FieldPhone, FieldIcq});
        QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("ICQ UIN"));
        QVERIFY(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).isNull());
        QVERIFY(model.headerData(-1, Qt::Horizontal, Qt::DisplayRole).isNull());
    }
};

QTEST_MAIN(TestBookModel)
#include "tst_bookmodel.moc"
