#include "core/platform/Registry.h"
#include "core/settings/District.h"

#include <QElapsedTimer>

#include "TestSupport.h"

using namespace zrk;

namespace {

// Writes the table as a store file, the way a user (or an earlier version) left it.
void writeRaions(const QByteArray& values) {
    QVERIFY(zrktest::writeAll(RegistryFile::userPath(),
                              "Windows Registry Editor Version 5.00\n"
                              "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n" +
                                  values));
    RegistryFile::resetUser();
}

}  // namespace

class TestDistrict : public QObject {
    Q_OBJECT
private slots:
    void init() { RegistryFile::resetUser(); }

    void lookup() {
        zrktest::Sandbox box;
        QCOMPARE(FindRaion("123"), QString());  // no key at all
        writeRaions("\"Raion0\"=\"|Всё\"\n");   // no count: no entries
        QCOMPARE(FindRaion("123"), QString());
        QVERIFY(LoadRaions().isEmpty());
        const QList<std::tuple<QStringList, QString, QString>> cases = {
            {{"2|Центр", "23|Север"}, "234567", "Центр"},  // the first match, not the longest
            {{"3|Юг", "23|Север"}, "234567", "Север"},
            {{"(34) 5|Запад"}, "345678", "Запад"},  // typed with brackets and a blank
            {{"2-41|Дальний"}, "241000", "Дальний"},
            {{"2-41|Дальний"}, "224100", ""},
            {{"234|Х"}, "23", ""},
            {{"234|Х"}, "234", "Х"},
            {{"|Город", "2|Центр"}, "234567", "Город"},  // a catch-all first hides the rest
            {{"2|Центр", "-|Город"}, "Unknown", "Город"},
            {{"2|Центр"}, "Unknown", ""},
            {{"тел. 5x|Пять"}, "51", "Пять"},  // letters other than P T W are not dialled
            {{"12p|Пауза"}, "12p34", "Пауза"},
            {{"12p|Пауза"}, "12P34", ""},
            {{"7|A|B|"}, "70", "A|B|"},  // the name is all after the first bar
            {{"7|"}, "70", ""}};
        for (const auto& [entries, number, district] : cases) {
            QList<RaionEntry> rows;
            for (const QString& e : entries) rows << RaionEntry::fromText(e);
            SaveRaions(rows);
            QCOMPARE(FindRaion(number), district);
        }
    }

    void handEditedAndDamagedTables() {
        zrktest::Sandbox box;
        // Raion1 is missing; Raion2 was edited by hand and has no bar; Raion4 is past the count.
        writeRaions(
            "\"Count Raions\"=dword:00000004\n\"Raion0\"=\"9|Девять\"\n\"Raion2\"=\"12\"\n"
            "\"Raion3\"=\"1|Один\"\n\"Raion4\"=\"|Лишний\"\n");
        QCOMPARE(FindRaion("123"), QStringLiteral("Один"));
        QCOMPARE(FindRaion("55"), QString());
        QList<RaionEntry> rows{{"9", "Девять"}, {"12", "", false}, {"1", "Один"}};
        QCOMPARE(LoadRaions(), rows);
        // Written back without the gap, the hand-made entry exactly as it was; a row may be empty.
        rows << RaionEntry{"", ""};
        SaveRaions(rows);
        RegistryFile::resetUser();
        QCOMPARE(LoadRaions(), rows);

        writeRaions("\"Count Raions\"=dword:00000001\n\"Raion0\"=dword:00000005\n");
        QVERIFY_THROWS_EXCEPTION(ERegistryException, FindRaion("1"));
        QVERIFY_THROWS_EXCEPTION(ERegistryException, LoadRaions());

        // A damaged count must not make every caller wait for two billion missing values.
        writeRaions(
            "\"Count Raions\"=dword:7fffffff\n\"Raion10\"=\"5|Пять\"\n\"raion2\"=\"4|Четыре\"\n"
            "\"Raion02\"=\"|Не индекс\"\n\"Raion2000000000\"=\"|Далёкий\"\n");
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(FindRaion("41"), QStringLiteral("Четыре"));
        QCOMPARE(FindRaion("61"), QStringLiteral("Далёкий"));
        QStringList names;
        for (const RaionEntry& row : LoadRaions()) names << row.raion;
        QCOMPARE(names, (QStringList{"Четыре", "Пять", "Далёкий"}));
        QVERIFY(clock.elapsed() < 2000);
    }
};

QTEST_GUILESS_MAIN(TestDistrict)
#include "tst_district.moc"
