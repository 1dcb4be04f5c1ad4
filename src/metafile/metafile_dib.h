// SPDX-License-Identifier: MIT
#pragma once

#include "base/result.h"
#include "metafile/metafile_bytes.h"

#include <QImage>
#include <QRectF>

namespace metafile {

// A device-independent bitmap from a metafile record, top row first.
// Source rectangles count rows from the bottom of a bottom-up bitmap.
struct Dib {
    QImage image;
    bool bottomUp = true;
};

// A bitmap whose header (BITMAPINFOHEADER or BITMAPCOREHEADER, with its
// colour table) and pixel bits lie apart, as EMF records keep them. Bitmaps
// above the picture pixel budget fail before any pixel is decoded.
base::Result<Dib> DecodeDib(Bytes info, Bytes bits);

// A packed bitmap, header, colour table and bits in one run, as WMF
// records keep them.
base::Result<Dib> DecodePackedDib(Bytes packed);

// The rectangle of `dib.image` that a record's source rectangle names.
QRectF SourceRect(const Dib& dib, double x, double y, double width, double height);

} // namespace metafile
