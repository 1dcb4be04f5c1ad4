// SPDX-License-Identifier: MIT
// Times what one character typed into the stroke box costs in the real
// window: the change reaction resets the preview, looks the Series picture
// up on disc (decoding it again only when the file changed), shows it and
// scrolls to the Type, and the viewport is repainted. The budget is one
// frame (16 ms) for a 1000 x 1500 pixel JPEG.
#include "window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 200;
constexpr double kBudgetMs = 16.0;

// Something like a catalogue photo: shaded background, drawn parts, lettering
// and sensor noise, so the encoder cannot take short cuts.
QImage DrawnPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, height);
    shade.setColorAt(0, QColor(238, 240, 248));
    shade.setColorAt(1, QColor(170, 182, 204));
    painter.fillRect(image.rect(), shade);
    QRandomGenerator random(2017);
    for (int i = 0; i < 400; ++i) {
        painter.setPen(QPen(QColor::fromHsv(random.bounded(360), 200, 140), random.bounded(1, 5)));
        painter.setBrush(QColor::fromHsv(random.bounded(360), 110, 220, 180));
        painter.drawRoundedRect(random.bounded(width), random.bounded(height), random.bounded(20, 180),
                                random.bounded(20, 180), 12, 12);
    }
    QFont font;
    font.setPixelSize(28);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int y = 40; y < height; y += 60)
        painter.drawText(30, y, QStringLiteral("Cylinder 32 x 100  stroke 10-500"));
    painter.end();
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = random.bounded(-8, 9);
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::WindowFixture fixture;
    if (!fixture.copyCatalogue()) {
        std::fprintf(stderr, "cannot copy the sample catalogue\n");
        return 2;
    }
    QDir().mkpath(fixture.rootPath(QStringLiteral("Docs")));
    const QString picturePath = fixture.rootPath(QStringLiteral("Docs/AX.jpg"));
    if (!DrawnPicture(1000, 1500).save(picturePath, "JPG", 90)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(picturePath));
        return 2;
    }
    if (!fixture.start() || !fixture.choose(QStringLiteral("AX"), QStringLiteral("AXN"), QStringLiteral("50"))) {
        std::fprintf(stderr, "the window did not reach a chosen Bore\n");
        return 2;
    }
    app::frmMain& window = fixture.window();
    window.txtData->setFocus();

    // Type a digit, then take it back: every key is one change of the text.
    std::vector<double> ms;
    for (int i = 0; i < kRuns + 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(window.txtData, i % 2 ? Qt::Key_Backspace : Qt::Key_5);
        window.Picture1->repaint();
        if (i >= 5)  // the first keys warm the file cache and the decoder
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2], worst = ms.back();
    std::printf("picture       %s (%lld bytes, 1000 x 1500)\n", qPrintable(picturePath),
                static_cast<long long>(QFileInfo(picturePath).size()));
    std::printf("keystroke     median %.2f ms, max %.2f ms over %d keys (budget %.0f ms)\n", median,
                worst, kRuns, kBudgetMs);
    std::printf("image top     %d px (the Type's position)\n", window.Image1->y());
    return median < kBudgetMs ? 0 : 1;
}
