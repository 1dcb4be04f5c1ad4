// SPDX-License-Identifier: MIT
// The platform's file operations as staging uses them (POSIX build).
#include "test_files.h"
#include "generation/native_file_system.h"
#include "generation/posix/private_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

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

// Sets (or, given nothing, unsets) an environment variable for one scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, std::optional<QByteArray> value)
        : name_(name), saved_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
        Set(name_, value);
    }
    ~ScopedVariable() { Set(name_, saved_); }

private:
    static void Set(const char* name, const std::optional<QByteArray>& value)
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    const char* name_;
    std::optional<QByteArray> saved_;
};

// The platform's work folder, or "<refused: why>".
QString PlatformFolder()
{
    NativeFileSystem platform;
    const base::Result<QString> folder = platform.temporaryFolder();
    return folder ? *folder : QStringLiteral("<refused: ") + folder.error() + QLatin1Char('>');
}

mode_t ModeOf(const QString& path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 07777;
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

    void fixedTemporaryFolderIsTakenAsGiven()
    {
        NativeFileSystem fixed(QStringLiteral("/somewhere/tmp"));
        QCOMPARE(fixed.temporaryFolder().value(), QStringLiteral("/somewhere/tmp"));
    }

    void workFolderPath_data()
    {
        QTest::addColumn<QByteArray>("runtime");
        QTest::addColumn<QByteArray>("tmp");
        QTest::addColumn<QString>("expected");
        QTest::newRow("runtime folder first") << QByteArray("/run/user/1000") << QByteArray("/var/tmp")
                                              << "/run/user/1000/talvex";
        QTest::newRow("no runtime folder") << QByteArray() << QByteArray("/var/tmp/") << "/var/tmp/talvex-1000";
        QTest::newRow("relative runtime folder") << QByteArray("run") << QByteArray("/var/tmp")
                                                 << "/var/tmp/talvex-1000";
        QTest::newRow("nothing set") << QByteArray() << QByteArray() << "/tmp/talvex-1000";
        QTest::newRow("relative TMPDIR") << QByteArray() << QByteArray("tmp") << "/tmp/talvex-1000";
        QTest::newRow("TMPDIR at the root") << QByteArray() << QByteArray("/") << "/talvex-1000";
    }

    void workFolderPath()
    {
        QFETCH(QByteArray, runtime);
        QFETCH(QByteArray, tmp);
        QFETCH(QString, expected);
        QCOMPARE(generation::posix::PrivateWorkFolderPath(runtime, tmp, 1000), expected);
    }

    // /tmp is shared: the work folder is a folder of the user's own in it,
    // or in the user's runtime folder when there is one.
    void platformWorkFolderIsPrivate_data()
    {
        QTest::addColumn<bool>("runtimeFolder");
        QTest::newRow("in TMPDIR") << false;
        QTest::newRow("in XDG_RUNTIME_DIR") << true;
    }

    void platformWorkFolderIsPrivate()
    {
        QFETCH(bool, runtimeFolder);
        QVERIFY(QDir(dir_->path()).mkdir("runtime"));
        ScopedVariable tmp("TMPDIR", QFile::encodeName(dir_->path()));
        ScopedVariable runtime("XDG_RUNTIME_DIR", runtimeFolder ? std::optional(QFile::encodeName(path("runtime")))
                                                                : std::nullopt);
        const QString expected = runtimeFolder ? path("runtime/talvex")
                                               : path(QStringLiteral("talvex-%1").arg(::geteuid()));
        for (int run = 0; run < 2; ++run) {  // created, then found
            QCOMPARE(PlatformFolder(), expected);
            QVERIFY(QFileInfo(expected).isDir());
            QCOMPARE(ModeOf(expected), mode_t(0700));
        }
    }

    void unsafeWorkFolderIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a folder") << "link";
        QTest::newRow("open to others") << "open";
        QTest::newRow("a file") << "file";
    }

    void unsafeWorkFolderIsRefused()
    {
        QFETCH(QString, kind);
        ScopedVariable tmp("TMPDIR", QFile::encodeName(dir_->path()));
        ScopedVariable runtime("XDG_RUNTIME_DIR", std::nullopt);
        const QString planted = path(QStringLiteral("talvex-%1").arg(::geteuid()));
        QVERIFY(QDir(dir_->path()).mkdir("elsewhere"));
        if (kind == "link")
            QVERIFY(QFile::link(path("elsewhere"), planted));
        else if (kind == "open")
            QVERIFY(QDir(dir_->path()).mkdir(QFileInfo(planted).fileName())
                    && ::chmod(QFile::encodeName(planted).constData(), 0777) == 0);
        else
            QVERIFY(WriteFile(planted, "x"));
        const QString folder = PlatformFolder();
        QVERIFY2(folder.startsWith("<refused: ") && folder.contains(planted), qPrintable(folder));
        if (kind == "open")
            QCOMPARE(ModeOf(planted), mode_t(0777));  // refused, not repaired
    }

    void privateFolderOfAnotherUserOrNowhereIsRefused()
    {
        using generation::posix::PreparePrivateFolder;
        QVERIFY(QDir(dir_->path()).mkdir("mine"));
        QVERIFY(::chmod(QFile::encodeName(path("mine")).constData(), 0700) == 0);
        QCOMPARE(PreparePrivateFolder(path("mine"), ::geteuid()).value(), path("mine"));
        QCOMPARE(PreparePrivateFolder(path("mine"), ::geteuid() + 1).error(),
                 path("mine") + " belongs to another user");
        const auto nowhere = PreparePrivateFolder(path("missing/talvex"), ::geteuid());
        QVERIFY(nowhere.error().startsWith(path("missing/talvex") + " cannot be created: "));
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
        QCOMPARE(ModeOf(path("work")), mode_t(0700));  // the work folder is the user's alone
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

    // The copy gets 0644 whatever the source's bits: a world-writable
    // source must not give a LISP file that others may change.
    void copyKeepsNameAndContentWithItsOwnMode_data()
    {
        QTest::addColumn<int>("sourceMode");
        QTest::newRow("read-only medium") << 0444;
        QTest::newRow("world-writable") << 0777;
        QTest::newRow("owner only") << 0600;
    }

    void copyKeepsNameAndContentWithItsOwnMode()
    {
        QFETCH(int, sourceMode);
        NativeFileSystem fs;
        QVERIFY(QDir(dir_->path()).mkpath("src"));
        QVERIFY(QDir(dir_->path()).mkpath("work"));
        QVERIFY(WriteFile(path("src/TAA32L.dwg"), QByteArray(200000, 'd')));
        QCOMPARE(::chmod(QFile::encodeName(path("src/TAA32L.dwg")).constData(), mode_t(sourceMode)), 0);

        QCOMPARE(fs.copyFile(path("src/TAA32L.dwg"), path("work/")).error(), QString());
        QCOMPARE(ReadAll(path("work/TAA32L.dwg"), "<missing>"), QByteArray(200000, 'd'));
        QCOMPARE(ModeOf(path("work/TAA32L.dwg")), mode_t(0644));
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
