// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// The WMF records the player reads, as Microsoft's Windows Metafile Format
// document ([MS-WMF]) lays them out: every record starts with its size in 16-bit
// words (32 bits) and its function (16 bits), then its parameters as 16-bit
// words, little-endian; points come y first, rectangles bottom, right, top,
// left. Offsets count from the start of the record; `Size` is the part a
// record must hold before its fields are read.
namespace metafile::wmf {

// The low byte of each record function, which tells the records apart.
enum RecordType : std::uint8_t {
    Eof = 0x00,
    SetBkColor = 0x01,
    SetBkMode = 0x02,
    SetRop2 = 0x04,
    SetPolyFillMode = 0x06,
    SetTextColor = 0x09,
    SetWindowOrg = 0x0B,
    SetWindowExt = 0x0C,
    OffsetWindowOrg = 0x0F,
    ScaleWindowExt = 0x10,
    LineTo = 0x13,
    MoveTo = 0x14,
    ExcludeClipRect = 0x15,
    IntersectClipRect = 0x16,
    Arc = 0x17,
    Ellipse = 0x18,
    Pie = 0x1A,
    Rectangle = 0x1B,
    RoundRect = 0x1C,
    PatBlt = 0x1D,
    SaveDc = 0x1E,
    SetPixel = 0x1F,
    TextOut = 0x21,
    BitBlt = 0x22,
    StretchBlt = 0x23,
    Polygon = 0x24,
    Polyline = 0x25,
    RestoreDc = 0x27,
    SelectObject = 0x2D,
    SetTextAlign = 0x2E,
    Chord = 0x30,
    SetDibToDev = 0x33,
    PolyPolygon = 0x38,
    DibBitBlt = 0x40,
    DibStretchBlt = 0x41,
    DibCreatePatternBrush = 0x42,
    StretchDib = 0x43,
    DeleteObject = 0xF0,
    CreatePalette = 0xF7,
    CreatePatternBrush = 0xF9,
    CreatePenIndirect = 0xFA,
    CreateFontIndirect = 0xFB,
    CreateBrushIndirect = 0xFC,
    CreateBitmapIndirect = 0xFD,
    CreateBitmap = 0xFE,
    CreateRegion = 0xFF,
    ExtTextOut = 0x32,
};

// Every record: its size in words, its function's low byte (the type) and
// high byte.
namespace record {
constexpr std::size_t Words = 0;
constexpr std::size_t Type = 4;
constexpr std::size_t FunctionHigh = 5;
constexpr std::size_t HeaderSize = 6;
constexpr std::size_t Parameters = 6;
} // namespace record

// The placeable header some files start with, before the standard one.
namespace placeable {
constexpr std::uint32_t KeyValue = 0x9AC6CDD7;
constexpr std::size_t Key = 0;
constexpr std::size_t BoundingBox = 6; // left, top, right, bottom
constexpr std::size_t UnitsPerInch = 14;
constexpr std::size_t Size = 22;
} // namespace placeable

// The standard header: type 1 (memory) or 2 (disk), its size in words.
namespace header {
constexpr std::size_t Type = 0;
constexpr std::size_t HeaderWords = 2;
constexpr std::size_t Objects = 10;
constexpr std::size_t Size = 18;
} // namespace header

// Records of one word (the modes, RESTOREDC, the object indexes); the mode
// records may carry a second, unused one.
namespace word {
constexpr std::size_t Value = 6;
constexpr std::size_t Size = 8;
} // namespace word

// SETBKCOLOR, SETTEXTCOLOR
namespace colour {
constexpr std::size_t Colour = 6;
constexpr std::size_t Size = 10;
} // namespace colour

// Records of a point, y first: the window records, MOVETO, LINETO.
namespace point {
constexpr std::size_t Point = 6;
constexpr std::size_t Size = 10;
} // namespace point

namespace scaleWindowExt {
constexpr std::size_t YDenom = 6;
constexpr std::size_t YNum = 8;
constexpr std::size_t XDenom = 10;
constexpr std::size_t XNum = 12;
constexpr std::size_t Size = 14;
} // namespace scaleWindowExt

// Records of a rectangle, bottom first: the clip rectangles, ELLIPSE, RECTANGLE.
namespace box {
constexpr std::size_t Rect = 6;
constexpr std::size_t Size = 14;
} // namespace box

namespace roundRect {
constexpr std::size_t Height = 6;
constexpr std::size_t Width = 8;
constexpr std::size_t Rect = 10;
constexpr std::size_t Size = 18;
} // namespace roundRect

// ARC, PIE, CHORD
namespace arc {
constexpr std::size_t End = 6;
constexpr std::size_t Start = 10;
constexpr std::size_t Rect = 14;
constexpr std::size_t Size = 22;
} // namespace arc

namespace patBlt {
constexpr std::size_t Rop = 6; // 32-bit
constexpr std::size_t Height = 10;
constexpr std::size_t Width = 12;
constexpr std::size_t Dest = 14;
constexpr std::size_t Size = 18;
} // namespace patBlt

namespace setPixel {
constexpr std::size_t Colour = 6;
constexpr std::size_t Point = 10;
constexpr std::size_t Size = 14;
} // namespace setPixel

// TEXTOUT: the length, the string padded to whole words, then the point.
namespace textOut {
constexpr std::size_t Length = 6;
constexpr std::size_t String = 8;
constexpr std::size_t Size = 8;
} // namespace textOut

// EXTTEXTOUT: then the rectangle (with ETO_OPAQUE or ETO_CLIPPED), the
// string padded to whole words, and the advances, a word each.
namespace extTextOut {
constexpr std::size_t Point = 6;
constexpr std::size_t Length = 10;
constexpr std::size_t Options = 12;
constexpr std::size_t Size = 14;
constexpr std::size_t RectSize = 8; // left, top, right, bottom
constexpr std::uint16_t Opaque = 0x0002;
constexpr std::uint16_t Clipped = 0x0004;
} // namespace extTextOut

// POLYGON, POLYLINE: the count, then points x first.
namespace poly {
constexpr std::size_t Count = 6;
constexpr std::size_t Points = 8;
constexpr std::size_t Size = 10;
} // namespace poly

// POLYPOLYGON: the count of polygons, their point counts, then all points.
namespace polyPolygon {
constexpr std::size_t Polygons = 6;
constexpr std::size_t Counts = 8;
constexpr std::size_t Size = 10;
} // namespace polyPolygon

// CREATEPENINDIRECT: a LogPen (style, width as a point, colour).
namespace createPen {
constexpr std::size_t Style = 6;
constexpr std::size_t Width = 8;
constexpr std::size_t Colour = 12;
constexpr std::size_t Size = 16;
} // namespace createPen

// CREATEBRUSHINDIRECT: a LogBrush (style, colour, hatch).
namespace createBrush {
constexpr std::size_t Style = 6;
constexpr std::size_t Colour = 8;
constexpr std::size_t Hatch = 12;
constexpr std::size_t Size = 14;
} // namespace createBrush

// CREATEFONTINDIRECT: a Font, its face name up to 32 bytes at the end.
namespace createFont {
constexpr std::size_t Height = 6;
constexpr std::size_t Escapement = 10;
constexpr std::size_t Weight = 14;
constexpr std::size_t Italic = 16; // 8-bit, as are the next three
constexpr std::size_t Underline = 17;
constexpr std::size_t StrikeOut = 18;
constexpr std::size_t CharSet = 19;
constexpr std::size_t FaceName = 24;
constexpr std::size_t FaceNameLength = 32;
} // namespace createFont

// DIBCREATEPATTERNBRUSH: style, colour usage, a packed bitmap.
namespace dibPatternBrush {
constexpr std::size_t Style = 6;
constexpr std::size_t Usage = 8;
constexpr std::size_t Bitmap = 10;
constexpr std::size_t Size = 10;
} // namespace dibPatternBrush

namespace stretchDib {
constexpr std::size_t Rop = 6;
constexpr std::size_t Usage = 10;
constexpr std::size_t SrcHeight = 12;
constexpr std::size_t SrcWidth = 14;
constexpr std::size_t Src = 16; // y first, as every point
constexpr std::size_t DestHeight = 20;
constexpr std::size_t DestWidth = 22;
constexpr std::size_t Dest = 24;
constexpr std::size_t Bitmap = 28;
constexpr std::size_t Size = 28;
} // namespace stretchDib

// DIBSTRETCHBLT, and STRETCHBLT, with a bitmap.
namespace dibStretchBlt {
constexpr std::size_t Rop = 6;
constexpr std::size_t SrcHeight = 10;
constexpr std::size_t SrcWidth = 12;
constexpr std::size_t Src = 14;
constexpr std::size_t DestHeight = 18;
constexpr std::size_t DestWidth = 20;
constexpr std::size_t Dest = 22;
constexpr std::size_t Bitmap = 26;
constexpr std::size_t Size = 26;
} // namespace dibStretchBlt

// Without a bitmap, a reserved word comes before the destination size.
namespace stretchBltNoBitmap {
constexpr std::size_t Rop = 6;
constexpr std::size_t DestHeight = 20;
constexpr std::size_t DestWidth = 22;
constexpr std::size_t Dest = 24;
constexpr std::size_t Size = 28;
} // namespace stretchBltNoBitmap

// DIBBITBLT, and BITBLT, with a bitmap.
namespace dibBitBlt {
constexpr std::size_t Rop = 6;
constexpr std::size_t Src = 10;
constexpr std::size_t Height = 14;
constexpr std::size_t Width = 16;
constexpr std::size_t Dest = 18;
constexpr std::size_t Bitmap = 22;
constexpr std::size_t Size = 22;
} // namespace dibBitBlt

namespace bitBltNoBitmap {
constexpr std::size_t Rop = 6;
constexpr std::size_t Height = 16;
constexpr std::size_t Width = 18;
constexpr std::size_t Dest = 20;
constexpr std::size_t Size = 24;
} // namespace bitBltNoBitmap

namespace setDibToDev {
constexpr std::size_t Usage = 6;
constexpr std::size_t ScanCount = 8;
constexpr std::size_t StartScan = 10;
constexpr std::size_t Src = 12;
constexpr std::size_t Height = 16;
constexpr std::size_t Width = 18;
constexpr std::size_t Dest = 20;
constexpr std::size_t Bitmap = 24;
constexpr std::size_t Size = 24;
} // namespace setDibToDev

// A blit record carries no bitmap when its size in words is the function's
// high byte plus three.
constexpr bool BlitWithoutBitmap(std::size_t recordBytes, std::uint8_t functionHigh)
{
    return recordBytes / 2 == std::size_t(functionHigh) + 3;
}

// Values of fields
constexpr std::uint16_t DibRgbColours = 0; // DIB_RGB_COLORS
constexpr std::uint16_t BrushSolid = 0;
constexpr std::uint16_t BrushNull = 1;
constexpr std::uint16_t BrushHatched = 2;
constexpr std::uint16_t BrushPattern = 3;
constexpr std::uint32_t SrcCopy = 0x00CC0020;

} // namespace metafile::wmf
