#include "selection/rtf/png_chunks.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace rtf {

namespace {

constexpr std::string_view Signature("\x89PNG\r\n\x1a\n", 8);
constexpr qsizetype LengthAndType = 8;
constexpr qsizetype Crc = 4;

// Critical chunks, and the ancillary ones that only describe colour or size.
constexpr std::array<std::string_view, 10> Kept = {
    "IHDR", "PLTE", "IDAT", "tRNS", "gAMA", "cHRM", "sRGB", "sBIT", "bKGD", "pHYs"};

std::uint32_t BigEndian32(const char* at)
{
    const auto byte = [at](int i) { return std::uint32_t(static_cast<unsigned char>(at[i])); };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

bool IsKept(std::string_view type)
{
    for (const std::string_view kept : Kept)
        if (type == kept)
            return true;
    return false;
}

} // namespace

QByteArray EssentialPngChunks(const QByteArray& png)
{
    if (!png.startsWith(QByteArray::fromRawData(Signature.data(), Signature.size())))
        return {};
    QByteArray kept(Signature.data(), Signature.size());
    qsizetype at = Signature.size();
    while (png.size() - at >= LengthAndType + Crc) {
        const std::uint32_t length = BigEndian32(png.constData() + at);
        if (length > std::uint32_t(png.size() - at - LengthAndType - Crc))
            break;
        const std::string_view type(png.constData() + at + 4, 4);
        const qsizetype chunkSize = LengthAndType + qsizetype(length) + Crc;
        if (type == "IEND")
            break;
        if (IsKept(type))
            kept.append(png.constData() + at, chunkSize);
        at += chunkSize;
    }
    // IEND: no data, and its CRC is that of the type alone.
    kept.append("\0\0\0\0IEND\xae\x42\x60\x82", 12);
    return kept;
}

} // namespace rtf
