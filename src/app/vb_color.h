// SPDX-License-Identifier: MIT
#pragma once
#include <QColor>
#include <QPalette>
#include <QtGlobal>

namespace app {

// Colour values as the window's design stores them: 0x00BBGGRR for a fixed
// colour, 0x800000nn for system colour nn, resolved against the palette.
QColor ColorFromValue(quint32 value, const QPalette& palette);

constexpr quint32 LockedStrokeColor = 0x00C0FFFF;      // light yellow
constexpr quint32 WindowBackgroundColor = 0x80000005;  // system: window background
constexpr quint32 WindowTextColor = 0x80000008;        // system: window text
constexpr quint32 PanelGrey = 0x00C0C0C0;
constexpr quint32 RangeBlue = 0x00FFC0C0;
constexpr quint32 RangeTextRed = 0x000000FF;
constexpr quint32 FormWhite = 0x00FFFFFF;

} // namespace app
