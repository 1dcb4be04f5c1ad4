// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <optional>

namespace validation {

// A stroke goes unchanged into SQL and into the CAD host's command line, so
// only plain decimal numbers count: optional spaces, an optional "+" or "-",
// ASCII digits, optionally "." followed by digits, optional spaces. At least
// one digit is required on each side of a ".": ".5" and "5." are refused
// because the CAD host's LISP reader does not take them as numbers. No
// grouping or locale separators, currency signs, hex or exponents.
// A text too large for a double is not numeric; one too small reads as 0.
bool IsNumeric(const QString& text);

// The value of a numeric text, whatever the user's locale; empty when the text
// is not numeric.
std::optional<double> ToNumber(const QString& text);

} // namespace validation
