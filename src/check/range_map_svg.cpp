// SPDX-License-Identifier: MIT
#include "range_map_svg.h"
#include "html_text.h"
#include <algorithm>
#include <cmath>

namespace check {

namespace {

constexpr double kLabelWidth = 96;   // the bore and lane labels
constexpr double kChartWidth = 800;
constexpr double kWidth = kLabelWidth + kChartWidth + 90;  // room for the label of a value at the end
constexpr double kAxisHeight = 22;
constexpr double kLaneHeight = 18;
constexpr double kBarHeight = 14;
constexpr double kBoreGap = 8;

// Tick spacing of 1, 2 or 5 times a power of ten, about eight ticks.
double AxisStep(double span)
{
    const double raw = span / 8;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= raw)
            return factor * magnitude;
    }
    return 10 * magnitude;
}

class SvgWriter {
public:
    explicit SvgWriter(const TypeMap& map) : map_(map)
    {
        span_ = map.axisMax - map.axisMin;
        if (span_ <= 0)
            span_ = 1;
    }

    QString run()
    {
        double height = kAxisHeight;
        for (const BoreMap& bore : map_.bores)
            height += std::max(bore.lanes, 1) * kLaneHeight + kBoreGap;
        out_ += QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"range-map\" "
                               "data-series=\"%1\" data-type=\"%2\" width=\"%3\" height=\"%4\" "
                               "viewBox=\"0 0 %3 %4\">\n")
                    .arg(HtmlEscaped(map_.series), HtmlEscaped(map_.type), Pixels(kWidth), Pixels(height));
        axis(height);
        double top = kAxisHeight;
        for (const BoreMap& bore : map_.bores) {
            boreBlock(bore, top);
            top += std::max(bore.lanes, 1) * kLaneHeight + kBoreGap;
        }
        out_ += QLatin1String("</svg>\n");
        return std::move(out_);
    }

private:
    double x(double stroke) const { return kLabelWidth + (stroke - map_.axisMin) / span_ * kChartWidth; }

    void axis(double height)
    {
        const double step = AxisStep(span_);
        out_ += QLatin1String("<g class=\"axis\">");
        for (double value = std::ceil(map_.axisMin / step) * step; value <= map_.axisMin + span_ + step / 1e6;
             value += step) {
            out_ += QStringLiteral("<line x1=\"%1\" x2=\"%1\" y1=\"%2\" y2=\"%3\"/><text x=\"%1\" y=\"14\">%4</text>")
                        .arg(Pixels(x(value)), Pixels(kAxisHeight - 4), Pixels(height),
                             QString::number(value, 'g', 12));
        }
        out_ += QLatin1String("</g>\n");
    }

    // Text clipped to a box, so that a long name never runs over its neighbours.
    void clippedText(double left, double top, double width, const QString& cssClass, const QString& text)
    {
        out_ += QStringLiteral("<svg x=\"%1\" y=\"%2\" width=\"%3\" height=\"14\"><text%4 x=\"2\" y=\"11\">%5</text></svg>")
                    .arg(Pixels(left), Pixels(top), Pixels(std::max(width, 0.0)),
                         cssClass.isEmpty() ? QString() : QStringLiteral(" class=\"") + cssClass + QLatin1Char('"'),
                         HtmlEscaped(text));
    }

    void boreBlock(const BoreMap& bore, double top)
    {
        out_ += QStringLiteral("<g class=\"bore\" transform=\"translate(0,%1)\">").arg(Pixels(top));
        clippedText(0, 0, 60, QStringLiteral("bore-label"), QStringLiteral("Bore ") + bore.bore);
        if (bore.firstLanes > 0)
            clippedText(60, 0, 34, QStringLiteral("lane-label"), QStringLiteral("1st"));
        if (bore.lanes > bore.firstLanes)
            clippedText(60, bore.firstLanes * kLaneHeight, 34, QStringLiteral("lane-label"), QStringLiteral("2nd"));
        if (bore.lanes == 0)
            clippedText(kLabelWidth, 0, kChartWidth, QStringLiteral("empty"), QStringLiteral("no range to draw"));

        // Where each range's label may run: to the next range of its lane.
        std::vector<const MapRange*> byLane;
        for (const MapRange& range : bore.ranges)
            byLane.push_back(&range);
        std::stable_sort(byLane.begin(), byLane.end(), [](const MapRange* a, const MapRange* b) {
            return a->lane != b->lane ? a->lane < b->lane : a->min < b->min;
        });
        for (size_t i = 0; i < byLane.size(); ++i) {
            const bool last = i + 1 == byLane.size() || byLane[i + 1]->lane != byLane[i]->lane;
            range(*byLane[i], last ? kWidth : x(byLane[i + 1]->min));
        }
        for (const MapOverlap& overlap : bore.overlaps) {
            // A single stroke in common is drawn 3 pixels wide, centred on it.
            constexpr double kNarrowest = 3;
            const double from = x(overlap.from), to = x(overlap.to);
            const double left = to - from < kNarrowest ? (from + to - kNarrowest) / 2 : from;
            const double width = std::max(to - from, kNarrowest);
            const double y = overlap.topLane * kLaneHeight;
            const double height = (overlap.bottomLane - overlap.topLane) * kLaneHeight + kBarHeight;
            out_ += QStringLiteral("<rect class=\"overlap\" x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"><title>%5</title></rect>")
                        .arg(Pixels(left), Pixels(y), Pixels(width), Pixels(height), HtmlEscaped(overlap.text));
        }
        out_ += QLatin1String("</g>\n");
    }

    void range(const MapRange& range, double nextLeft)
    {
        const bool single = range.min == range.max;
        const double left = x(range.min), y = range.lane * kLaneHeight;
        QString title = QStringLiteral("SortID %1, %2 %3: stages %4")
                            .arg(range.sortId, range.firstStroke ? QStringLiteral("first stroke") : QStringLiteral("second stroke"),
                                 single ? QString::number(range.min, 'g', 15)
                                        : QString::number(range.min, 'g', 15) + QLatin1Char('-') + QString::number(range.max, 'g', 15),
                                 range.drawing);
        if (range.fallback)
            title += QStringLiteral(" (Type code + bore code: no FileName)");
        if (range.missing)
            title += QStringLiteral(", which is not in Files");
        out_ += QStringLiteral("<g class=\"range %1 %2%3\"><title>%4</title>")
                    .arg(single ? QStringLiteral("tick") : QStringLiteral("bar"),
                         range.firstStroke ? QStringLiteral("first") : QStringLiteral("second"),
                         range.missing ? QStringLiteral(" missing") : QString(), HtmlEscaped(title));
        const QString label = range.missing ? QStringLiteral("\u2717 ") + range.drawing : range.drawing;
        if (single) {
            out_ += QStringLiteral("<line x1=\"%1\" x2=\"%1\" y1=\"%2\" y2=\"%3\"/>")
                        .arg(Pixels(left), Pixels(y), Pixels(y + kBarHeight));
            clippedText(left + 1, y, nextLeft - left - 3, QString(), label);
        } else {
            const double width = std::max(x(range.max) - left, 1.0);
            out_ += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>")
                        .arg(Pixels(left), Pixels(y), Pixels(width), Pixels(kBarHeight));
            clippedText(left, y, width, QString(), label);
        }
        out_ += QLatin1String("</g>");
    }

    const TypeMap& map_;
    double span_;
    QString out_;
};

} // namespace

QString RangeMapSvg(const TypeMap& map)
{
    return SvgWriter(map).run();
}

} // namespace check
