// SPDX-License-Identifier: MIT
#include "preview_picture.h"

#include <QBuffer>
#include <QImageReader>

namespace selection {

namespace {

QImage Read(QImageReader& reader)
{
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    QImage picture;
    if (!reader.read(&picture))
        return {};
    return picture;
}

} // namespace

QImage LoadPreviewPicture(const QString& path) {
    QImageReader reader(path);
    return Read(reader);
}

QImage DecodePreviewPicture(const QByteArray& content) {
    QByteArray bytes = content;  // QBuffer wants a non-const array; this shares it
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return Read(reader);
}

} // namespace selection
