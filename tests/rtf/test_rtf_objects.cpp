// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include "rtf_test_support.h"

#include <QTest>
#include <QTextTable>

using namespace rtf_test;

namespace {

QImage TestImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    return image;
}

} // namespace

void TestRtfReader::pngPicture()
{
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 before" + PictureGroup(TestImage(7, 5), "PNG", "\\picw7\\pich5\\pngblip") + "after\\par}",
                 document));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 1);
    const QImage image = ImageResource(document, images[0]);
    QCOMPARE(image.size(), QSize(7, 5));
    QCOMPARE(image.pixelColor(3, 2), QColor(200, 30, 30));
    QCOMPARE(images[0].width(), 7.0);
    QCOMPARE(images[0].height(), 5.0);
    QCOMPARE(document.begin().text(), QStringLiteral("before\uFFFCafter"));
}

void TestRtfReader::pictureDisplaySize_data()
{
    QTest::addColumn<QByteArray>("properties");
    QTest::addColumn<QSizeF>("size");
    QTest::newRow("natural") << QByteArray("\\pngblip") << QSizeF(40, 20);
    QTest::newRow("goal in twips") << QByteArray("\\pngblip\\picwgoal1500\\pichgoal750") << QSizeF(100, 50);
    QTest::newRow("scaled") << QByteArray("\\pngblip\\picscalex50\\picscaley200") << QSizeF(20, 40);
    QTest::newRow("goal and scale") << QByteArray("\\pngblip\\picwgoal1500\\pichgoal750\\picscalex50\\picscaley50")
                                    << QSizeF(50, 25);
    QTest::newRow("absurd goal clamped") << QByteArray("\\pngblip\\picwgoal999999999\\pichgoal0") << QSizeF(16384, 20);
}

void TestRtfReader::pictureDisplaySize()
{
    QFETCH(QByteArray, properties);
    QFETCH(QSizeF, size);
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 " + PictureGroup(TestImage(40, 20), "PNG", properties) + "}", document));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 1);
    QCOMPARE(QSizeF(images[0].width(), images[0].height()), size);
    QCOMPARE(ImageResource(document, images[0]).size(), QSize(40, 20));
}

void TestRtfReader::jpegAndBinaryPictures()
{
    const QByteArray png = EncodeImage(TestImage(9, 3), "PNG");

    QTextDocument document;
    QVERIFY(Load("{\\rtf1 " + PictureGroup(TestImage(16, 8), "JPEG", "\\jpegblip") + " and "
                     "{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}}",
                 document));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 2);
    QCOMPARE(ImageResource(document, images[0]).size(), QSize(16, 8));
    QCOMPARE(ImageResource(document, images[1]).size(), QSize(9, 3));
    QCOMPARE(document.toPlainText(), QStringLiteral("\uFFFC and \uFFFC"));
}

void TestRtfReader::unsupportedAndBrokenPicturesAreSkipped()
{
    const QByteArray png = PictureGroup(TestImage(6, 6), "PNG", "\\pngblip");
    QTextDocument document;
    // Word writes the picture twice: the PNG for current readers and a
    // metafile for old ones. Only one may show.
    QVERIFY(Load("{\\rtf1 a{\\*\\shppict" + png + "}{\\nonshppict{\\pict\\wmetafile8 0100090000}}"
                 "b{\\pict\\emfblip 0100000000}"
                 "c{\\pict\\macpict 0000}"
                 "d{\\pict\\pngblip 89504e470d0a1a0a0000}"
                 "e{\\pict\\jpegblip}"
                 "f{\\pict 89504e47}g}",
                 document));
    QCOMPARE(Images(document).size(), 1);
    QCOMPARE(document.toPlainText(), QStringLiteral("a\uFFFCbcdefg"));
}

void TestRtfReader::tableFromFile()
{
    QTextDocument document;
    QVERIFY(Load(ReadDataFile("table.rtf"), document));
    const QList<QTextTable*> tables = Tables(document);
    QCOMPARE(tables.size(), 1);
    QTextTable* table = tables[0];
    QCOMPARE(table->rows(), 3);
    QCOMPARE(table->columns(), 3);
    const char* expected[3][3] = {{"Bore", "Stroke", "Type"}, {"32", "25-500", "AXN"}, {"40", "25-800", "MCP"}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            QCOMPARE(CellText(table, r, c), QString::fromLatin1(expected[r][c]));
    }
    const QList<Run> runs = Runs(document);
    QVERIFY(FindRun(runs, "AXN")->format.fontWeight() == QFont::Bold);
    QCOMPARE(document.begin().text(), QStringLiteral("before"));
    QVERIFY(document.toPlainText().trimmed().endsWith(QStringLiteral("after")));
    QCOMPARE(table->cellAt(0, 0).firstCursorPosition().block().text(), QStringLiteral("Bore"));
    // "after" is outside of the table.
    QTextCursor after = document.find(QStringLiteral("after"));
    QVERIFY(!after.isNull());
    QVERIFY(!after.currentTable());
    // \cellx right edges become column widths (1440 twips = 96 pixels).
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 3);
    QCOMPARE(widths[0].rawValue(), 96.0);
    QCOMPARE(widths[1].rawValue(), 192.0);
}

void TestRtfReader::tablesEndAtPlainParagraphs()
{
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 \\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
                 "\\pard between\\par"
                 "\\trowd\\cellx1000\\intbl {\\listtext\\pard\\plain \\bullet\\tab}one\\cell\\row"
                 "\\intbl two\\cell\\row"
                 "\\intbl x\\cell y\\cell z\\cell\\row\\pard}",
                 document));
    const QList<QTextTable*> tables = Tables(document);
    QCOMPARE(tables.size(), 2);
    QCOMPARE(tables[0]->rows(), 1);
    QCOMPARE(tables[0]->columns(), 2);
    QCOMPARE(CellText(tables[0], 0, 1), QStringLiteral("b"));
    // The list number text must not end the table it stands in.
    QCOMPARE(tables[1]->rows(), 3);
    QCOMPARE(tables[1]->columns(), 3);
    QCOMPARE(CellText(tables[1], 0, 0), QStringLiteral("•\tone"));
    QCOMPARE(CellText(tables[1], 1, 0), QStringLiteral("two"));
    QCOMPARE(CellText(tables[1], 1, 1), QString());
    QCOMPARE(CellText(tables[1], 2, 2), QStringLiteral("z"));
    QVERIFY(document.toPlainText().contains(QStringLiteral("between")));
}

void TestRtfReader::fieldResultsShownDestinationsSkipped()
{
    QTextDocument document;
    QVERIFY(Load(ReadDataFile("fields_and_destinations.rtf"), document));
    const QString text = document.toPlainText();
    // Headers, footers, the document information and unknown starred
    // destinations stay hidden; a footnote shows after the text.
    QCOMPARE(text, QStringLiteral("See the catalogue now. visible\nfootnote text"));
    const QTextCharFormat link = FindRun(Runs(document), "the catalogue")->format;
    QVERIFY(link.fontUnderline());
    QCOMPARE(link.foreground().color(), QColor(0, 0, 255));
    // The font name ends at ";" and skips its \*\panose and \*\falt parts.
    QCOMPARE(link.fontFamilies().toStringList(), QStringList{"Arial"});
}
