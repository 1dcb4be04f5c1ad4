#include "native_file_system.h"
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include "win/win_files.h"
#else
#include <QFile>
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

bool NativeFileSystem::createFolder(const QString& path)
{
    return !path.isEmpty() && QDir().mkdir(path);
}

#ifdef Q_OS_WIN

QString NativeFileSystem::temporaryFolder()
{
    if (!fixedTemporaryFolder_.isEmpty())
        return fixedTemporaryFolder_;
    return QString::fromStdWString(win::TemporaryFolder());
}

bool NativeFileSystem::fileFound(const QString& path)
{
    return win::PlainFileFound(path.toStdWString());
}

bool NativeFileSystem::deleteFile(const QString& path)
{
    return win::DeleteFileWide(path.toStdWString());
}

std::optional<QString> NativeFileSystem::copyFile(const QString& source,
                                                  const QString& destinationFolder)
{
    const QString destination = destinationFolder + QFileInfo(source).fileName();
    const auto failure =
        win::CopyFileOverwriting(source.toStdWString(), destination.toStdWString());
    if (failure)
        return QString::fromStdWString(*failure);
    return std::nullopt;
}

std::optional<QString> NativeFileSystem::clearFileAttributes(const QString& path)
{
    const auto failure = win::ClearAttributes(path.toStdWString());
    if (failure)
        return QString::fromStdWString(*failure);
    return std::nullopt;
}

#else

namespace {

QString ErrnoDescription(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Copies the bytes and the permission bits of source into the open file out.
std::optional<QString> CopyContent(const QByteArray& source, int out)
{
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return ErrnoDescription(errno);
    std::optional<QString> failure;
    struct stat status {};
    if (::fstat(in, &status) != 0) {
        failure = ErrnoDescription(errno);
    } else if (!S_ISREG(status.st_mode)) {
        failure = ErrnoDescription(EISDIR);
    } else {
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t got = ::read(in, buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                failure = ErrnoDescription(errno);
                break;
            }
            for (ssize_t done = 0; done < got && !failure;) {
                const ssize_t put = ::write(out, buffer + done, size_t(got - done));
                if (put < 0 && errno != EINTR)
                    failure = ErrnoDescription(errno);
                else if (put > 0)
                    done += put;
            }
            if (failure)
                break;
        }
        if (!failure && ::fchmod(out, status.st_mode & 0777) != 0)
            failure = ErrnoDescription(errno);
    }
    ::close(in);
    return failure;
}

} // namespace

QString NativeFileSystem::temporaryFolder()
{
    if (!fixedTemporaryFolder_.isEmpty())
        return fixedTemporaryFolder_;
    return QDir::toNativeSeparators(QDir::tempPath());
}

bool NativeFileSystem::fileFound(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && !info.isHidden();
}

bool NativeFileSystem::deleteFile(const QString& path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0;
}

std::optional<QString> NativeFileSystem::copyFile(const QString& source,
                                                  const QString& destinationFolder)
{
    // Written beside the target and renamed over it: the target is replaced
    // whatever its permissions, and a symbolic link planted under the target's
    // name in a shared temporary folder is replaced, not followed.
    const QString destination = destinationFolder + QFileInfo(source).fileName();
    QTemporaryFile staged(destinationFolder + QStringLiteral(".talvex-staging-XXXXXX"));
    if (!staged.open())
        return staged.errorString();
    if (auto failure = CopyContent(QFile::encodeName(source), staged.handle()))
        return failure;
    staged.close();
    if (::rename(QFile::encodeName(staged.fileName()).constData(),
                 QFile::encodeName(destination).constData()) != 0)
        return ErrnoDescription(errno);
    staged.setAutoRemove(false);
    return std::nullopt;
}

std::optional<QString> NativeFileSystem::clearFileAttributes(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return ErrnoDescription(errno);
    if (::chmod(name.constData(), (status.st_mode & 07777) | S_IWUSR) != 0)
        return ErrnoDescription(errno);
    return std::nullopt;
}

#endif

} // namespace generation
