// The reminder list's rows under Qt's model checker: loading, adding, changing and removing
// rows (one by one, and many at once), with the indexes a view holds kept across.
#include "gui/reminders/ReminderModel.h"
#include "core/reminders/ReminderRules.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace zrk;

namespace {

ReminderRecord note(const QString& text) {
    ReminderRecord r = ReminderRecord::empty();
    r.Kind = ReminderByNumber;
    r.Number.setText(QStringLiteral("2345678"));
    r.Note.setText(text);
    return r;
}

QString textAt(const QPersistentModelIndex& i) {
    if (!i.isValid()) return QStringLiteral("gone");
    return i.sibling(i.row(), ReminderModel::ColText).data().toString();
}

}  // namespace

class TestReminderModel : public QObject {
    Q_OBJECT
private slots:
    // A held index never names another reminder: a removed row's is gone, the others follow
    // their reminders or (many removed at once, in one reset) are gone as well.
    void heldIndexesThroughRemoval_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("removed");
        QTest::addColumn<bool>("othersKept");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("all three") << 3 << QList<int>{0, 1, 2} << true << QStringList{};
        QTest::newRow("the first") << 3 << QList<int>{0} << true << QStringList{"1", "2"};
        QTest::newRow("middle and last")
            << 5 << QList<int>{1, 4} << true << QStringList{"0", "2", "3"};
        QList<int> many;
        for (int i = 1; i < 40; i += 2) many << i;
        QTest::newRow("twenty at once")
            << 41 << many << false << QStringList{"0", "2", "4", "6", "8"};
    }
    void heldIndexesThroughRemoval() {
        QFETCH(int, rows);
        QFETCH(QList<int>, removed);
        QFETCH(bool, othersKept);
        QFETCH(QStringList, left);
        ReminderRows pending;
        ReminderModel model(pending);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        QList<ReminderRecord> records;
        for (int i = 0; i < rows; ++i) records << note(QString::number(i));
        pending.load(records);
        QList<QPersistentModelIndex> held;
        for (int r = 0; r < rows; ++r) held << QPersistentModelIndex(model.index(r, r % 4));

        pending.remove(removed);

        QCOMPARE(model.rowCount(), rows - int(removed.size()));
        QStringList shown;
        for (int r = 0; r < model.rowCount() && r < left.size(); ++r)
            shown << textAt(model.index(r, 0));
        QCOMPARE(shown, left);
        for (int r = 0; r < rows; ++r) {
            const QString name = QString::number(r);
            if (removed.contains(r) || !othersKept) {
                QCOMPARE(textAt(held[r]), QString("gone"));
                continue;
            }
            QCOMPARE(textAt(held[r]), name);
            QCOMPARE(held[r].column(), r % 4);
            QCOMPARE(pending.list().record(held[r].row()).Note.text(), name);
        }
    }

    // Adding and changing keep what is held; a change repaints the whole row; the columns
    // and their captions are the list's four, and nothing outside them.
    void appendUpdateAndHeaders() {
        ReminderRows pending;
        ReminderModel model(pending);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::Fatal);
        pending.load({note("a"), note("b")});
        QPersistentModelIndex b(model.index(1, ReminderModel::ColNumber));
        const quint64 id = pending.append(note("c"));
        QCOMPARE(pending.list().indexOf(id), 2);
        QCOMPARE(textAt(b), QString("b"));
        QCOMPARE(b.row(), 1);

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        ReminderRecord byDate = note("b2\rдальше\r");
        byDate.Kind = ReminderByDate;
        setDueTime(byDate, QDateTime(QDate(2026, 1, 31), QTime(13, 58)));
        pending.update(1, byDate);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), model.index(1, 0));
        QCOMPARE(changed[0][1].toModelIndex(), model.index(1, 3));
        QCOMPARE(textAt(b), QString("b2 дальше "));
        QVERIFY(!model.index(1, ReminderModel::ColKind).data(Qt::DecorationRole).isNull());

        QStringList captions;
        for (int c = 0; c < model.columnCount(); ++c)
            captions << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        QCOMPARE(captions, (QStringList{"Тип", "Дата/Время", "Номер", "Текст"}));
        QVERIFY(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).isNull());
        QVERIFY(model.headerData(-1, Qt::Horizontal, Qt::DisplayRole).isNull());
    }
};

QTEST_MAIN(TestReminderModel)
#include "tst_remindermodel.moc"
