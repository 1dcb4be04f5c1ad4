// SPDX-License-Identifier: MIT
#include "page_painter.h"
#include <QBuffer>
#include <QFontMetricsF>
#include <QImageWriter>

namespace demo {

namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780;

QFont CjkFont(const QString& family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

QFont SansFont(int pixelSize, bool bold)
{
    return CjkFont(QStringLiteral("Noto Sans CJK TC"), pixelSize, bold);
}

QFont SerifFont(int pixelSize, bool bold)
{
    return CjkFont(QStringLiteral("Noto Serif CJK TC"), pixelSize, bold);
}

QImage BlankPage(int widthPx, int heightPx)
{
    QImage page(widthPx, heightPx, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
    page.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
    return page;
}

qreal DrawWrapped(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
                  const QColor& colour, int flags)
{
    const QFontMetricsF metrics(font);
    const QRectF needed = metrics.boundingRect(QRectF(area.left(), area.top(), area.width(), 1e6),
                                               flags | Qt::TextWordWrap, text);
    if (needed.height() > area.height())
        return -1;
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRectF(area.left(), area.top(), area.width(), needed.height()),
                     flags | Qt::TextWordWrap, text);
    painter.restore();
    return needed.height();
}

void DrawElided(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
                const QColor& colour, int flags)
{
    const QFontMetricsF metrics(font);
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area, flags, metrics.elidedText(text, Qt::ElideRight, area.width()));
    painter.restore();
}

QByteArray EncodeJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.setOptimizedWrite(false);
    writer.setProgressiveScanWrite(false);
    if (!writer.write(image))
        return {};
    return bytes;
}

} // namespace demo
