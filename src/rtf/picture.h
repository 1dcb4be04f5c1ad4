#pragma once

#include <QByteArray>
#include <QImage>
#include <QSizeF>

#include <optional>
#include <string_view>

namespace rtf {

// What a \pict group says about its picture, and its data.
struct PictureData {
    enum class Kind { Unknown, Png, Jpeg, Unsupported };
    Kind kind = Kind::Unknown;
    int goalWidth = 0; // twips, \picwgoal
    int goalHeight = 0;
    int scaleX = 100; // percent, \picscalex
    int scaleY = 100;
    QByteArray bytes;

    void appendHex(std::string_view text);
    void appendBinary(std::string_view data) { bytes.append(data.data(), static_cast<qsizetype>(data.size())); }

private:
    int pendingNibble_ = -1;
};

struct DecodedPicture {
    QImage image;
    QSizeF displaySize; // pixels at 96 dpi
};

// PNG and JPEG pictures decode; metafiles and other kinds are not shown.
std::optional<DecodedPicture> DecodePicture(const PictureData& picture);

} // namespace rtf
