#include "core/platform/Registry.h"
#include "core/settings/Positions.h"
#include "gui/settings/WindowPlacement.h"

#include "ShownBoxes.h"
#include "TestSupport.h"

#include <QHeaderView>
#include <QTreeWidget>

using namespace zrk;

namespace {

// What the key holds over Left, Top, Height and Width of 1, 2, 3 and 4.
QList<int> stored(const QString& key) {
    TFormPlace p{1, 2, 3, 4};
    LoadPosition(key, p);
    return {p.Left, p.Top, p.Height, p.Width};
}

}  // namespace

class TestPositions : public QObject {
    Q_OBJECT
private slots:
    void init() { RegistryFile::resetUser(); }

    void fixedWindowAndMinusOneFields() {
        zrktest::Sandbox box;
        SavePosition("Position\\Test", {5000, 20, 30, 40}, true);
        SavePosition("Position\\Test", {-1, 25, -1, 45}, true);
        QCOMPARE(stored("Position\\Test"), (QList<int>{5000, 25, 30, 45}));
        QCOMPARE(stored("Position\\Missing"), (QList<int>{1, 2, 3, 4}));

        // A fixed window keeps its designed size and goes where it was, on screen or not.
        QWidget w;
        w.setGeometry(10, 10, 120, 80);
        WindowPlacement("Position\\Test", false).restore(&w);
        QCOMPARE(w.geometry(), QRect(5000, 25, 120, 80));
        WindowPlacement("Position\\Fixed", false).save(&w);
        QCOMPARE(stored("Position\\Fixed"), (QList<int>{5000, 25, 3, 4}));

        // With nobody to hand a bad value's error to, the window shows it and stays put.
        zrktest::ShownBoxes boxes;
        RegKey reg;
        QVERIFY(reg.openKey("Software\\Zrk Pro\\Position\\Test", false));
        reg.writeString("Left", "12");
        w.move(30, 40);
        WindowPlacement("Position\\Test", false).restoreOrReport(&w);
        QCOMPARE(boxes.shown, QStringList{"Ошибка: Invalid data type for 'Left'"});
        QCOMPARE(boxes.icons, QList<QMessageBox::Icon>{QMessageBox::Critical});
        QCOMPARE(w.pos(), QPoint(30, 40));
    }

    void listWindowKeepsSizeAndShownColumns() {
        zrktest::Sandbox box;
        QTreeWidget list, other;
        for (QTreeWidget* t : {&list, &other}) t->setColumnCount(3);
        list.setGeometry(100, 120, 300, 200);
        for (int c = 0; c < 3; ++c) list.header()->resizeSection(c, 50 + 10 * c);
        list.header()->setSectionHidden(1, true);
        // Columns 0 and 2 are kept under the indexes 0 and 7 (their field numbers).
        WindowPlacement place("Position\\List", true);
        place.setColumns(list.header(), {0, 5, 7});
        place.save(&list);
        QCOMPARE(stored("Position\\List\\Section7"), (QList<int>{1, 2, 3, 70}));
        QCOMPARE(stored("Position\\List\\Section5"), (QList<int>{1, 2, 3, 4}));  // hidden
        place.setColumns(other.header(), {0, 5, 7});
        place.restore(&other);
        QCOMPARE(other.geometry(), QRect(100, 120, 300, 200));
        QCOMPARE(other.header()->sectionSize(0), 50);
        QCOMPARE(other.header()->sectionSize(2), 70);
        // Maximised, it keeps the placement it had but still saves its columns.
        other.header()->resizeSection(0, 90);
        other.move(7, 8);
        other.showMaximized();
        place.save(&other);
        QCOMPARE(stored("Position\\List"), (QList<int>{100, 120, 200, 300}));
        QCOMPARE(stored("Position\\List\\Section0"), (QList<int>{1, 2, 3, 90}));
    }
};

QTEST_MAIN(TestPositions)
#include "tst_positions.moc"
