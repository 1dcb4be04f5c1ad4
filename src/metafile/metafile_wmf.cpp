// WMF records through libUEMF: its record layouts and its checks that a
// record lies inside the file. Every count and offset inside a record is
// checked here again, in 64-bit arithmetic, before anything is read.
#include "metafile/metafile_players.h"

#include "metafile/metafile_dib.h"

#include <uwmf.h>

#include <cstddef>
#include <cstdint>

namespace metafile {

namespace {

constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr std::size_t RecordHeader = U_SIZE_METARECORD;
constexpr std::size_t MaxFaceName = 32;

struct Header {
    std::size_t recordsStart = 0;
    std::size_t objects = 0;
    bool placeable = false;
    QRectF frame; // logical units, from the placeable header
    int unitsPerInch = 0;
};

// The headers are read here with libUEMF's layouts: its own header reader
// counts the placeable header twice and refuses small pictures.
base::Result<Header> ReadHeader(Bytes wmf)
{
    Header result;
    std::size_t at = 0;
    if (wmf.at<std::uint32_t>(offsetof(U_WMRPLACEABLE, Key)) == PlaceableKey) {
        if (!wmf.has(0, U_SIZE_WMRPLACEABLE))
            return base::Fail(QStringLiteral("not a Windows metafile"));
        const U_RECT16 box = wmf.at<U_RECT16>(offsetof(U_WMRPLACEABLE, Dst));
        result.placeable = true;
        result.frame = QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom));
        result.unitsPerInch = wmf.at<std::uint16_t>(offsetof(U_WMRPLACEABLE, Inch));
        at = U_SIZE_WMRPLACEABLE;
    }
    const Bytes header = wmf.from(at);
    // The standard header: type 1 (memory) or 2 (disk), nine words long.
    const std::uint8_t type = header.at<std::uint8_t>(offsetof(U_WMRHEADER, iType));
    if (!header.has(0, U_SIZE_WMRHEADER) || (type != 1 && type != 2) ||
        header.at<std::uint8_t>(offsetof(U_WMRHEADER, xb)) != 0 ||
        header.at<std::uint16_t>(offsetof(U_WMRHEADER, Size16w)) != U_SIZE_WMRHEADER / 2)
        return base::Fail(QStringLiteral("not a Windows metafile"));
    result.recordsStart = at + U_SIZE_WMRHEADER;
    result.objects = header.at<std::uint16_t>(offsetof(U_WMRHEADER, nObjects));
    return result;
}

QColor Colour(const U_COLORREF& c) { return QColor(c.Red, c.Green, c.Blue); }

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
        const U_POINT16 p = record.at<U_POINT16>(offset + 4 * i);
        points.append(QPointF(p.x, p.y));
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
    case U_WMR_SETBKCOLOR:
        if (size >= U_SIZE_WMRSETBKCOLOR)
            canvas_.setBackgroundColour(Colour(r.at<U_COLORREF>(offsetof(U_WMRSETBKCOLOR, Color))));
        break;
    case U_WMR_SETTEXTCOLOR:
        if (size >= U_SIZE_WMRSETTEXTCOLOR)
            canvas_.setTextColour(Colour(r.at<U_COLORREF>(offsetof(U_WMRSETTEXTCOLOR, Color))));
        break;
    case U_WMR_SETBKMODE:
        if (size >= U_SIZE_WMRSETBKMODE)
            canvas_.setBackgroundMode(word());
        break;
    case U_WMR_SETPOLYFILLMODE:
        if (size >= U_SIZE_WMRSETPOLYFILLMODE)
            canvas_.setPolyFillMode(word());
        break;
    case U_WMR_SETROP2:
        if (size >= U_SIZE_WMRSETROP2)
            canvas_.setRop2(word());
        break;
    case U_WMR_SETTEXTALIGN:
        if (size >= U_SIZE_WMRSETTEXTALIGN)
            canvas_.setTextAlign(word());
        break;
    // The picture's frame is the window; the viewport is the image the
    // picture is drawn into, whatever viewport the records name.
    case U_WMR_SETWINDOWORG:
        if (size >= U_SIZE_WMRSETWINDOWORG)
            canvas_.setWindowOrigin(PointYX(r, offsetof(U_WMRSETWINDOWORG, y)));
        break;
    case U_WMR_SETWINDOWEXT:
        if (size >= U_SIZE_WMRSETWINDOWEXT) {
            const QPointF extent = PointYX(r, offsetof(U_WMRSETWINDOWEXT, y));
            canvas_.setWindowExtent(QSizeF(extent.x(), extent.y()));
        }
        break;
    case U_WMR_OFFSETWINDOWORG:
        if (size >= U_SIZE_WMROFFSETWINDOWORG)
            canvas_.offsetWindowOrigin(PointYX(r, offsetof(U_WMROFFSETWINDOWORG, y)));
        break;
    case U_WMR_SCALEWINDOWEXT:
        if (size >= U_SIZE_WMRSCALEWINDOWEXT)
            canvas_.scaleWindowExtent(r.at<std::int16_t>(offsetof(U_WMRSCALEWINDOWEXT, xNum)),
                                      r.at<std::int16_t>(offsetof(U_WMRSCALEWINDOWEXT, xDenom)),
                                      r.at<std::int16_t>(offsetof(U_WMRSCALEWINDOWEXT, yNum)),
                                      r.at<std::int16_t>(offsetof(U_WMRSCALEWINDOWEXT, yDenom)));
        break;
    case U_WMR_MOVETO:
        if (size >= U_SIZE_WMRMOVETO)
            canvas_.moveTo(PointYX(r, offsetof(U_WMRMOVETO, y)));
        break;
    case U_WMR_LINETO:
        if (size >= U_SIZE_WMRLINETO)
            canvas_.lineTo(PointYX(r, offsetof(U_WMRLINETO, y)));
        break;
    case U_WMR_EXCLUDECLIPRECT:
        if (size >= U_SIZE_WMREXCLUDECLIPRECT)
            canvas_.excludeClipRect(RectBRTL(r, offsetof(U_WMREXCLUDECLIPRECT, Bottom)));
        break;
    case U_WMR_INTERSECTCLIPRECT:
        if (size >= U_SIZE_WMRINTERSECTCLIPRECT)
            canvas_.intersectClipRect(RectBRTL(r, offsetof(U_WMRINTERSECTCLIPRECT, Bottom)));
        break;
    case U_WMR_ARC:
    case U_WMR_PIE:
    case U_WMR_CHORD:
        if (size >= U_SIZE_WMRARC) {
            const Canvas::ArcKind kind = type == U_WMR_ARC ? Canvas::ArcKind::Arc
                : type == U_WMR_PIE                        ? Canvas::ArcKind::Pie
                                                           : Canvas::ArcKind::Chord;
            canvas_.arc(kind, RectBRTL(r, offsetof(U_WMRARC, Bottom)), PointYX(r, offsetof(U_WMRARC, yStartArc)),
                        PointYX(r, offsetof(U_WMRARC, yEndArc)));
        }
        break;
    case U_WMR_ELLIPSE:
        if (size >= U_SIZE_WMRELLIPSE)
            canvas_.ellipse(RectBRTL(r, offsetof(U_WMRELLIPSE, Bottom)));
        break;
    case U_WMR_RECTANGLE:
        if (size >= U_SIZE_WMRRECTANGLE)
            canvas_.rectangle(RectBRTL(r, offsetof(U_WMRRECTANGLE, Bottom)));
        break;
    case U_WMR_ROUNDRECT:
        if (size >= U_SIZE_WMRROUNDRECT)
            canvas_.roundRect(RectBRTL(r, offsetof(U_WMRROUNDRECT, Bottom)),
                              QSizeF(r.at<std::int16_t>(offsetof(U_WMRROUNDRECT, Width)),
                                     r.at<std::int16_t>(offsetof(U_WMRROUNDRECT, Height))));
        break;
    case U_WMR_PATBLT:
        if (size >= U_SIZE_WMRPATBLT) {
            const QPointF at = PointYX(r, offsetof(U_WMRPATBLT, yDst));
            const QSizeF extent(r.at<std::int16_t>(offsetof(U_WMRPATBLT, Width)),
                                r.at<std::int16_t>(offsetof(U_WMRPATBLT, Height)));
            canvas_.patternBlit(QRectF(at, extent), r.at<std::uint32_t>(offsetof(U_WMRPATBLT, rop3w)));
        }
        break;
    case U_WMR_SETPIXEL:
        if (size >= U_SIZE_WMRSETPIXEL)
            canvas_.setPixel(PointYX(r, offsetof(U_WMRSETPIXEL, y)),
                             Colour(r.at<U_COLORREF>(offsetof(U_WMRSETPIXEL, Color))));
        break;
    case U_WMR_SAVEDC: canvas_.saveState(); break;
    case U_WMR_RESTOREDC:
        if (size >= U_SIZE_WMRRESTOREDC)
            canvas_.restoreState(r.at<std::int16_t>(offsetof(U_WMRRESTOREDC, DC)));
        break;
    case U_WMR_TEXTOUT: text(r); break;
    case U_WMR_EXTTEXTOUT: extText(r); break;
    case U_WMR_POLYGON: polygon(r, true); break;
    case U_WMR_POLYLINE: polygon(r, false); break;
    case U_WMR_POLYPOLYGON: polyPolygon(r); break;
    case U_WMR_SELECTOBJECT:
        if (size >= U_SIZE_WMRSELECTOBJECT)
            canvas_.selectObject(r.at<std::uint16_t>(offsetof(U_WMRSELECTOBJECT, index)));
        break;
    case U_WMR_DELETEOBJECT:
        if (size >= U_SIZE_WMRDELETEOBJECT)
            canvas_.deleteObject(r.at<std::uint16_t>(offsetof(U_WMRDELETEOBJECT, index)));
        break;
    case U_WMR_CREATEPENINDIRECT: createPen(r); break;
    case U_WMR_CREATEBRUSHINDIRECT: createBrush(r); break;
    case U_WMR_CREATEFONTINDIRECT: createFont(r); break;
    case U_WMR_DIBCREATEPATTERNBRUSH: createPatternBrush(r); break;
    // Objects not drawn with still take their place in the table.
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEPATTERNBRUSH:
    case U_WMR_CREATEREGION:
    case U_WMR_CREATEBITMAP:
    case U_WMR_CREATEBITMAPINDIRECT: canvas_.addObject(OtherObject{}); break;
    case U_WMR_STRETCHDIB: stretchDib(r); break;
    case U_WMR_DIBSTRETCHBLT: dibBlit(r, true); break;
    case U_WMR_DIBBITBLT: dibBlit(r, false); break;
    case U_WMR_SETDIBTODEV: dibToDevice(r); break;
    case U_WMR_BITBLT: bitmapBlit(r, false); break;
    case U_WMR_STRETCHBLT: bitmapBlit(r, true); break;
    default: break; // palettes, regions, escapes, flood fills: not drawn
    }
}

void WmfPlayer::text(const Bytes& r)
{
    if (r.size() < U_SIZE_WMRTEXTOUT)
        return;
    const auto length = static_cast<std::size_t>(std::max<std::int16_t>(r.at<std::int16_t>(offsetof(U_WMRTEXTOUT, Length)), 0));
    const std::size_t stringAt = offsetof(U_WMRTEXTOUT, String);
    const std::size_t pointAt = stringAt + length + (length & 1);
    if (!r.has(pointAt, 4))
        return;
    canvas_.text(PointYX(r, pointAt), canvas_.decodeText(r.sub(stringAt, length).view()), {}, 0, QRectF());
}

void WmfPlayer::extText(const Bytes& r)
{
    if (r.size() < U_SIZE_WMREXTTEXTOUT)
        return;
    const QPointF at = PointYX(r, offsetof(U_WMREXTTEXTOUT, y));
    const auto length = static_cast<std::size_t>(std::max<std::int16_t>(r.at<std::int16_t>(offsetof(U_WMREXTTEXTOUT, Length)), 0));
    const std::uint16_t options = r.at<std::uint16_t>(offsetof(U_WMREXTTEXTOUT, Opts));
    std::size_t offset = U_SIZE_WMREXTTEXTOUT;
    QRectF rect;
    if (options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) {
        if (!r.has(offset, sizeof(U_RECT16)))
            return;
        const U_RECT16 box = r.at<U_RECT16>(offset);
        rect = QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom));
        offset += sizeof(U_RECT16);
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
    if (r.size() < U_SIZE_WMRPOLYGON)
        return;
    const std::size_t count = r.at<std::uint16_t>(offsetof(U_WMRPOLYGON, nPoints));
    const std::size_t pointsAt = offsetof(U_WMRPOLYGON, aPoints);
    if (!r.hasArray(pointsAt, count, sizeof(U_POINT16)))
        return;
    const QPolygonF points = Points(r, pointsAt, count);
    if (closed)
        canvas_.polygon(points);
    else
        canvas_.polyline(points);
}

void WmfPlayer::polyPolygon(const Bytes& r)
{
    if (r.size() < U_SIZE_WMRPOLYPOLYGON)
        return;
    const std::size_t countsAt = offsetof(U_WMRPOLYPOLYGON, PPolygon) + offsetof(U_POLYPOLYGON, aPolyCounts);
    const std::size_t polygons = r.at<std::uint16_t>(offsetof(U_WMRPOLYPOLYGON, PPolygon) + offsetof(U_POLYPOLYGON, nPolys));
    if (!r.hasArray(countsAt, polygons, 2))
        return;
    std::size_t pointsAt = countsAt + 2 * polygons;
    std::vector<QPolygonF> shapes;
    shapes.reserve(polygons);
    for (std::size_t i = 0; i < polygons; ++i) {
        const std::size_t count = r.at<std::uint16_t>(countsAt + 2 * i);
        if (!r.hasArray(pointsAt, count, sizeof(U_POINT16)))
            return;
        shapes.push_back(Points(r, pointsAt, count));
        pointsAt += count * sizeof(U_POINT16);
    }
    canvas_.polyPolygon(shapes);
}

void WmfPlayer::createPen(const Bytes& r)
{
    if (r.size() < U_SIZE_WMRCREATEPENINDIRECT) {
        canvas_.addObject(OtherObject{});
        return;
    }
    const U_PEN pen = r.at<U_PEN>(offsetof(U_WMRCREATEPENINDIRECT, pen));
    canvas_.addObject(Pen{pen.Style, double(std::int16_t(pen.Widthw[0])), Colour(pen.Color)});
}

void WmfPlayer::createBrush(const Bytes& r)
{
    if (r.size() < U_SIZE_WMRCREATEBRUSHINDIRECT) {
        canvas_.addObject(OtherObject{});
        return;
    }
    const U_WLOGBRUSH logBrush = r.at<U_WLOGBRUSH>(offsetof(U_WMRCREATEBRUSHINDIRECT, brush));
    Brush brush;
    brush.colour = Colour(logBrush.Color);
    switch (logBrush.Style) {
    case U_BS_SOLID: brush.kind = Brush::Kind::Solid; break;
    case U_BS_HATCHED:
        brush.kind = Brush::Kind::Hatched;
        brush.hatch = logBrush.Hatch;
        break;
    case U_BS_NULL: brush.kind = Brush::Kind::Hollow; break;
    default: // patterns come with their own record; here only the colour
        brush.kind = Brush::Kind::Solid;
        brush.colour = Qt::gray;
        break;
    }
    canvas_.addObject(std::move(brush));
}

void WmfPlayer::createFont(const Bytes& r)
{
    const std::size_t at = offsetof(U_WMRCREATEFONTINDIRECT, font);
    const std::size_t nameAt = at + offsetof(U_FONT, FaceName);
    if (!r.has(at, nameAt - at)) {
        canvas_.addObject(OtherObject{});
        return;
    }
    Font font;
    font.height = r.at<std::int16_t>(at + offsetof(U_FONT, Height));
    font.escapement = r.at<std::int16_t>(at + offsetof(U_FONT, Escapement));
    font.weight = r.at<std::int16_t>(at + offsetof(U_FONT, Weight));
    font.italic = r.at<std::uint8_t>(at + offsetof(U_FONT, Italic)) != 0;
    font.underline = r.at<std::uint8_t>(at + offsetof(U_FONT, Underline)) != 0;
    font.strikeOut = r.at<std::uint8_t>(at + offsetof(U_FONT, StrikeOut)) != 0;
    font.charset = r.at<std::uint8_t>(at + offsetof(U_FONT, CharSet));
    const std::string_view name = r.from(nameAt).view().substr(0, MaxFaceName);
    font.face = canvas_.decodeText(name.substr(0, name.find('\0')), font.charset, QString()).trimmed();
    canvas_.addObject(std::move(font));
}

void WmfPlayer::createPatternBrush(const Bytes& r)
{
    Brush brush;
    brush.kind = Brush::Kind::Solid;
    brush.colour = Qt::gray;
    const std::uint16_t style = r.at<std::uint16_t>(offsetof(U_WMRDIBCREATEPATTERNBRUSH, Style));
    const std::uint16_t usage = r.at<std::uint16_t>(offsetof(U_WMRDIBCREATEPATTERNBRUSH, cUsage));
    if (r.size() >= U_SIZE_WMRDIBCREATEPATTERNBRUSH && style != U_BS_PATTERN && usage == U_DIB_RGB_COLORS) {
        if (const base::Result<Dib> dib = DecodePackedDib(r.from(offsetof(U_WMRDIBCREATEPATTERNBRUSH, Src)))) {
            brush.kind = Brush::Kind::Pattern;
            brush.pattern = dib->image;
        }
    }
    canvas_.addObject(std::move(brush));
}

void WmfPlayer::stretchDib(const Bytes& r)
{
    if (r.size() < U_SIZE_WMRSTRETCHDIB)
        return;
    if (r.at<std::uint16_t>(offsetof(U_WMRSTRETCHDIB, cUsage)) != U_DIB_RGB_COLORS)
        return; // palette indices without the palette
    const base::Result<Dib> dib = DecodePackedDib(r.from(offsetof(U_WMRSTRETCHDIB, dib)));
    if (!dib)
        return;
    const QRectF destination(PointYX(r, offsetof(U_WMRSTRETCHDIB, yDst)),
                             QSizeF(r.at<std::int16_t>(offsetof(U_WMRSTRETCHDIB, wDst)),
                                    r.at<std::int16_t>(offsetof(U_WMRSTRETCHDIB, hDst))));
    const QPointF from = PointYX(r, offsetof(U_WMRSTRETCHDIB, ySrc));
    const QRectF source = SourceRect(*dib, from.x(), from.y(), r.at<std::int16_t>(offsetof(U_WMRSTRETCHDIB, wSrc)),
                                     r.at<std::int16_t>(offsetof(U_WMRSTRETCHDIB, hSrc)));
    canvas_.bitmap(destination, dib->image, source, r.at<std::uint32_t>(offsetof(U_WMRSTRETCHDIB, rop3w)));
}

void WmfPlayer::dibBlit(const Bytes& r, bool stretch)
{
    const std::uint32_t rop = r.at<std::uint32_t>(RecordHeader);
    // Without a bitmap the record carries one more word and fills with the brush.
    if (U_TEST_NOPXB(r.size(), r.at<std::uint8_t>(offsetof(U_METARECORD, xb)))) {
        if (stretch && r.size() >= U_SIZE_WMRDIBSTRETCHBLT_NOPX) {
            canvas_.patternBlit(QRectF(PointYX(r, offsetof(U_WMRDIBSTRETCHBLT_NOPX, yDst)),
                                       QSizeF(r.at<std::int16_t>(offsetof(U_WMRDIBSTRETCHBLT_NOPX, wDst)),
                                              r.at<std::int16_t>(offsetof(U_WMRDIBSTRETCHBLT_NOPX, hDst)))),
                                rop);
        } else if (!stretch && r.size() >= U_SIZE_WMRDIBBITBLT_NOPX) {
            canvas_.patternBlit(QRectF(PointYX(r, offsetof(U_WMRDIBBITBLT_NOPX, yDst)),
                                       QSizeF(r.at<std::int16_t>(offsetof(U_WMRDIBBITBLT_NOPX, Width)),
                                              r.at<std::int16_t>(offsetof(U_WMRDIBBITBLT_NOPX, Height)))),
                                rop);
        }
        return;
    }
    if (stretch) {
        if (r.size() < U_SIZE_WMRDIBSTRETCHBLT_PX)
            return;
        const base::Result<Dib> dib = DecodePackedDib(r.from(offsetof(U_WMRDIBSTRETCHBLT_PX, dib)));
        if (!dib)
            return;
        const QPointF from = PointYX(r, offsetof(U_WMRDIBSTRETCHBLT_PX, ySrc));
        canvas_.bitmap(QRectF(PointYX(r, offsetof(U_WMRDIBSTRETCHBLT_PX, yDst)),
                              QSizeF(r.at<std::int16_t>(offsetof(U_WMRDIBSTRETCHBLT_PX, wDst)),
                                     r.at<std::int16_t>(offsetof(U_WMRDIBSTRETCHBLT_PX, hDst)))),
                       dib->image,
                       SourceRect(*dib, from.x(), from.y(), r.at<std::int16_t>(offsetof(U_WMRDIBSTRETCHBLT_PX, wSrc)),
                                  r.at<std::int16_t>(offsetof(U_WMRDIBSTRETCHBLT_PX, hSrc))),
                       rop);
        return;
    }
    if (r.size() < U_SIZE_WMRDIBBITBLT_PX)
        return;
    const base::Result<Dib> dib = DecodePackedDib(r.from(offsetof(U_WMRDIBBITBLT_PX, dib)));
    if (!dib)
        return;
    const QSizeF extent(r.at<std::int16_t>(offsetof(U_WMRDIBBITBLT_PX, Width)),
                        r.at<std::int16_t>(offsetof(U_WMRDIBBITBLT_PX, Height)));
    const QPointF from = PointYX(r, offsetof(U_WMRDIBBITBLT_PX, ySrc));
    canvas_.bitmap(QRectF(PointYX(r, offsetof(U_WMRDIBBITBLT_PX, yDst)), extent), dib->image,
                   SourceRect(*dib, from.x(), from.y(), extent.width(), extent.height()), rop);
}

void WmfPlayer::dibToDevice(const Bytes& r)
{
    if (r.size() < U_SIZE_WMRSETDIBTODEV || r.at<std::uint16_t>(offsetof(U_WMRSETDIBTODEV, cUsage)) != U_DIB_RGB_COLORS)
        return;
    const base::Result<Dib> dib = DecodePackedDib(r.from(offsetof(U_WMRSETDIBTODEV, dib)));
    if (!dib)
        return;
    const QSizeF extent(r.at<std::int16_t>(offsetof(U_WMRSETDIBTODEV, Width)),
                        r.at<std::int16_t>(offsetof(U_WMRSETDIBTODEV, Height)));
    const QPointF from = PointYX(r, offsetof(U_WMRSETDIBTODEV, ySrc));
    canvas_.bitmap(QRectF(PointYX(r, offsetof(U_WMRSETDIBTODEV, yDst)), extent), dib->image,
                   SourceRect(*dib, from.x(), from.y(), extent.width(), extent.height()), U_SRCCOPY);
}

// Device-dependent bitmaps are not drawn; without one, these fill with the brush.
void WmfPlayer::bitmapBlit(const Bytes& r, bool stretch)
{
    if (!U_TEST_NOPXB(r.size(), r.at<std::uint8_t>(offsetof(U_METARECORD, xb))))
        return;
    const std::uint32_t rop = r.at<std::uint32_t>(RecordHeader);
    if (stretch && r.size() >= U_SIZE_WMRSTRETCHBLT_NOPX) {
        canvas_.patternBlit(QRectF(PointYX(r, offsetof(U_WMRSTRETCHBLT_NOPX, yDst)),
                                   QSizeF(r.at<std::int16_t>(offsetof(U_WMRSTRETCHBLT_NOPX, wDst)),
                                          r.at<std::int16_t>(offsetof(U_WMRSTRETCHBLT_NOPX, hDst)))),
                            rop);
    } else if (!stretch && r.size() >= U_SIZE_WMRBITBLT_NOPX) {
        canvas_.patternBlit(QRectF(PointYX(r, offsetof(U_WMRBITBLT_NOPX, yDst)),
                                   QSizeF(r.at<std::int16_t>(offsetof(U_WMRBITBLT_NOPX, Width)),
                                          r.at<std::int16_t>(offsetof(U_WMRBITBLT_NOPX, Height)))),
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
        const std::uint64_t size = 2ull * rest.at<std::uint32_t>(offsetof(U_METARECORD, Size16_4));
        if (size < RecordHeader || size > rest.size() ||
            U_WMRRECSAFE_get(rest.data(), rest.data() + rest.size()) != size)
            break; // a record that claims more than the file holds ends the picture
        const std::uint8_t type = rest.at<std::uint8_t>(offsetof(U_METARECORD, iType));
        if (type == U_WMR_EOF)
            break;
        player.play(type, rest.sub(0, static_cast<std::size_t>(size)));
        offset += static_cast<std::size_t>(size);
    }
    return {};
}

} // namespace metafile
