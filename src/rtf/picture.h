// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"
#include "metafile/metafile.h"

#include <QByteArray>
#include <QImage>
#include <QSizeF>

#include <string_view>

namespace rtf {

// A description pane has no use for more; PNG and JPEG pictures count
// against the same limit as bitmaps inside metafiles.
using metafile::MaxPicturePixels;

// What a \pict group says about its picture, and its data.
struct PictureData {
    enum class Kind { Unknown, Png, Jpeg, Wmf, Emf, Unsupported };
    Kind kind = Kind::Unknown;
    int width = 0; // \picw; for metafiles in hundredths of a millimetre
    int height = 0;
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

// What the metafiles of one document may take: the pixels of the images
// they are drawn into (past it, pictures are drawn smaller and then only
// framed, so that a document of many large metafiles cannot claim
// gigabytes) and the work of drawing them.
struct PictureBudget {
    qint64 metafilePixels = 64'000'000;
    metafile::MetafileWork metafileWork;
};

struct DecodedPicture {
    QImage image;
    QSizeF displaySize; // pixels at 96 dpi
};

// PNG and JPEG pictures decode; WMF and EMF pictures are drawn at their
// shown size, and one that cannot be drawn becomes a blank frame of that
// size. Fails for other kinds, broken bitmaps, and pictures of no size.
base::Result<DecodedPicture> DecodePicture(const PictureData& picture, PictureBudget& budget);

} // namespace rtf
