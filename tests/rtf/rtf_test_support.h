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

// `image` in the file format `format` ("PNG", "JPEG").
QByteArray EncodeImage(const QImage& image, const char* format);
// A picture group around `image` encoded as `format`.
QByteArray PictureGroup(const QImage& image, const char* format, const QByteArray& properties);
// A picture group around bytes already encoded.
QByteArray PictureGroup(const QByteArray& encoded, const QByteArray& properties);

} // namespace rtf_test
