// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <string_view>

namespace metafile {

// A bitmap, alone or inside a metafile, is refused past this many pixels:
// its header is checked before any pixel is decoded, so a document cannot
// make a decoder claim gigabytes.
constexpr qint64 MaxPicturePixels = 32'000'000;

// Windows metafiles as RTF pictures carry them: \wmetafile (WMF records,
// with or without the placeable header) and \emfblip (EMF records).
enum class MetafileFormat { Wmf, Emf };

// The size the metafile gives its picture, in pixels at 96 dpi: the
// placeable header of a WMF, the frame of an EMF header. Fails when the
// bytes give none.
base::Result<QSizeF> MetafileSize(MetafileFormat format, const QByteArray& bytes);

// The drawing work the metafiles of one document may take, used up as they
// are drawn: pixels painted (an operation costs the image area it covers)
// and points of the shapes painted.
struct MetafileWork {
    double paintedPixels = 256e6;
    double points = 4e6;
};

// The 8-bit text of a metafile's fonts in Unicode, as the document that
// holds the picture decodes it: `charset` is the font's character set,
// `face` its name (symbol fonts map their bytes to the symbols they draw).
class TextDecoder {
public:
    virtual ~TextDecoder() = default;
    virtual QString decode(std::string_view bytes, int charset, const QString& face) = 0;
};

// Draws the metafile into a white image of `size` pixels, its picture
// stretched over the whole image. Fails when the bytes do not start as a
// metafile of that format or `size` is not drawable. Records that cannot be
// drawn, and those past the picture's or the document's share of work, are
// left out.
base::Result<QImage> RenderMetafile(MetafileFormat format, const QByteArray& bytes, QSize size, MetafileWork& work,
                                    TextDecoder& text);

// Metafiles are drawn at their shown size up to this many pixels, and no
// more than this many a side, and scaled down to them beyond: the
// description pane, a few hundred pixels wide, needs no more, and a
// picture's coordinates are scaled no further than the image it is drawn
// into (a picture asked to be shown thousands of times taller than wide
// would otherwise be drawn sixteen thousand pixels tall).
constexpr qint64 MaxMetafilePixels = 4'000'000;
constexpr int MaxMetafileSide = 2048;

} // namespace metafile
