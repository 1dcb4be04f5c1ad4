// SPDX-License-Identifier: MIT
#include "native_file_system.h"
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include "win/win_files.h"
#else
#include "posix/private_folder.h"
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace generation {

NativeFileSystem::NativeFileSystem(QString temporaryFolder)
    : fixedTemporaryFolder_(std::move(temporaryFolder))
{
}

bool NativeFileSystem::folderExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

#ifdef Q_OS_WIN

base::Result<QString> NativeFileSystem::temporaryFolder()
{
    if (!fixedTemporaryFolder_.isEmpty())
        return fixedTemporaryFolder_;
    const QString folder = win::TemporaryFolder();
    if (folder.isEmpty())
        return base::Fail(QStringLiteral("the system names no temporary folder"));
    return folder;
}

base::Status NativeFileSystem::createFolder(const QString& path)
{
    if (path.isEmpty() || !QDir().mkdir(path))
        return base::Fail(QStringLiteral("Cannot create the folder ") + path);
    return {};
}

bool NativeFileSystem::fileFound(const QString& path)
{
    return win::PlainFileFound(path);
}

base::Status NativeFileSystem::deleteFile(const QString& path)
{
    return win::DeleteFileWide(path);
}

base::Status NativeFileSystem::copyFile(const QString& source, const QString& destinationFolder)
{
    return win::CopyFileOverwriting(source, destinationFolder + QFileInfo(source).fileName());
}

base::Status NativeFileSystem::clearFileAttributes(const QString& path)
{
    return win::ClearAttributes(path);
}

#else

namespace {

base::Failure ErrnoFailure(int error)
{
    return base::Fail(QString::fromLocal8Bit(std::strerror(error)));
}

// Copies what is left to read from in into out.
base::Status CopyBytes(int in, int out)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            return {};
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return ErrnoFailure(errno);
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, size_t(got - done));
            if (put < 0 && errno != EINTR)
                return ErrnoFailure(errno);
            if (put > 0)
                done += put;
        }
    }
}

// Copies the bytes of source into the open file out, which gets mode 0644:
// the source's bits would carry a world-writable file on the medium over to
// a LISP file that the CAD host loads.
base::Status CopyContent(const QByteArray& source, int out)
{
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return ErrnoFailure(errno);
    const auto closeIn = qScopeGuard([in] { ::close(in); });
    struct stat status {};
    if (::fstat(in, &status) != 0)
        return ErrnoFailure(errno);
    if (!S_ISREG(status.st_mode))
        return ErrnoFailure(EISDIR);
    if (const base::Status copied = CopyBytes(in, out); !copied)
        return copied;
    if (::fchmod(out, 0644) != 0)
        return ErrnoFailure(errno);
    return {};
}

} // namespace

base::Result<QString> NativeFileSystem::temporaryFolder()
{
    if (!fixedTemporaryFolder_.isEmpty())
        return fixedTemporaryFolder_;
    const uid_t user = ::geteuid();
    return posix::PreparePrivateFolder(
        posix::PrivateWorkFolderPath(qgetenv("XDG_RUNTIME_DIR"), qgetenv("TMPDIR"), user), user);
}

base::Status NativeFileSystem::createFolder(const QString& path)
{
    if (path.isEmpty())
        return base::Fail(QStringLiteral("Cannot create a folder without a name"));
    if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
        return ErrnoFailure(errno);
    return {};
}

bool NativeFileSystem::fileFound(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && !info.isHidden();
}

base::Status NativeFileSystem::deleteFile(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0)
        return ErrnoFailure(errno);
    return {};
}

base::Status NativeFileSystem::copyFile(const QString& source, const QString& destinationFolder)
{
    // Written beside the target and renamed over it: the target is replaced
    // whatever its permissions, and a symbolic link planted under the target's
    // name in a shared temporary folder is replaced, not followed.
    const QString destination = destinationFolder + QFileInfo(source).fileName();
    QTemporaryFile staged(destinationFolder + QStringLiteral(".talvex-staging-XXXXXX"));
    if (!staged.open())
        return base::Fail(staged.errorString());
    if (const base::Status copied = CopyContent(QFile::encodeName(source), staged.handle());
        !copied)
        return copied;
    staged.close();
    if (::rename(QFile::encodeName(staged.fileName()).constData(),
                 QFile::encodeName(destination).constData()) != 0)
        return ErrnoFailure(errno);
    staged.setAutoRemove(false);
    return {};
}

base::Status NativeFileSystem::clearFileAttributes(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return ErrnoFailure(errno);
    if (::chmod(name.constData(), (status.st_mode & 07777) | S_IWUSR) != 0)
        return ErrnoFailure(errno);
    return {};
}

#endif

} // namespace generation
