#include "preview_picture.h"

#include <QImageReader>

namespace selection {

QImage LoadPreviewPicture(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    QImage picture;
    if (!reader.read(&picture))
        return {};
    return picture;
}

} // namespace selection
