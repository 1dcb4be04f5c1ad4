// SPDX-License-Identifier: MIT
#include "private_folder.h"
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace generation::posix {

namespace {

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// An unset, empty or relative variable names no folder.
bool NamesAFolder(const QByteArray& value)
{
    return value.startsWith('/');
}

} // namespace

QString PrivateWorkFolderPath(const QByteArray& runtimeFolder, const QByteArray& temporaryFolder,
                              uid_t user)
{
    if (NamesAFolder(runtimeFolder))
        return QDir::cleanPath(QFile::decodeName(runtimeFolder) + QStringLiteral("/talvex"));
    const QString shared = NamesAFolder(temporaryFolder) ? QFile::decodeName(temporaryFolder)
                                                         : QStringLiteral("/tmp");
    return QDir::cleanPath(shared + QStringLiteral("/talvex-") + QString::number(user));
}

base::Result<QString> PreparePrivateFolder(const QString& path, uid_t owner)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return base::Fail(path + QStringLiteral(" cannot be created: ") + ErrnoText(errno));
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        return base::Fail(path + QStringLiteral(": ") + ErrnoText(errno));
    if (S_ISLNK(status.st_mode))
        return base::Fail(path + QStringLiteral(" is a link, not a folder"));
    if (!S_ISDIR(status.st_mode))
        return base::Fail(path + QStringLiteral(" is not a folder"));
    if (status.st_uid != owner)
        return base::Fail(path + QStringLiteral(" belongs to another user"));
    if ((status.st_mode & 077) != 0)
        return base::Fail(path + QStringLiteral(" is open to other users (mode %1)")
                                     .arg(status.st_mode & 07777, 4, 8, QLatin1Char('0')));
    return path;
}

} // namespace generation::posix
