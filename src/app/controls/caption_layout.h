// SPDX-License-Identifier: MIT
#pragma once
#include <QFont>
#include <QString>

namespace app {

// How a label's caption lies on screen: wrapped at the label's width, its
// lines set at the tight spacing of the design's Ming font, whatever face
// stands in for it.
struct CaptionLayout {
    int lines = 0;
    int height = 0;      // lines × line spacing, in pixels
    int widestLine = 0;  // in pixels, rounded up
};

int CaptionLineSpacing(const QFont& font);
CaptionLayout LayOutCaption(const QString& caption, const QFont& font, int width);

// The width a label takes. A caption that shows whole in the design's
// rectangle keeps the design's width; one that would wrap past the design's
// height or be cut takes the width of its one line instead, as far as the
// room beside the label reaches. Past that it wraps as designed.
int CaptionWidth(const QString& caption, const QFont& font, int designWidth, int height, int room);

} // namespace app
