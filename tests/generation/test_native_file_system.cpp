// The platform's file operations as staging uses them (POSIX build).
#include "test_files.h"
#include "generation/native_file_system.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <memory>

using generation::NativeFileSystem;

using testing::ReadAll;
using testing::WriteFile;

namespace {

constexpr auto kReadOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

// The mode bits, without Qt's "current user" copies of them.
QFileDevice::Permissions Mode(const QString& path)
{
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return QFile::permissions(path) & all;
}

} // namespace

class NativeFileSystemTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void temporaryFolder()
    {
        NativeFileSystem fixed(QStringLiteral("/somewhere/tmp"));
        QCOMPARE(fixed.temporaryFolder(), QStringLiteral("/somewhere/tmp"));

        const bool wasSet = qEnvironmentVariableIsSet("TMPDIR");
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", dir_->path().toUtf8());
        NativeFileSystem platform;
        const QString reported = platform.temporaryFolder();
        if (wasSet)
            qputenv("TMPDIR", saved);
        else
            qunsetenv("TMPDIR");
        QCOMPARE(reported, dir_->path());
        QVERIFY(!reported.endsWith('/'));
    }

    void foldersAndFiles()
    {
        NativeFileSystem fs;
        QVERIFY(WriteFile(path("plain.dwg"), "x"));
        QVERIFY(WriteFile(path(".hidden.dwg"), "x"));
        QVERIFY(QDir(dir_->path()).mkdir("sub"));

        QVERIFY(fs.folderExists(dir_->path()));
        QVERIFY(fs.folderExists(dir_->path() + "/"));
        QVERIFY(!fs.folderExists(path("plain.dwg")));
        QVERIFY(!fs.folderExists(path("nothing")));
        QVERIFY(!fs.folderExists(QString()));

        QVERIFY(fs.fileFound(path("plain.dwg")));
        QVERIFY(!fs.fileFound(path(".hidden.dwg")));
        QVERIFY(!fs.fileFound(path("sub")));
        QVERIFY(!fs.fileFound(path("nothing")));
    }

    void createFolderMakesOneLevel()
    {
        NativeFileSystem fs;
        QVERIFY(fs.createFolder(path("work/")).ok());
        QVERIFY(QFileInfo(path("work")).isDir());
        QVERIFY(!fs.createFolder(path("a/b/")).ok());
        QVERIFY(!QFileInfo::exists(path("a")));
    }

    void deleteFile()
    {
        NativeFileSystem fs;
        QVERIFY(WriteFile(path("Acaddoc.vlx"), "x"));
        QVERIFY(fs.deleteFile(path("Acaddoc.vlx")).ok());
        QVERIFY(!QFileInfo::exists(path("Acaddoc.vlx")));
        QVERIFY(!fs.deleteFile(path("Acaddoc.vlx")).ok());
        QVERIFY(QDir(dir_->path()).mkdir("folder"));
        QVERIFY(!fs.deleteFile(path("folder")).ok());
    }

    void copyKeepsNameContentAndMode()
    {
        NativeFileSystem fs;
        QVERIFY(QDir(dir_->path()).mkpath("src"));
        QVERIFY(QDir(dir_->path()).mkpath("work"));
        QVERIFY(WriteFile(path("src/TAA32L.dwg"), QByteArray(200000, 'd')));
        QVERIFY(QFile::setPermissions(path("src/TAA32L.dwg"), kReadOnly));

        QCOMPARE(fs.copyFile(path("src/TAA32L.dwg"), path("work/")).error(), QString());
        QCOMPARE(ReadAll(path("work/TAA32L.dwg"), "<missing>"), QByteArray(200000, 'd'));
        QCOMPARE(Mode(path("work/TAA32L.dwg")), kReadOnly);
        // no staging leftovers beside it
        QCOMPARE(QDir(path("work")).entryList(QDir::Files | QDir::Hidden), QStringList{"TAA32L.dwg"});
    }

    void copyReplacesAReadOnlyOlderCopy()
    {
        NativeFileSystem fs;
        QVERIFY(QDir(dir_->path()).mkpath("src"));
        QVERIFY(QDir(dir_->path()).mkpath("work"));
        QVERIFY(WriteFile(path("src/a.dwg"), "new"));
        QVERIFY(WriteFile(path("work/a.dwg"), "older and longer"));
        QVERIFY(QFile::setPermissions(path("work/a.dwg"), kReadOnly));
        QCOMPARE(fs.copyFile(path("src/a.dwg"), path("work/")).error(), QString());
        QCOMPARE(ReadAll(path("work/a.dwg"), "<missing>"), QByteArray("new"));
    }

    void copyReplacesALinkInsteadOfFollowingIt()
    {
        NativeFileSystem fs;
        QVERIFY(QDir(dir_->path()).mkpath("src"));
        QVERIFY(QDir(dir_->path()).mkpath("work"));
        QVERIFY(WriteFile(path("victim"), "keep me"));
        QVERIFY(WriteFile(path("src/a.dwg"), "drawing"));
        QVERIFY(QFile::link(path("victim"), path("work/a.dwg")));
        QCOMPARE(fs.copyFile(path("src/a.dwg"), path("work/")).error(), QString());
        QCOMPARE(ReadAll(path("victim"), "<missing>"), QByteArray("keep me"));
        QVERIFY(!QFileInfo(path("work/a.dwg")).isSymLink());
        QCOMPARE(ReadAll(path("work/a.dwg"), "<missing>"), QByteArray("drawing"));
    }

    void copyFailuresAreDescribed()
    {
        NativeFileSystem fs;
        QVERIFY(QDir(dir_->path()).mkpath("work"));
        const base::Status missing = fs.copyFile(path("nothing.dwg"), path("work/"));
        QVERIFY(!missing.ok());
        QCOMPARE(missing.error(), QString::fromLocal8Bit(strerror(ENOENT)));

        QVERIFY(QDir(dir_->path()).mkpath("folder.dwg"));
        QVERIFY(!fs.copyFile(path("folder.dwg"), path("work/")).ok());

        QVERIFY(WriteFile(path("a.dwg"), "x"));
        QVERIFY(!fs.copyFile(path("a.dwg"), path("no such folder/")).ok());
        QCOMPARE(QDir(path("work")).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }

    void clearAttributesAddsOwnerWriteOnly()
    {
        NativeFileSystem fs;
        QVERIFY(WriteFile(path("a.dwg"), "x"));
        QVERIFY(QFile::setPermissions(path("a.dwg"), kReadOnly | QFileDevice::ExeOwner));
        QCOMPARE(fs.clearFileAttributes(path("a.dwg")).error(), QString());
        QCOMPARE(Mode(path("a.dwg")), kReadOnly | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void clearAttributesFailureIsDescribed()
    {
        NativeFileSystem fs;
        const base::Status failure = fs.clearFileAttributes(path("nothing.dwg"));
        QVERIFY(!failure.ok());
        QCOMPARE(failure.error(), QString::fromLocal8Bit(strerror(ENOENT)));
    }

private:
    QString path(const QString& relative) const { return dir_->path() + "/" + relative; }
    std::unique_ptr<QTemporaryDir> dir_;
};

QTEST_GUILESS_MAIN(NativeFileSystemTest)
#include "test_native_file_system.moc"
