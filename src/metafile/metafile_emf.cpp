// SPDX-License-Identifier: MIT
// EMF records, read with the layouts of emf_records.h. Every count, offset
// and size is checked against the record in 64-bit arithmetic before
// anything is read.
#include "metafile/metafile_players.h"

#include "metafile/emf_records.h"
#include "metafile/metafile_dib.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace metafile {

namespace {

struct Header {
    std::size_t size = 0; // of the header record
    QRectF bounds;        // device pixels, inclusive
    QRectF frame;         // hundredths of a millimetre, inclusive
    double pixelsPerMmX = 96 / 25.4;
    double pixelsPerMmY = 96 / 25.4;
    std::size_t handles = 0;
};

QRectF Rect(const emf::RectL& r) { return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)); }
QPointF Point(const emf::PointL& p) { return QPointF(p.x, p.y); }
QColor Colour(const emf::ColorRef& c) { return QColor(c.red, c.green, c.blue); }

base::Result<Header> ReadHeader(Bytes emf)
{
    if (!emf.has(0, emf::header::Size) || emf.at<std::uint32_t>(emf::record::Type) != emf::Header)
        return base::Fail(QStringLiteral("not an enhanced metafile"));
    const std::uint32_t size = emf.at<std::uint32_t>(emf::record::Size);
    if (size < emf::header::Size || size > emf.size() || size % 4 != 0 ||
        emf.at<std::uint32_t>(emf::header::Signature) != emf::header::SignatureValue)
        return base::Fail(QStringLiteral("not an enhanced metafile"));
    Header header;
    header.size = size;
    header.bounds = Rect(emf.at<emf::RectL>(emf::header::Bounds));
    header.frame = Rect(emf.at<emf::RectL>(emf::header::Frame));
    header.handles = emf.at<std::uint16_t>(emf::header::Handles);
    const emf::SizeL device = emf.at<emf::SizeL>(emf::header::Device);
    const emf::SizeL millimetres = emf.at<emf::SizeL>(emf::header::Millimetres);
    if (device.cx > 0 && device.cy > 0 && millimetres.cx > 0 && millimetres.cy > 0) {
        header.pixelsPerMmX = double(device.cx) / millimetres.cx;
        header.pixelsPerMmY = double(device.cy) / millimetres.cy;
    }
    return header;
}

// The picture's rectangle in reference-device pixels: its frame, or where
// the frame is missing, the bounds of what it draws.
QRectF DeviceFrame(const Header& header)
{
    const QRectF frame = header.frame.normalized();
    if (frame.width() > 0 && frame.height() > 0) {
        return QRectF(frame.left() * header.pixelsPerMmX / 100, frame.top() * header.pixelsPerMmY / 100,
                      frame.width() * header.pixelsPerMmX / 100, frame.height() * header.pixelsPerMmY / 100);
    }
    const QRectF bounds = header.bounds.normalized();
    return QRectF(bounds.topLeft(), bounds.size() + QSizeF(1, 1));
}

QTransform Transform(const emf::XForm& x)
{
    return QTransform(x.m11, x.m12, x.m21, x.m22, x.dx, x.dy);
}

// The fields of a BITMAPINFOHEADER that say how large its colour table is.
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::size_t InfoWidth = 4;
constexpr std::size_t InfoHeight = 8;
constexpr std::size_t InfoBitCount = 14;
constexpr std::size_t InfoCompression = 16;
constexpr std::size_t InfoSizeImage = 20;
constexpr std::size_t InfoColoursUsed = 32;
constexpr std::uint32_t CompressionRgb = 0;
constexpr std::uint32_t CompressionBitFields = 3;

// The entries of a bitmap's colour table: as many as it says it uses, or
// for 1, 4 and 8 bits a pixel, one per value, but never more than pixels.
std::uint64_t ColourTableEntries(const Bytes& info)
{
    const std::uint64_t used = info.at<std::uint32_t>(InfoColoursUsed);
    if (used != 0)
        return used;
    const std::uint16_t bitCount = info.at<std::uint16_t>(InfoBitCount);
    if (bitCount != 1 && bitCount != 4 && bitCount != 8)
        return 0;
    const std::int64_t area = std::int64_t(info.at<std::int32_t>(InfoWidth)) * info.at<std::int32_t>(InfoHeight);
    return std::min<std::uint64_t>(1ull << bitCount, std::uint64_t(area < 0 ? -area : area));
}

// Whether the bitmap a record carries lies inside the record with its
// header and colour table, and, for RGB colours, has a table exactly when it
// has at most 8 bits a pixel and at least one row of bits. A record whose
// bitmap does not is left out whole; a record without one (no header size)
// passes. The decoder checks the rest of the bitmap.
bool BitmapFits(const Bytes& r, const emf::BitmapFields& fields, std::uint32_t usage)
{
    const std::uint32_t infoAt = r.at<std::uint32_t>(fields.infoOffset);
    const std::uint32_t infoSize = r.at<std::uint32_t>(fields.infoSize);
    const std::uint32_t bitsAt = r.at<std::uint32_t>(fields.bitsOffset);
    const std::uint32_t bitsSize = r.at<std::uint32_t>(fields.bitsSize);
    if (infoSize == 0)
        return true;
    if (!r.has(infoAt, infoSize) || !r.has(infoAt, InfoHeaderSize))
        return false;
    const Bytes info = r.from(infoAt);
    const std::uint64_t colours = ColourTableEntries(info);
    if (!r.hasArray(std::size_t(infoAt) + InfoHeaderSize, colours, 4))
        return false;
    if (bitsSize != 0 && !r.has(bitsAt, bitsSize))
        return false;
    if (usage != emf::DibRgbColours)
        return true;
    const std::uint32_t compression = info.at<std::uint32_t>(InfoCompression);
    const std::uint16_t bitCount = info.at<std::uint16_t>(InfoBitCount);
    const bool plain = compression == CompressionRgb || compression == CompressionBitFields;
    // JPEG and PNG bitmaps give their byte count where the table would be.
    const std::uint64_t table = compression == CompressionRgb ? colours
        : plain                                                ? 0
                                                               : info.at<std::uint32_t>(InfoSizeImage);
    if ((table != 0) != (bitCount < 16))
        return false;
    if (plain) {
        const std::int32_t width = info.at<std::int32_t>(InfoWidth);
        if (width < 0 || !r.has(bitsAt, (std::uint64_t(width) * bitCount + 7) / 8))
            return false;
    }
    return true;
}

class EmfPlayer {
public:
    explicit EmfPlayer(Canvas& canvas) : canvas_(canvas) {}
    void play(std::uint32_t type, const Bytes& record);

private:
    template <typename Point>
    void poly(std::uint32_t type, const Bytes& record);
    template <typename Point>
    void polyPoly(bool closed, const Bytes& record);
    void text(const Bytes& record, bool wide);
    void createFont(const Bytes& record);
    void createPen(const Bytes& record);
    void createExtPen(const Bytes& record);
    void createBrush(const Bytes& record);
    void createPatternBrush(const Bytes& record);
    void clipRegion(const Bytes& record);
    void stretchDibits(const Bytes& record);
    void dibitsToDevice(const Bytes& record);
    void blit(const Bytes& record, std::uint32_t type);
    base::Result<Dib> bitmapAt(const Bytes& record, const emf::BitmapFields& fields) const;

    Canvas& canvas_;
};

void EmfPlayer::play(std::uint32_t type, const Bytes& r)
{
    // A record is drawn only when it holds its fixed layout; what follows
    // the fixed layout is checked where it is read.
    const auto holds = [&r](std::size_t size) { return r.size() >= size; };
    const auto value = [&r] { return r.at<std::uint32_t>(emf::value::Value); };
    const auto point = [&r](std::size_t offset) { return Point(r.at<emf::PointL>(offset)); };
    const auto rect = [&r](std::size_t offset) { return Rect(r.at<emf::RectL>(offset)); };
    const auto extent = [&r] {
        const emf::SizeL size = r.at<emf::SizeL>(emf::point::Point);
        return QSizeF(size.cx, size.cy);
    };
    switch (type) {
    case emf::PolyBezier:
    case emf::Polygon:
    case emf::Polyline:
    case emf::PolyBezierTo:
    case emf::PolylineTo: poly<emf::PointL>(type, r); break;
    case emf::PolyBezier16: poly<emf::PointS>(emf::PolyBezier, r); break;
    case emf::Polygon16: poly<emf::PointS>(emf::Polygon, r); break;
    case emf::Polyline16: poly<emf::PointS>(emf::Polyline, r); break;
    case emf::PolyBezierTo16: poly<emf::PointS>(emf::PolyBezierTo, r); break;
    case emf::PolylineTo16: poly<emf::PointS>(emf::PolylineTo, r); break;
    case emf::PolyPolyline: polyPoly<emf::PointL>(false, r); break;
    case emf::PolyPolygon: polyPoly<emf::PointL>(true, r); break;
    case emf::PolyPolyline16: polyPoly<emf::PointS>(false, r); break;
    case emf::PolyPolygon16: polyPoly<emf::PointS>(true, r); break;
    case emf::SetWindowExtEx:
        if (holds(emf::point::Size))
            canvas_.setWindowExtent(extent());
        break;
    case emf::SetWindowOrgEx:
        if (holds(emf::point::Size))
            canvas_.setWindowOrigin(point(emf::point::Point));
        break;
    case emf::SetViewportExtEx:
        if (holds(emf::point::Size))
            canvas_.setViewportExtent(extent());
        break;
    case emf::SetViewportOrgEx:
        if (holds(emf::point::Size))
            canvas_.setViewportOrigin(point(emf::point::Point));
        break;
    case emf::ScaleViewportExtEx:
    case emf::ScaleWindowExtEx:
        if (holds(emf::scale::Size)) {
            const double xNum = r.at<std::int32_t>(emf::scale::XNum);
            const double xDenom = r.at<std::int32_t>(emf::scale::XDenom);
            const double yNum = r.at<std::int32_t>(emf::scale::YNum);
            const double yDenom = r.at<std::int32_t>(emf::scale::YDenom);
            if (type == emf::ScaleWindowExtEx)
                canvas_.scaleWindowExtent(xNum, xDenom, yNum, yDenom);
            else
                canvas_.scaleViewportExtent(xNum, xDenom, yNum, yDenom);
        }
        break;
    case emf::SetMapMode:
        if (holds(emf::value::Size))
            canvas_.setMapMode(int(value()));
        break;
    case emf::SetBkMode:
        if (holds(emf::value::Size))
            canvas_.setBackgroundMode(int(value()));
        break;
    case emf::SetPolyFillMode:
        if (holds(emf::value::Size))
            canvas_.setPolyFillMode(int(value()));
        break;
    case emf::SetRop2:
        if (holds(emf::value::Size))
            canvas_.setRop2(int(value()));
        break;
    case emf::SetTextAlign:
        if (holds(emf::value::Size))
            canvas_.setTextAlign(value());
        break;
    case emf::SetArcDirection:
        if (holds(emf::value::Size))
            canvas_.setArcDirection(int(value()));
        break;
    case emf::SetTextColor:
        if (holds(emf::value::Size))
            canvas_.setTextColour(Colour(r.at<emf::ColorRef>(emf::value::Value)));
        break;
    case emf::SetBkColor:
        if (holds(emf::value::Size))
            canvas_.setBackgroundColour(Colour(r.at<emf::ColorRef>(emf::value::Value)));
        break;
    case emf::SetPixelV:
        if (holds(emf::setPixel::Size))
            canvas_.setPixel(point(emf::setPixel::Pixel), Colour(r.at<emf::ColorRef>(emf::setPixel::Colour)));
        break;
    case emf::MoveToEx:
        if (holds(emf::point::Size))
            canvas_.moveTo(point(emf::point::Point));
        break;
    case emf::LineTo:
        if (holds(emf::point::Size))
            canvas_.lineTo(point(emf::point::Point));
        break;
    case emf::ExcludeClipRect:
        if (holds(emf::box::Size))
            canvas_.excludeClipRect(rect(emf::box::Rect));
        break;
    case emf::IntersectClipRect:
        if (holds(emf::box::Size))
            canvas_.intersectClipRect(rect(emf::box::Rect));
        break;
    case emf::ExtSelectClipRgn: clipRegion(r); break;
    case emf::SaveDc: canvas_.saveState(); break;
    case emf::RestoreDc:
        if (holds(emf::value::Size))
            canvas_.restoreState(r.at<std::int32_t>(emf::value::Value));
        break;
    case emf::SetWorldTransform:
        if (holds(emf::setWorldTransform::Size))
            canvas_.setWorldTransform(Transform(r.at<emf::XForm>(emf::setWorldTransform::Transform)));
        break;
    case emf::ModifyWorldTransform:
        if (holds(emf::modifyWorldTransform::Size))
            canvas_.modifyWorldTransform(Transform(r.at<emf::XForm>(emf::modifyWorldTransform::Transform)),
                                         int(r.at<std::uint32_t>(emf::modifyWorldTransform::Mode)));
        break;
    case emf::SelectObject:
        if (holds(emf::value::Size))
            canvas_.selectObject(value());
        break;
    case emf::DeleteObject:
        if (holds(emf::value::Size))
            canvas_.deleteObject(value());
        break;
    case emf::CreatePen: createPen(r); break;
    case emf::ExtCreatePen: createExtPen(r); break;
    case emf::CreateBrushIndirect: createBrush(r); break;
    case emf::CreateDibPatternBrushPt:
    case emf::CreateMonoBrush: createPatternBrush(r); break;
    case emf::ExtCreateFontIndirectW: createFont(r); break;
    case emf::CreatePalette:
    case emf::CreateColorSpace:
    case emf::CreateColorSpaceW:
        // Not drawn with, but their place in the table is taken.
        if (holds(emf::create::Index + 4))
            canvas_.setObject(r.at<std::uint32_t>(emf::create::Index), OtherObject{});
        break;
    case emf::Ellipse:
        if (holds(emf::box::Size))
            canvas_.ellipse(rect(emf::box::Rect));
        break;
    case emf::Rectangle:
        if (holds(emf::box::Size))
            canvas_.rectangle(rect(emf::box::Rect));
        break;
    case emf::RoundRect:
        if (holds(emf::roundRect::Size)) {
            const emf::SizeL corner = r.at<emf::SizeL>(emf::roundRect::Corner);
            canvas_.roundRect(rect(emf::roundRect::Box), QSizeF(corner.cx, corner.cy));
        }
        break;
    case emf::Arc:
    case emf::Chord:
    case emf::Pie:
    case emf::ArcTo:
        if (holds(emf::arc::Size)) {
            const Canvas::ArcKind kind = type == emf::Arc ? Canvas::ArcKind::Arc
                : type == emf::Chord                      ? Canvas::ArcKind::Chord
                : type == emf::Pie                        ? Canvas::ArcKind::Pie
                                                          : Canvas::ArcKind::ArcTo;
            canvas_.arc(kind, rect(emf::arc::Box), point(emf::arc::Start), point(emf::arc::End));
        }
        break;
    case emf::BeginPath: canvas_.beginPath(); break;
    case emf::EndPath: canvas_.endPath(); break;
    case emf::AbortPath: canvas_.abortPath(); break;
    case emf::CloseFigure: canvas_.closeFigure(); break;
    case emf::FillPath: canvas_.fillPath(); break;
    case emf::StrokePath: canvas_.strokePath(); break;
    case emf::StrokeAndFillPath: canvas_.strokeAndFillPath(); break;
    case emf::SelectClipPath:
        if (holds(emf::value::Size))
            canvas_.selectClipPath(int(value()));
        break;
    case emf::ExtTextOutW: text(r, true); break;
    case emf::ExtTextOutA: text(r, false); break;
    case emf::StretchDiBits: stretchDibits(r); break;
    case emf::SetDiBitsToDevice: dibitsToDevice(r); break;
    case emf::BitBlt:
    case emf::StretchBlt:
    case emf::AlphaBlend: blit(r, type); break;
    default: break; // comments (EMF+), palettes, regions, gradients: not drawn
    }
}

template <typename Point>
void EmfPlayer::poly(std::uint32_t type, const Bytes& r)
{
    if (r.size() < emf::poly::Size)
        return;
    const std::size_t count = r.at<std::uint32_t>(emf::poly::Count);
    if (!r.hasArray(emf::poly::Points, count, sizeof(Point)))
        return;
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const Point p = r.at<Point>(emf::poly::Points + i * sizeof(Point));
        points.append(QPointF(p.x, p.y));
    }
    switch (type) {
    case emf::PolyBezier: canvas_.polyBezier(points); break;
    case emf::Polygon: canvas_.polygon(points); break;
    case emf::Polyline: canvas_.polyline(points); break;
    case emf::PolyBezierTo: canvas_.polyBezierTo(points); break;
    case emf::PolylineTo: canvas_.polylineTo(points); break;
    default: break;
    }
}

template <typename Point>
void EmfPlayer::polyPoly(bool closed, const Bytes& r)
{
    const std::size_t countsAt = emf::polyPoly::Counts;
    if (r.size() < emf::polyPoly::Size)
        return;
    const std::size_t polygons = r.at<std::uint32_t>(emf::polyPoly::Shapes);
    const std::size_t total = r.at<std::uint32_t>(emf::polyPoly::TotalPoints);
    if (!r.hasArray(countsAt, polygons, 4))
        return;
    std::size_t pointsAt = countsAt + 4 * polygons;
    if (!r.hasArray(pointsAt, total, sizeof(Point)))
        return;
    std::vector<QPolygonF> shapes;
    shapes.reserve(polygons);
    std::size_t used = 0;
    for (std::size_t i = 0; i < polygons; ++i) {
        const std::size_t count = r.at<std::uint32_t>(countsAt + 4 * i);
        if (count > total - used)
            return; // the counts claim more points than the record has
        QPolygonF points;
        points.reserve(static_cast<qsizetype>(count));
        for (std::size_t k = 0; k < count; ++k) {
            const Point p = r.at<Point>(pointsAt + k * sizeof(Point));
            points.append(QPointF(p.x, p.y));
        }
        shapes.push_back(std::move(points));
        pointsAt += count * sizeof(Point);
        used += count;
    }
    if (closed)
        canvas_.polyPolygon(shapes);
    else
        canvas_.polyPolyline(shapes);
}

void EmfPlayer::text(const Bytes& r, bool wide)
{
    if (r.size() < emf::text::Size)
        return;
    const std::uint32_t options = r.at<std::uint32_t>(emf::text::Options);
    const std::size_t count = r.at<std::uint32_t>(emf::text::Chars);
    const std::size_t stringAt = r.at<std::uint32_t>(emf::text::StringOffset);
    std::size_t offset = emf::text::Size;
    QRectF rect;
    if (!(options & emf::text::NoRect)) {
        rect = Rect(r.at<emf::RectL>(emf::text::Rectangle));
        offset += sizeof(emf::RectL);
    }
    // The record must hold the advances' offset, and a 32-bit advance a
    // character from there, whether they are read or not.
    if (!r.has(offset, 4))
        return;
    const std::size_t dxAt = r.at<std::uint32_t>(offset);
    if (!r.hasArray(dxAt, count, 4))
        return;
    const std::size_t unit = wide ? 2 : 1;
    if (!r.hasArray(stringAt, count, unit))
        return;
    QString text;
    if (wide) {
        text.reserve(static_cast<qsizetype>(count));
        for (std::size_t i = 0; i < count; ++i)
            text.append(QChar(r.at<char16_t>(stringAt + 2 * i)));
    } else {
        text = canvas_.decodeText(r.sub(stringAt, count).view());
    }
    // Advances, one per character (two with ETO_PDY: x and y), where given.
    std::vector<double> dx;
    const std::size_t step = (options & emf::text::AdvancesXY) ? 2 : 1;
    if (dxAt != 0 && static_cast<std::size_t>(text.size()) == count && r.hasArray(dxAt, count * step, 4)) {
        dx.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            dx.push_back(r.at<std::int32_t>(dxAt + 4 * step * i));
    }
    canvas_.text(Point(r.at<emf::PointL>(emf::text::Reference)), text, dx, options, rect);
}

void EmfPlayer::createFont(const Bytes& r)
{
    if (r.size() < emf::createFont::Size)
        return;
    Font font;
    font.height = r.at<std::int32_t>(emf::createFont::Height);
    font.escapement = r.at<std::int32_t>(emf::createFont::Escapement);
    font.weight = r.at<std::int32_t>(emf::createFont::Weight);
    font.italic = r.at<std::uint8_t>(emf::createFont::Italic) != 0;
    font.underline = r.at<std::uint8_t>(emf::createFont::Underline) != 0;
    font.strikeOut = r.at<std::uint8_t>(emf::createFont::StrikeOut) != 0;
    font.charset = r.at<std::uint8_t>(emf::createFont::CharSet);
    for (std::size_t i = 0; i < emf::createFont::FaceNameLength; ++i) {
        const char16_t c = r.at<char16_t>(emf::createFont::FaceName + 2 * i);
        if (c == 0)
            break;
        font.face.append(QChar(c));
    }
    canvas_.setObject(r.at<std::uint32_t>(emf::createFont::Index), std::move(font));
}

void EmfPlayer::createPen(const Bytes& r)
{
    if (r.size() < emf::createPen::Size)
        return;
    canvas_.setObject(r.at<std::uint32_t>(emf::createPen::Index),
                      Pen{r.at<std::uint32_t>(emf::createPen::Style), double(r.at<std::int32_t>(emf::createPen::Width)),
                          Colour(r.at<emf::ColorRef>(emf::createPen::Colour))});
}

void EmfPlayer::createExtPen(const Bytes& r)
{
    namespace pen = emf::extCreatePen;
    if (r.size() < pen::Size || !r.hasArray(pen::Size, r.at<std::uint32_t>(pen::StyleEntries), 4) ||
        !BitmapFits(r, {pen::BitmapInfoOffset, pen::BitmapInfoSize, pen::BitsOffset, pen::BitsSize, 0},
                    emf::DibRgbColours))
        return;
    const std::uint32_t style = r.at<std::uint32_t>(pen::PenStyle);
    Pen created;
    created.style = r.at<std::uint32_t>(pen::BrushStyle) == emf::BrushNull ? emf::PenNull : style;
    // Cosmetic pens are one pixel wide whatever width they give.
    created.width = (style & emf::PenGeometric) ? double(r.at<std::uint32_t>(pen::Width)) : 0;
    created.colour = Colour(r.at<emf::ColorRef>(pen::Colour));
    canvas_.setObject(r.at<std::uint32_t>(pen::Index), created);
}

void EmfPlayer::createBrush(const Bytes& r)
{
    if (r.size() < emf::createBrush::Size)
        return;
    Brush brush;
    brush.colour = Colour(r.at<emf::ColorRef>(emf::createBrush::Colour));
    switch (r.at<std::uint32_t>(emf::createBrush::Style)) {
    case emf::BrushSolid: break;
    case emf::BrushNull: brush.kind = Brush::Kind::Hollow; break;
    case emf::BrushHatched:
        brush.kind = Brush::Kind::Hatched;
        brush.hatch = int(r.at<std::uint32_t>(emf::createBrush::Hatch));
        break;
    default: brush.colour = Qt::gray; break;
    }
    canvas_.setObject(r.at<std::uint32_t>(emf::createBrush::Index), std::move(brush));
}

base::Result<Dib> EmfPlayer::bitmapAt(const Bytes& r, const emf::BitmapFields& fields) const
{
    const std::uint32_t infoAt = r.at<std::uint32_t>(fields.infoOffset);
    const std::uint32_t infoSize = r.at<std::uint32_t>(fields.infoSize);
    const std::uint32_t bitsAt = r.at<std::uint32_t>(fields.bitsOffset);
    const std::uint32_t bitsSize = r.at<std::uint32_t>(fields.bitsSize);
    if (infoSize == 0 || !r.has(infoAt, infoSize) || !r.has(bitsAt, bitsSize))
        return base::Fail(QStringLiteral("bitmap outside its record"));
    return DecodeDib(r.sub(infoAt, infoSize), r.sub(bitsAt, bitsSize));
}

void EmfPlayer::createPatternBrush(const Bytes& r)
{
    using namespace emf::patternBrush;
    const emf::BitmapFields bitmap{BitmapInfoOffset, BitmapInfoSize, BitsOffset, BitsSize, Usage};
    const std::uint32_t usage = r.at<std::uint32_t>(Usage);
    if (r.size() < Size || !BitmapFits(r, bitmap, usage))
        return;
    Brush brush;
    brush.colour = Qt::gray;
    if (usage == emf::DibRgbColours) {
        if (const base::Result<Dib> dib = bitmapAt(r, bitmap)) {
            brush.kind = Brush::Kind::Pattern;
            brush.pattern = dib->image;
        }
    }
    canvas_.setObject(r.at<std::uint32_t>(Index), std::move(brush));
}

void EmfPlayer::clipRegion(const Bytes& r)
{
    using namespace emf::clipRegion;
    if (r.size() < Size)
        return;
    const std::uint32_t size = r.at<std::uint32_t>(DataSize);
    const std::uint32_t mode = r.at<std::uint32_t>(Mode);
    // Only RGN_COPY may come without a region: it resets the clipping.
    if (size == 0 && mode != ModeCopy)
        return;
    std::vector<QRectF> rects;
    if (size > 0) {
        const std::size_t rectsAt = Data + DataHeaderSize;
        const std::size_t count = r.at<std::uint32_t>(Data + DataRects);
        if (!r.has(Data, size) || size < DataHeaderSize ||
            !Bytes(r.data(), Data + size).hasArray(rectsAt, count, sizeof(emf::RectL)))
            return;
        rects.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            rects.push_back(Rect(r.at<emf::RectL>(rectsAt + i * sizeof(emf::RectL))));
    }
    canvas_.combineClipRegion(rects, int(mode));
}

void EmfPlayer::stretchDibits(const Bytes& r)
{
    using namespace emf::stretchDiBits;
    const std::uint32_t usage = r.at<std::uint32_t>(Bitmap.usage);
    if (r.size() < Size || !BitmapFits(r, Bitmap, usage))
        return;
    if (usage != emf::DibRgbColours)
        return; // palette indices without the palette
    const base::Result<Dib> dib = bitmapAt(r, Bitmap);
    if (!dib)
        return;
    const emf::PointL destSize = r.at<emf::PointL>(DestSize);
    const emf::PointL src = r.at<emf::PointL>(Src);
    const emf::PointL srcSize = r.at<emf::PointL>(SrcSize);
    canvas_.bitmap(QRectF(Point(r.at<emf::PointL>(Dest)), QSizeF(destSize.x, destSize.y)), dib->image,
                   SourceRect(*dib, src.x, src.y, srcSize.x, srcSize.y), r.at<std::uint32_t>(Rop));
}

void EmfPlayer::dibitsToDevice(const Bytes& r)
{
    using namespace emf::setDiBitsToDevice;
    const std::uint32_t usage = r.at<std::uint32_t>(Bitmap.usage);
    if (r.size() < Size || !BitmapFits(r, Bitmap, usage))
        return;
    if (usage != emf::DibRgbColours)
        return;
    const base::Result<Dib> dib = bitmapAt(r, Bitmap);
    if (!dib)
        return;
    const emf::PointL src = r.at<emf::PointL>(Src);
    const emf::PointL srcSize = r.at<emf::PointL>(SrcSize);
    const QSizeF extent(srcSize.x, srcSize.y);
    canvas_.bitmap(QRectF(Point(r.at<emf::PointL>(Dest)), extent), dib->image,
                   SourceRect(*dib, src.x, src.y, extent.width(), extent.height()), emf::SrcCopy);
}

void EmfPlayer::blit(const Bytes& r, std::uint32_t type)
{
    // BITBLT, STRETCHBLT and ALPHABLEND share their layout up to the source size.
    using namespace emf::bitBlt;
    const std::size_t minimum = type == emf::BitBlt ? Size : emf::stretchBlt::Size;
    const std::uint32_t usage = r.at<std::uint32_t>(Bitmap.usage);
    if (r.size() < minimum || !BitmapFits(r, Bitmap, usage))
        return;
    const emf::PointL destSize = r.at<emf::PointL>(DestSize);
    const QRectF destination(Point(r.at<emf::PointL>(Dest)), QSizeF(destSize.x, destSize.y));
    const std::uint32_t rop = type == emf::AlphaBlend ? emf::SrcCopy : r.at<std::uint32_t>(Rop);
    if (r.at<std::uint32_t>(Bitmap.infoSize) == 0) {
        canvas_.patternBlit(destination, rop); // no source: the brush or a fixed colour
        return;
    }
    if (usage != emf::DibRgbColours)
        return;
    base::Result<Dib> dib = bitmapAt(r, Bitmap);
    if (!dib)
        return;
    QSizeF sourceSize = destination.size();
    if (type != emf::BitBlt) {
        const emf::PointL size = r.at<emf::PointL>(emf::stretchBlt::SrcSize);
        sourceSize = QSizeF(size.x, size.y);
    }
    if (type == emf::AlphaBlend) {
        // Per-pixel alpha rides in the fourth byte of 32-bit pixels.
        if ((r.at<std::uint8_t>(emf::stretchBlt::AlphaFormat) & emf::stretchBlt::SourceAlpha) &&
            dib->image.format() == QImage::Format_RGB32)
            dib.value().image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    }
    const emf::PointL src = r.at<emf::PointL>(Src);
    canvas_.bitmap(destination, dib->image, SourceRect(*dib, src.x, src.y, sourceSize.width(), sourceSize.height()),
                   rop);
}

} // namespace

base::Result<QSizeF> EmfSize(Bytes emf)
{
    const base::Result<Header> header = ReadHeader(emf);
    if (!header)
        return header.failure();
    const QRectF frame = header->frame.normalized();
    if (frame.width() > 0 && frame.height() > 0)
        return QSizeF(frame.width() / 2540 * 96, frame.height() / 2540 * 96);
    const QRectF device = DeviceFrame(*header);
    if (device.width() <= 1 || device.height() <= 1)
        return base::Fail(QStringLiteral("metafile gives no size"));
    return QSizeF(device.width() / header->pixelsPerMmX * 96 / 25.4, device.height() / header->pixelsPerMmY * 96 / 25.4);
}

base::Status PlayEmf(Bytes emf, Canvas& canvas)
{
    const base::Result<Header> header = ReadHeader(emf);
    if (!header)
        return header.failure();
    const QRectF frame = DeviceFrame(*header);
    if (!(frame.width() > 0 && frame.height() > 0))
        return base::Fail(QStringLiteral("metafile gives no size"));

    const QSize image = canvas.imageSize();
    const double sx = image.width() / frame.width();
    const double sy = image.height() / frame.height();
    canvas.setDeviceResolution(header->pixelsPerMmX, header->pixelsPerMmY);
    canvas.setDeviceTransform(QTransform(sx, 0, 0, sy, -frame.left() * sx, -frame.top() * sy));
    canvas.setObjectTableSize(header->handles);

    EmfPlayer player(canvas);
    std::size_t offset = header->size;
    while (offset < emf.size() && canvas.takeRecord()) {
        const Bytes rest = emf.from(offset);
        if (!rest.has(0, emf::record::HeaderSize))
            break;
        const std::uint32_t type = rest.at<std::uint32_t>(emf::record::Type);
        const std::uint32_t size = rest.at<std::uint32_t>(emf::record::Size);
        if (size < emf::record::HeaderSize || size % 4 != 0 || size > rest.size())
            break; // a record that claims more than the file holds ends the picture
        if (type == emf::Eof)
            break;
        player.play(type, rest.sub(0, size));
        offset += size;
    }
    return {};
}

} // namespace metafile
