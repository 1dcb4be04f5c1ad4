// SPDX-License-Identifier: MIT
#pragma once

namespace app {

// The window is designed in twips, 1/1440 inch; these convert at the
// screen's resolution (15 twips a pixel at 96 dots per inch).
double ScreenDpi();
int ToPixels(double twips);
double ToTwips(int pixels);

} // namespace app
