#include "rtf/picture.h"

#include "rtf/png_chunks.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace rtf {

namespace {

constexpr double TwipsPerPixel = 15.0; // 1440 twips per inch at 96 pixels per inch
constexpr double MaxDisplayPixels = 16384.0;
// A description pane has no use for more; the header is checked before any
// pixel is decoded, so a document cannot make the decoder claim gigabytes.
constexpr qint64 MaxPicturePixels = 32'000'000;

int NibbleValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

double DisplayLength(int natural, int goalTwips, int scalePercent)
{
    const double base = goalTwips > 0 ? goalTwips / TwipsPerPixel : double(natural);
    const double scale = std::clamp(scalePercent, 1, 1000) / 100.0;
    return std::clamp(base * scale, 1.0, MaxDisplayPixels);
}

} // namespace

void PictureData::appendHex(std::string_view text)
{
    for (const char c : text) {
        const int nibble = NibbleValue(c);
        if (nibble < 0)
            continue; // spaces and stray characters between the digits
        if (pendingNibble_ < 0) {
            pendingNibble_ = nibble;
        } else {
            bytes.append(static_cast<char>(pendingNibble_ << 4 | nibble));
            pendingNibble_ = -1;
        }
    }
}

std::optional<DecodedPicture> DecodePicture(const PictureData& picture)
{
    const char* format = nullptr;
    switch (picture.kind) {
    case PictureData::Kind::Png: format = "PNG"; break;
    case PictureData::Kind::Jpeg: format = "JPEG"; break;
    default: return std::nullopt;
    }
    QByteArray bytes = picture.kind == PictureData::Kind::Png ? EssentialPngChunks(picture.bytes) : picture.bytes;
    if (bytes.isEmpty())
        return std::nullopt;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize declared = reader.size();
    if (declared.isEmpty() || qint64(declared.width()) * declared.height() > MaxPicturePixels)
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    const QSizeF size(DisplayLength(image.width(), picture.goalWidth, picture.scaleX),
                      DisplayLength(image.height(), picture.goalHeight, picture.scaleY));
    return DecodedPicture{std::move(image), size};
}

} // namespace rtf
