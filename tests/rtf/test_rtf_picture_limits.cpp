// SPDX-License-Identifier: MIT
#include "test_rtf_reader.h"

#include "rtf_test_support.h"
#include "metafile/png_chunks.h"

#include <QTest>
#include <QtEndian>

using namespace rtf_test;

namespace {

QImage Stripes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, (x + y) % 2 ? QColor(10, 120, 200) : QColor(250, 240, 10));
    return image;
}

// A chunk as PNG lays it out; `declaredLength` may lie about the data, and
// the CRC is left zero because only the structure matters here.
QByteArray Chunk(const char* type, const QByteArray& data, quint32 declaredLength)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(declaredLength, chunk.data());
    return chunk + QByteArray(type, 4) + data + QByteArray(4, '\0');
}

QByteArray Chunk(const char* type, const QByteArray& data)
{
    return Chunk(type, data, quint32(data.size()));
}

QByteArray InsertBeforeEnd(const QByteArray& png, const QByteArray& chunks)
{
    const qsizetype end = png.lastIndexOf("IEND") - 4;
    return png.left(end) + chunks + png.mid(end);
}

QByteArray InsertAfterHeader(const QByteArray& png, const QByteArray& chunks)
{
    const qsizetype afterHeader = 8 + 8 + 13 + 4; // signature, IHDR
    return png.left(afterHeader) + chunks + png.mid(afterHeader);
}

QStringList ChunkTypes(const QByteArray& png)
{
    QStringList types;
    for (qsizetype at = 8; at + 8 <= png.size();) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        types << QString::fromLatin1(png.mid(at + 4, 4));
        at += 12 + qsizetype(length);
    }
    return types;
}

QImage Decoded(const QByteArray& png)
{
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TestRtfReader::pngKeepsOnlyChunksNeededToDraw()
{
    const QImage image = Stripes(5, 3);
    const QByteArray plain = EncodeImage(image, "PNG");
    const QByteArray busy = InsertBeforeEnd(
        InsertAfterHeader(plain, Chunk("iCCP", QByteArrayLiteral("profile\0\0\x78\x9c")) + Chunk("gAMA", QByteArrayLiteral("\0\0\xb1\x8f"))),
        Chunk("tEXt", QByteArrayLiteral("Comment\0hello")) + Chunk("zTXt", QByteArrayLiteral("Title\0\0\x78\x9c")) +
            Chunk("prVt", "x"));

    const QByteArray kept = metafile::EssentialPngChunks(busy);
    QStringList expected = ChunkTypes(plain);
    QVERIFY(!expected.contains("gAMA") && expected.contains("IDAT"));
    expected.insert(1, "gAMA");
    QCOMPARE(ChunkTypes(kept), expected);
    QCOMPARE(Decoded(kept), image);
    // A PNG with nothing to drop comes back byte for byte.
    QCOMPARE(metafile::EssentialPngChunks(plain), plain);

    // Cut inside the image data: the whole chunks before the cut are kept.
    const QByteArray cut = plain.left(plain.lastIndexOf("IDAT") + 6);
    expected = ChunkTypes(plain);
    expected.removeAll("IDAT");
    QCOMPARE(ChunkTypes(metafile::EssentialPngChunks(cut)), expected);

    QVERIFY(metafile::EssentialPngChunks("GIF89a").isEmpty());
    QVERIFY(metafile::EssentialPngChunks(plain.left(7)).isEmpty());
}

void TestRtfReader::hostilePngChunksNeverReachTheDecoder()
{
    // A text chunk declaring 800 MB: handed on as it is, the decoder claims
    // that much memory before finding the data missing. The sanitized run of
    // these tests refuses any allocation above 512 MB.
    const QImage image = Stripes(6, 4);
    const QByteArray hostile =
        InsertBeforeEnd(EncodeImage(image, "PNG"), Chunk("tEXt", QByteArrayLiteral("Comment\0x"), 800'000'000u));

    QTextDocument document;
    QVERIFY(Load("{\\rtf1 a" + PictureGroup(hostile, "\\pngblip") + "b}", document));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 1);
    QCOMPARE(ImageResource(document, images[0]).convertToFormat(QImage::Format_RGB32), image);
    QCOMPARE(document.toPlainText(), QStringLiteral("a\uFFFCb"));
}

void TestRtfReader::picturesBeyondPixelBudgetAreSkipped()
{
    // One bit a pixel keeps the test pictures small; the budget counts pixels.
    QImage large(6000, 6000, QImage::Format_Mono);
    large.fill(0);
    QImage allowed(4000, 3000, QImage::Format_Mono);
    allowed.fill(1);

    QTextDocument document;
    QVERIFY(Load("{\\rtf1 " + PictureGroup(large, "PNG", "\\pngblip") + "|" +
                     PictureGroup(allowed, "PNG", "\\pngblip") + "}",
                 document));
    const QList<QTextImageFormat> images = Images(document);
    QCOMPARE(images.size(), 1);
    QCOMPARE(ImageResource(document, images[0]).size(), QSize(4000, 3000));
    QCOMPARE(document.toPlainText(), QStringLiteral("|\uFFFC"));
}
