// SPDX-License-Identifier: MIT
// The Series page layout against the preview's scroll arithmetic, and the
// Rich Text documents as a word processor would read them.
#include "content_file.h"
#include "page_layout.h"
#include "rtf_document.h"
#include "series_page.h"
#include "selection/preview_arithmetic.h"
#include "rtf/rtf_reader.h"
#include "selection/type_positions.h"
#include <QTest>
#include <QTextDocument>

using namespace demo;

namespace {

// Every band starts at the scroll position of each of its Types, the
// viewport fits below it, and no band runs into the next.
void VerifyLayout(const base::Result<PageLayout>& laidOut, const PreviewMeasures& m)
{
    QVERIFY2(laidOut.ok(), qPrintable(laidOut.error()));
    const PageLayout& layout = *laidOut;
    const int heightTwips = layout.heightPx * m.twipsPerPx;
    QVERIFY(heightTwips <= m.maxScrollTwips);
    int previousBottom = -1;
    for (const TypeBand& band : layout.bands) {
        for (const QString& type : band.typeCodes) {
            const std::optional<qint16> position = selection::TypeScrollTarget(heightTwips, type);
            if (!position) {
                QCOMPARE(band.positionTwips, 0);
                continue;
            }
            QCOMPARE(int(*position), band.positionTwips);
            QVERIFY(*position <= heightTwips - m.viewportTwips);
        }
        QVERIFY(band.topPx * m.twipsPerPx >= band.positionTwips);
        QVERIFY(band.topPx * m.twipsPerPx < band.positionTwips + m.twipsPerPx);
        QVERIFY(band.topPx >= previousBottom);
        if (band.topPx > 0)
            QVERIFY(band.topPx >= m.headerPx);
        previousBottom = band.topPx + m.bandPx;
    }
    QVERIFY(layout.heightPx >= previousBottom + m.footerPx);
}

} // namespace

class TestDemoPages : public QObject {
    Q_OBJECT

private slots:
    void everyTypeOfThePositionTableGetsAPage_data()
    {
        QTest::addColumn<QString>("type");
        for (const selection::TypePositionRow& row : selection::TypePositionTable())
            QTest::newRow(row.type.data()) << QString::fromLatin1(row.type.data(), row.type.size());
    }
    void everyTypeOfThePositionTableGetsAPage()
    {
        QFETCH(QString, type);
        const PreviewMeasures measures;
        const base::Result<PageLayout> layout = LayOutSeriesPage({type}, measures);
        VerifyLayout(layout, measures);
        QCOMPARE(layout->bands.size(), 1);
        QVERIFY(layout->bands.first().positionTwips > 0);
    }

    void typesOfOneShareShareABand()
    {
        const base::Result<PageLayout> layout = LayOutSeriesPage({"UMO_S", "UMO_S_F", "UMO_D", "UMO_D_F"});
        VerifyLayout(layout, {});
        QCOMPARE(layout->bands.size(), 1);
        QCOMPARE(layout->bands.first().typeCodes, QStringList({"UMO_S", "UMO_S_F", "UMO_D", "UMO_D_F"}));
    }

    void bandsOfDifferentSharesStackInPositionOrder()
    {
        const PreviewMeasures measures;
        const base::Result<PageLayout> layout = LayOutSeriesPage({"SLG", "AXN", "QRU"}, measures);
        VerifyLayout(layout, measures);
        QCOMPARE(layout->bands.size(), 3);
        QCOMPARE(layout->bands.at(0).typeCodes, QStringList{"QRU"});
        QCOMPARE(layout->bands.at(1).typeCodes, QStringList{"AXN"});
        QCOMPARE(layout->bands.at(2).typeCodes, QStringList{"SLG"});
    }

    void typesWithoutAPositionShowAtTheTop()
    {
        const PreviewMeasures measures;
        const base::Result<PageLayout> layout = LayOutSeriesPage({"NOPE", "AXN", "nope2"}, measures);
        VerifyLayout(layout, measures);
        QCOMPARE(layout->bands.size(), 2);
        QCOMPARE(layout->bands.first().typeCodes, QStringList({"NOPE", "nope2"}));
        QCOMPARE(layout->bands.first().topPx, 0);
        // Compared exactly: the lower-case code has no position.
        QCOMPARE(LayOutSeriesPage({"axn"})->bands.first().positionTwips, 0);
    }

    void sharesTooCloseForTwoViewportsAreReported()
    {
        // 0.238 and 0.24 of the height cannot be a viewport apart on any page
        // the 16-bit scroll bar can take.
        const base::Result<PageLayout> layout = LayOutSeriesPage({"YQOH", "QRU"});
        QVERIFY(!layout.ok());
        QVERIFY(!layout.error().isEmpty());
    }

    void aShareNearTheBottomNeedsATallPage()
    {
        const PreviewMeasures measures;
        const base::Result<PageLayout> layout = LayOutSeriesPage({"MCP"}, measures);  // 0.79
        VerifyLayout(layout, measures);
        QVERIFY(layout->heightPx * measures.twipsPerPx * (1 - 0.79) >= measures.viewportTwips);
    }

    void boresReadFromSmallToLarge()
    {
        TypeEntry type;
        for (const char* code : {"100", "20", "8", "12.5"})
            type.bores.append({QString::fromLatin1(code), {}});
        QCOMPARE(BoreLine({}, type), QStringLiteral("8 · 12.5 · 20 · 100"));
        type.bores = {{QStringLiteral("F02"), {}}, {QStringLiteral("F01"), {}}};
        QCOMPARE(BoreLine({}, type), QStringLiteral("F02 · F01"));  // feature numbers as listed
        QCOMPARE(BoreLine({}, TypeEntry{}), QStringLiteral("—"));
    }

    void rtfEscapesBig5TrailBytesThatLookLikeSyntax()
    {
        // 許 is B3 5C in Big5: its trail byte is a backslash.
        QCOMPARE(EscapeRtfText(QStringLiteral("許")), QByteArray("\\'b3\\'5c"));
        // 功 is A5 5C, 成 A6 A8.
        QCOMPARE(EscapeRtfText(QStringLiteral("功成")), QByteArray("\\'a5\\'5c\\'a6\\'a8"));
        QCOMPARE(EscapeRtfText(QStringLiteral("a{b}\\c")), QByteArray("a\\{b\\}\\\\c"));
        QCOMPARE(EscapeRtfText(QStringLiteral("a\tb")), QByteArray("a\\tab b"));
    }

    void rtfWritesCharactersOutsideCodePage950AsUnicode()
    {
        // U+0E01 (Thai) has no Big5 form; U+1F600 needs a surrogate pair.
        QCOMPARE(EscapeRtfText(QString(QChar(0x0E01))), QByteArray("\\u3585?"));
        QCOMPARE(EscapeRtfText(QString::fromUcs4(U"\U0001F600")), QByteArray("\\u-10179?\\u-8704?"));
    }

    void rtfDocumentHasTheWordProcessorHeader()
    {
        RtfDocument document;
        document.heading(QStringLiteral("型式 Types"), 1);
        document.paragraph(QStringLiteral("**粗體** plain"));
        const QByteArray bytes = document.bytes();
        QVERIFY(bytes.startsWith("{\\rtf1\\ansi\\ansicpg950\\deff0"));
        QVERIFY(bytes.contains("{\\fonttbl{\\f0\\froman\\fprq2\\fcharset136 \\'b7\\'73\\'b2\\'d3\\'a9\\'fa\\'c5\\'e9"));
        QVERIFY(bytes.contains("\\fcharset0 Arial;"));
        QVERIFY(bytes.contains("{\\colortbl ;"));
        QVERIFY(bytes.contains("\\b\\fs32 "));
        QVERIFY(bytes.contains("\\b \\f0\\lang1028 \\'b2\\'ca\\'c5\\'e9\\b0 "));
        QVERIFY(bytes.endsWith("}\r\n"));
        int depth = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes.at(i) == '\\') {
                ++i;  // an escaped brace or backslash is text
                continue;
            }
            depth += bytes.at(i) == '{' ? 1 : bytes.at(i) == '}' ? -1 : 0;
            QVERIFY(depth >= 0);
        }
        QCOMPARE(depth, 0);
    }

    void renderedDocumentReadsBackWithItsTextAndTable()
    {
        const ContentFile content = ParseContent(QStringLiteral(
            "title: 無 | none\n---\n# 標題 Heading\n段落 a paragraph {x}\n- 項目 item\n"
            "| 型式 Type | 內徑 Bore |\n| AXN | 12 |\n@types\n@missing\n"));
        const QByteArray bytes = RenderRtf(content, [](const QString& name) {
            return name == QLatin1String("types")
                ? QList<QStringList>{{"甲", "乙"}, {"TAA", "20 · 25"}}
                : QList<QStringList>{};
        });
        QCOMPARE(bytes.count("\\row"), 4);
        QTextDocument document;
        const auto result = rtf::ReadRtf(bytes, document);
        QVERIFY2(result.ok(), qPrintable(result.error()));
        const QString text = document.toPlainText();
        for (const char* expected : {"標題 Heading", "段落 a paragraph {x}", "項目 item", "型式 Type",
                                     "AXN", "甲", "TAA", "20 · 25"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!text.contains(QStringLiteral("@missing")));
    }

    void contentFieldsAndBodyAreSeparated()
    {
        const ContentFile content = ParseContent(QStringLiteral(
            "; a comment: not a field\ntitle: 甲 | A\ntype: AXN | 薄型 | Compact\n"
            "type: TAA | 標準 | Standard\nno colon here\n---\ntitle: stays body\n"));
        QCOMPARE(content.text(QStringLiteral("title"), 0), QStringLiteral("甲"));
        QCOMPARE(content.text(QStringLiteral("title"), 1), QStringLiteral("A"));
        QCOMPARE(content.text(QStringLiteral("title"), 2, QStringLiteral("fallback")), QStringLiteral("fallback"));
        QCOMPARE(content.text(QStringLiteral("caption"), 0, QStringLiteral("none")), QStringLiteral("none"));
        QCOMPARE(content.all(QStringLiteral("type")).size(), 2);
        const QStringList expected{"TAA", "標準", "Standard"};
        QCOMPARE(content.all(QStringLiteral("type")).at(1), expected);
        const QStringList body{QStringLiteral("title: stays body"), QString()};
        QCOMPARE(content.body, body);
        QCOMPARE(content.fields.size(), 3);  // the comment and the line without a colon are dropped
    }
};

QTEST_MAIN(TestDemoPages)
#include "test_demo_pages.moc"
