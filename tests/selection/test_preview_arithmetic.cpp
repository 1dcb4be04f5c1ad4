// SPDX-License-Identifier: MIT
#include "selection/preview_arithmetic.h"
#include "selection/scroll_settings.h"
#include "selection/type_positions.h"

#include <QMap>
#include <QSet>
#include <QTest>
#include <limits>

using namespace selection;

namespace {

constexpr double kViewport = 3310;

// A scroll bar after a refresh's reset followed by its Type position.
ScrollSettings Refreshed(double imageHeight, const QString& type) {
    ScrollSettings scroll;
    ResetPreviewScroll(scroll, imageHeight, kViewport, RangeRule::ImageMinusViewport);
    ScrollToTypePosition(scroll, imageHeight, type);
    return scroll;
}

} // namespace

class TestPreviewArithmetic : public QObject {
    Q_OBJECT

private slots:
    void tableRowsByShare() {
        QMap<double, int> rowsByNumerator;
        QSet<QString> keys;
        for (const TypePositionRow& row : TypePositionTable()) {
            keys.insert(QString::fromLatin1(row.type.data(), qsizetype(row.type.size())));
            ++rowsByNumerator[row.position.numerator];
            QCOMPARE(row.position.denominator, row.type == "AXN" ? 2.0 : 5.0);
        }
        QCOMPARE(TypePositionTable().size(), size_t(60));
        QCOMPARE(keys.size(), 60);
        const QMap<double, int> expected{{1, 1},    {3, 7},    {1.2, 4},  {2.4, 2},
                                         {2.15, 1}, {2.84, 1}, {3.95, 2}, {1.19, 14},
                                         {2.6, 15}, {3.92, 2}, {2.3, 3},  {2.7, 8}};
        QCOMPARE(rowsByNumerator, expected);
    }

    void lookup_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("numerator");
        QTest::addColumn<double>("denominator");
        QTest::newRow("AXN") << "AXN" << 1.0 << 2.0;
        QTest::newRow("CBV") << "CBV" << 3.0 << 5.0;
        QTest::newRow("UMO_D_F") << "UMO_D_F" << 3.0 << 5.0;
        QTest::newRow("KZH_G") << "KZH_G" << 1.2 << 5.0;
        QTest::newRow("RAM") << "RAM" << 2.4 << 5.0;
        QTest::newRow("IXK") << "IXK" << 2.15 << 5.0;
        QTest::newRow("VQV") << "VQV" << 2.84 << 5.0;
        QTest::newRow("SAQ") << "SAQ" << 3.95 << 5.0;
        QTest::newRow("YQOH_QY") << "YQOH_QY" << 1.19 << 5.0;
        QTest::newRow("XKYV_F") << "XKYV_F" << 1.19 << 5.0;
        QTest::newRow("DFGO424") << "DFGO424" << 2.6 << 5.0;
        QTest::newRow("FXF_HK_G") << "FXF_HK_G" << 2.6 << 5.0;
        QTest::newRow("SLG_N") << "SLG_N" << 3.92 << 5.0;
        QTest::newRow("DSZ") << "DSZ" << 2.3 << 5.0;
        QTest::newRow("VVI_NG_G") << "VVI_NG_G" << 2.7 << 5.0;
    }
    void lookup() {
        QFETCH(QString, type);
        QFETCH(double, numerator);
        QFETCH(double, denominator);
        const std::optional<TypePosition> row = LookupTypePosition(type);
        QVERIFY(row);
        QCOMPARE(row->numerator, numerator);
        QCOMPARE(row->denominator, denominator);
    }

    void typesWithoutPositionStayAtTop_data() {
        QTest::addColumn<QString>("type");
        QTest::newRow("unknown") << "ZZZ";
        QTest::newRow("other case") << "axn";
        QTest::newRow("mixed case") << "Mcp";
        QTest::newRow("empty") << "";
        QTest::newRow("trailing blank") << "AXN ";
        QTest::newRow("prefix of a key") << "UMO";
    }
    void typesWithoutPositionStayAtTop() {
        QFETCH(QString, type);
        QVERIFY(!LookupTypePosition(type));
        const ScrollSettings scroll = Refreshed(9615, type);
        QCOMPARE(scroll.position(), qint16(0));
    }

    void refreshExamples_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("imageHeight");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("largeChange");
        QTest::addColumn<int>("smallChange");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("position");
        QTest::newRow("AXN 9615, tie goes up to even") << "AXN" << 9615.0 << 6305 << 1201 << 320 << 4808 << 4808;
        QTest::newRow("AXN 9585, tie goes down to even") << "AXN" << 9585.0 << 6275 << 1198 << 319 << 4792 << 4792;
        QTest::newRow("MCP 9000, beyond the maximum") << "MCP" << 9000.0 << 5690 << 1125 << 300 << 7110 << 0;
        QTest::newRow("TAA at 60 %") << "TAA" << 9000.0 << 5690 << 1125 << 300 << 5400 << 5400;
        QTest::newRow("exactly the maximum") << "AXN" << 6620.0 << 3310 << 827 << 220 << 3310 << 3310;
    }
    void refreshExamples() {
        QFETCH(QString, type);
        QFETCH(double, imageHeight);
        QFETCH(int, maximum);
        QFETCH(int, largeChange);
        QFETCH(int, smallChange);
        QFETCH(int, target);
        QFETCH(int, position);

        const PreviewRange range = ComputePreviewRange(imageHeight, kViewport, RangeRule::ImageMinusViewport);
        QCOMPARE(range.maximum, maximum);
        QCOMPARE(range.largeChange, largeChange);
        QCOMPARE(range.smallChange, smallChange);
        QCOMPARE(TypeScrollTarget(imageHeight, type), std::optional<qint16>(target));

        const ScrollSettings scroll = Refreshed(imageHeight, type);
        QCOMPARE(scroll.position(), position);
        QCOMPARE(scroll.minimum(), 0);
        QCOMPARE(scroll.maximum(), maximum);
        QCOMPARE(scroll.largeChange(), largeChange);
        QCOMPARE(scroll.smallChange(), smallChange);
    }

    // The product comes first, in doubles: 25 × 2.3 ÷ 5 is 11.4999... and
    // rounds to 11, where 25 × 0.46 would give the tie 11.5 and then 12.
    void multipliesBeforeDividing() {
        QCOMPARE(TypeScrollTarget(25, "WOE"), std::optional<qint16>(11));
        QCOMPARE(TypeScrollTarget(175, "XUF_HK"), std::optional<qint16>(95));  // not the tie 94.5
        QCOMPARE(TypeScrollTarget(9615, "YQOH"), std::optional<qint16>(2288));
    }

    void helpPageRangeIsFixed() {
        for (double height : {0.0, 500.0, 9615.0, 200000.0}) {
            const PreviewRange range = ComputePreviewRange(height, kViewport, RangeRule::HelpPage);
            QCOMPARE(range.maximum, kHelpPageRange);
        }
        // The steps still come from the picture held before the help picture loads.
        const PreviewRange range = ComputePreviewRange(9615, kViewport, RangeRule::HelpPage);
        QCOMPARE(range.largeChange, 1201);
        QCOMPARE(range.smallChange, 320);
    }

    void hugePictureIsClamped() {
        const PreviewRange range = ComputePreviewRange(600000, kViewport, RangeRule::ImageMinusViewport);
        QCOMPARE(range.maximum, 32767);
        QCOMPARE(range.largeChange, 32767);  // 75000 does not fit
        QCOMPARE(range.smallChange, 20000);
        QCOMPARE(TypeScrollTarget(600000, "AXN"), std::nullopt);  // 300000 does not fit
        QCOMPARE(Refreshed(600000, "AXN").position(), 0);
        // A share that still fits scrolls within the clamped range.
        QCOMPARE(Refreshed(60000, "QRU").position(), 14400);

        const PreviewRange beyond32 = ComputePreviewRange(1e12, kViewport, RangeRule::ImageMinusViewport);
        QCOMPARE(beyond32.maximum, 32767);
        QCOMPARE(beyond32.largeChange, 32767);
        QCOMPARE(beyond32.smallChange, 32767);
    }

    void tinyPictureRefusesEveryPosition() {
        const PreviewRange range = ComputePreviewRange(100, kViewport, RangeRule::ImageMinusViewport);
        QCOMPARE(range.maximum, -3210);
        QCOMPARE(range.largeChange, 12);
        QCOMPARE(range.smallChange, 3);
        QCOMPARE(Refreshed(100, "AXN").position(), 0);

        const PreviewRange steps = ComputePreviewRange(20, kViewport, RangeRule::ImageMinusViewport);
        QCOMPARE(steps.largeChange, 2);
        QCOMPARE(steps.smallChange, 1);  // 20 ÷ 30 drops to 0
        const PreviewRange empty = ComputePreviewRange(0, kViewport, RangeRule::ImageMinusViewport);
        QCOMPARE(empty.largeChange, 1);
        QCOMPARE(empty.smallChange, 1);

        const PreviewRange far = ComputePreviewRange(0, 1e9, RangeRule::ImageMinusViewport);
        QCOMPARE(far.maximum, -32768);
        const PreviewRange nan = ComputePreviewRange(std::numeric_limits<double>::quiet_NaN(), kViewport,
                                                     RangeRule::ImageMinusViewport);
        QCOMPARE(nan.maximum, 0);
        QCOMPARE(nan.largeChange, 1);
    }

    void scrollRefusesPositionsOutsideItsSpan() {
        ScrollSettings scroll;
        QCOMPARE(scroll.maximum(), 32767);
        QCOMPARE(scroll.smallChange(), 1);
        QCOMPARE(scroll.largeChange(), 1);
        scroll.setMaximum(6305);
        QVERIFY(scroll.setPosition(6305));
        QVERIFY(!scroll.setPosition(6306));
        QCOMPARE(scroll.position(), 6305);
        QVERIFY(!scroll.setPosition(-1));
        QCOMPARE(scroll.position(), 6305);
        QVERIFY(scroll.setPosition(0));

        // A maximum below the minimum: the span runs the other way.
        scroll.setMaximum(-3210);
        QVERIFY(!scroll.setPosition(50));
        QVERIFY(scroll.setPosition(-100));
        QVERIFY(scroll.setPosition(0));
        QCOMPARE(scroll.position(), 0);
    }

    void narrowedSpanPullsThePosition() {
        ScrollSettings scroll;
        QVERIFY(scroll.setPosition(5000));
        QVERIFY(scroll.setMaximum(1000));
        QCOMPARE(scroll.position(), 1000);
        QVERIFY(!scroll.setMaximum(2000));
        QCOMPARE(scroll.position(), 1000);
    }

    void stepsStayPositive() {
        ScrollSettings scroll;
        scroll.setSmallChange(0);
        scroll.setLargeChange(-5);
        QCOMPARE(scroll.smallChange(), 1);
        QCOMPARE(scroll.largeChange(), 1);
        scroll.setLargeChange(1201);
        QCOMPARE(scroll.largeChange(), 1201);
    }

    // A reset brings a scrolled picture back to the top; the image must follow.
    void resetReportsAMovedPosition() {
        ScrollSettings scroll;
        QVERIFY(!ResetPreviewScroll(scroll, 9615, kViewport, RangeRule::ImageMinusViewport));
        QVERIFY(scroll.setPosition(3000));  // the user scrolled
        QVERIFY(ResetPreviewScroll(scroll, 9615, kViewport, RangeRule::ImageMinusViewport));
        QCOMPARE(scroll.position(), 0);

        QVERIFY(ScrollToTypePosition(scroll, 9615, "AXN"));
        QCOMPARE(scroll.position(), 4808);
        QVERIFY(!ScrollToTypePosition(scroll, 9615, "AXN"));  // already there
        QVERIFY(!ScrollToTypePosition(scroll, 9615, "nope"));
        QCOMPARE(scroll.position(), 4808);
    }

    // Setting the help page's range after a scrolled Series picture.
    void helpPageResetAfterScrolledPicture() {
        ScrollSettings scroll = Refreshed(9615, "AXN");
        QVERIFY(ResetPreviewScroll(scroll, 9615, kViewport, RangeRule::HelpPage));
        QCOMPARE(scroll.position(), 0);
        QCOMPARE(scroll.maximum(), 27500);
        QVERIFY(scroll.setPosition(27500));
        QVERIFY(!scroll.setPosition(27501));
    }

    void twips() {
        QCOMPARE(PixelsToTwips(641, 96), 9615.0);
        QCOMPARE(PixelsToTwips(1, 96), 15.0);
        QCOMPARE(PixelsToTwips(1, 120), 12.0);
        QCOMPARE(PixelsToTwips(1500, 96), 22500.0);
        QCOMPARE(TwipsToPixels(4808, 96), 321);  // 320.53
        QCOMPARE(TwipsToPixels(-4808, 96), -321);
        QCOMPARE(TwipsToPixels(3310, 96), 221);  // 220.67
        QCOMPARE(TwipsToPixels(22.5, 96), 2);    // 1.5 goes to the even 2
    }
};

QTEST_APPLESS_MAIN(TestPreviewArithmetic)
#include "test_preview_arithmetic.moc"
