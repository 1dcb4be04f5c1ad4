// SPDX-License-Identifier: MIT
#include "drawing_file.h"
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <QScopeGuard>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cadhost {

namespace {

base::Failure TooLarge()
{
    return base::Fail(QStringLiteral("larger than %1 MB").arg(kLargestDrawing / (1024 * 1024)));
}

} // namespace

#ifdef Q_OS_UNIX

namespace {

base::Failure ErrnoFailure(int error)
{
    return base::Fail(QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

base::Result<DrawingPreview> ReadDrawing(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat named {};
    if (::stat(name.constData(), &named) != 0)
        return ErrnoFailure(errno);
    // Looked at before it is opened: opening a device or a FIFO can block or
    // act by itself.
    if (!S_ISREG(named.st_mode))
        return base::Fail(QStringLiteral("not a plain file"));
    if (named.st_size > kLargestDrawing)
        return TooLarge();
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return ErrnoFailure(errno);
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    struct stat opened {};
    if (::fstat(fd, &opened) != 0)
        return ErrnoFailure(errno);
    if (!S_ISREG(opened.st_mode) || opened.st_dev != named.st_dev || opened.st_ino != named.st_ino)
        return base::Fail(QStringLiteral("replaced while it was opened"));
    if (opened.st_size > kLargestDrawing)
        return TooLarge();

    // Pseudo files report no size; their content is not read at all.
    QByteArray start(qsizetype(std::min<qint64>(opened.st_size, kShownDrawingBytes)), '\0');
    qsizetype got = 0;
    while (got < start.size()) {
        const ssize_t read = ::read(fd, start.data() + got, size_t(start.size() - got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        got += read;
    }
    start.truncate(got);
    return DrawingPreview{qint64(opened.st_size), start};
}

#else

base::Result<DrawingPreview> ReadDrawing(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return base::Fail(QStringLiteral("not a plain file"));
    if (info.size() > kLargestDrawing)
        return TooLarge();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return base::Fail(file.errorString());
    return DrawingPreview{file.size(), file.read(std::min(file.size(), kShownDrawingBytes))};
}

#endif

QString DrawingContent(const DrawingPreview& drawing)
{
    if (drawing.start.contains('\0'))
        return QStringLiteral("(binary drawing, %1 bytes)").arg(drawing.size);
    QString text = QString::fromUtf8(drawing.start);
    if (drawing.size > drawing.start.size())
        text += QStringLiteral("\n(... %1 bytes in all)").arg(drawing.size);
    return text;
}

} // namespace cadhost
