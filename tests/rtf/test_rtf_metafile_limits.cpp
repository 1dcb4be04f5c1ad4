// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include "metafile_builders.h"
#include "rtf_test_support.h"

#include <QElapsedTimer>
#include <QTest>
#include <QtEndian>

#include <cstring>
#include <limits>

using namespace rtf_test;

// Each hostile record stands between a red rectangle over the whole
// picture and a blue one over its right half. The red one must always
// show; the blue one shows when the reader could step over the hostile
// record, and not when the record's size leaves no next record to read.

namespace {

QByteArray Le16(std::uint16_t value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray Le32(std::uint32_t value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A WMF record whose size word is whatever the test says.
QByteArray WmfRecordClaiming(std::uint32_t words, std::uint16_t function, const QByteArray& parameters)
{
    return Le32(words) + Le16(function) + parameters;
}

QByteArray DibHeader(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t colours = 0,
                     std::uint32_t size = 40)
{
    return Le32(size) + Le32(std::uint32_t(width)) + Le32(std::uint32_t(height)) + Le16(1) + Le16(bits) + Le32(0) +
        Le32(0) + Le32(0) + Le32(0) + Le32(colours) + Le32(0);
}

QByteArray Wmf(const QByteArray& hostile)
{
    // The objects come first: a hostile record that creates one must not
    // shift their places.
    WmfBuilder wmf;
    wmf.record(MetaSetWindowExt, {100, 200})
        .record(MetaCreatePenIndirect, {5, 0, 0, 0, 0})
        .record(MetaCreateBrushIndirect, SolidBrush(Qt::red))
        .record(MetaCreateBrushIndirect, SolidBrush(Qt::blue))
        .record(MetaSelectObject, {0})
        .record(MetaSelectObject, {1})
        .record(MetaRectangle, {100, 200, 0, 0})
        .raw(hostile)
        .record(MetaSelectObject, {2})
        .record(MetaRectangle, {100, 200, 0, 100});
    return wmf.finish();
}

QByteArray EmfRecordClaiming(std::uint32_t type, std::uint32_t size, const QByteArray& parameters)
{
    return Le32(type) + Le32(size) + parameters;
}

QByteArray EmfRecord(std::uint32_t type, const QByteArray& parameters)
{
    return EmfRecordClaiming(type, std::uint32_t(8 + parameters.size()), parameters);
}

QByteArray Emf(const QByteArray& hostile)
{
    EmfBuilder emf;
    emf.record(EmrSelectObject, {NullPen})
        .record(EmrCreateBrushIndirect, {1, 0, 0x000000FF, 0})
        .record(EmrSelectObject, {1})
        .record(EmrRectangle, {0, 0, 200, 100})
        .raw(hostile)
        .record(EmrCreateBrushIndirect, {2, 0, 0x00FF0000, 0})
        .record(EmrSelectObject, {2})
        .record(EmrRectangle, {100, 0, 200, 100});
    return emf.finish(QRect(0, 0, 200, 100));
}

void CheckDrawnAround(const QByteArray& picture, bool laterRecordsDrawn)
{
    QTextDocument document;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(Load("{\\rtf1 " + picture + "}", document));
    // Nor may a hostile record make the picture slow to draw.
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    const QImage image = OnlyPicture(document);
    QCOMPARE(image.size(), QSize(200, 100));
    QCOMPARE_COLOUR(image, 50, 50, Qt::red);
    QCOMPARE_COLOUR(image, 150, 50, laterRecordsDrawn ? Qt::blue : Qt::red);
}

QByteArray Float(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    return Le32(bits);
}

} // namespace

void TestRtfReader::hostileWmfRecords_data()
{
    QTest::addColumn<QByteArray>("hostile");
    QTest::addColumn<bool>("laterRecordsDrawn");
    // The record chain itself broken: nothing after it can be found.
    QTest::newRow("size past the end of the file") << WmfRecordClaiming(0x7FFFFFFF, MetaRectangle, QByteArray(8, '\0'))
                                                   << false;
    QTest::newRow("size wrapping 32-bit byte counts") << WmfRecordClaiming(0x80000004u, MetaRectangle, QByteArray(8, '\0'))
                                                      << false;
    QTest::newRow("size shorter than a record") << WmfRecordClaiming(1, MetaRectangle, QByteArray()) << false;
    // Counts and offsets inside a well-framed record: the record is passed over.
    QTest::newRow("polygon of more points than it holds")
        << WmfRecordClaiming(3 + 1 + 6, MetaPolygon, Le16(1000) + QByteArray(12, '\0')) << true;
    QTest::newRow("polypolygon counts past its points")
        << WmfRecordClaiming(3 + 3 + 12, MetaPolyPolygon, Le16(2) + Le16(3) + Le16(60000) + QByteArray(24, '\0'))
        << true;
    QTest::newRow("text longer than its record")
        << WmfRecordClaiming(3 + 3, MetaTextOut, Le16(30000) + QByteArray("ab", 2) + Le16(0)) << true;
    QTest::newRow("clipped text without its rectangle")
        << WmfRecordClaiming(3 + 4, MetaExtTextOut, Le16(10) + Le16(10) + Le16(2) + Le16(4)) << true;
    const QByteArray stretch = Le32(0x00CC0020) + Le16(0) + QByteArray(16, '\0');
    QTest::newRow("bitmap of ten billion pixels")
        << WmfRecordClaiming(3 + 11 + 20 + 4, MetaStretchDib, stretch + DibHeader(100000, 100000, 24) + QByteArray(8, '\0'))
        << true;
    QTest::newRow("bitmap header longer than the record")
        << WmfRecordClaiming(3 + 11 + 20, MetaStretchDib, stretch + DibHeader(2, 2, 24, 0, 0x7FFFFFF0)) << true;
    QTest::newRow("colour table past the record")
        << WmfRecordClaiming(3 + 11 + 20 + 2, MetaStretchDib, stretch + DibHeader(2, 2, 8, 256) + QByteArray(4, '\0'))
        << true;
    QTest::newRow("bitmap bits cut short")
        << WmfRecordClaiming(3 + 11 + 20 + 1, MetaStretchDib, stretch + DibHeader(64, 64, 24) + QByteArray(2, '\0'))
        << true;
    QTest::newRow("objects past the table")
        << WmfBuilder().record(MetaSelectObject, {-1}).record(MetaDeleteObject, {30000}).finish().mid(18).chopped(6)
        << true;
    QTest::newRow("restoring states never saved")
        << WmfBuilder().record(MetaRestoreDc, {-100}).record(MetaRestoreDc, {7}).finish().mid(18).chopped(6) << true;
    QTest::newRow("empty window") << WmfBuilder().record(MetaSetWindowExt, {0, 0}).finish().mid(18).chopped(6) << true;
    QTest::newRow("font record cut short") << WmfRecordClaiming(3 + 2, 0x02FB, Le16(12) + Le16(0)) << true;
}

void TestRtfReader::hostileWmfRecords()
{
    QFETCH(QByteArray, hostile);
    QFETCH(bool, laterRecordsDrawn);
    CheckDrawnAround(MetafileGroup("wmetafile8", Wmf(hostile), "\\picwgoal3000\\pichgoal1500"), laterRecordsDrawn);
}

void TestRtfReader::hostileEmfRecords_data()
{
    QTest::addColumn<QByteArray>("hostile");
    QTest::addColumn<bool>("laterRecordsDrawn");
    QTest::newRow("size past the end of the file") << EmfRecordClaiming(EmrRectangle, 0x7FFFFFF0, QByteArray(16, '\0'))
                                                   << false;
    QTest::newRow("size not a whole number of words") << EmfRecordClaiming(EmrRectangle, 26, QByteArray(18, '\0'))
                                                      << false;
    // Multiplied in 32-bit arithmetic, this count wraps and passes a size check.
    QTest::newRow("point count wrapping 32-bit arithmetic")
        << EmfRecord(EmrPolygon16, QByteArray(16, '\0') + Le32(0x40000001) + QByteArray(8, '\0')) << true;
    QTest::newRow("polygon counts past the points")
        << EmfRecord(91, QByteArray(16, '\0') + Le32(1) + Le32(3) + Le32(1000) + QByteArray(12, '\0')) << true;
    // Room for one rectangle, four claimed: a check that counts four bytes a
    // rectangle lets them through.
    QTest::newRow("clip region of more rectangles than it holds")
        << EmfRecord(75, Le32(48) + Le32(5) + Le32(32) + Le32(1) + Le32(4) + Le32(0) + QByteArray(16, '\0') +
                             QByteArray(16, '\0'))
        << true;
    QTest::newRow("text past its record")
        << EmfRecord(EmrExtTextOutW,
                     QByteArray(28, '\0') + QByteArray(8, '\0') + Le32(10) + Le32(0xFFFFFFF0) + Le32(0x100) + Le32(0))
        << true;
    QByteArray bitmap = QByteArray(16, '\0') + QByteArray(24, '\0') + Le32(0xFFFFFF00) + Le32(40) + Le32(80) +
        Le32(0x7FFFFFFF) + Le32(0) + Le32(0x00CC0020) + Le32(100) + Le32(100);
    QTest::newRow("bitmap past its record") << EmfRecord(EmrStretchDibits, bitmap) << true;
    QTest::newRow("objects past the table")
        << EmfRecord(EmrSelectObject, Le32(0x7FFFFFFF)) + EmfRecord(40, Le32(0xFFFFFFF0)) +
               EmfRecord(EmrCreateBrushIndirect, Le32(0xFFFFFFF0) + QByteArray(12, '\0'))
        << true;
    // Drawing through a transform that is not a number shows nothing,
    // until the transform is set right again.
    const QByteArray notANumber = Float(std::numeric_limits<float>::quiet_NaN());
    QTest::newRow("world transform not a number")
        << EmfRecord(EmrSetWorldTransform, notANumber + Float(0) + Float(0) + Float(1) + Float(0) + Float(0)) << false;
    QTest::newRow("world transform repaired")
        << EmfRecord(EmrSetWorldTransform, notANumber + Float(0) + Float(0) + Float(1) + Float(0) + Float(0)) +
               EmfRecord(EmrSetWorldTransform, Float(1) + Float(0) + Float(0) + Float(1) + Float(0) + Float(0))
        << true;
    QTest::newRow("world transform of huge scale")
        << EmfRecord(EmrSetWorldTransform, Float(1e30f) + Float(0) + Float(0) + Float(1e30f) + Float(0) + Float(0))
        << false;
    QTest::newRow("restoring states never saved") << EmfRecord(EmrRestoreDc, Le32(std::uint32_t(-1000))) << true;
    // Filled as they come, each of these triangles costs seconds: the
    // rasterizer walks edges millions of pixels long for a few hundred
    // pixels painted. (EMR_POLYGON: bounds, count, 32-bit points.)
    const QByteArray farTriangle = EmfRecord(3, QByteArray(16, '\0') + Le32(3) + Le32(std::uint32_t(-4'000'000)) +
                                                    Le32(std::uint32_t(-4'000'000)) + Le32(4'000'000) +
                                                    Le32(std::uint32_t(-3'600'000)) + Le32(100) + Le32(4'000'000));
    QTest::newRow("shapes reaching millions of pixels past the picture") << farTriangle.repeated(4) << true;
}

void TestRtfReader::hostileEmfRecords()
{
    QFETCH(QByteArray, hostile);
    QFETCH(bool, laterRecordsDrawn);
    CheckDrawnAround(MetafileGroup("emfblip", Emf(hostile), "\\picwgoal3000\\pichgoal1500"), laterRecordsDrawn);
}

void TestRtfReader::longMetafileStopsAtRecordBudget()
{
    // Records that draw nothing still cost: a picture of a hundred thousand
    // of them ends before a rectangle after them.
    const auto picture = [](int padding) {
        WmfBuilder wmf;
        wmf.record(MetaSetWindowExt, {100, 200}).record(MetaCreateBrushIndirect, SolidBrush(Qt::red));
        for (int i = 0; i < padding; ++i)
            wmf.record(MetaSetBkMode, {1});
        wmf.record(MetaSelectObject, {0}).record(MetaRectangle, {100, 200, 0, 0});
        return MetafileGroup("wmetafile8", wmf.finish(), "\\picwgoal3000\\pichgoal1500");
    };
    QTextDocument document;
    QVERIFY(Load("{\\rtf1 " + picture(1000) + "}", document));
    QCOMPARE_COLOUR(OnlyPicture(document), 100, 50, Qt::red);
    QVERIFY(Load("{\\rtf1 " + picture(100000) + "}", document));
    QCOMPARE_COLOUR(OnlyPicture(document), 100, 50, Qt::white);
}

void TestRtfReader::documentOfManyMetafilesStaysBounded()
{
    // Forty pictures shown at 2000 x 2000 would take 640 MB drawn in full.
    const QByteArray wmf = WmfBuilder().record(MetaSetWindowExt, {10, 10}).finish();
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 40; ++i)
        rtf += MetafileGroup("wmetafile8", wmf, "\\picwgoal30000\\pichgoal30000");
    rtf += "}";
    QTextDocument document;
    QVERIFY(Load(rtf, document));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 40);
    qint64 pixels = 0;
    for (const QTextImageFormat& format : images) {
        QCOMPARE(QSizeF(format.width(), format.height()), QSizeF(2000, 2000));
        const QImage image = ImageResource(document, format);
        pixels += qint64(image.width()) * image.height();
    }
    QVERIFY2(pixels <= 64'000'000 + 40, qPrintable(QString::number(pixels)));
    // The first ones are drawn in full all the same.
    QCOMPARE(ImageResource(document, images[0]).size(), QSize(2000, 2000));
}

void TestRtfReader::drawingWorkIsSharedByTheDocument()
{
    // Each picture fills itself 250 times over, more than one picture may
    // (its share stops it part way, red all the same). Seventy of them
    // are more than a document may draw: the last ones stay blank.
    WmfBuilder busy;
    busy.record(MetaSetWindowExt, {100, 200}).record(MetaCreateBrushIndirect, SolidBrush(Qt::red)).record(MetaSelectObject, {0});
    for (int i = 0; i < 250; ++i)
        busy.record(MetaRectangle, {100, 200, 0, 0});
    const QByteArray picture = MetafileGroup("wmetafile8", busy.finish(), "\\picwgoal3000\\pichgoal1500");
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 70; ++i)
        rtf += picture;
    QTextDocument document;
    QVERIFY(Load(rtf + "}", document));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 70);
    QCOMPARE_COLOUR(ImageResource(document, images.front()).convertToFormat(QImage::Format_RGB32), 100, 50, Qt::red);
    QCOMPARE_COLOUR(ImageResource(document, images.back()).convertToFormat(QImage::Format_RGB32), 100, 50, Qt::white);
}
