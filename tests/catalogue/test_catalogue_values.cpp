// SPDX-License-Identifier: MIT
// Field values as the queries read them, and the statements the queries send.
#include "catalogue/access_text.h"
#include "catalogue/field_value.h"
#include "catalogue/queries.h"
#include "catalogue/statements.h"
#include "catalogue_fixtures.h"
#include <QtTest>
#include <cstdio>

using namespace catalogue;
using namespace catalogue_test;

class CatalogueValuesTest : public QObject {
    Q_OBJECT

private slots:
    void numbersBecomeTextWithFifteenDigitsAndAPoint_data()
    {
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole real") << 50.0 << "50";
        QTest::newRow("half") << 12.5 << "12.5";
        QTest::newRow("quarter") << 99.75 << "99.75";
        QTest::newRow("below one") << 0.5 << "0.5";
        QTest::newRow("binary noise rounded") << 0.1 + 0.2 << "0.3";
        QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("beyond fifteen") << 1e15 << "1E+15";
        QTest::newRow("small") << 0.00001 << "1E-05";
        QTest::newRow("negative") << -2.5 << "-2.5";
        QTest::newRow("negative zero") << -0.0 << "0";
    }

    void numbersBecomeTextWithFifteenDigitsAndAPoint()
    {
        QFETCH(double, number);
        QFETCH(QString, text);
        QCOMPARE(FieldValue(number).toText(), text);
        const GermanNumbers german;
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
        if (german.cLibraryGerman())
            QCOMPARE(QByteArray(buffer), QByteArray("1,5"));  // the locale did take effect
        QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
        QCOMPARE(FieldValue(number).toText(), text);
    }

    void otherKindsBecomeText()
    {
        QCOMPARE(FieldValue(QStringLiteral(" PAD ")).toText(), QStringLiteral(" PAD "));
        QCOMPARE(FieldValue(qint64(-1)).toText(), QStringLiteral("-1"));
        QCOMPARE(FieldValue(qint64(1234567)).toText(), QStringLiteral("1234567"));
        QCOMPARE(FieldValue().toText(), QString());
        QVERIFY(FieldValue().isNull());
    }

    void numbersReadFromValues()
    {
        QCOMPARE(FieldValue(QStringLiteral("12.5")).toNumber(), std::optional<double>(12.5));
        QCOMPARE(FieldValue(QStringLiteral(" 7 ")).toNumber(), std::optional<double>(7));
        QCOMPARE(FieldValue(qint64(-3)).toNumber(), std::optional<double>(-3));
        QCOMPARE(FieldValue(0.25).toNumber(), std::optional<double>(0.25));
        QCOMPARE(FieldValue(QStringLiteral("12,5")).toNumber(), std::nullopt);
        QCOMPARE(FieldValue(QStringLiteral("1e3")).toNumber(), std::nullopt);
        QCOMPARE(FieldValue(QStringLiteral("")).toNumber(), std::nullopt);
        QCOMPARE(FieldValue().toNumber(), std::nullopt);
    }

    void comparisonWithOne()
    {
        QVERIFY(FieldValue(QStringLiteral("1")).equalsOne());
        QVERIFY(FieldValue(qint64(1)).equalsOne());
        QVERIFY(FieldValue(1.0).equalsOne());
        QVERIFY(!FieldValue(QStringLiteral(" 1")).equalsOne());
        QVERIFY(!FieldValue(QStringLiteral("01")).equalsOne());
        QVERIFY(!FieldValue(QStringLiteral("2")).equalsOne());
        QVERIFY(!FieldValue(qint64(2)).equalsOne());
        QVERIFY(!FieldValue(qint64(-1)).equalsOne());
        QVERIFY(!FieldValue(1.5).equalsOne());
        QVERIFY(!FieldValue().equalsOne());
    }

    void truthValues()
    {
        QCOMPARE(FieldValue(qint64(-1)).toBool(), std::optional<bool>(true));
        QCOMPARE(FieldValue(qint64(0)).toBool(), std::optional<bool>(false));
        QCOMPARE(FieldValue(0.5).toBool(), std::optional<bool>(true));
        QCOMPARE(FieldValue(QStringLiteral("True")).toBool(), std::optional<bool>(true));
        QCOMPARE(FieldValue(QStringLiteral("false")).toBool(), std::optional<bool>(false));
        QCOMPARE(FieldValue(QStringLiteral("YES")).toBool(), std::optional<bool>(true));
        QCOMPARE(FieldValue(QStringLiteral("No")).toBool(), std::optional<bool>(false));
        QCOMPARE(FieldValue(QStringLiteral("-1")).toBool(), std::optional<bool>(true));
        QCOMPARE(FieldValue(QStringLiteral("0")).toBool(), std::optional<bool>(false));
        QCOMPARE(FieldValue(QStringLiteral("maybe")).toBool(), std::nullopt);
        QCOMPARE(FieldValue().toBool(), std::nullopt);
    }

    // Stored bytes and the UTF-8 that libmdb's iconv conversion gives for them.
    void storedTextBecomesUtf8_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("utf8");
        QTest::newRow("two-byte units") << QByteArray("A\0B\0", 4) << QByteArray("AB");
        QTest::newRow("CJK and Latin-1") << QByteArray("\x2d\x4e\xe9\x00", 4)
                                         << QByteArray("\xe4\xb8\xad\xc3\xa9");
        QTest::newRow("compressed") << QByteArray("\xff\xfe" "AB\xe9", 5)
                                    << QByteArray("AB\xc3\xa9");
        QTest::newRow("compressed, then units, then compressed")
            << QByteArray("\xff\xfe" "A\0\x2d\x4e\0B", 8) << QByteArray("A\xe4\xb8\xad" "B");
        QTest::newRow("compressed, a unit cut short") << QByteArray("\xff\xfe" "A\0\x2d", 5)
                                                      << QByteArray("A");
        QTest::newRow("marker only") << QByteArray("\xff\xfe", 2) << QByteArray();
        QTest::newRow("surrogate pair") << QByteArray("A\0\x3d\xd8\x00\xde", 6)
                                        << QByteArray("A??");
        QTest::newRow("odd last byte") << QByteArray("A\0B", 3) << QByteArray("A");
        QTest::newRow("zero unit") << QByteArray("A\0\0\0B\0", 6) << QByteArray("A\0B", 3);
        QTest::newRow("highest unit") << QByteArray("\xff\xff", 2) << QByteArray("\xef\xbf\xbf");
    }

    void storedTextBecomesUtf8()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, utf8);
        QByteArray out(qsizetype(Utf8RoomFor(size_t(stored.size()))), 'x');
        const size_t length = AccessTextToUtf8(
            reinterpret_cast<const unsigned char*>(stored.constData()), size_t(stored.size()),
            out.data());
        QCOMPARE(out.left(qsizetype(length)), utf8);
        QCOMPARE(out.at(qsizetype(length)), '\0');
    }

    void plainDecimals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("plain");
        QTest::newRow("whole") << "50" << true;
        QTest::newRow("fraction") << "12.5" << true;
        QTest::newRow("plus") << "+5" << true;
        QTest::newRow("minus") << "-0.75" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("trailing point") << "5." << false;
        QTest::newRow("leading point") << ".5" << false;
        QTest::newRow("exponent") << "1e3" << false;
        QTest::newRow("blank before") << " 5" << false;
        QTest::newRow("blank after") << "5 " << false;
        QTest::newRow("comma") << "1,5" << false;
        QTest::newRow("sign only") << "-" << false;
        QTest::newRow("two signs") << "--5" << false;
        QTest::newRow("two points") << "1.2.3" << false;
        QTest::newRow("other digits") << QStringLiteral("٣") << false;
        QTest::newRow("statement") << "5 or 1=1" << false;
    }

    void plainDecimals()
    {
        QFETCH(QString, text);
        QFETCH(bool, plain);
        QCOMPARE(IsPlainDecimal(text), plain);
    }

    void statementsAreWrittenByteForByte()
    {
        QCOMPARE(SeriesListStatement(), QStringLiteral("SELECT DISTINCT STYLE FROM Fluid_Main"));
        QCOMPARE(TypeListStatement("TA"),
                 QStringLiteral("SELECT DISTINCT STYLEDetail FROM Fluid_Main where Style='TA'"));
        QCOMPARE(BoreListStatement("TA", "TAA"),
                 QStringLiteral("SELECT DISTINCT DiaSpec FROM Fluid_Detail where Style='TA' AND "
                                "StyleDetail='TAA'"));
        QCOMPARE(SecondStrokeStatement("TA", "TAA"),
                 QStringLiteral("SELECT DISTINCT MultiProcess FROM Fluid_Main where Style='TA' "
                                "AND StyleDetail='TAA'"));
        QCOMPARE(StrokeEntryStatement("TA", "TAA"),
                 QStringLiteral("SELECT OwnerProcess FROM Fluid_Main where Style='TA' AND "
                                "StyleDetail='TAA'"));
        QCOMPARE(DrawingFileStatement("TA", "TAA", "20", "50"),
                 QStringLiteral("SELECT FileName FROM Fluid_Detail where Style='TA' AND "
                                "StyleDetail='TAA' AND DiaSpec='20' and  MinValue<=50 and "
                                "MaxValue >=50 Order By SortID"));
        QCOMPARE(RangeTextStatement("TA", "TAA", "20"),
                 QStringLiteral("SELECT SortID, MinValue, MaxValue,ProcessID FROM Fluid_Detail "
                                "where Style='TA' AND StyleDetail='TAA' AND DiaSpec='20' "
                                "Order By SortID"));
        // values are not trimmed
        QCOMPARE(TypeListStatement(" PAD "),
                 QStringLiteral("SELECT DISTINCT STYLEDetail FROM Fluid_Main where Style=' PAD '"));
    }

    void apostrophesInValuesAreDoubled()
    {
        QCOMPARE(QuoteSqlValue("O'K"), QStringLiteral("O''K"));
        QCOMPARE(QuoteSqlValue("''"), QStringLiteral("''''"));
        QCOMPARE(QuoteSqlValue("中文"), QStringLiteral("中文"));
        QCOMPARE(TypeListStatement("O'K"),
                 QStringLiteral("SELECT DISTINCT STYLEDetail FROM Fluid_Main where Style='O''K'"));
        QCOMPARE(DrawingFileStatement("x' OR '1'='1", "T'", "3'2", "5"),
                 QStringLiteral("SELECT FileName FROM Fluid_Detail where Style='x'' OR ''1''=''1' "
                                "AND StyleDetail='T''' AND DiaSpec='3''2' and  MinValue<=5 and "
                                "MaxValue >=5 Order By SortID"));
        QCOMPARE(RangeTextStatement("a'b", "c", "d"),
                 QStringLiteral("SELECT SortID, MinValue, MaxValue,ProcessID FROM Fluid_Detail "
                                "where Style='a''b' AND StyleDetail='c' AND DiaSpec='d' "
                                "Order By SortID"));
    }
};

QTEST_GUILESS_MAIN(CatalogueValuesTest)
#include "test_catalogue_values.moc"
