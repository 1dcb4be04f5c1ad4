// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <initializer_list>

// Metafiles written byte by byte from the published WMF and EMF layouts,
// independently of the library the reader uses, so that the tests check
// the reader against the formats rather than against itself.
namespace rtf_test {

// A picture group holding `metafile` as hex, e.g. MetafileGroup("emfblip", ...).
QByteArray MetafileGroup(const char* kind, const QByteArray& metafile, const QByteArray& properties);

// A 24-bit BITMAPINFOHEADER bitmap with its bits, bottom row first, as
// metafile records carry one.
QByteArray PackedDib(const QImage& image);

class WmfBuilder {
public:
    // A record of `function` (META_*) with 16-bit parameters, in file order.
    WmfBuilder& record(std::uint16_t function, std::initializer_list<std::int16_t> words);
    // A record whose parameters are given as bytes.
    WmfBuilder& record(std::uint16_t function, const QByteArray& parameters);
    // Whole bytes appended as they are, for records that lie about themselves.
    WmfBuilder& raw(const QByteArray& bytes);
    void setObjects(int count) { objects_ = count; }

    // The header, the records and META_EOF; with a placeable header when
    // `frame` is given.
    QByteArray finish(const QRect& frame = QRect(), int unitsPerInch = 0) const;

private:
    QByteArray records_;
    int objects_ = 4;
};

enum : std::uint16_t {
    MetaSetBkMode = 0x0102,
    MetaSetTextColor = 0x0209,
    MetaSetWindowOrg = 0x020B,
    MetaSetWindowExt = 0x020C,
    MetaSaveDc = 0x001E,
    MetaRestoreDc = 0x0127,
    MetaSelectObject = 0x012D,
    MetaDeleteObject = 0x01F0,
    MetaRectangle = 0x041B,
    MetaEllipse = 0x0418,
    MetaPolygon = 0x0324,
    MetaPolyPolygon = 0x0538,
    MetaTextOut = 0x0521,
    MetaExtTextOut = 0x0A32,
    MetaStretchDib = 0x0F43,
    MetaCreatePenIndirect = 0x02FA,
    MetaCreateBrushIndirect = 0x02FC,
    MetaCreateFontIndirect = 0x02FB,
};

// CREATEBRUSHINDIRECT parameters of a solid brush.
QByteArray SolidBrush(const QColor& colour);
// STRETCHDIB parameters drawing all of `image` into `destination` (SRCCOPY).
QByteArray StretchDib(const QImage& image, const QRect& destination);

class EmfBuilder {
public:
    // A record of `type` (EMR_*) with 32-bit parameters.
    EmfBuilder& record(std::uint32_t type, std::initializer_list<std::int32_t> values);
    EmfBuilder& record(std::uint32_t type, const QByteArray& parameters);
    EmfBuilder& raw(const QByteArray& bytes);

    // Header and EOF around the records. The reference device has ten
    // pixels to the millimetre, and `frame` (those pixels) is the picture.
    QByteArray finish(const QRect& frame) const;

private:
    QByteArray records_;
    int count_ = 0;
};

enum : std::uint32_t {
    EmrPolygon16 = 86,
    EmrSelectObject = 37,
    EmrCreatePen = 38,
    EmrCreateBrushIndirect = 39,
    EmrRectangle = 43,
    EmrEllipse = 42,
    EmrSaveDc = 33,
    EmrRestoreDc = 34,
    EmrSetWorldTransform = 35,
    EmrStretchDibits = 81,
    EmrExtCreateFontIndirectW = 82,
    EmrExtTextOutW = 84,
    EmrSetTextColor = 24,
    EmrSetBkMode = 18,
};

constexpr std::int32_t NullPen = std::int32_t(0x80000008u);

// STRETCHDIBITS parameters (after the record header) drawing all of
// `image` into `destination` (SRCCOPY).
QByteArray StretchDibits(const QImage& image, const QRect& destination);
// EXTTEXTOUTW parameters: `text` at `reference`, no clipping rectangle.
QByteArray ExtTextOutW(const QString& text, QPoint reference);
// EXTCREATEFONTINDIRECTW parameters: font `index`, `height` logical units.
QByteArray FontIndirectW(std::uint32_t index, int height, const QString& face);

} // namespace rtf_test
