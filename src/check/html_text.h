// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace check {

// Catalogue text made safe for HTML and SVG text and for attribute values
// between double quotes: codes and file names may hold <, &, and quotes.
QString HtmlEscaped(const QString& text);

// A coordinate of the range map, to a tenth of a pixel.
QString Pixels(double value);

} // namespace check
