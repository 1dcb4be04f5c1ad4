// SPDX-License-Identifier: MIT
#include "metafile/metafile.h"

#include "metafile/metafile_canvas.h"
#include "metafile/metafile_players.h"

namespace metafile {

base::Result<QSizeF> MetafileSize(MetafileFormat format, const QByteArray& bytes)
{
    const Bytes data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return format == MetafileFormat::Wmf ? WmfSize(data) : EmfSize(data);
}

base::Result<QImage> RenderMetafile(MetafileFormat format, const QByteArray& bytes, QSize size, MetafileWork& work,
                                    TextDecoder& text)
{
    if (size.isEmpty() || qint64(size.width()) * size.height() > MaxMetafilePixels || size.width() > MaxMetafileSide ||
        size.height() > MaxMetafileSide)
        return base::Fail(QStringLiteral("picture size not drawable"));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return base::Fail(QStringLiteral("no memory for the picture"));
    // GDI draws metafiles onto paper: white where they draw nothing.
    image.fill(Qt::white);
    const Bytes data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    base::Status played;
    {
        Canvas canvas(image, work, text);
        played = format == MetafileFormat::Wmf ? PlayWmf(data, canvas) : PlayEmf(data, canvas);
    }
    if (!played)
        return played.failure();
    return image;
}

} // namespace metafile
