// SPDX-License-Identifier: MIT
#pragma once
#include "scroll_settings.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace selection {

// How the preview reset sets the scroll maximum.
enum class RangeRule {
    ImageMinusViewport,  // the refresh: scroll over the part below the viewport
    HelpPage,            // the setup help page: a fixed range
};

inline constexpr qint16 kHelpPageRange = 27500;

// Scroll settings of a reset; all lengths in twips.
struct PreviewRange {
    qint16 maximum;
    qint16 largeChange;
    qint16 smallChange;
};

// The maximum is image − viewport (rounded half to even) or the fixed help
// range; the steps are the image height rounded to 32 bits, divided by 8 and
// by 30 with the remainder dropped. What a 16-bit setting cannot take is
// pulled into range rather than overflowing: the maximum into
// [-32768, 32767], the steps into [1, 32767]. A picture shorter than the
// viewport keeps its negative maximum, so no positive position is admitted.
PreviewRange ComputePreviewRange(double imageHeight, double viewportHeight, RangeRule rule);

// The scroll part of the reset, in its order: position 0, maximum, minimum 0,
// large change, small change. True when the position moved, so the image
// must follow it.
bool ResetPreviewScroll(ScrollSettings& scroll, double imageHeight, double viewportHeight,
                        RangeRule rule);

// The scroll position fixed for a Type: image height × numerator ÷
// denominator, multiplied first, rounded half to even to 16 bits. Empty for a
// Type without a position or a result that 16 bits cannot hold.
std::optional<qint16> TypeScrollTarget(double imageHeight, const QString& type);

// Scrolls to the Type's position when the scroll span admits it; otherwise
// the position stays. True when the position moved.
bool ScrollToTypePosition(ScrollSettings& scroll, double imageHeight, const QString& type);

// Screen lengths: 1440 twips an inch, so 15 twips a pixel at 96 dots per inch.
double PixelsToTwips(double pixels, double dotsPerInch);
// Whole pixels for a length in twips, rounded half to even.
int TwipsToPixels(double twips, double dotsPerInch);

} // namespace selection
