// District lookup and the table rows, against a settings store written by hand.
#include "platform/Registry.h"
#include "settings/District.h"

#include <QElapsedTimer>

#include "TestSupport.h"

using namespace zrk;

namespace {

// Writes the Raions key as a store file, the way a user (or an earlier version) left it.
void writeRaions(const zrktest::Sandbox& box, const QString& values) {
    QVERIFY(zrktest::writeAll(box.registryPath(),
                              "Windows Registry Editor Version 5.00\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Zrk Pro\\Raions]\n" +
                                  values.toUtf8()));
    RegistryFile::resetUser();
}

QString table(const QStringList& entries) {
    QString v =
        QStringLiteral("\"Count Raions\"=dword:%1\n").arg(entries.size(), 8, 16, QChar('0'));
    for (int i = 0; i < entries.size(); ++i)
        v += QStringLiteral("\"Raion%1\"=\"%2\"\n").arg(i).arg(entries[i]);
    return v;
}

}  // namespace

class TestDistrict : public QObject {
    Q_OBJECT

private slots:
    void init() {
        box_ = std::make_unique<zrktest::Sandbox>();
        RegistryFile::resetUser();
    }
    void cleanup() {
        box_.reset();
        RegistryFile::resetUser();
    }

    void lookup_data();
    void lookup();
    void emptyTable();
    void gapsAndEntriesWithoutBar();
    void wrongTypeIsReported();
    void rowsRoundTripAndOldValuesStay();
    void changeCountsForTheNextCaller();
    void hugeCountDoesNotStall();

private:
    std::unique_ptr<zrktest::Sandbox> box_;
};

void TestDistrict::lookup_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("district");

    QTest::newRow("first match wins, not the longest")
        << QStringList{"2|Центр", "23|Север"} << "234567"
        << "Центр";
    QTest::newRow("later entry matches") << QStringList{"3|Юг", "23|Север"} << "234567"
                                         << "Север";
    QTest::newRow("typed with brackets and a blank") << QStringList{"(34) 5|Запад"} << "345678"
                                                     << "Запад";
    QTest::newRow("dashes ignored") << QStringList{"2-41|Дальний"} << "241000"
                                    << "Дальний";
    QTest::newRow("not a prefix") << QStringList{"2-41|Дальний"} << "224100"
                                  << "";
    QTest::newRow("number shorter than the mask") << QStringList{"234|Х"} << "23"
                                                  << "";
    QTest::newRow("number equal to the mask") << QStringList{"234|Х"} << "234"
                                              << "Х";
    QTest::newRow("catch-all first hides the rest") << QStringList{"|Город", "2|Центр"} << "234567"
                                                    << "Город";
    QTest::newRow("catch-all takes Unknown") << QStringList{"2|Центр", "-|Город"} << "Unknown"
                                             << "Город";
    QTest::newRow("Unknown otherwise unmatched") << QStringList{"2|Центр"} << "Unknown"
                                                 << "";
    QTest::newRow("letters other than PTW ignored") << QStringList{"тел. 5x|Пять"} << "51"
                                                    << "Пять";
    QTest::newRow("case-sensitive p") << QStringList{"12p|Пауза"} << "12p34"
                                      << "Пауза";
    QTest::newRow("P is not p") << QStringList{"12p|Пауза"} << "12P34"
                                << "";
    QTest::newRow("name after the first bar") << QStringList{"7|A|B|"} << "70"
                                              << "A|B|";
    QTest::newRow("empty name is no result") << QStringList{"7|"} << "70"
                                             << "";
}

void TestDistrict::lookup() {
    QFETCH(QStringList, entries);
    QFETCH(QString, number);
    QFETCH(QString, district);
    writeRaions(*box_, table(entries));
    QCOMPARE(FindRaion(number), district);
}

void TestDistrict::emptyTable() {
    QCOMPARE(FindRaion("123"), QString());  // no key at all
    QVERIFY(LoadRaions().isEmpty());
    writeRaions(*box_, "\"Raion0\"=\"|Всё\"\n");  // no count: no entries
    QCOMPARE(FindRaion("123"), QString());
    QVERIFY(LoadRaions().isEmpty());
}

void TestDistrict::gapsAndEntriesWithoutBar() {
    // Raion1 is missing; Raion2 was edited by hand and has no bar; Raion4 is past the count.
    writeRaions(*box_,
                "\"Count Raions\"=dword:00000004\n"
                "\"Raion0\"=\"9|Девять\"\n"
                "\"Raion2\"=\"12\"\n"
                "\"Raion3\"=\"1|Один\"\n"
                "\"Raion4\"=\"|Лишний\"\n");
    QCOMPARE(FindRaion("123"), QStringLiteral("Один"));
    QCOMPARE(FindRaion("55"), QString());
    const QList<RaionEntry> rows = LoadRaions();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], (RaionEntry{"9", "Девять", true}));
    QCOMPARE(rows[1].number, QStringLiteral("12"));
    QCOMPARE(rows[1].raion, QString());
    QCOMPARE(rows[2], (RaionEntry{"1", "Один", true}));
    // Written back, the hand-made entry is exactly what it was.
    SaveRaions(rows);
    RegistryFile::resetUser();
    RegKey key;
    QVERIFY(key.openKeyReadOnly(kRaionsKey));
    QCOMPARE(key.readInteger("Count Raions"), 3);
    QCOMPARE(key.readString("Raion1"), QStringLiteral("12"));
    QCOMPARE(key.readString("Raion2"), QStringLiteral("1|Один"));
}

void TestDistrict::wrongTypeIsReported() {
    writeRaions(*box_,
                "\"Count Raions\"=dword:00000002\n"
                "\"Raion0\"=dword:00000005\n"
                "\"Raion1\"=\"|Всё\"\n");
    QVERIFY_THROWS_EXCEPTION(ERegistryException, FindRaion("1"));
    try {
        LoadRaions();
        QFAIL("no error raised");
    } catch (const ERegistryException& e) {
        QCOMPARE(e.message(), QStringLiteral("Invalid data type for 'Raion0'"));
    }
}

void TestDistrict::rowsRoundTripAndOldValuesStay() {
    QList<RaionEntry> rows;
    for (int i = 0; i < 5; ++i)
        rows << RaionEntry{QStringLiteral("(%1)").arg(i), QStringLiteral("Р%1").arg(i)};
    rows << RaionEntry{"", ""};  // both fields may be empty
    SaveRaions(rows);
    RegistryFile::resetUser();
    QCOMPARE(LoadRaions(), rows);

    // Three rows deleted: the count shrinks, the rows move up, the old tail stays unread.
    rows.remove(1, 3);
    SaveRaions(rows);
    RegistryFile::resetUser();
    QCOMPARE(LoadRaions(), rows);
    RegKey key;
    QVERIFY(key.openKeyReadOnly(kRaionsKey));
    QCOMPARE(key.readInteger("Count Raions"), 3);
    QCOMPARE(key.readString("Raion1"), QStringLiteral("(4)|Р4"));
    QCOMPARE(key.readString("Raion3"), QStringLiteral("(3)|Р3"));
    QCOMPARE(key.readString("Raion5"), QStringLiteral("|"));
}

void TestDistrict::changeCountsForTheNextCaller() {
    SaveRaions({RaionEntry{"1", "Старый"}});
    QCOMPARE(FindRaion("12"), QStringLiteral("Старый"));
    SaveRaions({RaionEntry{"12", "Новый"}, RaionEntry{"1", "Старый"}});
    QCOMPARE(FindRaion("12"), QStringLiteral("Новый"));
}

void TestDistrict::hugeCountDoesNotStall() {
    // A damaged count must not make every caller wait for two billion missing values.
    writeRaions(*box_,
                "\"Count Raions\"=dword:7fffffff\n"
                "\"Raion10\"=\"5|Пять\"\n"
                "\"raion2\"=\"4|Четыре\"\n"
                "\"Raion02\"=\"|Не индекс\"\n"
                "\"Raion2000000000\"=\"|Далёкий\"\n");
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(FindRaion("41"), QStringLiteral("Четыре"));
    QCOMPARE(FindRaion("51"), QStringLiteral("Пять"));
    QCOMPARE(FindRaion("61"), QStringLiteral("Далёкий"));
    const QList<RaionEntry> rows = LoadRaions();
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].raion, QStringLiteral("Четыре"));
    QCOMPARE(rows[1].raion, QStringLiteral("Пять"));
    QCOMPARE(rows[2].raion, QStringLiteral("Далёкий"));
    QVERIFY(clock.elapsed() < 2000);
}

QTEST_GUILESS_MAIN(TestDistrict)
#include "tst_district.moc"
