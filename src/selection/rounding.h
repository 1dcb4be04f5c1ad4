// SPDX-License-Identifier: MIT
#pragma once
#include <QtGlobal>
#include <optional>

namespace selection {

// Nearest integer, ties to the even neighbour (4807.5 -> 4808, 4792.5 -> 4792).
// NaN and infinities come back unchanged.
double RoundHalfEven(double value);

// Conversions of a real number to a 16-bit or 32-bit integer, rounding half to
// even; empty when the rounded value does not fit (or is not a number).
std::optional<qint16> ToInt16(double value);
std::optional<qint32> ToInt32(double value);

// Integer division that drops the remainder (toward zero).
constexpr qint32 DivideTruncating(qint32 dividend, qint32 divisor) { return dividend / divisor; }

} // namespace selection
