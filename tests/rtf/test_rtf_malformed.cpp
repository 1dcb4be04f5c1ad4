// SPDX-License-Identifier: MIT
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

void TestRtfReader::tallDocumentsAreCutBeforeLayoutLimit_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("leastKept"); // characters of plain text
    // 1638-point letters are wider than the pane: one a line, 2,543 pixels
    // each. 5,000 of them (10 KB of RTF) made the layout run forever.
    const QByteArray letters = QByteArray("a ").repeated(5000);
    QTest::newRow("huge letters") << QByteArray("{\\rtf1 opening\\par\\fs3276 " + letters + "}") << "opening\na a " << 200;
    // QFontMetrics measures text only up to a U+009C; Qt lays all of it out.
    QTest::newRow("huge letters after U+009C")
        << QByteArray("{\\rtf1 opening\\par\\fs3276 \\u156?" + letters + "}") << "opening\n\u009Ca a " << 200;
    // Characters the font lacks are as wide as in the font that shows them.
    QTest::newRow("huge Chinese letters") << QByteArray("{\\rtf1 \\fs3276 " + QByteArray("\\u27683?").repeated(5000) + "}")
                                          << "\u6C23\u6C23" << 200;
    // 22 inches before and after each paragraph.
    QTest::newRow("paragraph spacing") << QByteArray("{\\rtf1 " + QByteArray("\\pard\\sb31680\\sa31680 p\\par").repeated(5000) + "}")
                                       << "p\np\np\n" << 200;
    // Line breaks in a paragraph of no width.
    QTest::newRow("line breaks") << QByteArray("{\\rtf1 \\fs200 x" + QByteArray("\\line ").repeated(70000) + "}") << "x\n\n"
                                 << 1000;
    QTest::newRow("margins wider than the pane")
        << QByteArray("{\\rtf1 \\li9000\\ri9000\\fs400 " + QByteArray("ab ").repeated(5000) + "}") << "ab ab " << 200;
    QTest::newRow("table cells") << QByteArray("{\\rtf1 \\trowd\\cellx2000"
                                                   + QByteArray("\\intbl\\fs3276 b b b b\\cell\\row").repeated(1000) + "}")
                                 << "\nb b b b" << 100;
}

void TestRtfReader::tallDocumentsAreCutBeforeLayoutLimit()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, start);
    QFETCH(int, leastKept);
    QTextDocument document;
    const auto read = rtf::ReadRtf(rtf, document);
    QVERIFY(read.ok());
    QVERIFY(read->cut);
    const QString text = document.toPlainText();
    QVERIFY2(text.startsWith(start), qPrintable(text.left(20)));
    QVERIFY2(text.size() > leastKept, qPrintable(QString::number(text.size())));
    QVERIFY2(text.endsWith(QStringLiteral("\n\u2026")), qPrintable(text.right(20)));
    QVERIFY(LaidOutHeight(document) < LayoutLimit);
}

void TestRtfReader::longDocumentsOfOrdinaryTextAreKeptWhole_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    const auto addRow = [](const char* name, QByteArray rtf, const QList<QString>& paragraphs) {
        for (const QString& paragraph : paragraphs) {
            for (const QChar c : paragraph)
                rtf += c.unicode() < 0x80 ? QByteArray(1, char(c.unicode()))
                                          : QByteArray("\\u" + QByteArray::number(qint16(c.unicode())) + "?");
            rtf += "\\par\n";
        }
        rtf.chop(5);
        QTest::newRow(name) << QByteArray(rtf + "}") << paragraphs.join(QLatin1Char('\n'));
    };

    QList<QString> numbered;
    for (int i = 0; i < 3000; ++i)
        numbered.append(QStringLiteral("Paragraph %1").arg(i, 4, 10, QLatin1Char('0')) + QString(35, QLatin1Char('x')));
    addRow("3,000 paragraphs at 9 pt", "{\\rtf1 \\fs18 ", numbered);

    // About a 60-page report.
    const QString sentence = QStringLiteral("The stroke is checked against the ranges of the catalogue before "
                                            "the drawing is staged for the CAD host. ");
    QList<QString> report;
    qsizetype characters = 0;
    for (int i = 1; characters < 300'000; ++i) {
        report.append(QStringLiteral("Section %1. ").arg(i) + sentence.repeated(1 + i % 9));
        characters += report.back().size();
    }
    addRow("300,000 characters at 12 pt", "{\\rtf1 ", report);

    const QString words = QStringLiteral("氣壓缸的行程依型錄範圍檢查後，圖面與程式複製到暫存資料夾，再由繪圖主機拉伸模型。");
    QList<QString> chinese;
    for (int i = 0; i < 3000; ++i)
        chinese.append(words.mid(i % 7) + QString::number(i));
    addRow("3,000 short Chinese paragraphs", "{\\rtf1 ", chinese);

    // A parts list of 2,000 rows, within the cells written as a table:
    // 140,000 characters, 100,000 pixels laid out.
    QByteArray table = "{\\rtf1 Parts\\par ";
    QString tableText = QStringLiteral("Parts\n");
    for (int i = 0; i < 2000; ++i) {
        const QString part = QStringLiteral("Part %1").arg(i);
        const QString description = QStringLiteral("Seal kit for bore %1, nitrile, standard temperature range").arg(i);
        table += "\\trowd\\cellx3000\\cellx9000 \\intbl " + part.toLatin1() + "\\cell \\intbl "
                 + description.toLatin1() + "\\cell\\row\n";
        tableText += QLatin1Char('\n') + part + QLatin1Char('\n') + description;
    }
    QTest::newRow("2,000-row table") << QByteArray(table + "\\pard Notes}") << tableText + QStringLiteral("\nNotes");
}

void TestRtfReader::longDocumentsOfOrdinaryTextAreKeptWhole()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument document;
    const auto read = rtf::ReadRtf(rtf, document);
    QVERIFY(read.ok());
    QVERIFY(!read->cut);
    const QString shown = document.toPlainText();
    QCOMPARE(shown.size(), text.size());
    QVERIFY(shown == text);
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
