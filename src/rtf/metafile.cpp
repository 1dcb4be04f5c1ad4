#include "rtf/metafile.h"

#include "rtf/metafile_canvas.h"
#include "rtf/metafile_players.h"

namespace rtf {

base::Result<QSizeF> MetafileSize(MetafileFormat format, const QByteArray& bytes)
{
    const metafile::Bytes data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return format == MetafileFormat::Wmf ? metafile::WmfSize(data) : metafile::EmfSize(data);
}

base::Result<QImage> RenderMetafile(MetafileFormat format, const QByteArray& bytes, QSize size, MetafileWork& work)
{
    if (size.isEmpty() || qint64(size.width()) * size.height() > MaxMetafilePixels)
        return base::Fail(QStringLiteral("picture size not drawable"));
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return base::Fail(QStringLiteral("no memory for the picture"));
    // GDI draws metafiles onto paper: white where they draw nothing.
    image.fill(Qt::white);
    const metafile::Bytes data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    base::Status played;
    {
        metafile::Canvas canvas(image, work);
        played = format == MetafileFormat::Wmf ? metafile::PlayWmf(data, canvas) : metafile::PlayEmf(data, canvas);
    }
    if (!played)
        return played.failure();
    return image;
}

} // namespace rtf
