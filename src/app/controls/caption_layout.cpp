// SPDX-License-Identifier: MIT
#include "caption_layout.h"
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTextLayout>
#include <cmath>

namespace app {

int CaptionLineSpacing(const QFont& font)
{
    return int(std::ceil(QFontInfo(font).pixelSize() * 1.2));
}

CaptionLayout LayOutCaption(const QString& caption, const QFont& font, int width)
{
    QTextLayout layout(caption, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    CaptionLayout result;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++result.lines;
        result.widestLine = std::max(result.widestLine, int(std::ceil(line.naturalTextWidth())));
    }
    layout.endLayout();
    result.height = result.lines * CaptionLineSpacing(font);
    return result;
}

int CaptionWidth(const QString& caption, const QFont& font, int designWidth, int height, int room)
{
    const CaptionLayout designed = LayOutCaption(caption, font, designWidth);
    if (designed.height <= height && designed.widestLine <= designWidth)
        return designWidth;
    const int oneLine = int(std::ceil(QFontMetricsF(font).horizontalAdvance(caption)));
    if (oneLine <= room && CaptionLineSpacing(font) <= height)
        return std::max(designWidth, oneLine);
    return designWidth;
}

} // namespace app
