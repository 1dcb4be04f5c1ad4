// SPDX-License-Identifier: MIT
#pragma once
#include <QPainter>
#include <QRectF>
#include <QString>

namespace demo {

// How a Type's line drawing looks; read from the Type code's suffixes and
// the Series, so that each panel shows a recognisable variant.
struct SketchStyle {
    enum class Body { Standard, TieRod, Compact, Round, Slide, Gripper, Rotary };
    Body body = Body::Standard;
    bool flange = false;
    bool guideRods = false;
    bool doubleRod = false;
    bool tandem = false;        // a second stroke: two chambers in a row
    bool cushionScrews = false;
};

SketchStyle SketchStyleFor(const QString& seriesCode, const QString& typeCode, bool secondStroke);

// A side view with centre line and stroke and bore dimensions, fitted into area.
void DrawCylinderSketch(QPainter& painter, const QRectF& area, const SketchStyle& style);

} // namespace demo
