// SPDX-License-Identifier: MIT
#pragma once

#include "metafile/metafile.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

namespace metafile {

// The graphics objects a metafile creates and selects, as GDI knows them.
struct Pen {
    std::uint32_t style = 0; // PS_* style, end cap and join bits
    double width = 0;        // logical units; 0 draws one pixel wide
    QColor colour = Qt::black;
};

struct Brush {
    enum class Kind { Solid, Hollow, Hatched, Pattern };
    Kind kind = Kind::Solid;
    QColor colour = Qt::white;
    int hatch = 0;  // HS_* style
    QImage pattern; // Kind::Pattern
};

struct Font {
    double height = 0;  // logical units; negative: the character height, positive: the cell height
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
    QString face;
};

// An object the canvas does not draw with (palette, region, bitmap); it
// still takes its place in the object table.
struct OtherObject {};

using GdiObject = std::variant<std::monostate, Pen, Brush, Font, OtherObject>;

// GDI mapping modes (MM_*).
enum class MapMode { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };

// Draws GDI operations, as WMF and EMF records describe them, into an
// image with QPainter. It keeps the device context (objects, colours,
// mapping, clipping, current position, path) and charges each operation to
// the picture's budget and the document's work: once either is spent,
// further drawing is left out and exhausted() tells the record reader to stop.
//
// Geometry arrives in logical units and passes through the world transform
// (EMF), the page transform of the mapping mode (window and viewport), and
// the device transform that lays the picture's frame over the image.
class Canvas {
public:
    Canvas(QImage& image, MetafileWork& work, TextDecoder& text);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    QSize imageSize() const { return image_.size(); }
    bool exhausted() const { return exhausted_; }
    // Charges one record; false once the picture has had its share.
    bool takeRecord();

    // Mapping
    void setDeviceTransform(const QTransform& deviceToImage);
    void setDeviceResolution(double pixelsPerMmX, double pixelsPerMmY);
    void setMapMode(int mode);
    void setWindowOrigin(QPointF origin);
    void setWindowExtent(QSizeF extent);
    void setViewportOrigin(QPointF origin);
    void setViewportExtent(QSizeF extent);
    void offsetWindowOrigin(QPointF offset);
    void scaleWindowExtent(double xNum, double xDenom, double yNum, double yDenom);
    void scaleViewportExtent(double xNum, double xDenom, double yNum, double yDenom);
    void setWorldTransform(const QTransform& world);
    // MWT_IDENTITY (1), MWT_LEFTMULTIPLY (2), MWT_RIGHTMULTIPLY (3)
    void modifyWorldTransform(const QTransform& transform, int mode);

    // State
    void saveState();
    void restoreState(int which); // negative: relative to the top; positive: that saved state
    void setTextColour(const QColor& colour);
    void setBackgroundColour(const QColor& colour);
    void setBackgroundMode(int mode); // TRANSPARENT 1, OPAQUE 2
    void setTextAlign(std::uint32_t align);
    void setPolyFillMode(int mode);   // ALTERNATE 1, WINDING 2
    void setRop2(int rop2);
    void setArcDirection(int direction); // AD_COUNTERCLOCKWISE 1, AD_CLOCKWISE 2

    // Text of the selected font from its 8-bit code page (or symbol font).
    QString decodeText(std::string_view bytes);
    // 8-bit text of a font of `charset` named `face`.
    QString decodeText(std::string_view bytes, int charset, const QString& face);

    // Objects
    // WMF: a new object takes the lowest free place of a table of `size`.
    void setObjectTableSize(std::size_t size);
    void addObject(GdiObject object);
    // EMF: the record names the place.
    void setObject(std::uint32_t index, GdiObject object);
    void selectObject(std::uint32_t index);
    void deleteObject(std::uint32_t index);

    // Clipping (logical rectangles; regions in device units)
    void intersectClipRect(const QRectF& rect);
    void excludeClipRect(const QRectF& rect);
    void resetClip();
    // RGN_AND 1, RGN_OR 2, RGN_XOR 3, RGN_DIFF 4, RGN_COPY 5
    void combineClipRegion(const std::vector<QRectF>& deviceRects, int mode);

    // Drawing
    void moveTo(QPointF point);
    void lineTo(QPointF point);
    QPointF currentPosition() const;
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void polyPolyline(const std::vector<QPolygonF>& polylines);
    // Cubic Bézier pieces: a start point then three points per piece, or,
    // continuing from the current position, three points per piece.
    void polyBezier(const QPolygonF& points);
    void polyBezierTo(const QPolygonF& points);
    void rectangle(const QRectF& rect);
    void roundRect(const QRectF& rect, QSizeF corner);
    void ellipse(const QRectF& rect);
    enum class ArcKind { Arc, Chord, Pie, ArcTo };
    void arc(ArcKind kind, const QRectF& rect, QPointF start, QPointF end);
    void setPixel(QPointF point, const QColor& colour);
    // `dx`: the advance after each character in logical units, or empty.
    // ETO_OPAQUE 2 fills `rect` with the background colour, ETO_CLIPPED 4 clips to it.
    void text(QPointF reference, const QString& text, const std::vector<double>& dx, std::uint32_t options,
              const QRectF& rect);
    // `source` counts rows from the top of `image`.
    void bitmap(const QRectF& destination, const QImage& image, const QRectF& source, std::uint32_t rop);
    // The selected brush, white or black over a rectangle, as the raster operation says.
    void patternBlit(const QRectF& destination, std::uint32_t rop);

    // Paths
    void beginPath();
    void endPath();
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(int mode);

private:
    static constexpr int NullPenStyle = 5; // PS_NULL
    static constexpr int Rop2Nop = 11;     // R2_NOP: draw nothing

    // The device context: what SaveDC keeps and RestoreDC brings back.
    struct State {
        Pen pen;
        Brush brush;
        Font font;
        QColor textColour = Qt::black;
        QColor backgroundColour = Qt::white;
        bool opaqueBackground = true;
        std::uint32_t textAlign = 0;
        bool winding = false;
        int rop2 = 13; // R2_COPYPEN
        bool clockwise = false;
        MapMode mapMode = MapMode::Text;
        QPointF windowOrigin;
        QSizeF windowExtent{1, 1};
        QPointF viewportOrigin;
        QSizeF viewportExtent{1, 1};
        QTransform world;
        QPointF position;
        std::optional<QRegion> clip; // image pixels; none: the whole image
    };

    QTransform pageTransform() const;
    void updateTransform();
    bool drawable() const;
    bool spend(double pixels, double points);
    QRectF visible(const QRectF& deviceBounds) const;
    // Whether device bounds reach further past the image than it is large.
    bool reachesFarPastImage(const QRectF& deviceBounds) const;
    void paint(QPainterPath logical, bool fill, bool stroke);
    void paintDevice(QPainterPath device, bool fill, bool stroke);
    void fillDevice(const QPainterPath& device, const QBrush& brush, QPainter::CompositionMode mode);
    void continuePath(QPointF logical);
    QPen devicePen() const;
    QBrush deviceBrush() const;
    void applyClip();
    void combineClip(const QRegion& region, int mode);
    QRegion deviceRegion(const QRectF& logical) const;
    double deviceScale(QPointF direction) const;
    double fontPixelHeight() const;

    QImage& image_;
    MetafileWork& work_;
    QPainter painter_;
    State state_;
    std::vector<State> saved_;
    int savesIgnored_ = 0;
    std::vector<GdiObject> objects_;
    std::size_t firstFree_ = 0;
    QTransform deviceToImage_;
    double pixelsPerMmX_ = 96 / 25.4;
    double pixelsPerMmY_ = 96 / 25.4;
    QTransform total_;
    bool transformUsable_ = true;
    std::optional<QPainterPath> path_; // device coordinates
    bool pathOpen_ = false;

    TextDecoder& text_;
    long long records_ = 0;
    double paintedPixels_ = 0;
    double points_ = 0;
    bool exhausted_ = false;
};

} // namespace metafile
