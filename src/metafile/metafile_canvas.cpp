// SPDX-License-Identifier: MIT
#include "metafile/metafile_canvas.h"

#include <algorithm>
#include <cmath>

namespace metafile {

namespace {

// Work one picture may do, within the document's. The pixel share is
// counted over the image area each operation covers, so a record that
// fills the picture costs as much as the picture has pixels.
constexpr long long MaxRecords = 100'000;
constexpr double PaintedImagesPerPicture = 16;
constexpr double MinPaintedPixels = 4e6;
constexpr double MaxPoints = 2e6;
constexpr std::size_t MaxObjects = 16384;
constexpr std::size_t MaxSavedStates = 1024;
// Coordinates or scales past this come from a broken picture, never a drawing.
constexpr double MaxTransformValue = 1e7;

constexpr std::uint32_t StockObject = 0x80000000;

bool Finite(const QTransform& t)
{
    for (const double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()}) {
        if (!std::isfinite(v) || std::abs(v) > MaxTransformValue)
            return false;
    }
    return true;
}

Brush SolidBrush(const QColor& colour)
{
    Brush brush;
    brush.colour = colour;
    return brush;
}

} // namespace

Canvas::Canvas(QImage& image, MetafileWork& work, TextDecoder& text) : image_(image), work_(work), text_(text)
{
    painter_.begin(&image_);
    painter_.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    updateTransform();
}

Canvas::~Canvas()
{
    painter_.end();
}

bool Canvas::takeRecord()
{
    if (++records_ > MaxRecords)
        exhausted_ = true;
    return !exhausted_;
}

bool Canvas::spend(double pixels, double points)
{
    paintedPixels_ += pixels;
    points_ += points;
    work_.paintedPixels -= pixels;
    work_.points -= points;
    const double imagePixels = double(image_.width()) * image_.height();
    if (paintedPixels_ > std::max(MinPaintedPixels, PaintedImagesPerPicture * imagePixels) || points_ > MaxPoints ||
        work_.paintedPixels < 0 || work_.points < 0)
        exhausted_ = true;
    return !exhausted_;
}

QRectF Canvas::visible(const QRectF& deviceBounds) const
{
    return deviceBounds.intersected(QRectF(QPointF(0, 0), QSizeF(image_.size())));
}

bool Canvas::drawable() const
{
    return !exhausted_ && transformUsable_ && painter_.isActive() && state_.rop2 != Rop2Nop;
}

// ---- mapping

QTransform Canvas::pageTransform() const
{
    const State& s = state_;
    double sx = 1;
    double sy = 1;
    const auto fixed = [&](double millimetresPerUnit) {
        sx = pixelsPerMmX_ * millimetresPerUnit;
        sy = -pixelsPerMmY_ * millimetresPerUnit; // these modes count y upwards
    };
    switch (s.mapMode) {
    case MapMode::Text: break;
    case MapMode::LoMetric: fixed(0.1); break;
    case MapMode::HiMetric: fixed(0.01); break;
    case MapMode::LoEnglish: fixed(0.254); break;
    case MapMode::HiEnglish: fixed(0.0254); break;
    case MapMode::Twips: fixed(25.4 / 1440); break;
    case MapMode::Isotropic:
    case MapMode::Anisotropic:
        sx = s.windowExtent.width() != 0 ? s.viewportExtent.width() / s.windowExtent.width() : 1;
        sy = s.windowExtent.height() != 0 ? s.viewportExtent.height() / s.windowExtent.height() : 1;
        if (s.mapMode == MapMode::Isotropic) {
            const double scale = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(scale, sx);
            sy = std::copysign(scale, sy);
        }
        break;
    }
    return QTransform(sx, 0, 0, sy, s.viewportOrigin.x() - s.windowOrigin.x() * sx,
                      s.viewportOrigin.y() - s.windowOrigin.y() * sy);
}

void Canvas::updateTransform()
{
    total_ = state_.world * pageTransform() * deviceToImage_;
    transformUsable_ = Finite(total_) && Finite(state_.world);
}

void Canvas::setDeviceTransform(const QTransform& deviceToImage)
{
    deviceToImage_ = deviceToImage;
    updateTransform();
}

void Canvas::setDeviceResolution(double pixelsPerMmX, double pixelsPerMmY)
{
    if (std::isfinite(pixelsPerMmX) && std::isfinite(pixelsPerMmY) && pixelsPerMmX > 0 && pixelsPerMmY > 0) {
        pixelsPerMmX_ = pixelsPerMmX;
        pixelsPerMmY_ = pixelsPerMmY;
        updateTransform();
    }
}

void Canvas::setMapMode(int mode)
{
    if (mode < int(MapMode::Text) || mode > int(MapMode::Anisotropic))
        return;
    state_.mapMode = MapMode(mode);
    updateTransform();
}

void Canvas::setWindowOrigin(QPointF origin)
{
    state_.windowOrigin = origin;
    updateTransform();
}

void Canvas::setWindowExtent(QSizeF extent)
{
    if (extent.width() == 0 || extent.height() == 0)
        return; // GDI refuses an empty window
    state_.windowExtent = extent;
    updateTransform();
}

void Canvas::setViewportOrigin(QPointF origin)
{
    state_.viewportOrigin = origin;
    updateTransform();
}

void Canvas::setViewportExtent(QSizeF extent)
{
    if (extent.width() == 0 || extent.height() == 0)
        return;
    state_.viewportExtent = extent;
    updateTransform();
}

void Canvas::offsetWindowOrigin(QPointF offset)
{
    setWindowOrigin(state_.windowOrigin + offset);
}

void Canvas::scaleWindowExtent(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom != 0 && yDenom != 0)
        setWindowExtent(QSizeF(state_.windowExtent.width() * xNum / xDenom, state_.windowExtent.height() * yNum / yDenom));
}

void Canvas::scaleViewportExtent(double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom != 0 && yDenom != 0)
        setViewportExtent(
            QSizeF(state_.viewportExtent.width() * xNum / xDenom, state_.viewportExtent.height() * yNum / yDenom));
}


void Canvas::setWorldTransform(const QTransform& world)
{
    state_.world = world;
    updateTransform();
}

void Canvas::modifyWorldTransform(const QTransform& transform, int mode)
{
    switch (mode) {
    case 1: state_.world = QTransform(); break;
    case 2: state_.world = transform * state_.world; break;
    case 3: state_.world = state_.world * transform; break;
    case 4: state_.world = transform; break; // MWT_SET
    default: return;
    }
    updateTransform();
}

// ---- state

void Canvas::saveState()
{
    if (saved_.size() >= MaxSavedStates) {
        ++savesIgnored_;
        return;
    }
    saved_.push_back(state_);
}

void Canvas::restoreState(int which)
{
    if (which < 0 && savesIgnored_ > 0) {
        const int ignored = std::min(savesIgnored_, -which);
        savesIgnored_ -= ignored;
        which += ignored;
        if (which == 0)
            return;
    }
    const long long depth = static_cast<long long>(saved_.size());
    const long long index = which < 0 ? depth + which : static_cast<long long>(which) - 1;
    if (which == 0 || index < 0 || index >= depth)
        return;
    state_ = saved_[static_cast<std::size_t>(index)];
    saved_.resize(static_cast<std::size_t>(index));
    updateTransform();
    applyClip();
}

void Canvas::setTextColour(const QColor& colour) { state_.textColour = colour; }
void Canvas::setBackgroundColour(const QColor& colour) { state_.backgroundColour = colour; }
void Canvas::setBackgroundMode(int mode) { state_.opaqueBackground = mode == 2; }
void Canvas::setTextAlign(std::uint32_t align) { state_.textAlign = align; }
void Canvas::setPolyFillMode(int mode) { state_.winding = mode == 2; }
void Canvas::setRop2(int rop2) { state_.rop2 = rop2; }
void Canvas::setArcDirection(int direction) { state_.clockwise = direction == 2; }

QString Canvas::decodeText(std::string_view bytes)
{
    return decodeText(bytes, state_.font.charset, state_.font.face);
}

QString Canvas::decodeText(std::string_view bytes, int charset, const QString& face)
{
    return text_.decode(bytes, charset, face);
}

// ---- objects

void Canvas::setObjectTableSize(std::size_t size)
{
    objects_.assign(std::min(size, MaxObjects), GdiObject{});
    firstFree_ = 0;
}

void Canvas::addObject(GdiObject object)
{
    while (firstFree_ < objects_.size() && !std::holds_alternative<std::monostate>(objects_[firstFree_]))
        ++firstFree_;
    if (firstFree_ == objects_.size()) {
        if (objects_.size() >= MaxObjects)
            return;
        objects_.emplace_back();
    }
    objects_[firstFree_++] = std::move(object);
}

void Canvas::setObject(std::uint32_t index, GdiObject object)
{
    if (index >= MaxObjects)
        return;
    if (index >= objects_.size())
        objects_.resize(index + 1);
    objects_[index] = std::move(object);
}

void Canvas::selectObject(std::uint32_t index)
{
    if (index & StockObject) {
        switch (index & ~StockObject) {
        case 0: state_.brush = SolidBrush(Qt::white); break;
        case 1: state_.brush = SolidBrush(QColor(0xC0, 0xC0, 0xC0)); break;
        case 2: state_.brush = SolidBrush(QColor(0x80, 0x80, 0x80)); break;
        case 3: state_.brush = SolidBrush(QColor(0x40, 0x40, 0x40)); break;
        case 4: state_.brush = SolidBrush(Qt::black); break;
        case 5: state_.brush.kind = Brush::Kind::Hollow; break;
        case 6: state_.pen = Pen{0, 0, Qt::white}; break;
        case 7: state_.pen = Pen{0, 0, Qt::black}; break;
        case 8: state_.pen = Pen{NullPenStyle, 0, Qt::black}; break;
        case 10: case 11: case 12: case 13: case 14: case 16: case 17: state_.font = Font{}; break;
        default: break;
        }
        return;
    }
    if (index >= objects_.size())
        return;
    std::visit(
        [this](const auto& object) {
            using T = std::decay_t<decltype(object)>;
            if constexpr (std::is_same_v<T, Pen>)
                state_.pen = object;
            else if constexpr (std::is_same_v<T, Brush>)
                state_.brush = object;
            else if constexpr (std::is_same_v<T, Font>)
                state_.font = object;
        },
        objects_[index]);
}

void Canvas::deleteObject(std::uint32_t index)
{
    if (index < objects_.size()) {
        objects_[index] = GdiObject{};
        firstFree_ = std::min<std::size_t>(firstFree_, index);
    }
}

// ---- clipping

QRegion Canvas::deviceRegion(const QRectF& logical) const
{
    const QRectF imageRect(QPointF(-1, -1), QSizeF(image_.size()) + QSizeF(2, 2));
    if (!total_.isRotating()) {
        const QRectF rect = total_.mapRect(logical.normalized()).intersected(imageRect);
        return QRegion(rect.toAlignedRect());
    }
    const QPolygonF polygon = total_.map(QPolygonF(logical.normalized())).intersected(QPolygonF(imageRect));
    return QRegion(polygon.toPolygon());
}

void Canvas::applyClip()
{
    if (!painter_.isActive())
        return;
    painter_.setTransform(QTransform());
    if (state_.clip)
        painter_.setClipRegion(*state_.clip);
    else
        painter_.setClipping(false);
}

void Canvas::combineClip(const QRegion& region, int mode)
{
    if (!spend(0, region.rectCount()))
        return;
    const QRegion whole(QRect(QPoint(0, 0), image_.size()));
    const QRegion current = state_.clip.value_or(whole);
    switch (mode) {
    case 1: state_.clip = current.intersected(region); break;
    case 2: state_.clip = current.united(region); break;
    case 3: state_.clip = current.xored(region); break;
    case 4: state_.clip = current.subtracted(region); break;
    case 5: state_.clip = region; break;
    default: return;
    }
    applyClip();
}

void Canvas::intersectClipRect(const QRectF& rect)
{
    if (transformUsable_ && !exhausted_)
        combineClip(deviceRegion(rect), 1);
}

void Canvas::excludeClipRect(const QRectF& rect)
{
    if (transformUsable_ && !exhausted_)
        combineClip(deviceRegion(rect), 4);
}

void Canvas::resetClip()
{
    state_.clip.reset();
    applyClip();
}

void Canvas::combineClipRegion(const std::vector<QRectF>& deviceRects, int mode)
{
    if (exhausted_)
        return;
    if (deviceRects.empty()) {
        if (mode == 5)
            resetClip();
        return;
    }
    const QRectF imageRect(QPointF(-1, -1), QSizeF(image_.size()) + QSizeF(2, 2));
    QRegion region;
    for (const QRectF& rect : deviceRects) {
        const QRectF mapped = deviceToImage_.mapRect(rect.normalized()).intersected(imageRect);
        if (!mapped.isEmpty())
            region += mapped.toAlignedRect();
    }
    combineClip(region, mode);
}

} // namespace metafile
