// EMF records through libUEMF: its record layouts and its record safety
// check. The check compares counts in 32-bit int arithmetic, so every
// count, offset and size is checked here again, in 64-bit arithmetic,
// before anything is read.
#include "metafile/metafile_players.h"

#include "metafile/metafile_dib.h"

#include <uemf.h>
#include <uemf_safe.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace metafile {

namespace {

constexpr std::uint32_t EmfSignature = 0x464D4520; // " EMF"
constexpr std::size_t RecordHeader = sizeof(U_EMR);
// libUEMF's checks read a word or two of a record before comparing sizes;
// zeros after the last record keep those reads inside the copy.
constexpr std::size_t SafetyPadding = 64;

struct Header {
    std::size_t size = 0; // of the header record
    QRectF bounds;        // device pixels, inclusive
    QRectF frame;         // hundredths of a millimetre, inclusive
    double pixelsPerMmX = 96 / 25.4;
    double pixelsPerMmY = 96 / 25.4;
    std::size_t handles = 0;
};

QRectF Rect(const U_RECTL& r) { return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)); }
QPointF Point(const U_POINTL& p) { return QPointF(p.x, p.y); }
QColor Colour(const U_COLORREF& c) { return QColor(c.Red, c.Green, c.Blue); }

base::Result<Header> ReadHeader(Bytes emf)
{
    if (!emf.has(0, U_SIZE_EMRHEADER_MIN) || emf.at<std::uint32_t>(offsetof(U_EMR, iType)) != U_EMR_HEADER)
        return base::Fail(QStringLiteral("not an enhanced metafile"));
    const std::uint32_t size = emf.at<std::uint32_t>(offsetof(U_EMR, nSize));
    if (size < U_SIZE_EMRHEADER_MIN || size > emf.size() || size % 4 != 0 ||
        emf.at<std::uint32_t>(offsetof(U_EMRHEADER, dSignature)) != EmfSignature)
        return base::Fail(QStringLiteral("not an enhanced metafile"));
    Header header;
    header.size = size;
    header.bounds = Rect(emf.at<U_RECTL>(offsetof(U_EMRHEADER, rclBounds)));
    header.frame = Rect(emf.at<U_RECTL>(offsetof(U_EMRHEADER, rclFrame)));
    header.handles = emf.at<std::uint16_t>(offsetof(U_EMRHEADER, nHandles));
    const U_SIZEL device = emf.at<U_SIZEL>(offsetof(U_EMRHEADER, szlDevice));
    const U_SIZEL millimetres = emf.at<U_SIZEL>(offsetof(U_EMRHEADER, szlMillimeters));
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

QTransform Transform(const U_XFORM& x)
{
    return QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
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
    base::Result<Dib> bitmapAt(const Bytes& record, std::uint32_t offInfo, std::uint32_t infoSize,
                               std::uint32_t offBits, std::uint32_t bitsSize) const;

    Canvas& canvas_;
};

// A record is drawn only when it holds its fixed layout and passes
// libUEMF's check; what follows the fixed layout is checked where it is read.
bool Usable(const Bytes& record, std::size_t minimum)
{
    return record.size() >= minimum && U_emf_record_safe(record.data()) != 0;
}

void EmfPlayer::play(std::uint32_t type, const Bytes& r)
{
    const auto mode = [&r] { return r.at<std::uint32_t>(offsetof(U_EMRSETMAPMODE, iMode)); };
    const auto point = [&r](std::size_t offset) { return Point(r.at<U_POINTL>(offset)); };
    const auto rect = [&r](std::size_t offset) { return Rect(r.at<U_RECTL>(offset)); };
    switch (type) {
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYGON:
    case U_EMR_POLYLINE:
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYLINETO: poly<U_POINTL>(type, r); break;
    case U_EMR_POLYBEZIER16: poly<U_POINT16>(U_EMR_POLYBEZIER, r); break;
    case U_EMR_POLYGON16: poly<U_POINT16>(U_EMR_POLYGON, r); break;
    case U_EMR_POLYLINE16: poly<U_POINT16>(U_EMR_POLYLINE, r); break;
    case U_EMR_POLYBEZIERTO16: poly<U_POINT16>(U_EMR_POLYBEZIERTO, r); break;
    case U_EMR_POLYLINETO16: poly<U_POINT16>(U_EMR_POLYLINETO, r); break;
    case U_EMR_POLYPOLYLINE: polyPoly<U_POINTL>(false, r); break;
    case U_EMR_POLYPOLYGON: polyPoly<U_POINTL>(true, r); break;
    case U_EMR_POLYPOLYLINE16: polyPoly<U_POINT16>(false, r); break;
    case U_EMR_POLYPOLYGON16: polyPoly<U_POINT16>(true, r); break;
    case U_EMR_SETWINDOWEXTEX:
        if (Usable(r, U_SIZE_EMRSETWINDOWEXTEX)) {
            const U_SIZEL extent = r.at<U_SIZEL>(offsetof(U_EMRSETWINDOWEXTEX, szlExtent));
            canvas_.setWindowExtent(QSizeF(extent.cx, extent.cy));
        }
        break;
    case U_EMR_SETWINDOWORGEX:
        if (Usable(r, U_SIZE_EMRSETWINDOWORGEX))
            canvas_.setWindowOrigin(point(offsetof(U_EMRSETWINDOWORGEX, ptlOrigin)));
        break;
    case U_EMR_SETVIEWPORTEXTEX:
        if (Usable(r, U_SIZE_EMRSETVIEWPORTEXTEX)) {
            const U_SIZEL extent = r.at<U_SIZEL>(offsetof(U_EMRSETVIEWPORTEXTEX, szlExtent));
            canvas_.setViewportExtent(QSizeF(extent.cx, extent.cy));
        }
        break;
    case U_EMR_SETVIEWPORTORGEX:
        if (Usable(r, U_SIZE_EMRSETVIEWPORTORGEX))
            canvas_.setViewportOrigin(point(offsetof(U_EMRSETVIEWPORTORGEX, ptlOrigin)));
        break;
    case U_EMR_SCALEVIEWPORTEXTEX:
    case U_EMR_SCALEWINDOWEXTEX:
        if (Usable(r, U_SIZE_EMRSCALEVIEWPORTEXTEX)) {
            const U_EMRSCALEVIEWPORTEXTEX s = r.at<U_EMRSCALEVIEWPORTEXTEX>(0);
            if (type == U_EMR_SCALEWINDOWEXTEX)
                canvas_.scaleWindowExtent(s.xNum, s.xDenom, s.yNum, s.yDenom);
            else
                canvas_.scaleViewportExtent(s.xNum, s.xDenom, s.yNum, s.yDenom);
        }
        break;
    case U_EMR_SETMAPMODE:
        if (Usable(r, U_SIZE_EMRSETMAPMODE))
            canvas_.setMapMode(int(mode()));
        break;
    case U_EMR_SETBKMODE:
        if (Usable(r, U_SIZE_EMRSETBKMODE))
            canvas_.setBackgroundMode(int(mode()));
        break;
    case U_EMR_SETPOLYFILLMODE:
        if (Usable(r, U_SIZE_EMRSETPOLYFILLMODE))
            canvas_.setPolyFillMode(int(mode()));
        break;
    case U_EMR_SETROP2:
        if (Usable(r, U_SIZE_EMRSETROP2))
            canvas_.setRop2(int(mode()));
        break;
    case U_EMR_SETTEXTALIGN:
        if (Usable(r, U_SIZE_EMRSETTEXTALIGN))
            canvas_.setTextAlign(mode());
        break;
    case U_EMR_SETARCDIRECTION:
        if (Usable(r, U_SIZE_EMRSETARCDIRECTION))
            canvas_.setArcDirection(int(r.at<std::uint32_t>(offsetof(U_EMRSETARCDIRECTION, iArcDirection))));
        break;
    case U_EMR_SETTEXTCOLOR:
        if (Usable(r, U_SIZE_EMRSETTEXTCOLOR))
            canvas_.setTextColour(Colour(r.at<U_COLORREF>(offsetof(U_EMRSETTEXTCOLOR, crColor))));
        break;
    case U_EMR_SETBKCOLOR:
        if (Usable(r, U_SIZE_EMRSETBKCOLOR))
            canvas_.setBackgroundColour(Colour(r.at<U_COLORREF>(offsetof(U_EMRSETBKCOLOR, crColor))));
        break;
    case U_EMR_SETPIXELV:
        if (Usable(r, U_SIZE_EMRSETPIXELV))
            canvas_.setPixel(point(offsetof(U_EMRSETPIXELV, ptlPixel)),
                             Colour(r.at<U_COLORREF>(offsetof(U_EMRSETPIXELV, crColor))));
        break;
    case U_EMR_MOVETOEX:
        if (Usable(r, U_SIZE_EMRMOVETOEX))
            canvas_.moveTo(point(offsetof(U_EMRMOVETOEX, ptl)));
        break;
    case U_EMR_LINETO:
        if (Usable(r, U_SIZE_EMRLINETO))
            canvas_.lineTo(point(offsetof(U_EMRLINETO, ptl)));
        break;
    case U_EMR_EXCLUDECLIPRECT:
        if (Usable(r, U_SIZE_EMREXCLUDECLIPRECT))
            canvas_.excludeClipRect(rect(offsetof(U_EMREXCLUDECLIPRECT, rclClip)));
        break;
    case U_EMR_INTERSECTCLIPRECT:
        if (Usable(r, U_SIZE_EMRINTERSECTCLIPRECT))
            canvas_.intersectClipRect(rect(offsetof(U_EMRINTERSECTCLIPRECT, rclClip)));
        break;
    case U_EMR_EXTSELECTCLIPRGN: clipRegion(r); break;
    case U_EMR_SAVEDC: canvas_.saveState(); break;
    case U_EMR_RESTOREDC:
        if (Usable(r, U_SIZE_EMRRESTOREDC))
            canvas_.restoreState(r.at<std::int32_t>(offsetof(U_EMRRESTOREDC, iRelative)));
        break;
    case U_EMR_SETWORLDTRANSFORM:
        if (Usable(r, U_SIZE_EMRSETWORLDTRANSFORM))
            canvas_.setWorldTransform(Transform(r.at<U_XFORM>(offsetof(U_EMRSETWORLDTRANSFORM, xform))));
        break;
    case U_EMR_MODIFYWORLDTRANSFORM:
        if (Usable(r, U_SIZE_EMRMODIFYWORLDTRANSFORM))
            canvas_.modifyWorldTransform(Transform(r.at<U_XFORM>(offsetof(U_EMRMODIFYWORLDTRANSFORM, xform))),
                                         int(r.at<std::uint32_t>(offsetof(U_EMRMODIFYWORLDTRANSFORM, iMode))));
        break;
    case U_EMR_SELECTOBJECT:
        if (Usable(r, U_SIZE_EMRSELECTOBJECT))
            canvas_.selectObject(r.at<std::uint32_t>(offsetof(U_EMRSELECTOBJECT, ihObject)));
        break;
    case U_EMR_DELETEOBJECT:
        if (Usable(r, U_SIZE_EMRDELETEOBJECT))
            canvas_.deleteObject(r.at<std::uint32_t>(offsetof(U_EMRDELETEOBJECT, ihObject)));
        break;
    case U_EMR_CREATEPEN: createPen(r); break;
    case U_EMR_EXTCREATEPEN: createExtPen(r); break;
    case U_EMR_CREATEBRUSHINDIRECT: createBrush(r); break;
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_CREATEMONOBRUSH: createPatternBrush(r); break;
    case U_EMR_EXTCREATEFONTINDIRECTW: createFont(r); break;
    case U_EMR_CREATEPALETTE:
    case U_EMR_CREATECOLORSPACE:
    case U_EMR_CREATECOLORSPACEW:
        // Not drawn with, but their place in the table is taken.
        if (r.size() >= RecordHeader + 4)
            canvas_.setObject(r.at<std::uint32_t>(RecordHeader), OtherObject{});
        break;
    case U_EMR_ELLIPSE:
        if (Usable(r, U_SIZE_EMRELLIPSE))
            canvas_.ellipse(rect(offsetof(U_EMRELLIPSE, rclBox)));
        break;
    case U_EMR_RECTANGLE:
        if (Usable(r, U_SIZE_EMRRECTANGLE))
            canvas_.rectangle(rect(offsetof(U_EMRRECTANGLE, rclBox)));
        break;
    case U_EMR_ROUNDRECT:
        if (Usable(r, U_SIZE_EMRROUNDRECT)) {
            const U_SIZEL corner = r.at<U_SIZEL>(offsetof(U_EMRROUNDRECT, szlCorner));
            canvas_.roundRect(rect(offsetof(U_EMRROUNDRECT, rclBox)), QSizeF(corner.cx, corner.cy));
        }
        break;
    case U_EMR_ARC:
    case U_EMR_CHORD:
    case U_EMR_PIE:
    case U_EMR_ARCTO:
        if (Usable(r, U_SIZE_EMRARC)) {
            const Canvas::ArcKind kind = type == U_EMR_ARC ? Canvas::ArcKind::Arc
                : type == U_EMR_CHORD                      ? Canvas::ArcKind::Chord
                : type == U_EMR_PIE                        ? Canvas::ArcKind::Pie
                                                           : Canvas::ArcKind::ArcTo;
            canvas_.arc(kind, rect(offsetof(U_EMRARC, rclBox)), point(offsetof(U_EMRARC, ptlStart)),
                        point(offsetof(U_EMRARC, ptlEnd)));
        }
        break;
    case U_EMR_BEGINPATH: canvas_.beginPath(); break;
    case U_EMR_ENDPATH: canvas_.endPath(); break;
    case U_EMR_ABORTPATH: canvas_.abortPath(); break;
    case U_EMR_CLOSEFIGURE: canvas_.closeFigure(); break;
    case U_EMR_FILLPATH: canvas_.fillPath(); break;
    case U_EMR_STROKEPATH: canvas_.strokePath(); break;
    case U_EMR_STROKEANDFILLPATH: canvas_.strokeAndFillPath(); break;
    case U_EMR_SELECTCLIPPATH:
        if (Usable(r, U_SIZE_EMRSELECTCLIPPATH))
            canvas_.selectClipPath(int(mode()));
        break;
    case U_EMR_EXTTEXTOUTW: text(r, true); break;
    case U_EMR_EXTTEXTOUTA: text(r, false); break;
    case U_EMR_STRETCHDIBITS: stretchDibits(r); break;
    case U_EMR_SETDIBITSTODEVICE: dibitsToDevice(r); break;
    case U_EMR_BITBLT:
    case U_EMR_STRETCHBLT:
    case U_EMR_ALPHABLEND: blit(r, type); break;
    default: break; // comments (EMF+), palettes, regions, gradients: not drawn
    }
}

template <typename Point>
void EmfPlayer::poly(std::uint32_t type, const Bytes& r)
{
    // The 32-bit and 16-bit records share their layout up to the points.
    static_assert(offsetof(U_EMRPOLYBEZIER, cptl) == offsetof(U_EMRPOLYBEZIER16, cpts));
    const std::size_t pointsAt = std::is_same_v<Point, U_POINTL> ? offsetof(U_EMRPOLYBEZIER, aptl)
                                                                  : offsetof(U_EMRPOLYBEZIER16, apts);
    if (!Usable(r, pointsAt))
        return;
    const std::size_t count = r.at<std::uint32_t>(offsetof(U_EMRPOLYBEZIER, cptl));
    if (!r.hasArray(pointsAt, count, sizeof(Point)))
        return;
    QPolygonF points;
    points.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const Point p = r.at<Point>(pointsAt + i * sizeof(Point));
        points.append(QPointF(p.x, p.y));
    }
    switch (type) {
    case U_EMR_POLYBEZIER: canvas_.polyBezier(points); break;
    case U_EMR_POLYGON: canvas_.polygon(points); break;
    case U_EMR_POLYLINE: canvas_.polyline(points); break;
    case U_EMR_POLYBEZIERTO: canvas_.polyBezierTo(points); break;
    case U_EMR_POLYLINETO: canvas_.polylineTo(points); break;
    default: break;
    }
}

template <typename Point>
void EmfPlayer::polyPoly(bool closed, const Bytes& r)
{
    static_assert(offsetof(U_EMRPOLYPOLYLINE, aPolyCounts) == offsetof(U_EMRPOLYPOLYLINE16, aPolyCounts));
    const std::size_t countsAt = offsetof(U_EMRPOLYPOLYLINE, aPolyCounts);
    if (!Usable(r, countsAt))
        return;
    const std::size_t polygons = r.at<std::uint32_t>(offsetof(U_EMRPOLYPOLYLINE, nPolys));
    const std::size_t total = r.at<std::uint32_t>(offsetof(U_EMRPOLYPOLYLINE, cptl));
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
    const std::size_t textAt = offsetof(U_EMREXTTEXTOUTW, emrtext);
    if (!Usable(r, textAt + sizeof(U_EMRTEXT)))
        return;
    const U_EMRTEXT header = r.at<U_EMRTEXT>(textAt);
    std::size_t offset = textAt + sizeof(U_EMRTEXT);
    QRectF rect;
    if (!(header.fOptions & U_ETO_NO_RECT)) {
        if (!r.has(offset, sizeof(U_RECTL)))
            return;
        rect = Rect(r.at<U_RECTL>(offset));
        offset += sizeof(U_RECTL);
    }
    const std::size_t count = header.nChars;
    const std::size_t unit = wide ? 2 : 1;
    if (!r.hasArray(header.offString, count, unit))
        return;
    QString text;
    if (wide) {
        text.reserve(static_cast<qsizetype>(count));
        for (std::size_t i = 0; i < count; ++i)
            text.append(QChar(r.at<char16_t>(header.offString + 2 * i)));
    } else {
        text = canvas_.decodeText(r.sub(header.offString, count).view());
    }
    // Advances, one per character (two with ETO_PDY: x and y), where given.
    std::vector<double> dx;
    const std::size_t dxAt = r.at<std::uint32_t>(offset);
    const std::size_t step = (header.fOptions & U_ETO_PDY) ? 2 : 1;
    if (dxAt != 0 && static_cast<std::size_t>(text.size()) == count && r.hasArray(dxAt, count * step, 4)) {
        dx.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            dx.push_back(r.at<std::int32_t>(dxAt + 4 * step * i));
    }
    canvas_.text(Point(header.ptlReference), text, dx, header.fOptions, rect);
}

void EmfPlayer::createFont(const Bytes& r)
{
    const std::size_t fontAt = offsetof(U_EMREXTCREATEFONTINDIRECTW, elfw);
    if (!Usable(r, fontAt + sizeof(U_LOGFONT)))
        return;
    const U_LOGFONT logFont = r.at<U_LOGFONT>(fontAt);
    Font font;
    font.height = logFont.lfHeight;
    font.escapement = logFont.lfEscapement;
    font.weight = logFont.lfWeight;
    font.italic = logFont.lfItalic != 0;
    font.underline = logFont.lfUnderline != 0;
    font.strikeOut = logFont.lfStrikeOut != 0;
    font.charset = logFont.lfCharSet;
    for (const std::uint16_t c : logFont.lfFaceName) {
        if (c == 0)
            break;
        font.face.append(QChar(char16_t(c)));
    }
    canvas_.setObject(r.at<std::uint32_t>(offsetof(U_EMREXTCREATEFONTINDIRECTW, ihFont)), std::move(font));
}

void EmfPlayer::createPen(const Bytes& r)
{
    if (!Usable(r, U_SIZE_EMRCREATEPEN))
        return;
    const U_LOGPEN logPen = r.at<U_LOGPEN>(offsetof(U_EMRCREATEPEN, lopn));
    canvas_.setObject(r.at<std::uint32_t>(offsetof(U_EMRCREATEPEN, ihPen)),
                      Pen{logPen.lopnStyle, double(logPen.lopnWidth.x), Colour(logPen.lopnColor)});
}

void EmfPlayer::createExtPen(const Bytes& r)
{
    const std::size_t penAt = offsetof(U_EMREXTCREATEPEN, elp);
    if (!Usable(r, penAt + offsetof(U_EXTLOGPEN, elpStyleEntry)))
        return;
    const std::uint32_t style = r.at<std::uint32_t>(penAt + offsetof(U_EXTLOGPEN, elpPenStyle));
    const std::uint32_t brushStyle = r.at<std::uint32_t>(penAt + offsetof(U_EXTLOGPEN, elpBrushStyle));
    Pen pen;
    pen.style = brushStyle == U_BS_NULL ? std::uint32_t(U_PS_NULL) : style;
    // Cosmetic pens are one pixel wide whatever width they give.
    pen.width = (style & U_PS_GEOMETRIC) ? double(r.at<std::uint32_t>(penAt + offsetof(U_EXTLOGPEN, elpWidth))) : 0;
    pen.colour = Colour(r.at<U_COLORREF>(penAt + offsetof(U_EXTLOGPEN, elpColor)));
    canvas_.setObject(r.at<std::uint32_t>(offsetof(U_EMREXTCREATEPEN, ihPen)), pen);
}

void EmfPlayer::createBrush(const Bytes& r)
{
    if (!Usable(r, U_SIZE_EMRCREATEBRUSHINDIRECT))
        return;
    const U_LOGBRUSH logBrush = r.at<U_LOGBRUSH>(offsetof(U_EMRCREATEBRUSHINDIRECT, lb));
    Brush brush;
    brush.colour = Colour(logBrush.lbColor);
    switch (logBrush.lbStyle) {
    case U_BS_SOLID: break;
    case U_BS_NULL: brush.kind = Brush::Kind::Hollow; break;
    case U_BS_HATCHED:
        brush.kind = Brush::Kind::Hatched;
        brush.hatch = int(logBrush.lbHatch);
        break;
    default: brush.colour = Qt::gray; break;
    }
    canvas_.setObject(r.at<std::uint32_t>(offsetof(U_EMRCREATEBRUSHINDIRECT, ihBrush)), std::move(brush));
}

base::Result<Dib> EmfPlayer::bitmapAt(const Bytes& r, std::uint32_t offInfo, std::uint32_t infoSize,
                                      std::uint32_t offBits, std::uint32_t bitsSize) const
{
    if (infoSize == 0 || !r.has(offInfo, infoSize) || !r.has(offBits, bitsSize))
        return base::Fail(QStringLiteral("bitmap outside its record"));
    return DecodeDib(r.sub(offInfo, infoSize), r.sub(offBits, bitsSize));
}

void EmfPlayer::createPatternBrush(const Bytes& r)
{
    if (!Usable(r, U_SIZE_EMRCREATEDIBPATTERNBRUSHPT))
        return;
    const U_EMRCREATEDIBPATTERNBRUSHPT record = r.at<U_EMRCREATEDIBPATTERNBRUSHPT>(0);
    Brush brush;
    brush.colour = Qt::gray;
    if (record.iUsage == U_DIB_RGB_COLORS) {
        if (const base::Result<Dib> dib = bitmapAt(r, record.offBmi, record.cbBmi, record.offBits, record.cbBits)) {
            brush.kind = Brush::Kind::Pattern;
            brush.pattern = dib->image;
        }
    }
    canvas_.setObject(record.ihBrush, std::move(brush));
}

void EmfPlayer::clipRegion(const Bytes& r)
{
    const std::size_t dataAt = offsetof(U_EMREXTSELECTCLIPRGN, RgnData);
    if (!Usable(r, dataAt))
        return;
    const std::uint32_t size = r.at<std::uint32_t>(offsetof(U_EMREXTSELECTCLIPRGN, cbRgnData));
    const int mode = int(r.at<std::uint32_t>(offsetof(U_EMREXTSELECTCLIPRGN, iMode)));
    std::vector<QRectF> rects;
    if (size > 0) {
        const std::size_t rectsAt = dataAt + sizeof(U_RGNDATAHEADER);
        const std::size_t count = r.at<std::uint32_t>(dataAt + offsetof(U_RGNDATAHEADER, nCount));
        if (!r.has(dataAt, size) || size < sizeof(U_RGNDATAHEADER) ||
            !Bytes(r.data(), dataAt + size).hasArray(rectsAt, count, sizeof(U_RECTL)))
            return;
        rects.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            rects.push_back(Rect(r.at<U_RECTL>(rectsAt + i * sizeof(U_RECTL))));
    }
    canvas_.combineClipRegion(rects, mode);
}

void EmfPlayer::stretchDibits(const Bytes& r)
{
    if (!Usable(r, U_SIZE_EMRSTRETCHDIBITS))
        return;
    const U_EMRSTRETCHDIBITS record = r.at<U_EMRSTRETCHDIBITS>(0);
    if (record.iUsageSrc != U_DIB_RGB_COLORS)
        return; // palette indices without the palette
    const base::Result<Dib> dib = bitmapAt(r, record.offBmiSrc, record.cbBmiSrc, record.offBitsSrc, record.cbBitsSrc);
    if (!dib)
        return;
    canvas_.bitmap(QRectF(Point(record.Dest), QSizeF(record.cDest.x, record.cDest.y)), dib->image,
                   SourceRect(*dib, record.Src.x, record.Src.y, record.cSrc.x, record.cSrc.y), record.dwRop);
}

void EmfPlayer::dibitsToDevice(const Bytes& r)
{
    if (!Usable(r, U_SIZE_EMRSETDIBITSTODEVICE))
        return;
    const U_EMRSETDIBITSTODEVICE record = r.at<U_EMRSETDIBITSTODEVICE>(0);
    if (record.iUsageSrc != U_DIB_RGB_COLORS)
        return;
    const base::Result<Dib> dib = bitmapAt(r, record.offBmiSrc, record.cbBmiSrc, record.offBitsSrc, record.cbBitsSrc);
    if (!dib)
        return;
    const QSizeF extent(record.cSrc.x, record.cSrc.y);
    canvas_.bitmap(QRectF(Point(record.Dest), extent), dib->image,
                   SourceRect(*dib, record.Src.x, record.Src.y, extent.width(), extent.height()), U_SRCCOPY);
}

void EmfPlayer::blit(const Bytes& r, std::uint32_t type)
{
    // BITBLT, STRETCHBLT and ALPHABLEND share their layout up to the source size.
    static_assert(offsetof(U_EMRBITBLT, cbBitsSrc) == offsetof(U_EMRSTRETCHBLT, cbBitsSrc));
    static_assert(offsetof(U_EMRALPHABLEND, cSrc) == offsetof(U_EMRSTRETCHBLT, cSrc));
    const std::size_t minimum = type == U_EMR_BITBLT ? U_SIZE_EMRBITBLT : U_SIZE_EMRSTRETCHBLT;
    if (!Usable(r, minimum))
        return;
    const U_EMRBITBLT record = r.at<U_EMRBITBLT>(0);
    const QRectF destination(Point(record.Dest), QSizeF(record.cDest.x, record.cDest.y));
    const std::uint32_t rop = type == U_EMR_ALPHABLEND ? U_SRCCOPY : record.dwRop;
    if (record.cbBmiSrc == 0) {
        canvas_.patternBlit(destination, rop); // no source: the brush or a fixed colour
        return;
    }
    if (record.iUsageSrc != U_DIB_RGB_COLORS)
        return;
    base::Result<Dib> dib = bitmapAt(r, record.offBmiSrc, record.cbBmiSrc, record.offBitsSrc, record.cbBitsSrc);
    if (!dib)
        return;
    QSizeF sourceSize = destination.size();
    if (type != U_EMR_BITBLT) {
        const U_POINTL size = r.at<U_POINTL>(offsetof(U_EMRSTRETCHBLT, cSrc));
        sourceSize = QSizeF(size.x, size.y);
    }
    if (type == U_EMR_ALPHABLEND) {
        const U_BLEND blend = r.at<U_BLEND>(offsetof(U_EMRALPHABLEND, Blend));
        // Per-pixel alpha rides in the fourth byte of 32-bit pixels.
        if ((blend.Op & U_AC_SRC_ALPHA) && dib->image.format() == QImage::Format_RGB32)
            dib.value().image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    }
    canvas_.bitmap(destination, dib->image,
                   SourceRect(*dib, record.Src.x, record.Src.y, sourceSize.width(), sourceSize.height()), rop);
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

    // libUEMF reads records in place: give it aligned words, and padding.
    std::vector<std::uint32_t> words((emf.size() + SafetyPadding + 3) / 4, 0);
    std::memcpy(words.data(), emf.data(), emf.size());
    const Bytes data(reinterpret_cast<const char*>(words.data()), emf.size());

    const QSize image = canvas.imageSize();
    const double sx = image.width() / frame.width();
    const double sy = image.height() / frame.height();
    canvas.setDeviceResolution(header->pixelsPerMmX, header->pixelsPerMmY);
    canvas.setDeviceTransform(QTransform(sx, 0, 0, sy, -frame.left() * sx, -frame.top() * sy));
    canvas.setObjectTableSize(header->handles);

    EmfPlayer player(canvas);
    std::size_t offset = header->size;
    while (offset < data.size() && canvas.takeRecord()) {
        const Bytes rest = data.from(offset);
        if (!rest.has(0, RecordHeader))
            break;
        const std::uint32_t type = rest.at<std::uint32_t>(offsetof(U_EMR, iType));
        const std::uint32_t size = rest.at<std::uint32_t>(offsetof(U_EMR, nSize));
        if (size < RecordHeader || size % 4 != 0 || size > rest.size())
            break; // a record that claims more than the file holds ends the picture
        if (type == U_EMR_EOF)
            break;
        player.play(type, rest.sub(0, size));
        offset += size;
    }
    return {};
}

} // namespace metafile
