// SPDX-License-Identifier: MIT
#include "metafile/metafile_dib.h"

#include "metafile/metafile.h"
#include "metafile/png_chunks.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstdint>

namespace metafile {

namespace {

constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::size_t FileHeaderSize = 14;

enum Compression : std::uint32_t { Rgb = 0, BitFields = 3, Jpeg = 4, Png = 5, AlphaBitFields = 6 };

struct Header {
    std::uint32_t size = 0;
    qint64 width = 0;
    qint64 height = 0; // negative: top row first
    int bitCount = 0;
    std::uint32_t compression = Rgb;
    std::uint32_t coloursUsed = 0;
};

base::Result<Header> ReadHeader(Bytes info)
{
    Header header;
    header.size = info.at<std::uint32_t>(0);
    if (header.size == CoreHeaderSize && info.has(0, CoreHeaderSize)) {
        header.width = info.at<std::uint16_t>(4);
        header.height = info.at<std::uint16_t>(6);
        header.bitCount = info.at<std::uint16_t>(10);
        return header;
    }
    if (header.size < InfoHeaderSize || !info.has(0, header.size))
        return base::Fail(QStringLiteral("bitmap header damaged"));
    header.width = info.at<std::int32_t>(4);
    header.height = info.at<std::int32_t>(8);
    header.bitCount = info.at<std::uint16_t>(14);
    header.compression = info.at<std::uint32_t>(16);
    header.coloursUsed = info.at<std::uint32_t>(32);
    return header;
}

base::Result<QImage> ReadImage(QByteArray data, const char* format)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.isEmpty() || qint64(size.width()) * size.height() > MaxPicturePixels)
        return base::Fail(QStringLiteral("bitmap size unusable"));
    QImage image = reader.read();
    if (image.isNull())
        return base::Fail(QStringLiteral("bitmap damaged"));
    return image;
}

void AppendLe32(QByteArray& out, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

base::Result<Dib> DecodeDib(Bytes info, Bytes bits)
{
    const base::Result<Header> header = ReadHeader(info);
    if (!header)
        return header.failure();
    const qint64 rows = header->height < 0 ? -header->height : header->height;
    if (header->width <= 0 || rows == 0 || header->width * rows > MaxPicturePixels)
        return base::Fail(QStringLiteral("bitmap size unusable"));

    Dib dib;
    dib.bottomUp = header->height > 0;
    const QByteArray pixels(bits.data(), static_cast<qsizetype>(bits.size()));
    base::Result<QImage> image = base::Fail(QString());
    if (header->compression == Jpeg || header->compression == Png) {
        // A whole JPEG or PNG file stands in for the bits; it knows its own orientation.
        dib.bottomUp = false;
        image = header->compression == Png ? ReadImage(EssentialPngChunks(pixels), "PNG") : ReadImage(pixels, "JPEG");
    } else {
        // The BMP reader decodes every DIB layout; a file header is all it lacks.
        QByteArray file;
        const std::size_t fileSize = FileHeaderSize + info.size() + bits.size();
        if (fileSize > 0xFFFFFFFFu)
            return base::Fail(QStringLiteral("bitmap size unusable"));
        file.reserve(static_cast<qsizetype>(fileSize));
        file.append("BM", 2);
        AppendLe32(file, static_cast<std::uint32_t>(fileSize));
        AppendLe32(file, 0);
        AppendLe32(file, static_cast<std::uint32_t>(FileHeaderSize + info.size()));
        file.append(info.data(), static_cast<qsizetype>(info.size()));
        file.append(pixels);
        image = ReadImage(file, "BMP");
    }
    if (!image)
        return image.failure();
    dib.image = std::move(image.value());
    return dib;
}

QRectF SourceRect(const Dib& dib, double x, double y, double width, double height)
{
    if (dib.bottomUp)
        y = dib.image.height() - y - height;
    return QRectF(x, y, width, height);
}

base::Result<Dib> DecodePackedDib(Bytes packed)
{
    const base::Result<Header> header = ReadHeader(packed);
    if (!header)
        return header.failure();
    // The colour table (and the colour masks of a plain info header) sit
    // between the header and the bits.
    std::uint64_t infoSize = header->size;
    const bool indexed = header->bitCount > 0 && header->bitCount <= 8;
    if (header->size == CoreHeaderSize) {
        infoSize += indexed ? 3ull << header->bitCount : 0;
    } else {
        if (header->size == InfoHeaderSize && header->compression == BitFields)
            infoSize += 12;
        if (header->size == InfoHeaderSize && header->compression == AlphaBitFields)
            infoSize += 16;
        std::uint64_t colours = header->coloursUsed;
        if (colours == 0 && indexed)
            colours = 1ull << header->bitCount;
        if (indexed && colours > (1ull << header->bitCount))
            return base::Fail(QStringLiteral("bitmap colour table damaged"));
        infoSize += 4 * colours;
    }
    if (!packed.has(0, infoSize))
        return base::Fail(QStringLiteral("bitmap cut short"));
    return DecodeDib(packed.sub(0, infoSize), packed.from(infoSize));
}

} // namespace metafile
