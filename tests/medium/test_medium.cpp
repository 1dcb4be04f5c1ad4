// SPDX-License-Identifier: MIT
// The disc tray and the utility buttons' shell: paths, the batch file's
// stand-in script, detached runs and silent failures.
#include "test_files.h"
#include "medium/cdrom_disc_tray.h"
#include "medium/utility_paths.h"
#include "medium/xdg_desktop_shell.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace medium;

using testing::ReadAll;
using testing::WriteFile;

namespace {

} // namespace

class MediumTest : public QObject {
    Q_OBJECT
private slots:
    void utilityPaths()
    {
        const QString s = QDir::separator();
        const QString root = s + QStringLiteral("media") + s + QStringLiteral("TALVEX 3D");
        QCOMPARE(AccessoriesFolder(root), root + s + "Files" + s + "Accessories");
        QCOMPARE(CleanUpBatchFile(root), root + s + "Files" + s + "TEMP CLEAR.bat");
    }

    void scriptForBatchFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("script");
        QTest::newRow("clean-up file") << "/r/Files/TEMP CLEAR.bat" << "/r/Files/TEMP CLEAR.sh";
        QTest::newRow("upper case suffix") << "/r/X.BAT" << "/r/X.sh";
        QTest::newRow("folder") << "/r/Files/Accessories" << "";
        QTest::newRow("bat inside a name") << "/r/combat.txt" << "";
        QTest::newRow("only the suffix") << ".bat" << "";
    }

    void scriptForBatchFile()
    {
        QFETCH(QString, path);
        QFETCH(QString, script);
        QCOMPARE(ScriptForBatchFile(path), script);
    }

    void batchFileRunsItsScriptDetached()
    {
        QTemporaryDir dir;
        const QString marker = dir.path() + "/cleared";
        QVERIFY(WriteFile(dir.path() + "/TEMP CLEAR.bat", "@echo off\r\n"));
        QVERIFY(WriteFile(dir.path() + "/TEMP CLEAR.sh",
                          "sleep 1\necho \"$0\" > '" + marker.toUtf8() + "'\n"));
        XdgDesktopShell shell;
        QElapsedTimer timer;
        timer.start();
        shell.openWithDefaultAction(dir.path() + "/TEMP CLEAR.bat");
        QVERIFY2(timer.elapsed() < 800, "the call waited for the script");
        QVERIFY(!QFile::exists(marker));
        QTRY_VERIFY_WITH_TIMEOUT(ReadAll(marker).size() > 0, 10000);
        QCOMPARE(ReadAll(marker).trimmed(), (dir.path() + "/TEMP CLEAR.sh").toUtf8());
    }

    void folderGoesToTheOpener()
    {
        QTemporaryDir dir;
        const QString marker = dir.path() + "/opened";
        const QString opener = dir.path() + "/opener";
        QVERIFY(WriteFile(opener, "#!/bin/sh\nprintf '%s' \"$1\" > '" + marker.toUtf8() + "'\n"));
        QVERIFY(QFile::setPermissions(opener, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QVERIFY(QDir(dir.path()).mkpath("Files/Accessories"));
        XdgDesktopShell shell(opener);
        shell.openWithDefaultAction(dir.path() + "/Files/Accessories");
        QTRY_COMPARE_WITH_TIMEOUT(ReadAll(marker), (dir.path() + "/Files/Accessories").toUtf8(), 10000);
    }

    void failuresAreSilent()
    {
        QTemporaryDir dir;
        const QString marker = dir.path() + "/opened";
        const QString opener = dir.path() + "/opener";
        QVERIFY(WriteFile(opener, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n"));
        QVERIFY(QFile::setPermissions(opener, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

        XdgDesktopShell shell(opener);
        shell.openWithDefaultAction(dir.path() + "/Files/Accessories");   // no such folder
        shell.openWithDefaultAction(dir.path() + "/Files/TEMP CLEAR.bat"); // no script either
        XdgDesktopShell noOpener(dir.path() + "/no-such-opener");
        QVERIFY(QDir(dir.path()).mkdir("there"));
        noOpener.openWithDefaultAction(dir.path() + "/there");
        QTest::qWait(300);
        QVERIFY(!QFile::exists(marker));
    }

    void discTrayWithoutADriveIsSilent_data()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::newRow("missing device") << QByteArray("/dev/no-such-cdrom");
        QTest::newRow("not a CD device") << QByteArray("/dev/null");
        QTest::newRow("a folder") << QByteArray("/");
        QTest::newRow("empty path") << QByteArray();
    }

    void discTrayWithoutADriveIsSilent()
    {
        QFETCH(QByteArray, device);
        CdromDiscTray tray(device);
        QElapsedTimer timer;
        timer.start();
        tray.openDoor();
        tray.openDoor();  // an already open tray: again nothing
        QVERIFY(timer.elapsed() < 2000);
    }
};

QTEST_GUILESS_MAIN(MediumTest)
#include "test_medium.moc"
