// SPDX-License-Identifier: MIT
#include "socket_files.h"
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace generation::standin {

namespace {

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString WhatLiesThere(mode_t mode)
{
    if (S_ISLNK(mode))
        return QStringLiteral("a link");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISREG(mode))
        return QStringLiteral("a file");
    return QStringLiteral("no socket");
}

} // namespace

base::Result<Peer> PeerOf(int socketDescriptor)
{
#ifdef SO_PEERCRED
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return base::Fail(ErrnoText(errno));
    return Peer{credentials.pid, credentials.uid};
#else
    uid_t user = 0;
    gid_t group = 0;
    if (::getpeereid(socketDescriptor, &user, &group) != 0)
        return base::Fail(ErrnoText(errno));
    return Peer{0, user};
#endif
}

SocketPathState InspectSocketPath(const QString& path, uid_t owner)
{
    using Kind = SocketPathState::Kind;
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        if (errno == ENOENT)
            return {};
        return {Kind::Other, path + QStringLiteral(" cannot be examined: ") + ErrnoText(errno)};
    }
    if (!S_ISSOCK(status.st_mode))
        return {Kind::Other, path + QStringLiteral(" is ") + WhatLiesThere(status.st_mode)
                                 + QStringLiteral(", not a socket")};
    if (status.st_uid != owner)
        return {Kind::Other, path + QStringLiteral(" is another user's socket")};
    return {Kind::OwnSocket, {}, status.st_dev, status.st_ino};
}

base::Status RemoveSocketFile(const QString& path, const SocketPathState& found)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        return errno == ENOENT ? base::Status() : base::Status(base::Fail(ErrnoText(errno)));
    if (!S_ISSOCK(status.st_mode) || status.st_dev != found.device || status.st_ino != found.inode)
        return base::Fail(path + QStringLiteral(" has changed since it was examined"));
    if (::unlink(name.constData()) != 0 && errno != ENOENT)
        return base::Fail(ErrnoText(errno));
    return {};
}

} // namespace generation::standin
