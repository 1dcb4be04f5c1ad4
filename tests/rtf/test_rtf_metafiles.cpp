// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include "metafile_builders.h"
#include "rtf_test_support.h"

#include <QTest>

using namespace rtf_test;

namespace {

// Four colours, one a quadrant: blue, green above yellow, magenta.
QImage Quadrants()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixelColor(0, 0, Qt::blue);
    image.setPixelColor(1, 0, Qt::green);
    image.setPixelColor(0, 1, Qt::yellow);
    image.setPixelColor(1, 1, Qt::magenta);
    return image;
}

// The one picture of `document` as drawn, after checking its shown size.
QImage PictureShownAt(const QTextDocument& document, QSizeF shown)
{
    const QList<QTextImageFormat> images = Images(document);
    if (images.size() == 1 && QSizeF(images[0].width(), images[0].height()) != shown)
        qWarning("shown at %gx%g", images[0].width(), images[0].height());
    return images.size() == 1 && QSizeF(images[0].width(), images[0].height()) == shown ? OnlyPicture(document)
                                                                                          : QImage();
}

} // namespace

void TestRtfReader::wmfVectorAndBitmapRecordsDrawn()
{
    // A 200 x 100 window: a red rectangle on the left, the bitmap stretched
    // over the right half.
    WmfBuilder wmf;
    wmf.record(MetaSetWindowOrg, {0, 0})
        .record(MetaSetWindowExt, {100, 200})
        .record(MetaCreatePenIndirect, {5, 0, 0, 0, 0}) // PS_NULL
        .record(MetaSelectObject, {0})
        .record(MetaCreateBrushIndirect, SolidBrush(Qt::red))
        .record(MetaSelectObject, {1})
        .record(MetaRectangle, {100, 100, 0, 0}) // bottom, right, top, left
        .record(MetaStretchDib, StretchDib(Quadrants(), QRect(100, 0, 100, 100)));

    QTextDocument document;
    QVERIFY(Load("{\\rtf1 a" + MetafileGroup("wmetafile8", wmf.finish(), "\\picw5292\\pich2646\\picwgoal3000\\pichgoal1500") +
                     "b}",
                 document));
    QCOMPARE(document.toPlainText(), QStringLiteral("a\uFFFCb"));
    const QImage image = PictureShownAt(document, QSizeF(200, 100));
    QCOMPARE(image.size(), QSize(200, 100));
    QCOMPARE_COLOUR(image, 50, 50, Qt::red);
    QCOMPARE_COLOUR(image, 5, 95, Qt::red);
    QCOMPARE_COLOUR(image, 125, 25, Qt::blue);
    QCOMPARE_COLOUR(image, 175, 25, Qt::green);
    QCOMPARE_COLOUR(image, 125, 75, Qt::yellow);
    QCOMPARE_COLOUR(image, 175, 75, Qt::magenta);
}

void TestRtfReader::emfVectorBitmapAndTextRecordsDrawn()
{
    // Reference-device pixels 0..200 x 0..100: green on the top left, text
    // below it, the bitmap on the right half.
    EmfBuilder emf;
    emf.record(EmrCreateBrushIndirect, {1, 0, 0x0000C000, 0}) // solid, RGB(0, 192, 0)
        .record(EmrSelectObject, {1})
        .record(EmrSelectObject, {NullPen})
        .record(EmrRectangle, {0, 0, 100, 50})
        .record(EmrStretchDibits, StretchDibits(Quadrants(), QRect(100, 0, 100, 100)))
        .record(EmrExtCreateFontIndirectW, FontIndirectW(2, -30, QStringLiteral("DejaVu Sans")))
        .record(EmrSelectObject, {2})
        .record(EmrSetBkMode, {1}) // transparent
        .record(EmrExtTextOutW, ExtTextOutW(QStringLiteral("MM"), QPoint(10, 60)));

    QTextDocument document;
    QVERIFY(Load("{\\rtf1 " + MetafileGroup("emfblip", emf.finish(QRect(0, 0, 200, 100)), "\\picwgoal3000\\pichgoal1500") +
                     "}",
                 document));
    const QImage image = PictureShownAt(document, QSizeF(200, 100));
    QCOMPARE(image.size(), QSize(200, 100));
    QCOMPARE_COLOUR(image, 50, 25, QColor(0, 192, 0));
    QCOMPARE_COLOUR(image, 125, 25, Qt::blue);
    QCOMPARE_COLOUR(image, 175, 75, Qt::magenta);
    // The text lies where its reference point puts it, and nowhere else.
    QVERIFY(DarkPixels(image, QRect(10, 60, 90, 38)) > 60);
    QCOMPARE(DarkPixels(image, QRect(0, 52, 8, 48)), 0);
    QCOMPARE_COLOUR(image, 95, 55, Qt::white);
}

void TestRtfReader::metafileShownSize_data()
{
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<QSizeF>("shown");
    QTest::addColumn<QSize>("drawn");
    const QByteArray wmf = WmfBuilder().record(MetaSetWindowExt, {100, 100}).finish();
    // A placeable header: 1440 units to the inch, 2 x 1 inches.
    const QByteArray placeable = WmfBuilder().finish(QRect(0, 0, 2880, 1440), 1440);
    const QByteArray emf = EmfBuilder().finish(QRect(0, 0, 378, 189)); // 37.8 x 18.9 mm

    QTest::newRow("goal") << MetafileGroup("wmetafile8", wmf, "\\picw100\\pich100\\picwgoal1500\\pichgoal750")
                          << QSizeF(100, 50) << QSize(100, 50);
    QTest::newRow("picw and pich, hundredths of a millimetre")
        << MetafileGroup("wmetafile8", wmf, "\\picw2540\\pich1270") << QSizeF(96, 48) << QSize(96, 48);
    QTest::newRow("placeable header") << MetafileGroup("wmetafile8", placeable, "") << QSizeF(192, 96)
                                      << QSize(192, 96);
    QTest::newRow("EMF frame") << MetafileGroup("emfblip", emf, "") << QSizeF(37.8 / 25.4 * 96, 18.9 / 25.4 * 96)
                               << QSize(143, 71);
    QTest::newRow("scaled") << MetafileGroup("emfblip", emf, "\\picwgoal1500\\pichgoal1500\\picscalex50\\picscaley200")
                            << QSizeF(50, 200) << QSize(50, 200);
    // Shown as tall as a picture may be, 16384 pixels, and drawn no taller
    // than the pane could ever need: the two documents, found by fuzzing,
    // took seconds drawing a picture sixteen thousand pixels tall.
    QTest::newRow("goal far taller than wide")
        << MetafileGroup("wmetafile8", wmf, "\\picwgoal3000\\pichgoal1500000000000000000000") << QSizeF(200, 16384)
        << QSize(25, 2048);
    QTest::newRow("EMF goal far taller than wide") << ReadDataFile("emf_huge_picture_goal.rtf") << QSizeF(200, 16384)
                                                   << QSize(25, 2048);
    QTest::newRow("EMF goal far taller than wide, other") << ReadDataFile("emf_huge_picture_goal_2.rtf")
                                                          << QSizeF(200, 16384) << QSize(25, 2048);
}

void TestRtfReader::metafileShownSize()
{
    QFETCH(QByteArray, picture);
    QFETCH(QSizeF, shown);
    QFETCH(QSize, drawn);
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 " + picture + "}", document));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 1);
    QCOMPARE(images[0].width(), shown.width());
    QCOMPARE(images[0].height(), shown.height());
    QCOMPARE(ImageResource(document, images[0]).size(), drawn);
}

void TestRtfReader::metafilesFromWordProcessors()
{
    // WordPad keeps pictures as \wmetafile8 records; a Word drawing (an EMF,
    // with a WMF for old readers in \shprslt) floats in a shape.
    for (const char* file : {"wordpad_metafile.rtf", "word_shapes_notes.rtf"}) {
        QTextDocument document;
        QVERIFY(Load(ReadDataFile(QString::fromLatin1(file)), document));
        const QImage image = PictureShownAt(document, QSizeF(3394 / 15.0, 1594 / 15.0));
        QCOMPARE(image.size(), QSize(226, 106));
        QCOMPARE_COLOUR(image, 20, 20, QColor(0, 192, 0));  // the rectangle
        QCOMPARE_COLOUR(image, 160, 38, Qt::yellow);         // the ellipse
        QCOMPARE_COLOUR(image, 105, 70, Qt::white);          // between them
        QVERIFY2(DarkPixels(image, QRect(0, 75, 150, 30)) > 100, file); // "AXN-32"
    }
}

void TestRtfReader::undrawableMetafileLeavesBlankFrame()
{
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 a{\\pict\\wmetafile8\\picwgoal1500\\pichgoal750 0102030405}"
                 "b{\\pict\\emfblip\\picw2540\\pich2540 01000000ffff}"
                 "c{\\pict\\wmetafile8 0100090000}d}", // no size to keep: nothing shown
                 document));
    QCOMPARE(document.toPlainText(), QStringLiteral("a\uFFFCb\uFFFCcd"));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 2);
    QCOMPARE(QSizeF(images[0].width(), images[0].height()), QSizeF(100, 50));
    QCOMPARE(QSizeF(images[1].width(), images[1].height()), QSizeF(96, 96));
    for (const QTextImageFormat& format : images) {
        const QImage blank = ImageResource(document, format).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!blank.isNull());
        for (int y = 0; y < blank.height(); ++y)
            for (int x = 0; x < blank.width(); ++x)
                QCOMPARE(blank.pixelColor(x, y), QColor(Qt::white));
    }
}
