// SPDX-License-Identifier: MIT
#include "vb_color.h"

namespace app {

namespace {

QColor SystemColor(quint32 index, const QPalette& palette)
{
    switch (index) {
    case 5: return palette.color(QPalette::Base);         // window background
    case 8: return palette.color(QPalette::Text);         // window text
    case 15: return palette.color(QPalette::Button);      // button face
    case 18: return palette.color(QPalette::ButtonText);  // button text
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    default: return palette.color(QPalette::Window);
    }
}

} // namespace

QColor ColorFromValue(quint32 value, const QPalette& palette)
{
    if (value & 0x80000000u)
        return SystemColor(value & 0xFFu, palette);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace app
