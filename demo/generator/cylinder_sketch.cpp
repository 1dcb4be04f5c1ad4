// SPDX-License-Identifier: MIT
#include "cylinder_sketch.h"
#include "page_painter.h"
#include <cmath>

namespace demo {

namespace {

QPen InkPen(qreal width = 1.4)
{
    return QPen(palette::kInk, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void DrawArrowHead(QPainter& painter, QPointF tip, QPointF from, qreal size)
{
    const QPointF direction = tip - from;
    const qreal length = std::hypot(direction.x(), direction.y());
    if (length == 0)
        return;
    const QPointF unit = direction / length;
    const QPointF normal(-unit.y(), unit.x());
    QPolygonF head;
    head << tip << tip - unit * size + normal * size * 0.4 << tip - unit * size - normal * size * 0.4;
    painter.drawPolygon(head);
}

// A dimension line with arrows at both ends and its label beside the middle.
void DrawDimension(QPainter& painter, QPointF a, QPointF b, const QString& label, bool labelBelow)
{
    painter.save();
    painter.setPen(QPen(palette::kDimension, 1));
    painter.setBrush(palette::kDimension);
    painter.drawLine(a, b);
    DrawArrowHead(painter, a, b, 6);
    DrawArrowHead(painter, b, a, 6);
    painter.setFont(SansFont(11, true));
    const QPointF middle = (a + b) / 2;
    const QRectF box = a.y() == b.y()
        ? QRectF(middle.x() - 30, labelBelow ? middle.y() + 1 : middle.y() - 15, 60, 14)
        : QRectF(middle.x() - 36, middle.y() - 7, 32, 14);
    painter.drawText(box, a.y() == b.y() ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter), label);
    painter.restore();
}

void DrawCentreLine(QPainter& painter, qreal x0, qreal x1, qreal y)
{
    painter.save();
    QPen pen(palette::kMuted, 0.8);
    pen.setDashPattern({8, 3, 2, 3});
    painter.setPen(pen);
    painter.drawLine(QPointF(x0, y), QPointF(x1, y));
    painter.restore();
}

void DrawRod(QPainter& painter, qreal from, qreal to, qreal cy, qreal thickness, bool threadAtEnd)
{
    const QRectF rod(std::min(from, to), cy - thickness / 2, std::abs(to - from), thickness);
    painter.setBrush(Qt::white);
    painter.drawRect(rod);
    if (!threadAtEnd)
        return;
    const qreal thread = std::min(rod.width() * 0.28, thickness * 1.6);
    const qreal x = to > from ? rod.right() - thread : rod.left();
    painter.save();
    painter.setPen(QPen(palette::kInk, 0.7));
    for (qreal t = x + 2; t < x + thread; t += 3)
        painter.drawLine(QPointF(t, rod.top()), QPointF(t - 2, rod.bottom()));
    painter.restore();
}

void DrawCap(QPainter& painter, const QRectF& cap, bool cushionScrew)
{
    painter.setBrush(palette::kMetal);
    painter.drawRect(cap);
    // the air port on top
    painter.drawRect(QRectF(cap.center().x() - cap.width() * 0.22, cap.top() - 4, cap.width() * 0.44, 4));
    if (cushionScrew) {
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(cap.center().x(), cap.bottom() - cap.height() * 0.2), 2.5, 2.5);
    }
}

void DrawLinearBody(QPainter& painter, const QRectF& a, const SketchStyle& style)
{
    const qreal cy = a.center().y();
    const bool compact = style.body == SketchStyle::Body::Compact;
    const qreal barrelHeight = a.height() * (compact ? 0.56 : 0.42);
    const qreal left = a.left() + a.width() * (style.doubleRod ? 0.2 : compact ? 0.16 : 0.08);
    const qreal right = a.left() + a.width() * (style.doubleRod ? 0.68 : compact ? 0.52 : 0.64);
    const qreal capWidth = a.width() * 0.055;
    const QRectF barrel(left + capWidth, cy - barrelHeight / 2, right - left - 2 * capWidth, barrelHeight);
    const qreal rodThickness = barrelHeight * 0.2;
    const qreal rodEnd = a.left() + a.width() * 0.9;

    painter.setPen(InkPen());
    DrawCentreLine(painter, a.left() + 2, a.right() - 2, cy);
    DrawRod(painter, right, rodEnd, cy, rodThickness, !style.guideRods);
    if (style.doubleRod)
        DrawRod(painter, left, a.left() + a.width() * 0.04, cy, rodThickness, true);

    if (style.body == SketchStyle::Body::Round) {
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(barrel.adjusted(-capWidth, 0, capWidth, 0), barrelHeight * 0.3, barrelHeight * 0.3);
    } else {
        painter.setBrush(Qt::white);
        painter.drawRect(barrel);
        if (style.tandem) {
            const QRectF middleCap(barrel.center().x() - capWidth / 2, barrel.top() - 2, capWidth, barrel.height() + 4);
            DrawCap(painter, middleCap, false);
        }
        const qreal capHeight = barrelHeight * 1.12;
        DrawCap(painter, QRectF(left, cy - capHeight / 2, capWidth, capHeight), style.cushionScrews);
        DrawCap(painter, QRectF(right - capWidth, cy - capHeight / 2, capWidth, capHeight), style.cushionScrews);
    }
    if (style.body == SketchStyle::Body::TieRod) {
        painter.save();
        painter.setPen(InkPen(0.9));
        for (const qreal offset : {-barrelHeight * 0.62, barrelHeight * 0.62}) {
            painter.drawLine(QPointF(left - 3, cy + offset), QPointF(right + 3, cy + offset));
            painter.drawRect(QRectF(left - 6, cy + offset - 2, 3, 4));
            painter.drawRect(QRectF(right + 3, cy + offset - 2, 3, 4));
        }
        painter.restore();
    }
    if (style.flange) {
        painter.setBrush(palette::kMetal);
        const QRectF flange(right, cy - barrelHeight * 0.85, capWidth * 0.7, barrelHeight * 1.7);
        painter.drawRect(flange);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(flange.center().x(), flange.top() + 5), 2, 2);
        painter.drawEllipse(QPointF(flange.center().x(), flange.bottom() - 5), 2, 2);
    }
    if (style.guideRods) {
        const QRectF plate(rodEnd - capWidth * 0.8, cy - barrelHeight * 0.8, capWidth * 0.8, barrelHeight * 1.6);
        painter.save();
        painter.setPen(InkPen(1));
        for (const qreal offset : {-barrelHeight * 0.55, barrelHeight * 0.55})
            painter.drawLine(QPointF(barrel.left(), cy + offset), QPointF(plate.left(), cy + offset));
        painter.restore();
        painter.setBrush(palette::kMetal);
        painter.drawRect(plate);
    }
    DrawDimension(painter, QPointF(right, a.bottom() - 10), QPointF(rodEnd, a.bottom() - 10), QStringLiteral("ST"), false);
    DrawDimension(painter, QPointF(barrel.left() + 10, barrel.top()), QPointF(barrel.left() + 10, barrel.bottom()),
                  QStringLiteral("ØD"), false);
}

void DrawSlide(QPainter& painter, const QRectF& a)
{
    const qreal base = a.top() + a.height() * 0.55;
    painter.setPen(InkPen());
    painter.setBrush(palette::kMetal);
    painter.drawRect(QRectF(a.left() + a.width() * 0.1, base, a.width() * 0.62, a.height() * 0.28));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(a.left() + a.width() * 0.28, base - a.height() * 0.2, a.width() * 0.6, a.height() * 0.2));
    painter.drawRect(QRectF(a.left() + a.width() * 0.72, base + 4, a.width() * 0.05, a.height() * 0.2));
    for (int hole = 0; hole < 3; ++hole)
        painter.drawEllipse(QPointF(a.left() + a.width() * (0.38 + 0.17 * hole), base - a.height() * 0.1), 2.5, 2.5);
    DrawDimension(painter, QPointF(a.left() + a.width() * 0.72, a.top() + 12),
                  QPointF(a.left() + a.width() * 0.88, a.top() + 12), QStringLiteral("ST"), true);
}

void DrawGripper(QPainter& painter, const QRectF& a)
{
    painter.setPen(InkPen());
    painter.setBrush(palette::kMetal);
    const QRectF body(a.left() + a.width() * 0.22, a.top() + a.height() * 0.5, a.width() * 0.56, a.height() * 0.34);
    painter.drawRect(body);
    painter.setBrush(Qt::white);
    // the two fingers, closing towards the centre line
    const qreal fingerTop = a.top() + a.height() * 0.14;
    for (const int side : {-1, 1}) {
        const qreal x = a.center().x() + side * a.width() * 0.12;
        painter.drawRect(QRectF(x - 5, fingerTop, 10, body.top() - fingerTop));
        painter.drawRect(QRectF(side < 0 ? x + 5 : x - 9, fingerTop, 4, 10));
    }
    DrawDimension(painter, QPointF(a.center().x() - a.width() * 0.12, a.top() + 8),
                  QPointF(a.center().x() + a.width() * 0.12, a.top() + 8), QStringLiteral("ST"), false);
}

void DrawRotary(QPainter& painter, const QRectF& a)
{
    painter.setPen(InkPen());
    painter.setBrush(palette::kMetal);
    const qreal side = std::min(a.width() * 0.5, a.height() * 0.78);
    const QRectF body(a.center().x() - side / 2, a.center().y() - side / 2, side, side);
    painter.drawRoundedRect(body, 6, 6);
    painter.setBrush(Qt::white);
    painter.drawEllipse(body.center(), side * 0.18, side * 0.18);
    painter.drawRect(QRectF(body.center().x() - side * 0.04, body.center().y() - side * 0.18, side * 0.08, side * 0.1));
    painter.save();
    painter.setPen(QPen(palette::kDimension, 1.2));
    painter.setBrush(Qt::NoBrush);
    const QRectF arc = body.adjusted(-side * 0.14, -side * 0.14, side * 0.14, side * 0.14);
    painter.drawArc(arc, 30 * 16, 270 * 16);
    painter.setBrush(palette::kDimension);
    const qreal end = (30 + 270) * M_PI / 180;
    const QPointF tip(arc.center().x() + arc.width() / 2 * std::cos(end), arc.center().y() - arc.height() / 2 * std::sin(end));
    DrawArrowHead(painter, tip, tip + QPointF(-std::sin(end), -std::cos(end)) * 8, 7);
    painter.setFont(SansFont(11, true));
    painter.drawText(QRectF(body.right() + 4, body.top() - 4, 60, 14), Qt::AlignLeft, QStringLiteral("90°-270°"));
    painter.restore();
}

} // namespace

SketchStyle SketchStyleFor(const QString& seriesCode, const QString& typeCode, bool secondStroke)
{
    SketchStyle style;
    const QStringList parts = typeCode.split(u'_');
    auto has = [&](const char* suffix) { return parts.mid(1).contains(QLatin1String(suffix)); };
    if (seriesCode == QLatin1String("UJ"))
        style.body = SketchStyle::Body::Rotary;
    else if (seriesCode == QLatin1String("HMN"))
        style.body = SketchStyle::Body::Gripper;
    else if (seriesCode == QLatin1String("XUF"))
        style.body = SketchStyle::Body::Slide;
    else if (seriesCode == QLatin1String("AX") || seriesCode == QLatin1String("ZQ"))
        style.body = SketchStyle::Body::Compact;
    else if (seriesCode == QLatin1String("UMO"))
        style.body = SketchStyle::Body::Round;
    else if (seriesCode == QLatin1String("TA") && typeCode == QLatin1String("TAA"))
        style.body = SketchStyle::Body::TieRod;
    style.flange = has("F");
    style.guideRods = has("G") || (seriesCode == QLatin1String("QR") && typeCode == QLatin1String("VCU"));
    style.doubleRod = has("K") && seriesCode != QLatin1String("QR");
    style.tandem = secondStroke || has("D");
    style.cushionScrews = has("C") || seriesCode == QLatin1String("TA");
    return style;
}

void DrawCylinderSketch(QPainter& painter, const QRectF& area, const SketchStyle& style)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (style.body) {
    case SketchStyle::Body::Slide:
        DrawSlide(painter, area);
        break;
    case SketchStyle::Body::Gripper:
        DrawGripper(painter, area);
        break;
    case SketchStyle::Body::Rotary:
        DrawRotary(painter, area);
        break;
    default:
        DrawLinearBody(painter, area, style);
        break;
    }
    painter.restore();
}

} // namespace demo
