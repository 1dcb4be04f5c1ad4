// SPDX-License-Identifier: MIT
#include "preview_arithmetic.h"

#include "rounding.h"
#include "type_positions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace selection {
namespace {

constexpr double kTwipsPerInch = 1440;

template <typename Int>
Int RoundClamped(double value) {
    if (std::isnan(value))
        return 0;
    const double rounded = RoundHalfEven(value);
    return Int(std::clamp(rounded, double(std::numeric_limits<Int>::min()),
                          double(std::numeric_limits<Int>::max())));
}

qint16 Step(qint32 height, qint32 divisor) {
    return qint16(std::clamp<qint32>(DivideTruncating(height, divisor), 1,
                                     std::numeric_limits<qint16>::max()));
}

} // namespace

PreviewRange ComputePreviewRange(double imageHeight, double viewportHeight, RangeRule rule) {
    const qint16 maximum = rule == RangeRule::HelpPage
                               ? kHelpPageRange
                               : RoundClamped<qint16>(imageHeight - viewportHeight);
    const qint32 height = RoundClamped<qint32>(imageHeight);
    return {maximum, Step(height, 8), Step(height, 30)};
}

bool ResetPreviewScroll(ScrollSettings& scroll, double imageHeight, double viewportHeight,
                        RangeRule rule) {
    const PreviewRange range = ComputePreviewRange(imageHeight, viewportHeight, rule);
    const qint16 before = scroll.position();
    // 0 first: the minimum is 0 after every reset, so 0 is admitted, and
    // every span set below contains it.
    scroll.setPosition(0);
    scroll.setMaximum(range.maximum);
    scroll.setMinimum(0);
    scroll.setLargeChange(range.largeChange);
    scroll.setSmallChange(range.smallChange);
    return scroll.position() != before;
}

std::optional<qint16> TypeScrollTarget(double imageHeight, const QString& type) {
    const std::optional<TypePosition> row = LookupTypePosition(type);
    if (!row)
        return std::nullopt;
    return ToInt16(imageHeight * row->numerator / row->denominator);
}

bool ScrollToTypePosition(ScrollSettings& scroll, double imageHeight, const QString& type) {
    const std::optional<qint16> target = TypeScrollTarget(imageHeight, type);
    if (!target || *target == scroll.position())
        return false;
    return scroll.setPosition(*target);
}

double PixelsToTwips(double pixels, double dotsPerInch) {
    return pixels * kTwipsPerInch / dotsPerInch;
}

int TwipsToPixels(double twips, double dotsPerInch) {
    return RoundClamped<qint32>(twips * dotsPerInch / kTwipsPerInch);
}

} // namespace selection
