// SPDX-License-Identifier: MIT
// The range map of the HTML report, on a catalogue built here: per Type one
// SVG, read back with an XML parser, with its bars, ticks, overlap marks and
// missing drawings.
#include "check/range_checks.h"
#include "check/range_map.h"
#include "check/range_map_svg.h"
#include "check_fixtures.h"
#include <QXmlStreamReader>

using namespace check;
using namespace check_test;

namespace {

CatalogueRows TestCatalogue()
{
    CatalogueRows rows = Rows(
        {Main("S", "SEQ"), Main("S", "OVL", Text("2")), Main("S", "ONE"), Main("S", "BAD"),
         Main("S", "FIX", Text("1"), Whole(-1)), Main("S", "<&\"'>"), Main("T", "TIE")},
        {Detail("S", "SEQ", "32", 1, Real(1), Real(100), Text("1"), Text("A.dwg")),
         Detail("S", "SEQ", "32", 2, Real(101), Real(200), Text("1"), Text("B.dwg")),
         Detail("S", "SEQ", "40", 1, Real(1), Real(50)),
         Detail("S", "OVL", "20", 1, Real(10), Real(300), Text("1"), Text("X.dwg")),
         Detail("S", "OVL", "20", 2, Real(5), Real(150), Text("2"), Text("Y.dwg")),
         Detail("S", "OVL", "20", 3, Real(250), Real(400), Text("1"), Text("Z.dwg")),
         Detail("S", "ONE", "25", 1, Real(50), Real(50), Text("1"), Text("A.dwg")),
         Detail("S", "ONE", "25", 2, Real(100), Real(100), Text("1"), Text("A.dwg")),
         Detail("S", "ONE", "25", 3, Real(150), Real(150), Text("1"), Text("A.dwg")),
         Detail("S", "ONE", "25", 4, Real(200), Real(300), Text("1"), Text("B.dwg")),
         Detail("S", "BAD", "16", 1, Null(), Real(20)),
         Detail("S", "BAD", "16", 2, Real(30), Real(20)),
         Detail("S", "BAD", "16", 3, Real(10), Real(20), Text("1"), Text("A.dwg")),
         Detail("S", "FIX", "16", 1, Real(0), Real(0), Text("1"), Text("A.dwg")),
         Detail("S", "<&\"'>", "3<2", 1, Real(1), Real(10), Text("1"), Text("a&b.dwg")),
         Detail("T", "TIE", "8", 1, Real(10), Real(50), Text("1"), Text("A.dwg")),
         Detail("T", "TIE", "8", 1, Real(40), Real(60), Text("1"), Text("B.dwg"))});
    return rows;
}

const TypeMap* FindType(const std::vector<SeriesMaps>& maps, const QString& type)
{
    for (const SeriesMaps& series : maps) {
        for (const TypeMap& map : series.types) {
            if (map.type == type)
                return &map;
        }
    }
    return nullptr;
}

struct SvgCounts {
    QString dataType;
    int bars = 0;
    int ticks = 0;
    int overlaps = 0;
    int missing = 0;
    QStringList overlapTitles;
};

SvgCounts ReadSvg(const QString& svg)
{
    SvgCounts counts;
    QXmlStreamReader xml(svg);
    QString pendingTitle;  // the class of the element whose <title> comes next
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringList classes = xml.attributes().value(QLatin1String("class")).toString().split(u' ');
        if (xml.name() == QLatin1String("svg") && counts.dataType.isNull())
            counts.dataType = xml.attributes().value(QLatin1String("data-type")).toString();
        if (classes.contains(QLatin1String("range"))) {
            counts.bars += classes.contains(QLatin1String("bar"));
            counts.ticks += classes.contains(QLatin1String("tick"));
            counts.missing += classes.contains(QLatin1String("missing"));
        }
        if (xml.name() == QLatin1String("rect") && classes.contains(QLatin1String("overlap"))) {
            ++counts.overlaps;
            pendingTitle = QStringLiteral("overlap");
        } else if (xml.name() == QLatin1String("title") && pendingTitle == QLatin1String("overlap")) {
            counts.overlapTitles.append(xml.readElementText());
            pendingTitle.clear();
        }
    }
    if (xml.hasError())
        counts.dataType = QStringLiteral("XML error: ") + xml.errorString();
    return counts;
}

} // namespace

class RangeMapTest : public QObject {
    Q_OBJECT

private slots:
    void oneSvgPerType_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("chart");
        QTest::addColumn<int>("bars");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("overlaps");
        QTest::addColumn<int>("missing");
        QTest::addColumn<QStringList>("winners");  // in the overlap marks' titles, in order
        QTest::newRow("ranges that meet, a fallback drawing") << "SEQ" << true << 3 << 0 << 0 << 0 << QStringList();
        // SortID 2 (second stroke) and 3 both overlap SortID 1; 2 and 3 do
        // not matter to the lookup, SortID 2 being a second-stroke range.
        QTest::newRow("overlaps across both strokes")
            << "OVL" << true << 3 << 0 << 2 << 1
            << QStringList{QStringLiteral("takes SortID 2 and stages Y.dwg"), QStringLiteral("takes SortID 3 and stages Z.dwg")};
        QTest::newRow("single values are ticks") << "ONE" << true << 1 << 3 << 0 << 0 << QStringList();
        QTest::newRow("unreadable bounds left off") << "BAD" << true << 1 << 0 << 0 << 0 << QStringList();
        QTest::newRow("fixed strokes: no chart") << "FIX" << false << 0 << 0 << 0 << 0 << QStringList();
        QTest::newRow("markup in codes") << "<&\"'>" << true << 1 << 0 << 0 << 1 << QStringList();
        QTest::newRow("one SortID twice") << "TIE" << true << 2 << 0 << 1 << 0
                                          << QStringList{QStringLiteral("order decides between A.dwg and B.dwg")};
    }

    void oneSvgPerType()
    {
        QFETCH(QString, type);
        QFETCH(bool, chart);
        QFETCH(int, bars);
        QFETCH(int, ticks);
        QFETCH(int, overlaps);
        QFETCH(int, missing);
        QFETCH(QStringList, winners);
        const CatalogueRows rows = TestCatalogue();
        const CatalogueIndex index = IndexCatalogue(rows);
        const QSet<QString> onDisc{QStringLiteral("A.dwg"), QStringLiteral("B.dwg"), QStringLiteral("SEQ40.dwg"),
                                   QStringLiteral("X.dwg"), QStringLiteral("Z.dwg")};
        const std::vector<SeriesMaps> maps = BuildRangeMaps(rows, index, onDisc);
        QCOMPARE(maps.size(), size_t(2));
        const TypeMap* map = FindType(maps, type);
        QVERIFY(map);
        QCOMPARE(map->strokesFixed, !chart);
        if (!chart) {
            QVERIFY(map->bores.empty());
            return;
        }
        const SvgCounts counts = ReadSvg(RangeMapSvg(*map));
        QCOMPARE(counts.dataType, type);
        QCOMPARE(counts.bars, bars);
        QCOMPARE(counts.ticks, ticks);
        QCOMPARE(counts.overlaps, overlaps);
        QCOMPARE(counts.missing, missing);
        QCOMPARE(counts.overlapTitles.size(), winners.size());
        for (qsizetype i = 0; i < winners.size(); ++i)
            QVERIFY2(counts.overlapTitles[i].contains(winners[i]), qPrintable(counts.overlapTitles[i]));
        // An overlap mark for each overlap the checks report.
        int reported = 0;
        for (const Finding& finding : Only(CheckRanges(rows, index), "range-overlap"))
            reported += finding.location.type == type;
        QCOMPARE(counts.overlaps, reported);
    }

    void unreadableRowsAreNamedAndLanesDoNotOverlap()
    {
        const CatalogueRows rows = TestCatalogue();
        const std::vector<SeriesMaps> maps = BuildRangeMaps(rows, IndexCatalogue(rows), std::nullopt);
        const TypeMap* bad = FindType(maps, QStringLiteral("BAD"));
        QCOMPARE(bad->bores.at(0).notDrawn, (QStringList{QStringLiteral("SortID 1: MinValue null"),
                                                         QStringLiteral("SortID 2: MinValue above MaxValue")}));
        // Without an install root nothing counts as missing.
        QCOMPARE(FindType(maps, QStringLiteral("OVL"))->bores.at(0).ranges.at(1).missing, false);
        for (const SeriesMaps& series : maps) {
            for (const TypeMap& type : series.types) {
                for (const BoreMap& bore : type.bores) {
                    for (const MapRange& a : bore.ranges) {
                        QVERIFY(a.lane >= 0 && a.lane < bore.lanes);
                        QCOMPARE(a.lane < bore.firstLanes, a.firstStroke);
                        for (const MapRange& b : bore.ranges) {
                            if (&a != &b && a.lane == b.lane)
                                QVERIFY2(a.max < b.min || b.max < a.min, qPrintable(type.type));
                        }
                    }
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(RangeMapTest)
#include "test_check_range_map.moc"
