// SPDX-License-Identifier: MIT
// The ranges of each bore and their file names, checked on rows built here.
#include "check/drawing_lookup.h"
#include "check/range_checks.h"
#include "check_fixtures.h"

using namespace check;
using namespace check_test;

Q_DECLARE_METATYPE(check::DetailRow)

namespace {

Findings RangesOf(const CatalogueRows& rows)
{
    return CheckRanges(rows, IndexCatalogue(rows));
}

QStringList DrawingNames(const CatalogueRows& rows, size_t bore = 0)
{
    const CatalogueIndex index = IndexCatalogue(rows);
    QStringList names;
    for (const SelectableDrawing& drawing : SelectableDrawings(rows, index, index.bores.at(bore)))
        names.append(drawing.name + (drawing.fallback ? QStringLiteral(" (fallback)") : QString()));
    names.sort();
    return names;
}

} // namespace

class RangesTest : public QObject {
    Q_OBJECT

private slots:
    void wellFormedRangesGiveNothing()
    {
        const CatalogueRows rows = Rows({Main("TA", "TAA", Text("2"))},
                                        {Detail("TA", "TAA", "32", 1, Real(5), Real(100), Text("1"), Text("S.dwg")),
                                         Detail("TA", "TAA", "32", 2, Real(101), Real(600), Text("1"), Text("L.dwg")),
                                         Detail("TA", "TAA", "32", 0, Real(1), Real(20), Text("2"))});
        QVERIFY(RangesOf(rows).empty());
        QVERIFY(CheckFileNames(rows, IndexCatalogue(rows)).empty());
    }

    void boundsTheStrokeCheckCannotRead_data()
    {
        QTest::addColumn<DetailRow>("row");
        QTest::addColumn<QString>("check");
        QTest::newRow("null lower bound") << Detail("E", "T", "32", 7, Null(), Real(500)) << "range-null-bound";
        QTest::newRow("null upper bound") << Detail("E", "T", "32", 7, Real(100), Null()) << "range-null-bound";
        QTest::newRow("text bound") << Detail("E", "T", "32", 7, Text("ten"), Real(50)) << "range-not-a-number";
        QTest::newRow("negative bound") << Detail("E", "T", "32", 7, Real(-5), Real(50)) << "range-negative";
        QTest::newRow("minimum above maximum") << Detail("E", "T", "32", 7, Real(80), Real(40)) << "range-min-above-max";
    }

    void boundsTheStrokeCheckCannotRead()
    {
        QFETCH(DetailRow, row);
        QFETCH(QString, check);
        const Findings findings = RangesOf(Rows({Main("E", "T")}, {row}));
        QCOMPARE(Checks(findings), QStringList{check});
        QCOMPARE(findings[0].severity, Severity::Error);
        QCOMPARE(findings[0].table, QStringLiteral("Fluid_Detail"));
        QCOMPARE(Where(findings[0]), QStringLiteral("E/T/32/7"));
    }

    void nullBoundShowsTheRangeText()
    {
        const Findings findings = RangesOf(Rows({Main("E", "T")}, {Detail("E", "T", "32", 1, Null(), Real(500))}));
        QVERIFY2(findings.at(0).message.contains(QStringLiteral("\"-500\"")), qPrintable(findings.at(0).message));
    }

    void overlapsNameTheRowThatWinsTheLookup()
    {
        const CatalogueRows rows =
            Rows({Main("E", "OVL")},
                 {Detail("E", "OVL", "32", 2, Real(50), Real(150), Text("1"), Text("B.dwg")),
                  Detail("E", "OVL", "32", 1, Real(10), Real(100), Text("1"), Text("A.dwg")),
                  Detail("E", "OVL", "40", 1, Real(10), Real(100), Text("1"), Text("A.dwg")),
                  Detail("E", "OVL", "40", 2, Real(50), Real(150), Text("1"), Text("   ")),
                  Detail("E", "OVL", "50", 1, Real(10), Real(100), Text("1"), Text("C.dwg")),
                  Detail("E", "OVL", "50", 2, Real(100), Real(120), Text("1"), Text("C.dwg"))});
        const auto overlaps = Only(RangesOf(rows), "range-overlap");
        QCOMPARE(Wheres(overlaps), (QStringList{QStringLiteral("E/OVL/32/2"), QStringLiteral("E/OVL/40/2"),
                                                QStringLiteral("E/OVL/50/2")}));
        QVERIFY2(overlaps[0].message.contains(QStringLiteral("strokes 50-100")), qPrintable(overlaps[0].message));
        QVERIFY2(overlaps[0].message.contains(QStringLiteral("stages B.dwg")), qPrintable(overlaps[0].message));
        QCOMPARE(overlaps[0].severity, Severity::Warning);
        // Even a blank FileName wins: the drawing falls back to Type + bore.
        QVERIFY2(overlaps[1].message.contains(QStringLiteral("stages OVL40.dwg")), qPrintable(overlaps[1].message));
        // Touching ranges with the same drawing stage nothing wrong.
        QCOMPARE(overlaps[2].severity, Severity::Note);
        QVERIFY2(overlaps[2].message.contains(QStringLiteral("strokes 100:")), qPrintable(overlaps[2].message));
    }

    void secondStrokeRangesTakeTheFirstStrokesLookup()
    {
        // The lookup matches the first stroke against every row of the bore.
        const CatalogueRows rows =
            Rows({Main("U", "UMO_D", Text("2"))},
                 {Detail("U", "UMO_D", "32", 1, Real(10), Real(100), Text("1"), Text("D32.dwg")),
                  Detail("U", "UMO_D", "32", 2, Real(1), Real(20), Text("2"), Text("X.dwg")),
                  Detail("U", "UMO_D", "40", 1, Real(1), Real(20), Text("2"), Text("X.dwg")),
                  Detail("U", "UMO_D", "40", 2, Real(10), Real(100), Text("1"), Text("D40.dwg"))});
        const auto overlaps = Only(RangesOf(rows), "range-overlap");
        QCOMPARE(Wheres(overlaps), QStringList{QStringLiteral("U/UMO_D/32/2")});
        QVERIFY2(overlaps[0].message.contains(QStringLiteral("second-stroke range 1-20")), qPrintable(overlaps[0].message));
        QCOMPARE(DrawingNames(rows, 0), (QStringList{QStringLiteral("D32.dwg"), QStringLiteral("X.dwg")}));
        QCOMPARE(DrawingNames(rows, 1), QStringList{QStringLiteral("D40.dwg")});
    }

    void duplicateSortIdsAndGaps()
    {
        const CatalogueRows rows = Rows({Main("D", "DEC")},
                                        {Detail("D", "DEC", "63", 1, Real(10), Real(50)),
                                         Detail("D", "DEC", "63", 2, Real(60), Real(100)),
                                         Detail("D", "DEC", "63", 2, Real(150), Real(150)),
                                         Detail("D", "DEC", "63", 4, Real(101), Real(140))});
        const Findings findings = RangesOf(rows);
        const auto duplicates = Only(findings, "range-duplicate-sortid");
        QCOMPARE(Wheres(duplicates), QStringList{QStringLiteral("D/DEC/63/2")});
        QCOMPARE(duplicates[0].severity, Severity::Warning);
        // 100 to 101 is no gap for whole strokes; single values are no ranges.
        const auto gaps = Only(findings, "range-gap");
        QCOMPARE(Wheres(gaps), QStringList{QStringLiteral("D/DEC/63/")});
        QCOMPARE(gaps[0].severity, Severity::Note);
        QVERIFY2(gaps[0].message.contains(QStringLiteral("between 50 and 60.")), qPrintable(gaps[0].message));
    }

    void strokesOfTheWrongKind()
    {
        const CatalogueRows rows = Rows({Main("E", "P2ONLY", Text("1")), Main("E", "TWO", Text("2"))},
                                        {Detail("E", "P2ONLY", "32", 1, Real(10), Real(100)),
                                         Detail("E", "P2ONLY", "32", 2, Real(5), Real(6), Text("2")),
                                         Detail("E", "P2ONLY", "32", 3, Real(7), Real(8), Null()),
                                         Detail("E", "TWO", "32", 1, Real(10), Real(100)),
                                         Detail("E", "TWO", "40", 1, Real(1), Real(20), Text("2"))});
        const Findings findings = RangesOf(rows);
        QCOMPARE(Wheres(Only(findings, "range-second-unused")),
                 (QStringList{QStringLiteral("E/P2ONLY/32/2"), QStringLiteral("E/P2ONLY/32/3")}));
        QCOMPARE(Wheres(Only(findings, "range-processid-other")), QStringList{QStringLiteral("E/P2ONLY/32/3")});
        QCOMPARE(Wheres(Only(findings, "range-second-missing")), QStringList{QStringLiteral("E/TWO/32/")});
        QCOMPARE(Wheres(Only(findings, "range-first-missing")), QStringList{QStringLiteral("E/TWO/40/")});
    }

    void fixedStrokesThatRefuseZero()
    {
        const CatalogueRows rows = Rows({Main("T", "CBV", Text("1"), Whole(-1))},
                                        {Detail("T", "CBV", "32", 1, Real(5), Real(100), Text("1"), Text("CBV32S.dwg")),
                                         Detail("T", "CBV", "40", 1, Real(0), Real(100), Text("1"), Text("CBV40.dwg"))});
        const auto notes = Only(RangesOf(rows), "range-fixed-zero");
        QCOMPARE(Wheres(notes), QStringList{QStringLiteral("T/CBV/32/")});
        QCOMPARE(notes[0].severity, Severity::Note);
        QVERIFY2(notes[0].message.contains(QStringLiteral("stages CBV32.dwg")), qPrintable(notes[0].message));
        // Fixed strokes stage what "0" finds: the fallback, or the range holding 0.
        QCOMPARE(DrawingNames(rows, 0), QStringList{QStringLiteral("CBV32.dwg (fallback)")});
        QCOMPARE(DrawingNames(rows, 1), QStringList{QStringLiteral("CBV40.dwg")});
    }

    void drawingsTheProgramCanStage()
    {
        // Named ranges, a blank name, strokes outside every range refused by
        // the range text: only what a stroke can reach.
        const CatalogueRows rows = Rows({Main("A", "AXN")},
                                        {Detail("A", "AXN", "12", 1, Real(5), Real(100), Text("1"), Text("AXN12S.dwg")),
                                         Detail("A", "AXN", "12", 2, Real(101), Real(200), Text("1"), Text(" ")),
                                         Detail("A", "AXN", "12", 3, Real(300), Real(300), Text("1"), Text("sub/X.dwg")),
                                         Detail("A", "AXN", "12", 4, Real(20), Real(30), Text("1"), Text("AXN12S.dwg"))});
        QCOMPARE(DrawingNames(rows), (QStringList{QStringLiteral("AXN12.dwg (fallback)"), QStringLiteral("AXN12S.dwg")}));
        // A bore whose range text is empty admits any stroke: beyond every range, the fallback.
        const CatalogueRows open = Rows({Main("A", "AXN")},
                                        {Detail("A", "AXN", "16", 1, Real(5), Real(100), Text("2"), Text("AXN16S.dwg"))});
        QCOMPARE(DrawingNames(open), (QStringList{QStringLiteral("AXN16.dwg (fallback)"), QStringLiteral("AXN16S.dwg")}));
    }

    void rangeTextAsTheBoreChoiceWritesIt()
    {
        const CatalogueRows rows = Rows({Main("D", "DEC")},
                                        {Detail("D", "DEC", "32", 2, Real(0.5), Real(99.75)),
                                         Detail("D", "DEC", "32", 1, Real(12.5), Real(12.5)),
                                         Detail("D", "DEC", "32", 3, Real(1), Real(20), Text("2"))});
        const CatalogueIndex index = IndexCatalogue(rows);
        QCOMPARE(RangeText(rows, index.bores[0], true), QStringLiteral("12.5;0.5-99.75"));
        QCOMPARE(RangeText(rows, index.bores[0], false), QStringLiteral("1-20"));
    }

    void fileNames()
    {
        const CatalogueRows rows = Rows({Main("E", "OVL")},
                                        {Detail("E", "OVL", "32", 1, Real(10), Real(100), Text("1"), Text("..\\A.dwg")),
                                         Detail("E", "OVL", "40", 1, Real(10), Real(100), Text("1"), Text("  padded.dwg  ")),
                                         Detail("E", "OVL", "50", 1, Real(10), Real(100), Text("1"), Text("   ")),
                                         Detail("E", "OVL", "63", 1, Real(10), Real(100), Text("1"), Text("ok.dwg"))});
        const Findings findings = CheckFileNames(rows, IndexCatalogue(rows));
        QCOMPARE(Checks(findings), (QStringList{QStringLiteral("filename-path"), QStringLiteral("filename-padded")}));
        QCOMPARE(Where(findings[0]), QStringLiteral("E/OVL/32/1"));
        QCOMPARE(findings[0].severity, Severity::Error);
        QVERIFY2(findings[0].message.contains(QStringLiteral("stages OVL32.dwg")), qPrintable(findings[0].message));
        QCOMPARE(Where(findings[1]), QStringLiteral("E/OVL/40/1"));
        QCOMPARE(findings[1].severity, Severity::Warning);
    }
};

QTEST_GUILESS_MAIN(RangesTest)
#include "test_check_ranges.moc"
