// SPDX-License-Identifier: MIT
#include "access_file.h"
#include "catalogue_error.h"
#include <QFile>
#include <QFileInfo>

namespace catalogue {

namespace {

constexpr int kVersionOffset = 0x14;  // 0 for Jet 3, larger for later formats

} // namespace

QString UnrecognizedFormat(const QString& path)
{
    return QStringLiteral("Unrecognized database format '%1'.").arg(path);
}

AccessFileShape CheckAccessFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw CatalogueError(QStringLiteral("Could not find file '%1'.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CatalogueError(QStringLiteral("Could not open file '%1': %2.")
                                 .arg(path, file.errorString()));
    const QByteArray head = file.read(32);
    const QByteArray signature = head.mid(4, 16);
    const bool looksAccess = signature == QByteArray("Standard Jet DB\0", 16) ||
                             signature == QByteArray("Standard ACE DB\0", 16);
    if (!looksAccess || head.size() < 32)
        throw CatalogueError(UnrecognizedFormat(path));
    // A file of whole pages, more than the header page: a copy cut short (an
    // interrupted copy from the disc) would have libmdb read rows of a half page.
    const qint64 pageSize = head.at(kVersionOffset) == 0 ? 2048 : 4096;
    if (file.size() < 2 * pageSize || file.size() % pageSize != 0)
        throw CatalogueError(QStringLiteral("The database '%1' is damaged: it ends within a page.")
                                 .arg(path));
    return AccessFileShape{file.size(), pageSize};
}

QByteArray LibmdbFileName(const QString& path)
{
#ifdef Q_OS_WIN
    return path.toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

} // namespace catalogue
