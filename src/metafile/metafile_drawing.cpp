// SPDX-License-Identifier: MIT
// The drawing operations of the metafile canvas: shapes, paths, text and
// bitmaps, each charged to the picture's budget before it is painted.
#include "metafile/metafile_canvas.h"

#include <QFontMetricsF>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace metafile {

namespace {

constexpr double MaxTextPixels = 2048;

constexpr int Rop2Black = 1;
constexpr int Rop2Not = 6;
constexpr int Rop2XorPen = 7;
constexpr int Rop2White = 16;

constexpr std::uint32_t TextAlignUpdateCp = 1;
constexpr std::uint32_t TextAlignRight = 2;
constexpr std::uint32_t TextAlignCentre = 6;
constexpr std::uint32_t TextAlignBottom = 8;
constexpr std::uint32_t TextAlignBaseline = 24;
constexpr std::uint32_t TextOpaque = 2;
constexpr std::uint32_t TextClipped = 4;

Qt::BrushStyle HatchStyle(int hatch)
{
    switch (hatch) {
    case 0: return Qt::HorPattern;
    case 1: return Qt::VerPattern;
    case 2: return Qt::FDiagPattern;
    case 3: return Qt::BDiagPattern;
    case 4: return Qt::CrossPattern;
    case 5: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

// The raster operations of bitmap records that QPainter has an equal of.
QPainter::CompositionMode BitmapMode(std::uint32_t rop)
{
    switch (rop) {
    case 0x00EE0086: return QPainter::RasterOp_SourceOrDestination;       // SRCPAINT
    case 0x008800C6: return QPainter::RasterOp_SourceAndDestination;      // SRCAND
    case 0x00660046: return QPainter::RasterOp_SourceXorDestination;      // SRCINVERT
    case 0x00330008: return QPainter::RasterOp_NotSource;                 // NOTSRCCOPY
    case 0x00440328: return QPainter::RasterOp_SourceAndNotDestination;   // SRCERASE
    case 0x001100A6: return QPainter::RasterOp_NotSourceAndNotDestination; // NOTSRCERASE
    case 0x00BB0226: return QPainter::RasterOp_NotSourceOrDestination;    // MERGEPAINT
    default: return QPainter::CompositionMode_SourceOver;                 // SRCCOPY and the rest
    }
}

// The angle of a point on the ellipse in `rect` as QPainterPath counts it
// (the ellipse's parameter, counter-clockwise), for the radial line from
// the centre through `point`, which is how GDI gives arc ends.
double EllipseAngle(const QRectF& rect, QPointF point)
{
    const QPointF centre = rect.center();
    const double dx = point.x() - centre.x();
    const double dy = centre.y() - point.y();
    return std::atan2(dy * rect.width(), dx * rect.height()) * 180 / std::numbers::pi;
}

// The part of a closed polygon on one side of a line x = limit (vertical)
// or y = limit, the crossing edges cut where they meet the line.
QPolygonF KeepSide(const QPolygonF& polygon, bool vertical, double limit, bool keepAbove)
{
    const auto inside = [&](QPointF p) { return ((vertical ? p.x() : p.y()) >= limit) == keepAbove; };
    const auto crossing = [&](QPointF a, QPointF b) {
        const double t = vertical ? (limit - a.x()) / (b.x() - a.x()) : (limit - a.y()) / (b.y() - a.y());
        return vertical ? QPointF(limit, a.y() + t * (b.y() - a.y())) : QPointF(a.x() + t * (b.x() - a.x()), limit);
    };
    QPolygonF kept;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF previous = polygon[(i + polygon.size() - 1) % polygon.size()];
        const QPointF current = polygon[i];
        if (inside(current) != inside(previous))
            kept.append(crossing(previous, current));
        if (inside(current))
            kept.append(current);
    }
    return kept;
}

// Each figure of a filled path cut to a rectangle, side after side
// (Sutherland and Hodgman). Inside the rectangle every point keeps its
// winding number, so the fill there is the same under either fill rule;
// the new edges run along the rectangle's border.
QPainterPath CutToRect(const QPainterPath& path, const QRectF& rect)
{
    QPainterPath cut;
    cut.setFillRule(path.fillRule());
    for (QPolygonF polygon : path.toSubpathPolygons()) {
        polygon = KeepSide(polygon, true, rect.left(), true);
        polygon = KeepSide(polygon, true, rect.right(), false);
        polygon = KeepSide(polygon, false, rect.top(), true);
        polygon = KeepSide(polygon, false, rect.bottom(), false);
        if (polygon.size() >= 3) {
            cut.addPolygon(polygon);
            cut.closeSubpath();
        }
    }
    return cut;
}

} // namespace

QPen Canvas::devicePen() const
{
    const Pen& pen = state_.pen;
    const int style = int(pen.style & 0x0F);
    if (style == NullPenStyle)
        return QPen(Qt::NoPen);
    QColor colour = pen.colour;
    if (state_.rop2 == Rop2Black)
        colour = Qt::black;
    else if (state_.rop2 == Rop2White)
        colour = Qt::white;
    QPen qpen(colour);
    const double scale = std::sqrt(std::abs(total_.determinant()));
    // GDI never draws a line thinner than a pixel.
    qpen.setWidthF(std::max(1.0, pen.width * scale));
    switch (style) {
    case 1: qpen.setStyle(Qt::DashLine); break;
    case 2: qpen.setStyle(Qt::DotLine); break;
    case 3: qpen.setStyle(Qt::DashDotLine); break;
    case 4: qpen.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    switch ((pen.style >> 8) & 0x0F) {
    case 1: qpen.setCapStyle(Qt::SquareCap); break;
    case 2: qpen.setCapStyle(Qt::FlatCap); break;
    default: qpen.setCapStyle(Qt::RoundCap); break;
    }
    switch ((pen.style >> 12) & 0x0F) {
    case 1: qpen.setJoinStyle(Qt::BevelJoin); break;
    case 2: qpen.setJoinStyle(Qt::MiterJoin); break;
    default: qpen.setJoinStyle(Qt::RoundJoin); break;
    }
    return qpen;
}

QBrush Canvas::deviceBrush() const
{
    const Brush& brush = state_.brush;
    QColor colour = brush.colour;
    if (state_.rop2 == Rop2Black)
        colour = Qt::black;
    else if (state_.rop2 == Rop2White)
        colour = Qt::white;
    switch (brush.kind) {
    case Brush::Kind::Hollow: return QBrush(Qt::NoBrush);
    case Brush::Kind::Hatched: return QBrush(colour, HatchStyle(brush.hatch));
    case Brush::Kind::Pattern:
        if (!brush.pattern.isNull())
            return QBrush(brush.pattern);
        return QBrush(colour);
    case Brush::Kind::Solid: break;
    }
    return QBrush(colour);
}

bool Canvas::reachesFarPastImage(const QRectF& deviceBounds) const
{
    const QRectF image(QPointF(0, 0), QSizeF(image_.size()));
    const double reach = std::max(image.width(), image.height());
    return !image.adjusted(-reach, -reach, reach, reach).contains(deviceBounds);
}

// Qt's rasterizer walks the whole outline of a shape, however little of it
// falls inside the image: a triangle reaching a million pixels past a
// picture of a few hundred takes seconds to fill. A shape reaching far past
// the image is cut to the image first, with a margin that keeps the cut
// edges' antialiasing outside, so that the work follows the pixels painted.
void Canvas::fillDevice(const QPainterPath& device, const QBrush& brush, QPainter::CompositionMode mode)
{
    painter_.setTransform(QTransform());
    painter_.setCompositionMode(mode);
    if (reachesFarPastImage(device.controlPointRect())) {
        const QRectF margin = QRectF(QPointF(0, 0), QSizeF(image_.size())).adjusted(-2, -2, 2, 2);
        painter_.fillPath(CutToRect(device, margin), brush);
    } else {
        painter_.fillPath(device, brush);
    }
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::paintDevice(QPainterPath device, bool fill, bool stroke)
{
    if (!drawable())
        return;
    device.setFillRule(state_.winding ? Qt::WindingFill : Qt::OddEvenFill);
    const QPen pen = stroke ? devicePen() : QPen(Qt::NoPen);
    const double margin = pen.style() == Qt::NoPen ? 0 : pen.widthF();
    const QRectF bounds = device.controlPointRect().adjusted(-margin, -margin, margin, margin);
    const QRectF shown = visible(bounds);
    if (!spend(shown.width() * shown.height(), device.elementCount()) || shown.isEmpty())
        return;
    const QPainter::CompositionMode mode = state_.rop2 == Rop2XorPen ? QPainter::RasterOp_SourceXorDestination
        : state_.rop2 == Rop2Not                                    ? QPainter::RasterOp_NotDestination
                                                                    : QPainter::CompositionMode_SourceOver;
    if (fill && state_.brush.kind != Brush::Kind::Hollow) {
        if (state_.brush.kind == Brush::Kind::Hatched && state_.opaqueBackground)
            fillDevice(device, state_.backgroundColour, mode);
        fillDevice(device, deviceBrush(), mode);
    }
    if (pen.style() != Qt::NoPen) {
        QPen shownPen = pen;
        // A dash pattern along a line reaching far past the picture would
        // cost a dash per pen width over all of its length.
        if (bounds.width() > 8.0 * image_.width() || bounds.height() > 8.0 * image_.height())
            shownPen.setStyle(Qt::SolidLine);
        if (reachesFarPastImage(bounds)) {
            // Filled as its outline, which is cut to the image like any fill.
            fillDevice(QPainterPathStroker(shownPen).createStroke(device), shownPen.brush(), mode);
            return;
        }
        painter_.setTransform(QTransform());
        painter_.setCompositionMode(mode);
        painter_.strokePath(device, shownPen);
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

void Canvas::paint(QPainterPath logical, bool fill, bool stroke)
{
    if (!drawable())
        return;
    if (pathOpen_) {
        if (spend(0, logical.elementCount()))
            path_->addPath(total_.map(logical));
        return;
    }
    paintDevice(total_.map(logical), fill, stroke);
}

void Canvas::continuePath(QPointF logical)
{
    if (path_->elementCount() == 0)
        path_->moveTo(total_.map(state_.position));
    path_->lineTo(total_.map(logical));
}

void Canvas::moveTo(QPointF point)
{
    state_.position = point;
    if (pathOpen_ && transformUsable_)
        path_->moveTo(total_.map(point));
}

void Canvas::lineTo(QPointF point)
{
    if (pathOpen_) {
        if (transformUsable_ && spend(0, 1))
            continuePath(point);
    } else {
        QPainterPath line(state_.position);
        line.lineTo(point);
        paint(line, false, true);
    }
    state_.position = point;
}

QPointF Canvas::currentPosition() const { return state_.position; }

void Canvas::polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    paint(path, false, true);
}

void Canvas::polylineTo(const QPolygonF& points)
{
    if (points.isEmpty())
        return;
    if (pathOpen_) {
        if (transformUsable_ && spend(0, points.size())) {
            for (const QPointF& point : points)
                continuePath(point);
        }
    } else {
        QPainterPath path(state_.position);
        for (const QPointF& point : points)
            path.lineTo(point);
        paint(path, false, true);
    }
    state_.position = points.back();
}

void Canvas::polygon(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    paint(path, true, true);
}

void Canvas::polyPolygon(const std::vector<QPolygonF>& polygons)
{
    QPainterPath path;
    for (const QPolygonF& points : polygons) {
        if (points.size() < 2)
            continue;
        path.addPolygon(points);
        path.closeSubpath();
    }
    paint(path, true, true);
}

void Canvas::polyPolyline(const std::vector<QPolygonF>& polylines)
{
    QPainterPath path;
    for (const QPolygonF& points : polylines) {
        if (points.size() >= 2)
            path.addPolygon(points);
    }
    paint(path, false, true);
}

void Canvas::polyBezier(const QPolygonF& points)
{
    if (points.size() < 4)
        return;
    QPainterPath path(points[0]);
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    paint(path, false, true);
}

void Canvas::polyBezierTo(const QPolygonF& points)
{
    if (points.size() < 3)
        return;
    const qsizetype usable = points.size() - points.size() % 3;
    if (pathOpen_) {
        if (transformUsable_ && spend(0, points.size())) {
            if (path_->elementCount() == 0)
                path_->moveTo(total_.map(state_.position));
            for (qsizetype i = 0; i < usable; i += 3)
                path_->cubicTo(total_.map(points[i]), total_.map(points[i + 1]), total_.map(points[i + 2]));
        }
    } else {
        QPainterPath path(state_.position);
        for (qsizetype i = 0; i < usable; i += 3)
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
        paint(path, false, true);
    }
    state_.position = points[usable - 1];
}

void Canvas::rectangle(const QRectF& rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    paint(path, true, true);
}

void Canvas::roundRect(const QRectF& rect, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    paint(path, true, true);
}

void Canvas::ellipse(const QRectF& rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    paint(path, true, true);
}

void Canvas::arc(ArcKind kind, const QRectF& rect, QPointF start, QPointF end)
{
    const QRectF box = rect.normalized();
    if (box.isEmpty())
        return;
    const double from = EllipseAngle(box, start);
    double sweep = EllipseAngle(box, end) - from;
    if (state_.clockwise) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    // QPainterPath::arcTo draws a line from where the path stands to the arc.
    QPainterPath path;
    switch (kind) {
    case ArcKind::Pie: path.moveTo(box.center()); break;
    case ArcKind::ArcTo: path.moveTo(state_.position); break;
    case ArcKind::Arc:
    case ArcKind::Chord: path.arcMoveTo(box, from); break;
    }
    path.arcTo(box, from, sweep);
    if (kind == ArcKind::Chord || kind == ArcKind::Pie)
        path.closeSubpath();
    if (kind == ArcKind::ArcTo)
        state_.position = path.currentPosition();
    const bool closed = kind == ArcKind::Chord || kind == ArcKind::Pie;
    paint(path, closed, true);
}

void Canvas::setPixel(QPointF point, const QColor& colour)
{
    if (!drawable() || !spend(1, 1))
        return;
    const QPointF device = total_.map(point);
    painter_.setTransform(QTransform());
    painter_.fillRect(QRectF(std::floor(device.x()), std::floor(device.y()), 1, 1), colour);
}

double Canvas::deviceScale(QPointF direction) const
{
    const QPointF mapped = total_.map(direction) - total_.map(QPointF(0, 0));
    return std::hypot(mapped.x(), mapped.y());
}

// The em height of the selected font in image pixels.
double Canvas::fontPixelHeight() const
{
    const double logical = state_.font.height;
    if (logical == 0)
        return 12; // the device's default font
    double pixels = std::abs(logical) * deviceScale(QPointF(0, 1));
    if (logical > 0 && pixels >= 1 && pixels <= MaxTextPixels) {
        // A positive height is the whole cell, ascent and descent.
        QFont probe;
        if (!state_.font.face.isEmpty())
            probe.setFamilies({state_.font.face});
        probe.setPixelSize(qRound(pixels));
        const QFontMetricsF metrics(probe);
        if (metrics.height() > 0)
            pixels *= pixels / (metrics.ascent() + metrics.descent());
    }
    return pixels;
}

void Canvas::text(QPointF reference, const QString& text, const std::vector<double>& dx, std::uint32_t options,
                  const QRectF& rect)
{
    if (!drawable())
        return;
    const State& s = state_;
    const bool updatePosition = s.textAlign & TextAlignUpdateCp;
    const QPointF origin = updatePosition ? s.position : reference;

    if ((options & TextOpaque) && !rect.isEmpty()) {
        QPainterPath box;
        box.addRect(rect.normalized());
        const QPainterPath device = total_.map(box);
        const QRectF shown = visible(device.controlPointRect());
        if (spend(shown.width() * shown.height(), 4))
            fillDevice(device, s.backgroundColour, QPainter::CompositionMode_SourceOver);
    }
    if (text.isEmpty() || exhausted_)
        return;
    const double height = fontPixelHeight();
    if (!(height >= 0.5 && height <= MaxTextPixels))
        return;

    QFont font;
    if (!s.font.face.isEmpty())
        font.setFamilies({s.font.face});
    font.setPixelSize(std::max(1, qRound(height)));
    font.setWeight(QFont::Weight(std::clamp(s.font.weight > 0 ? s.font.weight : 400, 1, 1000)));
    font.setItalic(s.font.italic);
    font.setUnderline(s.font.underline);
    font.setStrikeOut(s.font.strikeOut);
    const QFontMetricsF metrics(font);

    // Character advances in image pixels: the record's own where it gives
    // one per character, the font's otherwise.
    const double xScale = deviceScale(QPointF(1, 0));
    const bool placed = dx.size() >= static_cast<std::size_t>(text.size()) &&
        std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
    double width = 0;
    if (placed) {
        for (qsizetype i = 0; i < text.size(); ++i)
            width += dx[static_cast<std::size_t>(i)] * xScale;
    } else {
        width = metrics.horizontalAdvance(text);
    }
    if (!std::isfinite(width) || !spend(std::abs(width) * height, text.size()))
        return;

    double x = 0;
    if ((s.textAlign & TextAlignCentre) == TextAlignCentre)
        x = -width / 2;
    else if (s.textAlign & TextAlignRight)
        x = -width;
    double baseline = metrics.ascent(); // TA_TOP
    if ((s.textAlign & TextAlignBaseline) == TextAlignBaseline)
        baseline = 0;
    else if (s.textAlign & TextAlignBottom)
        baseline = -metrics.descent();

    painter_.save();
    painter_.setTransform(QTransform());
    if ((options & TextClipped) && !rect.isEmpty())
        painter_.setClipRegion(deviceRegion(rect), Qt::IntersectClip);
    painter_.translate(total_.map(origin));
    painter_.rotate(-s.font.escapement / 10.0);
    if (s.opaqueBackground)
        painter_.fillRect(QRectF(x, baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent()),
                          s.backgroundColour);
    painter_.setFont(font);
    painter_.setPen(s.textColour);
    if (placed) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            painter_.drawText(QPointF(x, baseline), QString(text.at(i)));
            x += dx[static_cast<std::size_t>(i)] * xScale;
        }
    } else {
        painter_.drawText(QPointF(x, baseline), text);
    }
    painter_.restore();

    if (updatePosition && xScale > 0)
        state_.position = origin + QPointF(width / xScale, 0);
}

void Canvas::bitmap(const QRectF& destination, const QImage& image, const QRectF& source, std::uint32_t rop)
{
    if (!drawable() || image.isNull() || destination.width() == 0 || destination.height() == 0)
        return;
    QRectF from = source.normalized().intersected(QRectF(image.rect()));
    if (from.isEmpty())
        return;
    const QRectF shown = visible(total_.mapRect(destination.normalized()));
    if (!spend(shown.width() * shown.height() + double(image.width()) * image.height() / 16, 4) || shown.isEmpty())
        return;

    // A negative extent mirrors the picture.
    QImage drawn = image;
    const bool mirrorX = destination.width() < 0;
    const bool mirrorY = destination.height() < 0;
    if (mirrorX || mirrorY) {
        drawn = image.mirrored(mirrorX, mirrorY);
        if (mirrorX)
            from.moveLeft(image.width() - from.right());
        if (mirrorY)
            from.moveTop(image.height() - from.bottom());
    }
    const QPainter::CompositionMode mode = BitmapMode(rop);
    if (mode != QPainter::CompositionMode_SourceOver && drawn.format() != QImage::Format_RGB32)
        drawn = drawn.convertToFormat(QImage::Format_RGB32);
    painter_.setTransform(total_);
    painter_.setCompositionMode(mode);
    painter_.drawImage(destination.normalized(), drawn, from);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Canvas::patternBlit(const QRectF& destination, std::uint32_t rop)
{
    if (!drawable())
        return;
    QBrush brush;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (rop) {
    case 0x00F00021: brush = deviceBrush(); break; // PATCOPY
    case 0x005A0049:                                 // PATINVERT
        brush = deviceBrush();
        mode = QPainter::RasterOp_SourceXorDestination;
        break;
    case 0x00FF0062: brush = QBrush(Qt::white); break; // WHITENESS
    case 0x00000042: brush = QBrush(Qt::black); break; // BLACKNESS
    case 0x00550009:                                     // DSTINVERT
        brush = QBrush(Qt::black);
        mode = QPainter::RasterOp_NotDestination;
        break;
    default: return;
    }
    if (brush.style() == Qt::NoBrush)
        return;
    QPainterPath box;
    box.addRect(destination.normalized());
    const QPainterPath device = total_.map(box);
    const QRectF shown = visible(device.controlPointRect());
    if (spend(shown.width() * shown.height(), 4) && !shown.isEmpty())
        fillDevice(device, brush, mode);
}

// ---- paths

void Canvas::beginPath()
{
    path_ = QPainterPath();
    pathOpen_ = true;
}

void Canvas::endPath() { pathOpen_ = false; }

void Canvas::abortPath()
{
    path_.reset();
    pathOpen_ = false;
}

void Canvas::closeFigure()
{
    if (path_)
        path_->closeSubpath();
}

void Canvas::fillPath()
{
    pathOpen_ = false;
    if (path_)
        paintDevice(*path_, true, false);
    path_.reset();
}

void Canvas::strokePath()
{
    pathOpen_ = false;
    if (path_)
        paintDevice(*path_, false, true);
    path_.reset();
}

void Canvas::strokeAndFillPath()
{
    pathOpen_ = false;
    if (path_)
        paintDevice(*path_, true, true);
    path_.reset();
}

void Canvas::selectClipPath(int mode)
{
    pathOpen_ = false;
    if (path_ && !exhausted_ && spend(0, path_->elementCount())) {
        QPainterPath shape = *path_;
        shape.setFillRule(state_.winding ? Qt::WindingFill : Qt::OddEvenFill);
        const QRectF imageRect(QPointF(-1, -1), QSizeF(image_.size()) + QSizeF(2, 2));
        QPainterPath bounds;
        bounds.addRect(imageRect);
        combineClip(QRegion(shape.intersected(bounds).toFillPolygon().toPolygon()), mode);
    }
    path_.reset();
}

} // namespace metafile
