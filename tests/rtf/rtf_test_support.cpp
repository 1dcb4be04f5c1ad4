// SPDX-License-Identifier: MIT
#include "rtf_test_support.h"

#include <QBuffer>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cstdlib>

namespace rtf_test {

QString DataPath(const QString& name)
{
    return QStringLiteral(TALVEX_TEST_DATA "/rtf/") + name;
}

QByteArray ReadDataFile(const QString& name)
{
    QFile file(DataPath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return file.readAll();
}

bool Load(const QByteArray& rtf, QTextDocument& document)
{
    const auto result = rtf::ReadRtf(rtf, document);
    if (!result)
        qWarning("ReadRtf failed: %s", qPrintable(result.error()));
    return result.ok();
}

QList<Run> Runs(const QTextDocument& document)
{
    QList<Run> runs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                runs.append({fragment.text(), fragment.charFormat()});
        }
    }
    return runs;
}

const Run* FindRun(const QList<Run>& runs, const QString& text)
{
    for (const Run& run : runs) {
        if (run.text.contains(text))
            return &run;
    }
    return nullptr;
}

QList<QTextImageFormat> Images(const QTextDocument& document)
{
    QList<QTextImageFormat> images;
    for (const Run& run : Runs(document)) {
        if (run.format.isImageFormat())
            images.append(run.format.toImageFormat());
    }
    return images;
}

QImage ImageResource(const QTextDocument& document, const QTextImageFormat& format)
{
    return document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

QImage OnlyPicture(const QTextDocument& document)
{
    const QList<QTextImageFormat> images = Images(document);
    if (images.size() != 1) {
        qWarning("%d pictures, not one", int(images.size()));
        return QImage();
    }
    return ImageResource(document, images[0]).convertToFormat(QImage::Format_RGB32);
}

bool NearColour(const QColor& actual, const QColor& expected, int slack)
{
    return std::abs(actual.red() - expected.red()) <= slack && std::abs(actual.green() - expected.green()) <= slack &&
        std::abs(actual.blue() - expected.blue()) <= slack;
}

int DarkPixels(const QImage& image, const QRect& area)
{
    int dark = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 96;
    return dark;
}

QList<QTextTable*> Tables(const QTextDocument& document)
{
    QList<QTextTable*> tables;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame))
            tables.append(table);
    }
    return tables;
}

QString CellText(QTextTable* table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

QByteArray EncodeImage(const QImage& image, const char* format)
{
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        qFatal("cannot encode test picture as %s", format);
    return encoded;
}

QByteArray PictureGroup(const QImage& image, const char* format, const QByteArray& properties)
{
    return PictureGroup(EncodeImage(image, format), properties);
}

QByteArray PictureGroup(const QByteArray& encoded, const QByteArray& properties)
{
    QByteArray hex = encoded.toHex();
    // Writers wrap the hex digits; the reader must ignore the line breaks.
    for (qsizetype at = 64; at < hex.size(); at += 66)
        hex.insert(at, "\r\n");
    return "{\\pict" + properties + "\r\n" + hex + "}";
}

} // namespace rtf_test
