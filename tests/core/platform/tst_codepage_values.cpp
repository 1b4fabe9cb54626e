#include "core/platform/Cp1251.h"
#include "core/platform/Values.h"

#include <QtTest>

using namespace zrk;

class TestCodePageValues : public QObject {
    Q_OBJECT
private slots:
    void codePage() {
        QByteArray all;
        for (int b = 0; b < 256; ++b) all.append(char(b));
        const QString text = fromCp1251(all);
        QCOMPARE(toCp1251(text), all);
        QCOMPARE(text.at(0x98), QChar(0x0098));  // the one unassigned byte passes through
        QCOMPARE(toCp1251(QStringLiteral("АЯаяЁё№")), QByteArray("\xC0\xDF\xE0\xFF\xA8\xB8\xB9"));
        QCOMPARE(toCp1251(QStringLiteral("a€ü中")), QByteArray("a\x88??"));
        // A character outside the basic plane is one character, so one '?'.
        QCOMPARE(toCp1251(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));
    }

    void dateTimeValues() {
        const QList<QPair<double, QDateTime>> cases = {
            {0.0, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
            {36202.5, QDateTime(QDate(1999, 2, 11), QTime(12, 0))},
            {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))}};
        for (const auto& [value, when] : cases) {
            QCOMPARE(fromDateTimeValue(value), when);
            QCOMPARE(toDateTimeValue(when), value);
        }
        QVERIFY(!fromDateTimeValue(std::numeric_limits<double>::quiet_NaN()).isValid());
        // A time that rounds up to midnight lands on the following day, before the epoch too
        // (there the day counts down while the fraction still counts forward).
        QCOMPARE(fromDateTimeValue(5.0 - 1e-10), QDateTime(QDate(1900, 1, 4), QTime(0, 0)));
        QCOMPARE(fromDateTimeValue(-1.0 - (1.0 - 1e-10)),
                 QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    }
};

QTEST_GUILESS_MAIN(TestCodePageValues)
#include "tst_codepage_values.moc"
