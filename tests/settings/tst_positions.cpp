#include "platform/Registry.h"
#include "platform/UserMessages.h"
#include "settings/Positions.h"
#include "settings/WindowPlacement.h"

#include "TestSupport.h"

#include <QHeaderView>
#include <QTreeWidget>

using namespace zrk;

namespace {

QStringList valuesOf(const QString& key) {
    RegKey reg;
    return reg.openKeyReadOnly(QStringLiteral("Software\\Zrk Pro\\") + key) ? reg.valueNames()
                                                                          : QStringList();
}

}  // namespace

class TestPositions : public QObject {
    Q_OBJECT
private slots:
    void init() { RegistryFile::resetUser(); }

    void minusOneFieldsAreNeitherWrittenNorLoaded() {
        zrktest::Sandbox box;
        RegistryFile::resetUser();
        SavePosition("Position\\Test", {10, 20, 30, 40}, true);
        SavePosition("Position\\Test", {-1, 25, -1, 45}, true);
        TFormPlace p{1, 2, 3, 4};
        LoadPosition("Position\\Test", p);
        QCOMPARE(p.Left, 10);  // kept from the first save
        QCOMPARE(p.Top, 25);
        QCOMPARE(p.Height, 30);
        QCOMPARE(p.Width, 45);

        SavePosition("Position\\Fixed", {5, 6, 7, 8}, false);
        QCOMPARE(valuesOf("Position\\Fixed"), (QStringList{"Left", "Top"}));
        TFormPlace q{1, 2, 3, 4};
        LoadPosition("Position\\Missing", q);
        QCOMPARE(q.Left, 1);
        QCOMPARE(q.Width, 4);
    }

    void wrongTypeIsRaised() {
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.registryPath(),
                                  "Windows Registry Editor Version 5.00\n"
                                  "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Position\\Main]\n"
                                  "\"Left\"=\"12\"\n"));
        RegistryFile::resetUser();
        TFormPlace p;
        QVERIFY_THROWS_EXCEPTION(ERegistryException, LoadPosition("Position\\Main", p));
    }

    // A window with nobody to hand the error to shows it and opens where it was designed.
    void reportingVariantShowsTheErrorAndGoesOn() {
        struct Recorder : UserMessages {
            QStringList texts;
            void error(const QString&, const QString& text) override { texts.append(text); }
        } recorder;
        UserMessages* old = setUserMessages(&recorder);
        zrktest::Sandbox box;
        QVERIFY(zrktest::writeAll(box.registryPath(),
                                  "Windows Registry Editor Version 5.00\n"
                                  "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Position\\Main]\n"
                                  "\"Left\"=\"12\"\n"));
        RegistryFile::resetUser();
        QWidget w;
        w.setGeometry(30, 40, 100, 50);
        WindowPlacement("Position\\Main", false).restoreOrReport(&w);
        setUserMessages(old);
        QCOMPARE(recorder.texts, QStringList{"Invalid data type for 'Left'"});
        QCOMPARE(w.pos(), QPoint(30, 40));
    }

    void listWindowKeepsSizeAndShownColumns() {
        zrktest::Sandbox box;
        RegistryFile::resetUser();
        QTreeWidget list;
        list.setColumnCount(3);
        list.setGeometry(100, 120, 300, 200);
        list.header()->resizeSection(0, 50);
        list.header()->resizeSection(1, 60);
        list.header()->resizeSection(2, 70);
        list.header()->setSectionHidden(1, true);
        WindowPlacement place("Position\\List", true);
        // Columns 0 and 2 are kept under the indexes 0 and 7 (their field numbers).
        place.setColumns(list.header(), {0, 5, 7});
        place.save(&list);
        QCOMPARE(valuesOf("Position\\List"), (QStringList{"Left", "Top", "Height", "Width"}));
        QCOMPARE(valuesOf("Position\\List\\Section7"), QStringList{"Width"});
        QVERIFY(valuesOf("Position\\List\\Section5").isEmpty());  // hidden column untouched

        QTreeWidget other;
        other.setColumnCount(3);
        other.setGeometry(0, 0, 10, 10);
        WindowPlacement again("Position\\List", true);
        again.setColumns(other.header(), {0, 5, 7});
        again.restore(&other);
        QCOMPARE(other.pos(), QPoint(100, 120));
        QCOMPARE(other.size(), QSize(300, 200));
        QCOMPARE(other.header()->sectionSize(0), 50);
        QCOMPARE(other.header()->sectionSize(2), 70);
    }

    void maximisedListKeepsPlacementButSavesColumns() {
        zrktest::Sandbox box;
        RegistryFile::resetUser();
        SavePosition("Position\\List", {1, 2, 3, 4}, true);
        QTreeWidget list;
        list.setColumnCount(1);
        list.header()->setStretchLastSection(false);
        list.header()->resizeSection(0, 90);
        list.showMaximized();
        WindowPlacement place("Position\\List", true);
        place.setColumns(list.header());
        place.save(&list);
        TFormPlace p;
        LoadPosition("Position\\List", p);
        QCOMPARE(p.Left, 1);
        QCOMPARE(p.Width, 4);
        TFormPlace c;
        LoadPosition("Position\\List\\Section0", c);
        QCOMPARE(c.Width, 90);
    }

    void fixedWindowIgnoresStoredSizeAndOffScreenPositionIsApplied() {
        zrktest::Sandbox box;
        RegistryFile::resetUser();
        SavePosition("Position\\Fixed", {5000, 40, 999, 999}, true);
        QWidget w;
        w.setGeometry(10, 10, 120, 80);
        WindowPlacement("Position\\Fixed", false).restore(&w);
        QCOMPARE(w.pos(), QPoint(5000, 40));
        QCOMPARE(w.size(), QSize(120, 80));
    }
};

QTEST_MAIN(TestPositions)
#include "tst_positions.moc"
