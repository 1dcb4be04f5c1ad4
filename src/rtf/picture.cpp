// SPDX-License-Identifier: MIT
#include "rtf/picture.h"

#include "metafile/metafile.h"
#include "metafile/png_chunks.h"
#include "rtf/code_page.h"
#include "rtf/symbol_fonts.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace rtf {

namespace {

constexpr double TwipsPerPixel = 15.0; // 1440 twips per inch at 96 pixels per inch
constexpr double PixelsPerHimetric = 96.0 / 2540.0;
constexpr double MaxDisplayPixels = 16384.0;

int NibbleValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One side of the shown size: the goal the writer asked for, else the
// picture's own size, scaled by \picscalex / \picscaley.
double DisplayLength(double natural, int goalTwips, int scalePercent)
{
    const double base = goalTwips > 0 ? goalTwips / TwipsPerPixel : natural;
    const double scale = std::clamp(scalePercent, 1, 1000) / 100.0;
    return std::clamp(base * scale, 1.0, MaxDisplayPixels);
}

base::Result<DecodedPicture> DecodeBitmap(const PictureData& picture)
{
    const char* format = picture.kind == PictureData::Kind::Png ? "PNG" : "JPEG";
    QByteArray bytes = picture.kind == PictureData::Kind::Png ? metafile::EssentialPngChunks(picture.bytes) : picture.bytes;
    if (bytes.isEmpty())
        return base::Fail(QStringLiteral("picture has no data"));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    // The format is known: left to guess, Qt would load every image plugin
    // and ask each one about the bytes first.
    reader.setAutoDetectImageFormat(false);
    const QSize declared = reader.size();
    if (declared.isEmpty() || qint64(declared.width()) * declared.height() > MaxPicturePixels)
        return base::Fail(QStringLiteral("picture size unusable"));
    QImage image = reader.read();
    if (image.isNull())
        return base::Fail(QStringLiteral("picture damaged"));
    const QSizeF size(DisplayLength(image.width(), picture.goalWidth, picture.scaleX),
                      DisplayLength(image.height(), picture.goalHeight, picture.scaleY));
    return DecodedPicture{std::move(image), size};
}

// Metafile text in the code page of its font's character set, or as the
// symbol font it names draws it. One a picture: its converters open once.
class MetafileText final : public metafile::TextDecoder {
public:
    QString decode(std::string_view bytes, int charset, const QString& face) override
    {
        QString text;
        const SymbolFont symbol = SymbolFontNamed(face);
        int codePage = CodePageForCharset(charset);
        if (codePage <= 0)
            codePage = WesternCodePage;
        for (const char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (const char32_t mapped = SymbolFontCharacter(symbol, byte)) {
                decoder_.flush(text);
                if (mapped > 0xFFFF) {
                    text.append(QChar(QChar::highSurrogate(mapped)));
                    text.append(QChar(QChar::lowSurrogate(mapped)));
                } else {
                    text.append(QChar(static_cast<char16_t>(mapped)));
                }
                continue;
            }
            decoder_.feed(codePage, byte, text);
        }
        decoder_.flush(text);
        return text;
    }

private:
    CodePageDecoder decoder_;
};

base::Result<DecodedPicture> DrawMetafile(const PictureData& picture, PictureBudget& budget)
{
    using metafile::MetafileFormat;
    const MetafileFormat format = picture.kind == PictureData::Kind::Wmf ? MetafileFormat::Wmf : MetafileFormat::Emf;
    // The size: what the document asks for, else \picw and \pich, else
    // what the metafile says of itself.
    QSizeF natural(picture.width * PixelsPerHimetric, picture.height * PixelsPerHimetric);
    if (natural.width() <= 0 || natural.height() <= 0) {
        const base::Result<QSizeF> own = metafile::MetafileSize(format, picture.bytes);
        natural = own.valueOr(QSizeF());
    }
    if ((natural.width() <= 0 && picture.goalWidth <= 0) || (natural.height() <= 0 && picture.goalHeight <= 0))
        return base::Fail(QStringLiteral("picture gives no size"));
    const QSizeF shown(DisplayLength(natural.width(), picture.goalWidth, picture.scaleX),
                       DisplayLength(natural.height(), picture.goalHeight, picture.scaleY));

    // Drawn at the shown size, or smaller where the limits say so.
    QSize pixels(std::max(1, qRound(shown.width())), std::max(1, qRound(shown.height())));
    const double side = std::max(pixels.width(), pixels.height());
    if (side > metafile::MaxMetafileSide) {
        const QSizeF scaled = QSizeF(pixels) * (metafile::MaxMetafileSide / side);
        pixels = QSize(std::max(1, qRound(scaled.width())), std::max(1, qRound(scaled.height())));
    }
    const double area = double(pixels.width()) * pixels.height();
    const double allowed = double(std::min(metafile::MaxMetafilePixels, budget.metafilePixels));
    if (area > allowed) {
        const double factor = std::sqrt(allowed / area);
        pixels = QSize(int(pixels.width() * factor), int(pixels.height() * factor));
    }
    if (!pixels.isEmpty()) {
        budget.metafilePixels -= qint64(pixels.width()) * pixels.height();
        MetafileText text;
        base::Result<QImage> drawn = metafile::RenderMetafile(format, picture.bytes, pixels, budget.metafileWork, text);
        if (drawn)
            return DecodedPicture{std::move(drawn.value()), shown};
    }
    // Where the picture stood, the reader sees that one stood there: a
    // white frame of its size, one pixel stretched over it.
    QImage blank(1, 1, QImage::Format_RGB32);
    blank.fill(Qt::white);
    return DecodedPicture{std::move(blank), shown};
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

base::Result<DecodedPicture> DecodePicture(const PictureData& picture, PictureBudget& budget)
{
    switch (picture.kind) {
    case PictureData::Kind::Png:
    case PictureData::Kind::Jpeg: return DecodeBitmap(picture);
    case PictureData::Kind::Wmf:
    case PictureData::Kind::Emf: return DrawMetafile(picture, budget);
    default: break;
    }
    return base::Fail(QStringLiteral("picture kind not shown"));
}

} // namespace rtf
