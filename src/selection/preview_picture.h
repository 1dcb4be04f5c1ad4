// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace selection {

// The picture file at its natural size, as stored (no rotation by its Exif
// orientation); a null image when the file is missing or not a readable
// picture. The kind is taken from the content, not from the name. Nothing is
// cached here; the window keeps decoded pictures in a PreviewPictureCache.
QImage LoadPreviewPicture(const QString& path);

// The same for a file's content already read.
QImage DecodePreviewPicture(const QByteArray& content);

} // namespace selection
