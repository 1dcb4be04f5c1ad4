// SPDX-License-Identifier: MIT
// The range texts that a Bore choice writes into the two range boxes.
#include "catalogue_fixtures.h"
#include <QtTest>

using namespace catalogue;
using namespace catalogue_test;

namespace {

struct RangeTexts {
    QString first;
    QString second;
    base::Status status;
};

RangeTexts Build(Connection* connection, const QString& series, const QString& type,
                 const QString& bore)
{
    RecordingBox txtInfo, txtInfo1;
    txtInfo.value = QStringLiteral("stale");
    txtInfo1.value = QStringLiteral("stale");
    const base::Status status =
        BuildRangeText(connection, series, type, bore, true, txtInfo, txtInfo1);
    return {txtInfo.value, txtInfo1.value, status};
}

} // namespace

class RangeTextTest : public QObject {
    Q_OBJECT

private slots:
    void edgeRanges_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("bore");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        for (const QString& file : {QStringLiteral("edge-text.mdb"), QStringLiteral("edge-numeric.mdb")}) {
            const auto row = [&](const char* name) -> QTestData& {
                return QTest::newRow(qPrintable(file + ": " + name)) << file;
            };
            row("overlapping ranges in SortID order") << "EDG" << "OVL" << "32" << "10-100\r\n50-150" << "";
            row("blank file name is no matter") << "EDG" << "OVL" << "40" << "10-100\r\n50-150" << "";
            row("two strokes") << "EDG" << "TWO" << "32" << "10-100" << "1-20";
            row("null lower bound") << "EDG" << "NUL" << "32" << "-500" << "";
            row("null upper bound and ProcessID") << "EDG" << "NUL" << "40" << "" << "100-";
            row("decimals") << "EDG" << "DEC" << "32" << "12.5;0.5-99.75" << "";
            row("single value alone") << "EDG" << "DEC" << "40" << "80" << "";
            row("single value after a range") << "EDG" << "DEC" << "50" << "50-300\r\n25" << "";
            row("ranges then values") << "EDG" << "DEC" << "63" << "10-50\r\n60-100\r\n150;200" << "";
            row("second-stroke rows of a one-stroke type") << "EDG" << "P2ONLY" << "32" << "10-100" << "5-6";
            row("lower-case series stored") << "EDG" << "LOW" << "32" << "10-100" << "";
            row("lower-case type asked") << "edg" << "low" << "32" << "10-100" << "";
            row("apostrophe") << "O'K" << "APO" << "32" << "10-100" << "";
            row("Chinese codes") << "中文" << "缸徑" << "三十二" << "10-100" << "";
            row("blanks in codes") << " PAD " << " SP " << " 32 " << "10-100" << "";
            row("type without ranges") << "EDG" << "ORPHAN" << "32" << "" << "";
            row("bore without ranges") << "EDG" << "OVL" << "99" << "" << "";
        }
    }

    void edgeRanges()
    {
        QFETCH(QString, file);
        QFETCH(QString, series);
        QFETCH(QString, type);
        QFETCH(QString, bore);
        QFETCH(QString, first);
        QFETCH(QString, second);
        auto edge = OpenDataFile(file);
        const RangeTexts texts = Build(edge.get(), series, type, bore);
        QVERIFY(texts.status.ok());
        QCOMPARE(texts.first, first);
        QCOMPARE(texts.second, second);
    }

    void sampleCatalogueRanges()
    {
        auto talvex = OpenDataFile(QStringLiteral("TALVEX.mdb"));
        Connection* c = talvex.get();
        QCOMPARE(Build(c, "QR", "QRU", "12").first, QStringLiteral("25;50;75;100"));
        QCOMPARE(Build(c, "QR", "VCU", "12").first, QStringLiteral("10;20-200\r\n250"));
        QCOMPARE(Build(c, "TA", "TAA", "20").first, QStringLiteral("5-100\r\n101-600"));
        QCOMPARE(Build(c, "HMN", "SLG", "F01").first, QStringLiteral("1"));
        const RangeTexts twoStrokes = Build(c, "UMO", "UMO_D", "20");
        QCOMPARE(twoStrokes.first, QStringLiteral("10-300"));
        QCOMPARE(twoStrokes.second, QStringLiteral("5-150"));
    }

    void theBoxesAccumulateTheText()
    {
        auto edge = OpenDataFile(QStringLiteral("edge-text.mdb"));
        RecordingBox txtInfo, txtInfo1;
        QVERIFY(BuildRangeText(edge.get(), "EDG", "DEC", "63", true, txtInfo, txtInfo1).ok());
        QCOMPARE(txtInfo.history, QStringList({"", "10-50\r\n", "10-50\r\n60-100\r\n",
                                               "10-50\r\n60-100\r\n150;",
                                               "10-50\r\n60-100\r\n150;200;",
                                               "10-50\r\n60-100\r\n150;200"}));
        QCOMPARE(txtInfo1.history, QStringList{""});

        // a second build for the same selection starts afresh
        QVERIFY(BuildRangeText(edge.get(), "EDG", "DEC", "63", true, txtInfo, txtInfo1).ok());
        QCOMPARE(txtInfo.value, QStringLiteral("10-50\r\n60-100\r\n150;200"));
    }

    void aHiddenBoreStepOnlyEmptiesTheBoxes()
    {
        Connection closed;  // nothing may run: a closed connection would fail
        RecordingBox txtInfo, txtInfo1;
        txtInfo.value = QStringLiteral("5-100");
        txtInfo1.value = QStringLiteral("5-150");
        const base::Status status =
            BuildRangeText(&closed, "UMO", "UMO_D", "20", false, txtInfo, txtInfo1);
        QVERIFY(status.ok());
        QCOMPARE(txtInfo.value, QString());
        QCOMPARE(txtInfo1.value, QString());
    }

    void aFailedStatementLeavesBothBoxesEmpty()
    {
        auto noDetail = OpenDataFile(QStringLiteral("no-detail-table.mdb"));
        const RangeTexts texts = Build(noDetail.get(), "AX", "AXN", "12");
        QVERIFY(!texts.status.ok());
        QCOMPARE(texts.status.error(), QStringLiteral("no such table: Fluid_Detail"));
        QCOMPARE(texts.first, QString());
        QCOMPARE(texts.second, QString());
    }

    void numbersKeepThePointInAGermanLocale()
    {
        const GermanNumbers german;
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        // loaded and written under the German locale alike
        auto edge = OpenDataFile(QStringLiteral("edge-numeric.mdb"));
        QCOMPARE(Build(edge.get(), "EDG", "DEC", "32").first, QStringLiteral("12.5;0.5-99.75"));
        QCOMPARE(LookupDrawingFile(edge.get(), "EDG", "DEC", "32", "99.75").value(),
                 QStringLiteral("DEC32.dwg"));
    }

    void largeCatalogueRanges()
    {
        auto large = OpenDataFile(QStringLiteral("large-100k.mdb"));
        const RangeTexts texts = Build(large.get(), "S025", "S025T10", "50");
        QVERIFY(texts.status.ok());
        QVERIFY(texts.first.startsWith(QStringLiteral("1-100\r\n101-200\r\n201-300\r\n301-400")));
        QVERIFY(texts.second.startsWith(QStringLiteral("401-500")));
    }
};

QTEST_GUILESS_MAIN(RangeTextTest)
#include "test_range_text.moc"
