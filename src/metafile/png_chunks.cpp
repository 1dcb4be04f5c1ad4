// SPDX-License-Identifier: MIT
#include "metafile/png_chunks.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <string_view>

namespace metafile {

namespace {

constexpr std::string_view Signature("\x89PNG\r\n\x1a\n", 8);
constexpr qsizetype LengthAndType = 8;
constexpr qsizetype Crc = 4;

// Critical chunks, and the ancillary ones that only describe colour or size.
constexpr std::array<std::string_view, 10> Kept = {
    "IHDR", "PLTE", "IDAT", "tRNS", "gAMA", "cHRM", "sRGB", "sBIT", "bKGD", "pHYs"};

} // namespace

QByteArray EssentialPngChunks(const QByteArray& png)
{
    if (!png.startsWith(QByteArray::fromRawData(Signature.data(), Signature.size())))
        return {};
    QByteArray kept(Signature.data(), Signature.size());
    qsizetype at = Signature.size();
    while (png.size() - at >= LengthAndType + Crc) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        if (length > quint32(png.size() - at - LengthAndType - Crc))
            break;
        const std::string_view type(png.constData() + at + 4, 4);
        const qsizetype chunkSize = LengthAndType + qsizetype(length) + Crc;
        if (type == "IEND")
            break;
        if (std::ranges::find(Kept, type) != Kept.end())
            kept.append(png.constData() + at, chunkSize);
        at += chunkSize;
    }
    // IEND: no data, and its CRC is that of the type alone.
    kept.append("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    return kept;
}

} // namespace metafile
