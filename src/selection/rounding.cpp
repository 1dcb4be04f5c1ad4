// SPDX-License-Identifier: MIT
#include "rounding.h"

#include <cmath>
#include <limits>

namespace selection {
namespace {

template <typename Int>
std::optional<Int> ToInteger(double value) {
    const double rounded = RoundHalfEven(value);
    // Comparisons with NaN are false, so NaN is refused here too.
    if (!(rounded >= double(std::numeric_limits<Int>::min()) &&
          rounded <= double(std::numeric_limits<Int>::max())))
        return std::nullopt;
    return static_cast<Int>(rounded);
}

} // namespace

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    const double below = std::floor(value);
    const double fraction = value - below;  // exact for doubles
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<qint16> ToInt16(double value) { return ToInteger<qint16>(value); }
std::optional<qint32> ToInt32(double value) { return ToInteger<qint32>(value); }

} // namespace selection
