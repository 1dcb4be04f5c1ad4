#pragma once
#include <QImage>
#include <QString>

namespace selection {

// The picture file at its natural size, as stored (no rotation by its Exif
// orientation); a null image when the file is missing or not a readable
// picture. The kind is taken from the content, not from the name. Nothing is
// cached: the preview reads the file again on every refresh.
QImage LoadPreviewPicture(const QString& path);

} // namespace selection
