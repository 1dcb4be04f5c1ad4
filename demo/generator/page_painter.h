// SPDX-License-Identifier: MIT
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace demo {

// The catalogue's house style and the drawing helpers its pages share.
namespace palette {
inline const QColor kNavy{0x1f, 0x3a, 0x68};
inline const QColor kAccent{0xe0, 0x78, 0x2b};
inline const QColor kInk{0x26, 0x26, 0x26};
inline const QColor kMuted{0x6b, 0x72, 0x80};
inline const QColor kPanel{0xf3, 0xf6, 0xfa};
inline const QColor kRule{0xc5, 0xcd, 0xd8};
inline const QColor kMetal{0xdd, 0xe3, 0xea};
inline const QColor kDimension{0x2f, 0x6d, 0xb5};
} // namespace palette

QFont SansFont(int pixelSize, bool bold = false);
QFont SerifFont(int pixelSize, bool bold = false);

// White page of the given size, 96 dots per inch, for the painter to fill.
QImage BlankPage(int widthPx, int heightPx);

// Draws wrapped text from the top of the rectangle and returns the height it
// took; draws nothing and returns -1 when it does not fit.
qreal DrawWrapped(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
                  const QColor& colour, int flags = Qt::AlignLeft);

// One line, shortened with "…" to the width.
void DrawElided(QPainter& painter, const QRectF& area, const QString& text, const QFont& font,
                const QColor& colour, int flags = Qt::AlignLeft | Qt::AlignVCenter);

// Baseline JPEG at quality 90.
QByteArray EncodeJpeg(const QImage& image);

} // namespace demo
