// SPDX-License-Identifier: MIT
// The disc tray and the utility buttons' shell on Windows: the multimedia
// command string, and the shell's default action on a batch file.
#include "test_files.h"
#include "medium/utility_paths.h"
#include "medium/win/cd_audio_disc_tray.h"
#include "medium/win/windows_desktop_shell.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

using namespace medium;

namespace {

struct MciCall {
    std::wstring command;
    bool answerWanted;
    unsigned answerLength;
    bool notifies;
};
std::vector<MciCall> mciCalls;

unsigned long RecordMci(const wchar_t* command, wchar_t* answer, unsigned answerLength,
                        void* notifyWindow)
{
    mciCalls.push_back({command, answer != nullptr, answerLength, notifyWindow != nullptr});
    return 263;  // MCIERR_INVALID_DEVICE_NAME: no CD audio device, ignored
}

} // namespace

class MediumWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void utilityPathsAtADriveRoot()
    {
        // The install root is used as it stands: at a drive root the
        // relative path's leading separator follows the root's own.
        QCOMPARE(AccessoriesFolder(QStringLiteral("E:\\")), QStringLiteral("E:\\\\Files\\Accessories"));
        QCOMPARE(CleanUpBatchFile(QStringLiteral("C:\\Cfg")), QStringLiteral("C:\\Cfg\\Files\\TEMP CLEAR.bat"));
    }

    void discDoorCommandString()
    {
        mciCalls.clear();
        OpenDiscDoor(RecordMci);
        QCOMPARE(mciCalls.size(), size_t(1));
        QVERIFY(mciCalls[0].command == L"set CDAudio door open");
        QVERIFY(!mciCalls[0].answerWanted);
        QCOMPARE(mciCalls[0].answerLength, 0u);
        QVERIFY(!mciCalls[0].notifies);
    }

    // Without a CD audio device the real command fails at once and quietly.
    void discDoorWithoutADriveReturns()
    {
        QElapsedTimer timer;
        timer.start();
        CdAudioDiscTray().openDoor();
        QVERIFY(timer.elapsed() < 10000);
    }

    // The clean-up button's road: the batch file under a folder with a blank
    // and Chinese characters runs, detached, from the shell's default action.
    void batchFileRunsThroughTheShell()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString root = QDir::toNativeSeparators(temp.filePath(QStringLiteral("光碟 root")));
        QVERIFY(QDir().mkpath(root + QStringLiteral("\\Files")));
        const QString marker = QDir::toNativeSeparators(temp.filePath(QStringLiteral("ran.txt")));
        const QByteArray script = "@echo off\r\necho ran> \"" + QDir::toNativeSeparators(marker).toLocal8Bit() + "\"\r\n";
        QVERIFY(testing::WriteFile(CleanUpBatchFile(root), script));

        WindowsDesktopShell().openWithDefaultAction(CleanUpBatchFile(root));
        const QDeadlineTimer deadline(30000);
        while (!QFile::exists(marker) && !deadline.hasExpired())
            QTest::qWait(100);
        QVERIFY2(QFile::exists(marker), "the batch file did not run");
        QTRY_COMPARE_WITH_TIMEOUT(testing::ReadAll(marker).trimmed(), QByteArray("ran"), 5000);
    }

    void missingTargetFailsQuietly()
    {
        QElapsedTimer timer;
        timer.start();
        WindowsDesktopShell().openWithDefaultAction(QStringLiteral("Q:\\no such disc\\Files\\Accessories"));
        QVERIFY(timer.elapsed() < 10000);
    }
};

QTEST_GUILESS_MAIN(MediumWindowsTest)
#include "test_medium_windows.moc"
