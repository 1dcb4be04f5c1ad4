#include "test_rtf_reader.h"

#include "rtf_test_support.h"

#include <QAbstractTextDocumentLayout>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextTable>

using namespace rtf_test;

void TestRtfReader::truncatedFileKeepsPartialContent()
{
    QTextDocument document;
    QVERIFY(Load(ReadDataFile("truncated.rtf"), document));
    const QString text = document.toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("before")));
    const QList<QTextTable*> tables = Tables(document);
    QCOMPARE(tables.size(), 1);
    QCOMPARE(CellText(tables[0], 0, 2), QStringLiteral("Type"));
    QCOMPARE(CellText(tables[0], 1, 2), QStringLiteral("AXN"));
}

void TestRtfReader::truncatedInsideEscapesAndPictures()
{
    const QByteArray picture = PictureGroup(QImage(8, 8, QImage::Format_RGB32), "PNG", "\\pngblip");
    const QByteArray full = "{\\rtf1\\ansicpg950 {\\b cut \\'be\\'f7}" + picture + "\\u27231?\\bin5 abc}";
    // Every prefix of a valid file reads without harm and keeps its start.
    const qsizetype cutShown = full.indexOf("cut") + 3;
    for (qsizetype length = 6; length <= full.size(); ++length) {
        QTextDocument document;
        QVERIFY(Load(full.left(length), document));
        if (length >= cutShown)
            QVERIFY(document.toPlainText().startsWith(QStringLiteral("cut")));
    }
    QTextDocument document;
    QVERIFY(Load("{\\rtf1\\ansicpg950 {\\b lead \\'be", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("lead \uFFFD"));
    QVERIFY(Load("{\\rtf1 x\\'", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("x"));
    QVERIFY(Load("{\\rtf1 x\\", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("x"));
}

void TestRtfReader::unbalancedBraces()
{
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 inside}} outside}", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("inside"));

    QVERIFY(Load("{\\rtf1 {\\b open {\\i never closed", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("open never closed"));
    QVERIFY(FindRun(Runs(document), "never")->format.fontItalic());

    QVERIFY(Load("{\\rtf1 {\\fonttbl{\\f0 Arial;}\\f0 text", document));
    QVERIFY(document.toPlainText().isEmpty()); // all of it is still the font table
}

void TestRtfReader::hugeNumbers()
{
    QTextDocument document;
    QVERIFY(Load("{\\rtf1\\ansicpg99999999999999999999{\\fonttbl{\\f-99999999999\\fcharset99999999999 X;}}"
                 "\\f-99999999999\\fs99999999999\\li-99999999999\\fi99999999999 "
                 "a\\u99999999999 ?b\\u-99999999999 ?c\\cf99999999999\\highlight-5 d"
                 "{\\uc99999999999\\u27231 0123456789abcdefX}" // at most 16 fallback characters
                 "\\trowd\\cellx99999999999\\intbl d\\cell\\row\\pard"
                 "{\\pict\\pngblip\\picwgoal-99999999999\\picscalex99999999999 00}"
                 "\\bin99999999999 tail}",
                 document));
    const QString text = document.toPlainText();
    QVERIFY2(text.startsWith(QStringLiteral("abcd機X")), qPrintable(text));
    QCOMPARE(FindRun(Runs(document), "abc")->format.fontPointSize(), 3276 / 2.0);
    QCOMPARE(document.begin().blockFormat().textIndent(), 31680 / 15.0);
    QVERIFY(!text.contains(QStringLiteral("tail"))); // taken as binary data
}

void TestRtfReader::deepNesting()
{
    QTextDocument document;
    const int cut = 1000; // groups nested deeper than this share the deepest kept group's state
    QVERIFY(Load("{\\rtf1 " + QByteArray(cut - 2, '{') + "shown" + QByteArray(cut - 2, '}') + " after}", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("shown after"));

    const int deep = 200000;
    QVERIFY(Load("{\\rtf1 top" + QByteArray(deep, '{') + "kept" + QByteArray(deep, '}') + " after}", document));
    QCOMPARE(document.toPlainText(), QStringLiteral("topkept after"));

    QVERIFY(Load("{\\rtf1 open" + QByteArray(deep, '{'), document));
    QCOMPARE(document.toPlainText(), QStringLiteral("open"));
}

void TestRtfReader::largeTableStaysLinear()
{
    // A table that reshaped itself on every row would take quadratic time here.
    const int rows = 2000;
    QByteArray rtf = "{\\rtf1 ";
    for (int r = 0; r < rows; ++r)
        rtf += "\\trowd\\cellx1000\\cellx2000\\intbl r" + QByteArray::number(r) + "\\cell x\\cell\\row\r\n";
    rtf += "\\pard between\\par\\intbl";
    for (int c = 0; c < 100; ++c)
        rtf += " c\\cell"; // cells past the column limit share the last column
    rtf += "\\row\\pard\\par";
    // Past the cells a document may hold, tables turn into tab-separated lines.
    for (int r = 0; r < 6000; ++r)
        rtf += "\\intbl b" + QByteArray::number(r) + "\\cell z\\cell\\row";
    rtf += "}";

    QTextDocument document;
    QVERIFY(Load(rtf, document));
    const QList<QTextTable*> tables = Tables(document);
    QCOMPARE(tables.size(), 2);
    QCOMPARE(tables[0]->rows(), rows);
    QCOMPARE(tables[0]->columns(), 2);
    QCOMPARE(CellText(tables[0], rows - 1, 0), QStringLiteral("r%1").arg(rows - 1));
    QCOMPARE(CellText(tables[0], rows - 1, 1), QStringLiteral("x"));
    QCOMPARE(tables[1]->rows(), 1);
    QCOMPARE(tables[1]->columns(), 64);
    QCOMPARE(CellText(tables[1], 0, 62), QStringLiteral("c"));
    QCOMPARE(CellText(tables[1], 0, 63), QString("c").repeated(37));
    QVERIFY(document.toPlainText().contains(QStringLiteral("\nb0\tz\n")));
    QVERIFY(document.toPlainText().contains(QStringLiteral("\nb5999\tz\n")));
}

void TestRtfReader::shortRowsCountAsWideAsTheTable()
{
    // One full row, then rows of one cell each: every row is laid out as
    // wide as the widest, so these few kilobytes would be 49,920 cells.
    QByteArray rtf = "{\\rtf1 \\trowd";
    for (int c = 1; c <= 64; ++c)
        rtf += "\\cellx" + QByteArray::number(c * 100);
    rtf += QByteArray("\\intbl w\\cell").repeated(64) + "\\row";
    rtf += QByteArray("\\intbl n\\cell\\row").repeated(779) + "}";

    QTextDocument document;
    QVERIFY(Load(rtf, document));
    QVERIFY(Tables(document).isEmpty());
    const QStringList lines = document.toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringList(64, QStringLiteral("w")).join(QLatin1Char('\t')));
    QCOMPARE(lines.value(1), QStringLiteral("n"));
    QCOMPARE(lines.value(779), QStringLiteral("n"));

    // The same rows in a table that fits stay a table.
    QByteArray small = "{\\rtf1 \\trowd";
    for (int c = 1; c <= 64; ++c)
        small += "\\cellx" + QByteArray::number(c * 100);
    small += QByteArray("\\intbl w\\cell").repeated(64) + "\\row";
    small += QByteArray("\\intbl n\\cell\\row").repeated(63) + "}";
    QVERIFY(Load(small, document));
    const QList<QTextTable*> tables = Tables(document);
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables[0]->rows(), 64);
    QCOMPARE(tables[0]->columns(), 64);
    QCOMPARE(CellText(tables[0], 63, 0), QStringLiteral("n"));
}

namespace {

// Lays the document out at the description pane's width; Qt never returns
// from this for a document taller than 8,388,607 pixels.
qreal LaidOutHeight(QTextDocument& document)
{
    document.setTextWidth(700);
    return document.documentLayout()->documentSize().height();
}

constexpr qreal LayoutLimit = 8'388'607;

} // namespace

void TestRtfReader::tallDocumentsAreCutBeforeLayoutLimit()
{
    // 1638-point letters are wider than the pane: one a line, 2,543 pixels
    // each. 5,000 of them (10 KB of RTF) made the layout run forever.
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 opening\\par\\fs3276 " + QByteArray("a ").repeated(5000) + "}", document));
    const QString text = document.toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("opening\na a ")));
    QVERIFY2(text.size() < 5000, qPrintable(QString::number(text.size())));
    QVERIFY(LaidOutHeight(document) < LayoutLimit);

    // Paragraph spacing counts: 22 inches before and after each paragraph.
    QVERIFY(Load("{\\rtf1 " + QByteArray("\\pard\\sb31680\\sa31680 p\\par").repeated(5000) + "}", document));
    const qsizetype paragraphs = document.blockCount();
    QVERIFY2(paragraphs > 100 && paragraphs < 5000, qPrintable(QString::number(paragraphs)));
    QVERIFY(LaidOutHeight(document) < LayoutLimit);

    // Inside table cells as well.
    QVERIFY(Load("{\\rtf1 \\trowd\\cellx2000" + QByteArray("\\intbl\\fs3276 b b b b\\cell\\row").repeated(1000)
                     + "}",
                 document));
    QVERIFY(LaidOutHeight(document) < LayoutLimit);
    QVERIFY(document.toPlainText().count(QLatin1Char('b')) < 4000);
}

void TestRtfReader::longDocumentsOfOrdinaryTextAreKeptWhole()
{
    // 3,000 paragraphs, 150,000 characters at 9 pt: no part of it is left out.
    QByteArray rtf = "{\\rtf1 \\fs18 ";
    for (int i = 0; i < 3000; ++i)
        rtf += "Paragraph " + QByteArray::number(i).rightJustified(4, '0') + QByteArray(35, 'x') + "\\par ";
    rtf += "The end.}";
    QTextDocument document;
    QVERIFY(Load(rtf, document));
    QCOMPARE(document.blockCount(), 3001);
    QVERIFY(document.toPlainText().contains(QStringLiteral("Paragraph 2999")));
    QCOMPARE(document.lastBlock().text(), QStringLiteral("The end."));
}

void TestRtfReader::mutatedFilesNeverCrash()
{
    const QList<QByteArray> seeds = {
        ReadDataFile("big5_hex.rtf"), ReadDataFile("big5_raw.rtf"), ReadDataFile("formatting.rtf"),
        ReadDataFile("table.rtf"), ReadDataFile("fields_and_destinations.rtf"),
        "{\\rtf1 " + PictureGroup(QImage(5, 5, QImage::Format_RGB32), "PNG", "\\pngblip") + "}",
    };
    const char specials[] = "{}\\'*;0123456789-abfuxcel \xa4\xbe\x00";
    QRandomGenerator random(20170101);
    for (int round = 0; round < 300; ++round) {
        QByteArray data = seeds[round % seeds.size()];
        const int edits = 1 + random.bounded(8);
        for (int e = 0; e < edits; ++e) {
            const qsizetype at = random.bounded(static_cast<int>(data.size()));
            const char c = specials[random.bounded(static_cast<int>(sizeof specials))];
            switch (random.bounded(3)) {
            case 0: data[at] = c; break;
            case 1: data.insert(at, c); break;
            default: data.remove(at, 1 + random.bounded(4)); break;
            }
        }
        QTextDocument document;
        rtf::ReadRtf(data, document); // must neither crash nor hang
    }
}
