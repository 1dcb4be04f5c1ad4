// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// The EMF records the player reads, as Microsoft's Enhanced Metafile Format
// document ([MS-EMF]) lays them out: every record starts with its type and its
// size in bytes (a multiple of 4), then its fields, little-endian. Offsets
// count from the start of the record; `Size` is the fixed part, which a
// record must hold before any field is read (what follows it is checked
// where it is read).
namespace metafile::emf {

enum RecordType : std::uint32_t {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    Eof = 14,
    SetPixelV = 15,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetRop2 = 20,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    MoveToEx = 27,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExtEx = 31,
    ScaleWindowExtEx = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    CreatePalette = 49,
    LineTo = 54,
    ArcTo = 55,
    SetArcDirection = 57,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    SelectClipPath = 67,
    AbortPath = 68,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
    CreateColorSpace = 99,
    AlphaBlend = 114,
    CreateColorSpaceW = 122,
};

// Every record: its type and its size.
namespace record {
constexpr std::size_t Type = 0;
constexpr std::size_t Size = 4;
constexpr std::size_t HeaderSize = 8;
} // namespace record

// Field types, as they lie in a record.
struct RectL {
    std::int32_t left, top, right, bottom;
};
struct PointL {
    std::int32_t x, y;
};
struct PointS {
    std::int16_t x, y;
};
struct SizeL {
    std::int32_t cx, cy;
};
struct ColorRef {
    std::uint8_t red, green, blue, reserved;
};
struct XForm {
    float m11, m12, m21, m22, dx, dy;
};
static_assert(sizeof(RectL) == 16 && sizeof(PointL) == 8 && sizeof(PointS) == 4 && sizeof(SizeL) == 8 &&
              sizeof(ColorRef) == 4 && sizeof(XForm) == 24);

// EMR_HEADER, up to the device sizes; later versions add fields after them.
namespace header {
constexpr std::size_t Bounds = 8;        // RectL, device pixels, inclusive
constexpr std::size_t Frame = 24;        // RectL, hundredths of a millimetre, inclusive
constexpr std::size_t Signature = 40;    // " EMF"
constexpr std::size_t Handles = 56;      // 16-bit: the object table's size
constexpr std::size_t Device = 72;       // SizeL, reference device in pixels
constexpr std::size_t Millimetres = 80;  // SizeL, reference device in millimetres
constexpr std::size_t Size = 88;
constexpr std::uint32_t SignatureValue = 0x464D4520;
} // namespace header

// Records of one 32-bit value: the modes, the colours, the object indexes,
// RESTOREDC, SELECTCLIPPATH, SETARCDIRECTION.
namespace value {
constexpr std::size_t Value = 8;
constexpr std::size_t Size = 12;
} // namespace value

// Records of a point or size: the window and viewport, MOVETOEX, LINETO.
namespace point {
constexpr std::size_t Point = 8;
constexpr std::size_t Size = 16;
} // namespace point

// SCALEVIEWPORTEXTEX and SCALEWINDOWEXTEX
namespace scale {
constexpr std::size_t XNum = 8;
constexpr std::size_t XDenom = 12;
constexpr std::size_t YNum = 16;
constexpr std::size_t YDenom = 20;
constexpr std::size_t Size = 24;
} // namespace scale

// Records of a rectangle: the clip rectangles, ELLIPSE, RECTANGLE.
namespace box {
constexpr std::size_t Rect = 8;
constexpr std::size_t Size = 24;
} // namespace box

namespace roundRect {
constexpr std::size_t Box = 8;
constexpr std::size_t Corner = 24; // SizeL
constexpr std::size_t Size = 32;
} // namespace roundRect

// ARC, CHORD, PIE, ARCTO
namespace arc {
constexpr std::size_t Box = 8;
constexpr std::size_t Start = 24;
constexpr std::size_t End = 32;
constexpr std::size_t Size = 40;
} // namespace arc

namespace setPixel {
constexpr std::size_t Pixel = 8;
constexpr std::size_t Colour = 16;
constexpr std::size_t Size = 20;
} // namespace setPixel

namespace setWorldTransform {
constexpr std::size_t Transform = 8;
constexpr std::size_t Size = 32;
} // namespace setWorldTransform

namespace modifyWorldTransform {
constexpr std::size_t Transform = 8;
constexpr std::size_t Mode = 32;
constexpr std::size_t Size = 36;
} // namespace modifyWorldTransform

// The POLY* records, 32-bit (PointL) or 16-bit (PointS) points.
namespace poly {
constexpr std::size_t Bounds = 8;
constexpr std::size_t Count = 24;
constexpr std::size_t Points = 28;
constexpr std::size_t Size = 28;
} // namespace poly

// POLYPOLYLINE and POLYPOLYGON, either width: the point counts of each
// shape, then all the points.
namespace polyPoly {
constexpr std::size_t Bounds = 8;
constexpr std::size_t Shapes = 24;
constexpr std::size_t TotalPoints = 28;
constexpr std::size_t Counts = 32;
constexpr std::size_t Size = 32;
} // namespace polyPoly

// Object creation records name the object table place first.
namespace create {
constexpr std::size_t Index = 8;
} // namespace create

// CREATEPEN: a LogPen (style, width as a PointL, colour).
namespace createPen {
constexpr std::size_t Index = 8;
constexpr std::size_t Style = 12;
constexpr std::size_t Width = 16; // the x of a PointL
constexpr std::size_t Colour = 24;
constexpr std::size_t Size = 28;
} // namespace createPen

// EXTCREATEPEN: an optional bitmap, then a LogPenEx and its style entries.
namespace extCreatePen {
constexpr std::size_t Index = 8;
constexpr std::size_t BitmapInfoOffset = 12;
constexpr std::size_t BitmapInfoSize = 16;
constexpr std::size_t BitsOffset = 20;
constexpr std::size_t BitsSize = 24;
constexpr std::size_t PenStyle = 28;
constexpr std::size_t Width = 32;
constexpr std::size_t BrushStyle = 36;
constexpr std::size_t Colour = 40;
constexpr std::size_t Hatch = 44;
constexpr std::size_t StyleEntries = 48; // their count; the 32-bit entries follow
constexpr std::size_t Size = 52;
} // namespace extCreatePen

// CREATEBRUSHINDIRECT: a LogBrush (style, colour, hatch).
namespace createBrush {
constexpr std::size_t Index = 8;
constexpr std::size_t Style = 12;
constexpr std::size_t Colour = 16;
constexpr std::size_t Hatch = 20;
constexpr std::size_t Size = 24;
} // namespace createBrush

// CREATEDIBPATTERNBRUSHPT and CREATEMONOBRUSH
namespace patternBrush {
constexpr std::size_t Index = 8;
constexpr std::size_t Usage = 12;
constexpr std::size_t BitmapInfoOffset = 16;
constexpr std::size_t BitmapInfoSize = 20;
constexpr std::size_t BitsOffset = 24;
constexpr std::size_t BitsSize = 28;
constexpr std::size_t Size = 32;
} // namespace patternBrush

// EXTCREATEFONTINDIRECTW: a LogFont (its face name 32 UTF-16 units), more
// after it in the longer forms of the record.
namespace createFont {
constexpr std::size_t Index = 8;
constexpr std::size_t Height = 12;
constexpr std::size_t Escapement = 20;
constexpr std::size_t Weight = 28;
constexpr std::size_t Italic = 32;    // 8-bit, as are the next three
constexpr std::size_t Underline = 33;
constexpr std::size_t StrikeOut = 34;
constexpr std::size_t CharSet = 35;
constexpr std::size_t FaceName = 40;
constexpr std::size_t FaceNameLength = 32;
constexpr std::size_t Size = 104;
} // namespace createFont

// EXTTEXTOUTA and EXTTEXTOUTW: then an EmrText (reference point, count,
// string offset, options, the optional rectangle, the advances' offset).
namespace text {
constexpr std::size_t Bounds = 8;
constexpr std::size_t GraphicsMode = 24;
constexpr std::size_t Scale = 28; // two floats
constexpr std::size_t Reference = 36;
constexpr std::size_t Chars = 44;
constexpr std::size_t StringOffset = 48;
constexpr std::size_t Options = 52;
constexpr std::size_t Size = 56;
// Then the rectangle (RectL) unless ETO_NO_RECT, then the advances' offset.
constexpr std::size_t Rectangle = 56;
constexpr std::uint32_t NoRect = 0x0100;
constexpr std::uint32_t AdvancesXY = 0x2000; // ETO_PDY
} // namespace text

// EXTSELECTCLIPRGN: a RegionData (its header, then rectangles).
namespace clipRegion {
constexpr std::size_t DataSize = 8;
constexpr std::size_t Mode = 12;
constexpr std::size_t Data = 16;
constexpr std::size_t Size = 16;
constexpr std::size_t DataHeaderSize = 32;
constexpr std::size_t DataRects = 8; // in the region data: the rectangles' count
constexpr std::uint32_t ModeCopy = 5;
} // namespace clipRegion

// The bitmap fields of the bitmap records: the offsets count from the
// start of the record.
struct BitmapFields {
    std::size_t infoOffset, infoSize, bitsOffset, bitsSize, usage;
};

namespace bitBlt {
constexpr std::size_t Bounds = 8;
constexpr std::size_t Dest = 24;     // PointL
constexpr std::size_t DestSize = 32; // PointL
constexpr std::size_t Rop = 40;      // the blend function in ALPHABLEND
constexpr std::size_t Src = 44;
constexpr std::size_t SrcTransform = 52;
constexpr std::size_t SrcBackground = 76;
constexpr BitmapFields Bitmap{84, 88, 92, 96, 80};
constexpr std::size_t Size = 100;
} // namespace bitBlt

// STRETCHBLT and ALPHABLEND: BITBLT and the source size.
namespace stretchBlt {
constexpr std::size_t SrcSize = 100; // PointL
constexpr std::size_t Size = 108;
// ALPHABLEND's blend function: its fourth byte, AC_SRC_ALPHA, says the
// source pixels carry alpha.
constexpr std::size_t AlphaFormat = bitBlt::Rop + 3;
constexpr std::uint8_t SourceAlpha = 0x01;
} // namespace stretchBlt

namespace setDiBitsToDevice {
constexpr std::size_t Bounds = 8;
constexpr std::size_t Dest = 24;
constexpr std::size_t Src = 32;
constexpr std::size_t SrcSize = 40;
constexpr BitmapFields Bitmap{48, 52, 56, 60, 64};
constexpr std::size_t Size = 76;
} // namespace setDiBitsToDevice

namespace stretchDiBits {
constexpr std::size_t Bounds = 8;
constexpr std::size_t Dest = 24;
constexpr std::size_t Src = 32;
constexpr std::size_t SrcSize = 40;
constexpr BitmapFields Bitmap{48, 52, 56, 60, 64};
constexpr std::size_t Rop = 68;
constexpr std::size_t DestSize = 72;
constexpr std::size_t Size = 80;
} // namespace stretchDiBits

// Values of fields
constexpr std::uint32_t DibRgbColours = 0;  // DIB_RGB_COLORS
constexpr std::uint32_t BrushSolid = 0;     // BS_SOLID
constexpr std::uint32_t BrushNull = 1;      // BS_NULL
constexpr std::uint32_t BrushHatched = 2;   // BS_HATCHED
constexpr std::uint32_t PenNull = 5;        // PS_NULL
constexpr std::uint32_t PenGeometric = 0x00010000; // PS_GEOMETRIC
constexpr std::uint32_t SrcCopy = 0x00CC0020;

} // namespace metafile::emf
