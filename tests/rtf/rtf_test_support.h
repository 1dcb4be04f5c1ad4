// SPDX-License-Identifier: MIT
#pragma once

#include "rtf/rtf_reader.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextImageFormat>

class QTextTable;

namespace rtf_test {

struct Run {
    QString text;
    QTextCharFormat format;
};

QByteArray ReadDataFile(const QString& name);
QString DataPath(const QString& name);

// Reads `rtf` into `document`, failing the test when the read fails.
bool Load(const QByteArray& rtf, QTextDocument& document);

// Every text fragment of the document in order, table cells included.
QList<Run> Runs(const QTextDocument& document);
const Run* FindRun(const QList<Run>& runs, const QString& text);

QList<QTextImageFormat> Images(const QTextDocument& document);
QImage ImageResource(const QTextDocument& document, const QTextImageFormat& format);

QList<QTextTable*> Tables(const QTextDocument& document);
QString CellText(QTextTable* table, int row, int column);

// The only picture of the document as drawn, in RGB32; null (with a
// warning) when the document holds another number of pictures.
QImage OnlyPicture(const QTextDocument& document);
// Colours equal within `slack` per channel: pictures are drawn smoothly.
bool NearColour(const QColor& actual, const QColor& expected, int slack = 24);
// Pixels darker than mid grey within `area`.
int DarkPixels(const QImage& image, const QRect& area);

// `image` in the file format `format` ("PNG", "JPEG").
QByteArray EncodeImage(const QImage& image, const char* format);
// A picture group around `image` encoded as `format`.
QByteArray PictureGroup(const QImage& image, const char* format, const QByteArray& properties);
// A picture group around bytes already encoded.
QByteArray PictureGroup(const QByteArray& encoded, const QByteArray& properties);

} // namespace rtf_test

#define QCOMPARE_COLOUR(image, x, y, expected)                                                                     \
    QVERIFY2(rtf_test::NearColour((image).pixelColor(x, y), expected),                                             \
             qPrintable(QStringLiteral("pixel (%1, %2) is %3, not %4")                                              \
                            .arg(x)                                                                                 \
                            .arg(y)                                                                                 \
                            .arg((image).pixelColor(x, y).name(), QColor(expected).name())))
