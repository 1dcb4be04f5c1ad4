// SPDX-License-Identifier: MIT
// WMF records, read with the layouts of wmf_records.h. Every record is
// checked to lie inside the file, and every count and offset inside a
// record, in 64-bit arithmetic, before anything is read.
#include "metafile/metafile_players.h"

#include "metafile/metafile_dib.h"
#include "metafile/wmf_records.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace metafile {

namespace {

constexpr std::size_t RecordHeader = wmf::record::HeaderSize;
constexpr std::size_t PointSize = 4; // two 16-bit coordinates

struct Header {
    std::size_t recordsStart = 0;
    std::size_t objects = 0;
    bool placeable = false;
    QRectF frame; // logical units, from the placeable header
    int unitsPerInch = 0;
};

// Left, top, right, bottom: the order of the placeable header and of the
// text records' rectangles.
QRectF RectLTRB(const Bytes& bytes, std::size_t offset)
{
    return QRectF(QPointF(bytes.at<std::int16_t>(offset), bytes.at<std::int16_t>(offset + 2)),
                  QPointF(bytes.at<std::int16_t>(offset + 4), bytes.at<std::int16_t>(offset + 6)));
}

base::Result<Header> ReadHeader(Bytes wmf)
{
    Header result;
    std::size_t at = 0;
    if (wmf.at<std::uint32_t>(wmf::placeable::Key) == wmf::placeable::KeyValue) {
        if (!wmf.has(0, wmf::placeable::Size))
            return base::Fail(QStringLiteral("not a Windows metafile"));
        result.placeable = true;
        result.frame = RectLTRB(wmf, wmf::placeable::BoundingBox);
        result.unitsPerInch = wmf.at<std::uint16_t>(wmf::placeable::UnitsPerInch);
        at = wmf::placeable::Size;
    }
    const Bytes header = wmf.from(at);
    // The standard header: type 1 (memory) or 2 (disk), nine words long.
    const std::uint16_t type = header.at<std::uint16_t>(wmf::header::Type);
    if (!header.has(0, wmf::header::Size) || (type != 1 && type != 2) ||
        header.at<std::uint16_t>(wmf::header::HeaderWords) != wmf::header::Size / 2)
        return base::Fail(QStringLiteral("not a Windows metafile"));
    result.recordsStart = at + wmf::header::Size;
    result.objects = header.at<std::uint16_t>(wmf::header::Objects);
    return result;
}

QColor Colour(const Bytes& record, std::size_t offset)
{
    return QColor(record.at<std::uint8_t>(offset), record.at<std::uint8_t>(offset + 1),
                  record.at<std::uint8_t>(offset + 2));
}

// WMF writes points y first.
QPointF PointYX(const Bytes& record, std::size_t offset)
{
    return QPointF(record.at<std::int16_t>(offset + 2), record.at<std::int16_t>(offset));
}

// Bottom, right, top, left: the order of the rectangle records.
QRectF RectBRTL(const Bytes& record, std::size_t offset)
{
    return QRectF(QPointF(record.at<std::int16_t>(offset + 6), record.at<std::int16_t>(offset + 4)),
                  QPointF(record.at<std::int16_t>(offset + 2), record.at<std::int16_t>(offset)));
}

QPolygonF Points(const Bytes& record, std::size_t offset, std::size_t count)
{
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) {
        points.append(QPointF(record.at<std::int16_t>(offset + 4 * i), record.at<std::int16_t>(offset + 4 * i + 2)));
    }
    return points;
}

class WmfPlayer {
public:
    explicit WmfPlayer(Canvas& canvas) : canvas_(canvas) {}
    void play(std::uint8_t type, const Bytes& record);

private:
    void text(const Bytes& record);
    void extText(const Bytes& record);
    void polygon(const Bytes& record, bool closed);
    void polyPolygon(const Bytes& record);
    void createPen(const Bytes& record);
    void createBrush(const Bytes& record);
    void createFont(const Bytes& record);
    void createPatternBrush(const Bytes& record);
    void stretchDib(const Bytes& record);
    void dibBlit(const Bytes& record, bool stretch);
    void dibToDevice(const Bytes& record);
    void bitmapBlit(const Bytes& record, bool stretch);

    Canvas& canvas_;
};

void WmfPlayer::play(std::uint8_t type, const Bytes& r)
{
    const std::size_t size = r.size();
    // The one-word records, and two-word ones whose second word is optional.
    const auto word = [&r] { return r.at<std::uint16_t>(RecordHeader); };
    switch (type) {
    case wmf::SetBkColor:
        if (size >= wmf::colour::Size)
            canvas_.setBackgroundColour(Colour(r, wmf::colour::Colour));
        break;
    case wmf::SetTextColor:
        if (size >= wmf::colour::Size)
            canvas_.setTextColour(Colour(r, wmf::colour::Colour));
        break;
    case wmf::SetBkMode:
        if (size >= wmf::word::Size)
            canvas_.setBackgroundMode(word());
        break;
    case wmf::SetPolyFillMode:
        if (size >= wmf::word::Size)
            canvas_.setPolyFillMode(word());
        break;
    case wmf::SetRop2:
        if (size >= wmf::word::Size)
            canvas_.setRop2(word());
        break;
    case wmf::SetTextAlign:
        if (size >= wmf::word::Size)
            canvas_.setTextAlign(word());
        break;
    // The picture's frame is the window; the viewport is the image the
    // picture is drawn into, whatever viewport the records name.
    case wmf::SetWindowOrg:
        if (size >= wmf::point::Size)
            canvas_.setWindowOrigin(PointYX(r, wmf::point::Point));
        break;
    case wmf::SetWindowExt:
        if (size >= wmf::point::Size) {
            const QPointF extent = PointYX(r, wmf::point::Point);
            canvas_.setWindowExtent(QSizeF(extent.x(), extent.y()));
        }
        break;
    case wmf::OffsetWindowOrg:
        if (size >= wmf::point::Size)
            canvas_.offsetWindowOrigin(PointYX(r, wmf::point::Point));
        break;
    case wmf::ScaleWindowExt:
        if (size >= wmf::scaleWindowExt::Size)
            canvas_.scaleWindowExtent(r.at<std::int16_t>(wmf::scaleWindowExt::XNum),
                                      r.at<std::int16_t>(wmf::scaleWindowExt::XDenom),
                                      r.at<std::int16_t>(wmf::scaleWindowExt::YNum),
                                      r.at<std::int16_t>(wmf::scaleWindowExt::YDenom));
        break;
    case wmf::MoveTo:
        if (size >= wmf::point::Size)
            canvas_.moveTo(PointYX(r, wmf::point::Point));
        break;
    case wmf::LineTo:
        if (size >= wmf::point::Size)
            canvas_.lineTo(PointYX(r, wmf::point::Point));
        break;
    case wmf::ExcludeClipRect:
        if (size >= wmf::box::Size)
            canvas_.excludeClipRect(RectBRTL(r, wmf::box::Rect));
        break;
    case wmf::IntersectClipRect:
        if (size >= wmf::box::Size)
            canvas_.intersectClipRect(RectBRTL(r, wmf::box::Rect));
        break;
    case wmf::Arc:
    case wmf::Pie:
    case wmf::Chord:
        if (size >= wmf::arc::Size) {
            const Canvas::ArcKind kind = type == wmf::Arc ? Canvas::ArcKind::Arc
                : type == wmf::Pie                        ? Canvas::ArcKind::Pie
                                                           : Canvas::ArcKind::Chord;
            canvas_.arc(kind, RectBRTL(r, wmf::arc::Rect), PointYX(r, wmf::arc::Start),
                        PointYX(r, wmf::arc::End));
        }
        break;
    case wmf::Ellipse:
        if (size >= wmf::box::Size)
            canvas_.ellipse(RectBRTL(r, wmf::box::Rect));
        break;
    case wmf::Rectangle:
        if (size >= wmf::box::Size)
            canvas_.rectangle(RectBRTL(r, wmf::box::Rect));
        break;
    case wmf::RoundRect:
        if (size >= wmf::roundRect::Size)
            canvas_.roundRect(RectBRTL(r, wmf::roundRect::Rect),
                              QSizeF(r.at<std::int16_t>(wmf::roundRect::Width),
                                     r.at<std::int16_t>(wmf::roundRect::Height)));
        break;
    case wmf::PatBlt:
        if (size >= wmf::patBlt::Size) {
            const QPointF at = PointYX(r, wmf::patBlt::Dest);
            const QSizeF extent(r.at<std::int16_t>(wmf::patBlt::Width),
                                r.at<std::int16_t>(wmf::patBlt::Height));
            canvas_.patternBlit(QRectF(at, extent), r.at<std::uint32_t>(wmf::patBlt::Rop));
        }
        break;
    case wmf::SetPixel:
        if (size >= wmf::setPixel::Size)
            canvas_.setPixel(PointYX(r, wmf::setPixel::Point),
                             Colour(r, wmf::setPixel::Colour));
        break;
    case wmf::SaveDc: canvas_.saveState(); break;
    case wmf::RestoreDc:
        if (size >= wmf::word::Size)
            canvas_.restoreState(r.at<std::int16_t>(wmf::word::Value));
        break;
    case wmf::TextOut: text(r); break;
    case wmf::ExtTextOut: extText(r); break;
    case wmf::Polygon: polygon(r, true); break;
    case wmf::Polyline: polygon(r, false); break;
    case wmf::PolyPolygon: polyPolygon(r); break;
    case wmf::SelectObject:
        if (size >= wmf::word::Size)
            canvas_.selectObject(r.at<std::uint16_t>(wmf::word::Value));
        break;
    case wmf::DeleteObject:
        if (size >= wmf::word::Size)
            canvas_.deleteObject(r.at<std::uint16_t>(wmf::word::Value));
        break;
    case wmf::CreatePenIndirect: createPen(r); break;
    case wmf::CreateBrushIndirect: createBrush(r); break;
    case wmf::CreateFontIndirect: createFont(r); break;
    case wmf::DibCreatePatternBrush: createPatternBrush(r); break;
    // Objects not drawn with still take their place in the table.
    case wmf::CreatePalette:
    case wmf::CreatePatternBrush:
    case wmf::CreateRegion:
    case wmf::CreateBitmap:
    case wmf::CreateBitmapIndirect: canvas_.addObject(OtherObject{}); break;
    case wmf::StretchDib: stretchDib(r); break;
    case wmf::DibStretchBlt: dibBlit(r, true); break;
    case wmf::DibBitBlt: dibBlit(r, false); break;
    case wmf::SetDibToDev: dibToDevice(r); break;
    case wmf::BitBlt: bitmapBlit(r, false); break;
    case wmf::StretchBlt: bitmapBlit(r, true); break;
    default: break; // palettes, regions, escapes, flood fills: not drawn
    }
}

void WmfPlayer::text(const Bytes& r)
{
    if (r.size() < wmf::textOut::Size)
        return;
    const auto length = static_cast<std::size_t>(std::max<std::int16_t>(r.at<std::int16_t>(wmf::textOut::Length), 0));
    const std::size_t stringAt = wmf::textOut::String;
    const std::size_t pointAt = stringAt + length + (length & 1);
    if (!r.has(pointAt, 4))
        return;
    canvas_.text(PointYX(r, pointAt), canvas_.decodeText(r.sub(stringAt, length).view()), {}, 0, QRectF());
}

void WmfPlayer::extText(const Bytes& r)
{
    if (r.size() < wmf::extTextOut::Size)
        return;
    const QPointF at = PointYX(r, wmf::extTextOut::Point);
    const auto length =
        static_cast<std::size_t>(std::max<std::int16_t>(r.at<std::int16_t>(wmf::extTextOut::Length), 0));
    const std::uint16_t options = r.at<std::uint16_t>(wmf::extTextOut::Options);
    std::size_t offset = wmf::extTextOut::Size;
    QRectF rect;
    if (options & (wmf::extTextOut::Opaque | wmf::extTextOut::Clipped)) {
        if (!r.has(offset, wmf::extTextOut::RectSize))
            return;
        rect = RectLTRB(r, offset);
        offset += wmf::extTextOut::RectSize;
    }
    if (!r.has(offset, length))
        return;
    const QString text = canvas_.decodeText(r.sub(offset, length).view());
    // One advance per byte; usable only where each byte is one character.
    std::vector<double> dx;
    const std::size_t dxAt = offset + length + (length & 1);
    if (r.hasArray(dxAt, length, 2) && static_cast<std::size_t>(text.size()) == length) {
        dx.reserve(length);
        for (std::size_t i = 0; i < length; ++i)
            dx.push_back(r.at<std::int16_t>(dxAt + 2 * i));
    }
    canvas_.text(at, text, dx, options, rect);
}

void WmfPlayer::polygon(const Bytes& r, bool closed)
{
    if (r.size() < wmf::poly::Size)
        return;
    const std::size_t count = r.at<std::uint16_t>(wmf::poly::Count);
    const std::size_t pointsAt = wmf::poly::Points;
    if (!r.hasArray(pointsAt, count, PointSize))
        return;
    const QPolygonF points = Points(r, pointsAt, count);
    if (closed)
        canvas_.polygon(points);
    else
        canvas_.polyline(points);
}

void WmfPlayer::polyPolygon(const Bytes& r)
{
    if (r.size() < wmf::polyPolygon::Size)
        return;
    const std::size_t countsAt = wmf::polyPolygon::Counts;
    const std::size_t polygons = r.at<std::uint16_t>(wmf::polyPolygon::Polygons);
    if (!r.hasArray(countsAt, polygons, 2))
        return;
    std::size_t pointsAt = countsAt + 2 * polygons;
    std::vector<QPolygonF> shapes;
    shapes.reserve(polygons);
    for (std::size_t i = 0; i < polygons; ++i) {
        const std::size_t count = r.at<std::uint16_t>(countsAt + 2 * i);
        if (!r.hasArray(pointsAt, count, PointSize))
            return;
        shapes.push_back(Points(r, pointsAt, count));
        pointsAt += count * PointSize;
    }
    canvas_.polyPolygon(shapes);
}

void WmfPlayer::createPen(const Bytes& r)
{
    if (r.size() < wmf::createPen::Size) {
        canvas_.addObject(OtherObject{});
        return;
    }
    canvas_.addObject(Pen{r.at<std::uint16_t>(wmf::createPen::Style), double(r.at<std::int16_t>(wmf::createPen::Width)),
                          Colour(r, wmf::createPen::Colour)});
}

void WmfPlayer::createBrush(const Bytes& r)
{
    if (r.size() < wmf::createBrush::Size) {
        canvas_.addObject(OtherObject{});
        return;
    }
    Brush brush;
    brush.colour = Colour(r, wmf::createBrush::Colour);
    switch (r.at<std::uint16_t>(wmf::createBrush::Style)) {
    case wmf::BrushSolid: brush.kind = Brush::Kind::Solid; break;
    case wmf::BrushHatched:
        brush.kind = Brush::Kind::Hatched;
        brush.hatch = r.at<std::uint16_t>(wmf::createBrush::Hatch);
        break;
    case wmf::BrushNull: brush.kind = Brush::Kind::Hollow; break;
    default: // patterns come with their own record; here only the colour
        brush.kind = Brush::Kind::Solid;
        brush.colour = Qt::gray;
        break;
    }
    canvas_.addObject(std::move(brush));
}

void WmfPlayer::createFont(const Bytes& r)
{
    const std::size_t nameAt = wmf::createFont::FaceName;
    if (r.size() < nameAt) {
        canvas_.addObject(OtherObject{});
        return;
    }
    Font font;
    font.height = r.at<std::int16_t>(wmf::createFont::Height);
    font.escapement = r.at<std::int16_t>(wmf::createFont::Escapement);
    font.weight = r.at<std::int16_t>(wmf::createFont::Weight);
    font.italic = r.at<std::uint8_t>(wmf::createFont::Italic) != 0;
    font.underline = r.at<std::uint8_t>(wmf::createFont::Underline) != 0;
    font.strikeOut = r.at<std::uint8_t>(wmf::createFont::StrikeOut) != 0;
    font.charset = r.at<std::uint8_t>(wmf::createFont::CharSet);
    const std::string_view name = r.from(nameAt).view().substr(0, wmf::createFont::FaceNameLength);
    font.face = canvas_.decodeText(name.substr(0, name.find('\0')), font.charset, QString()).trimmed();
    canvas_.addObject(std::move(font));
}

void WmfPlayer::createPatternBrush(const Bytes& r)
{
    Brush brush;
    brush.kind = Brush::Kind::Solid;
    brush.colour = Qt::gray;
    const std::uint16_t style = r.at<std::uint16_t>(wmf::dibPatternBrush::Style);
    const std::uint16_t usage = r.at<std::uint16_t>(wmf::dibPatternBrush::Usage);
    if (r.size() >= wmf::dibPatternBrush::Size && style != wmf::BrushPattern && usage == wmf::DibRgbColours) {
        if (const base::Result<Dib> dib = DecodePackedDib(r.from(wmf::dibPatternBrush::Bitmap))) {
            brush.kind = Brush::Kind::Pattern;
            brush.pattern = dib->image;
        }
    }
    canvas_.addObject(std::move(brush));
}

void WmfPlayer::stretchDib(const Bytes& r)
{
    if (r.size() < wmf::stretchDib::Size)
        return;
    if (r.at<std::uint16_t>(wmf::stretchDib::Usage) != wmf::DibRgbColours)
        return; // palette indices without the palette
    const base::Result<Dib> dib = DecodePackedDib(r.from(wmf::stretchDib::Bitmap));
    if (!dib)
        return;
    const QRectF destination(PointYX(r, wmf::stretchDib::Dest),
                             QSizeF(r.at<std::int16_t>(wmf::stretchDib::DestWidth),
                                    r.at<std::int16_t>(wmf::stretchDib::DestHeight)));
    const QPointF from = PointYX(r, wmf::stretchDib::Src);
    const QRectF source = SourceRect(*dib, from.x(), from.y(), r.at<std::int16_t>(wmf::stretchDib::SrcWidth),
                                     r.at<std::int16_t>(wmf::stretchDib::SrcHeight));
    canvas_.bitmap(destination, dib->image, source, r.at<std::uint32_t>(wmf::stretchDib::Rop));
}

void WmfPlayer::dibBlit(const Bytes& r, bool stretch)
{
    const std::uint32_t rop = r.at<std::uint32_t>(RecordHeader);
    // Without a bitmap the record carries one more word and fills with the brush.
    if (wmf::BlitWithoutBitmap(r.size(), r.at<std::uint8_t>(wmf::record::FunctionHigh))) {
        if (stretch && r.size() >= wmf::stretchBltNoBitmap::Size) {
            canvas_.patternBlit(QRectF(PointYX(r, wmf::stretchBltNoBitmap::Dest),
                                       QSizeF(r.at<std::int16_t>(wmf::stretchBltNoBitmap::DestWidth),
                                              r.at<std::int16_t>(wmf::stretchBltNoBitmap::DestHeight))),
                                rop);
        } else if (!stretch && r.size() >= wmf::bitBltNoBitmap::Size) {
            canvas_.patternBlit(QRectF(PointYX(r, wmf::bitBltNoBitmap::Dest),
                                       QSizeF(r.at<std::int16_t>(wmf::bitBltNoBitmap::Width),
                                              r.at<std::int16_t>(wmf::bitBltNoBitmap::Height))),
                                rop);
        }
        return;
    }
    if (stretch) {
        if (r.size() < wmf::dibStretchBlt::Size)
            return;
        const base::Result<Dib> dib = DecodePackedDib(r.from(wmf::dibStretchBlt::Bitmap));
        if (!dib)
            return;
        const QPointF from = PointYX(r, wmf::dibStretchBlt::Src);
        canvas_.bitmap(QRectF(PointYX(r, wmf::dibStretchBlt::Dest),
                              QSizeF(r.at<std::int16_t>(wmf::dibStretchBlt::DestWidth),
                                     r.at<std::int16_t>(wmf::dibStretchBlt::DestHeight))),
                       dib->image,
                       SourceRect(*dib, from.x(), from.y(), r.at<std::int16_t>(wmf::dibStretchBlt::SrcWidth),
                                  r.at<std::int16_t>(wmf::dibStretchBlt::SrcHeight)),
                       rop);
        return;
    }
    if (r.size() < wmf::dibBitBlt::Size)
        return;
    const base::Result<Dib> dib = DecodePackedDib(r.from(wmf::dibBitBlt::Bitmap));
    if (!dib)
        return;
    const QSizeF extent(r.at<std::int16_t>(wmf::dibBitBlt::Width),
                        r.at<std::int16_t>(wmf::dibBitBlt::Height));
    const QPointF from = PointYX(r, wmf::dibBitBlt::Src);
    canvas_.bitmap(QRectF(PointYX(r, wmf::dibBitBlt::Dest), extent), dib->image,
                   SourceRect(*dib, from.x(), from.y(), extent.width(), extent.height()), rop);
}

void WmfPlayer::dibToDevice(const Bytes& r)
{
    if (r.size() < wmf::setDibToDev::Size || r.at<std::uint16_t>(wmf::setDibToDev::Usage) != wmf::DibRgbColours)
        return;
    const base::Result<Dib> dib = DecodePackedDib(r.from(wmf::setDibToDev::Bitmap));
    if (!dib)
        return;
    const QSizeF extent(r.at<std::int16_t>(wmf::setDibToDev::Width),
                        r.at<std::int16_t>(wmf::setDibToDev::Height));
    const QPointF from = PointYX(r, wmf::setDibToDev::Src);
    canvas_.bitmap(QRectF(PointYX(r, wmf::setDibToDev::Dest), extent), dib->image,
                   SourceRect(*dib, from.x(), from.y(), extent.width(), extent.height()), wmf::SrcCopy);
}

// Device-dependent bitmaps are not drawn; without one, these fill with the brush.
void WmfPlayer::bitmapBlit(const Bytes& r, bool stretch)
{
    if (!wmf::BlitWithoutBitmap(r.size(), r.at<std::uint8_t>(wmf::record::FunctionHigh)))
        return;
    const std::uint32_t rop = r.at<std::uint32_t>(RecordHeader);
    if (stretch && r.size() >= wmf::stretchBltNoBitmap::Size) {
        canvas_.patternBlit(QRectF(PointYX(r, wmf::stretchBltNoBitmap::Dest),
                                   QSizeF(r.at<std::int16_t>(wmf::stretchBltNoBitmap::DestWidth),
                                          r.at<std::int16_t>(wmf::stretchBltNoBitmap::DestHeight))),
                            rop);
    } else if (!stretch && r.size() >= wmf::bitBltNoBitmap::Size) {
        canvas_.patternBlit(QRectF(PointYX(r, wmf::bitBltNoBitmap::Dest),
                                   QSizeF(r.at<std::int16_t>(wmf::bitBltNoBitmap::Width),
                                          r.at<std::int16_t>(wmf::bitBltNoBitmap::Height))),
                            rop);
    }
}

} // namespace

base::Result<QSizeF> WmfSize(Bytes wmf)
{
    const base::Result<Header> header = ReadHeader(wmf);
    if (!header)
        return header.failure();
    if (!header->placeable || header->unitsPerInch <= 0)
        return base::Fail(QStringLiteral("metafile gives no size"));
    const QRectF frame = header->frame.normalized();
    if (frame.isEmpty())
        return base::Fail(QStringLiteral("metafile gives no size"));
    return QSizeF(frame.width() * 96 / header->unitsPerInch, frame.height() * 96 / header->unitsPerInch);
}

base::Status PlayWmf(Bytes wmf, Canvas& canvas)
{
    const base::Result<Header> header = ReadHeader(wmf);
    if (!header)
        return header.failure();
    canvas.setObjectTableSize(header->objects);
    // The window (logical units) is stretched over the whole image; without
    // a placeable header the records set it, else logical units are pixels.
    canvas.setMapMode(int(MapMode::Anisotropic));
    canvas.setViewportOrigin(QPointF(0, 0));
    canvas.setViewportExtent(QSizeF(canvas.imageSize()));
    if (header->placeable && header->frame.width() != 0 && header->frame.height() != 0) {
        canvas.setWindowOrigin(header->frame.topLeft());
        canvas.setWindowExtent(header->frame.size());
    } else {
        canvas.setWindowExtent(QSizeF(canvas.imageSize()));
    }

    WmfPlayer player(canvas);
    std::size_t offset = header->recordsStart;
    while (offset < wmf.size() && canvas.takeRecord()) {
        const Bytes rest = wmf.from(offset);
        if (!rest.has(0, RecordHeader))
            break;
        const std::uint64_t size = 2ull * rest.at<std::uint32_t>(wmf::record::Words);
        if (size < RecordHeader || size > rest.size())
            break; // a record that claims more than the file holds ends the picture
        const std::uint8_t type = rest.at<std::uint8_t>(wmf::record::Type);
        if (type == wmf::Eof)
            break;
        player.play(type, rest.sub(0, static_cast<std::size_t>(size)));
        offset += static_cast<std::size_t>(size);
    }
    return {};
}

} // namespace metafile
