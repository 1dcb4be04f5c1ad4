// SPDX-License-Identifier: MIT
#include "screen_metrics.h"
#include "selection/preview_arithmetic.h"
#include <QGuiApplication>
#include <QScreen>

namespace app {

double ScreenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

int ToPixels(double twips)
{
    return selection::TwipsToPixels(twips, ScreenDpi());
}

double ToTwips(int pixels)
{
    return selection::PixelsToTwips(pixels, ScreenDpi());
}

} // namespace app
