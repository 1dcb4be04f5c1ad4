// SPDX-License-Identifier: MIT
// The platform's file operations as staging uses them (Windows build): the
// temporary folder, the directory query's idea of a plain file, copies over
// read-only and hidden copies, attributes cleared, DeleteFileW.
#include "test_files.h"
#include "generation/native_file_system.h"
#include "generation/staging_paths.h"
#include "generation/win/win_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <windows.h>

using generation::NativeFileSystem;
using testing::ReadAll;
using testing::WriteFile;

namespace {

DWORD Attributes(const QString& path)
{
    return GetFileAttributesW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()));
}

bool SetAttributes(const QString& path, DWORD attributes)
{
    return SetFileAttributesW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(path).utf16()),
                              attributes) != FALSE;
}

} // namespace

class NativeFileSystemWindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString& relative) const
    {
        return QDir::toNativeSeparators(dir_.filePath(relative));
    }

private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void temporaryFolderAsTheSystemNamesIt()
    {
        NativeFileSystem platform;
        const base::Result<QString> folder = platform.temporaryFolder();
        QVERIFY2(folder.ok(), qPrintable(folder.error()));
        QVERIFY(folder->size() >= 3 && folder->at(1) == u':');
        QVERIFY(!folder->endsWith(u'\\') || folder->size() == 3);  // kept only at a drive root
        QVERIFY(platform.folderExists(*folder));
        wchar_t system[MAX_PATH + 2] = {};
        QVERIFY(GetTempPathW(MAX_PATH + 1, system) > 0);
        QCOMPARE(generation::WorkFolder(*folder), QString::fromWCharArray(system));
        QCOMPARE(generation::WorkFolder(QStringLiteral("C:\\Temp")), QStringLiteral("C:\\Temp\\"));
        QCOMPARE(generation::WorkFolder(QStringLiteral("C:\\")), QStringLiteral("C:\\"));
    }

    void plainFilesOnlyAreFound()
    {
        NativeFileSystem files;
        QVERIFY(WriteFile(path("plain.vlx"), "x"));
        QVERIFY(WriteFile(path("hidden.vlx"), "x"));
        QVERIFY(WriteFile(path("system.vlx"), "x"));
        QVERIFY(WriteFile(path("readonly.vlx"), "x"));
        QVERIFY(SetAttributes(path("hidden.vlx"), FILE_ATTRIBUTE_HIDDEN));
        QVERIFY(SetAttributes(path("system.vlx"), FILE_ATTRIBUTE_SYSTEM));
        QVERIFY(SetAttributes(path("readonly.vlx"), FILE_ATTRIBUTE_READONLY));
        QVERIFY(QDir().mkpath(path("folder.vlx")));
        QVERIFY(files.fileFound(path("plain.vlx")));
        QVERIFY(files.fileFound(path("readonly.vlx")));
        QVERIFY(!files.fileFound(path("hidden.vlx")));
        QVERIFY(!files.fileFound(path("system.vlx")));
        QVERIFY(!files.fileFound(path("folder.vlx")));
        QVERIFY(!files.fileFound(path("absent.vlx")));
        QVERIFY(!files.fileFound(QString()));
    }

    void copyReplacesReadOnlyAndHiddenCopies()
    {
        NativeFileSystem files;
        const QString work = path("work") + u'\\';
        QVERIFY(QDir().mkpath(work));
        QVERIFY(WriteFile(path("TAA32L.dwg"), "new drawing"));
        QVERIFY(SetAttributes(path("TAA32L.dwg"), FILE_ATTRIBUTE_READONLY));  // as on the disc
        QVERIFY(WriteFile(work + "TAA32L.dwg", "old drawing"));
        QVERIFY(SetAttributes(work + "TAA32L.dwg", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

        QCOMPARE(files.copyFile(path("TAA32L.dwg"), work).error(), QString());
        QCOMPARE(ReadAll(work + "TAA32L.dwg"), QByteArray("new drawing"));
        // Windows carries the source's read-only bit over to the copy (Wine
        // does not): the reset must clear it and the hidden bit alike.
        QVERIFY(SetAttributes(work + "TAA32L.dwg", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
        QCOMPARE(files.clearFileAttributes(work + "TAA32L.dwg").error(), QString());
        const DWORD cleared = Attributes(work + "TAA32L.dwg");
        // (Wine reports every file as archived, whatever was set.)
        QVERIFY(!(cleared & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)));
        QVERIFY(WriteFile(work + "TAA32L.dwg", "writable after the reset"));
        SetAttributes(path("TAA32L.dwg"), FILE_ATTRIBUTE_NORMAL);
    }

    void failuresCarryTheSystemsWords()
    {
        NativeFileSystem files;
        const base::Status missing = files.copyFile(path("absent.dwg"), path("work") + u'\\');
        QVERIFY(!missing.ok());
        QCOMPARE(missing.error(), generation::win::DescribeError(ERROR_FILE_NOT_FOUND));
        const base::Status reset = files.clearFileAttributes(path("absent.dwg"));
        QVERIFY(!reset.ok());
        QVERIFY(!reset.error().isEmpty());
    }

    void deleteFileRemovesTheStaleLispApplication()
    {
        NativeFileSystem files;
        QVERIFY(WriteFile(path("Acaddoc.vlx"), "stale"));
        QVERIFY(files.deleteFile(path("Acaddoc.vlx")).ok());
        QVERIFY(!QFile::exists(path("Acaddoc.vlx")));
        QVERIFY(!files.deleteFile(path("Acaddoc.vlx")).ok());
    }

    void createFolderMakesOneLevel()
    {
        NativeFileSystem files;
        QVERIFY(files.createFolder(path("one")).ok());
        QVERIFY(files.folderExists(path("one")));
        QVERIFY(!files.createFolder(path("two\\levels")).ok());
        QVERIFY(!files.createFolder(path("one")).ok());  // there already: the caller goes on
    }

    // A folder whose path holds a blank and Chinese characters, as a disc's may.
    void widePathsCrossIntact()
    {
        NativeFileSystem files;
        const QString folder = path("光碟 資料") + u'\\';
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteFile(folder + QStringLiteral("缸徑 32.dwg"), "wide"));
        QVERIFY(files.fileFound(folder + QStringLiteral("缸徑 32.dwg")));
        QVERIFY(QDir().mkpath(path("work")));
        QCOMPARE(files.copyFile(folder + QStringLiteral("缸徑 32.dwg"), path("work") + u'\\').error(), QString());
        QCOMPARE(ReadAll(path("work\\缸徑 32.dwg")), QByteArray("wide"));
    }
};

QTEST_GUILESS_MAIN(NativeFileSystemWindowsTest)
#include "test_native_file_system_windows.moc"
