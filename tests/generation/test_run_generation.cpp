// SPDX-License-Identifier: MIT
// The second half of the generate command: staging and the CAD host, first
// against recorders (order and texts), then on a real temporary install root.
#include "test_files.h"
#include "generation_fakes.h"
#include "generation/native_file_system.h"
#include "generation/run_generation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

using namespace generation;
using messages::MessageBoxRequest;

using testing::ReadAll;
using testing::WriteFile;

namespace {

// Paths as the program builds them: with the platform's separator.
const QString kSep = QString(QDir::separator());
const QString kRoot = QStringLiteral("/cd");
const QString kFiles = kRoot + kSep + "Files";
const QString kWork = "/tmp" + kSep;
const QString kLoad = QStringLiteral("(load \"3dstretch\")\r");
const QString kWrongDisc = QStringLiteral("光碟片有誤CD-ROM ERROR");
const QString kCopyFailed = QStringLiteral("無法複製檔案\r\nCan't Copy The Dwg File");
const QString kWorkFolderUnusable = QStringLiteral("無法使用暫存資料夾\r\nCannot use the temporary folder: ");

GenerationRequest TypedRequest()
{
    GenerationRequest request;
    request.installRoot = kRoot;
    request.typeCode = QStringLiteral("TAA");
    request.boreCode = QStringLiteral("32");
    request.firstStroke = QStringLiteral("150");
    request.secondStroke = QStringLiteral("0");
    request.strokeEntryAllowed = true;
    request.lookupDrawingFile = [] { return base::Result<QString>(QStringLiteral("TAA32L.dwg")); };
    return request;
}

// The fake world of one run: an install root with its drawing and the LISP
// application, an existing work folder, a host that can be started.
struct World {
    fakes::CallLog log;
    fakes::FakeFileSystem files{log};
    fakes::FakeCadHost host{log};
    fakes::RecordingDiscTray tray{log};
    fakes::RecordingMessageBoxes boxes{log};
    GenerationServices services{files, host, tray, boxes};

    World()
    {
        files.temp = QStringLiteral("/tmp");
        files.folders = {kWork, kFiles};
        files.files = {kFiles + kSep + "TAA32L.dwg", kFiles + kSep + "TAA32.dwg", kFiles + kSep + "3dstretch.VLX"};
    }
    GenerationOutcome run(const GenerationRequest& request = TypedRequest())
    {
        return RunGeneration(request, services);
    }
};

QStringList StagedAndDriven(const QString& drawing, const QString& stretch)
{
    return {
        "copyFile " + kFiles + kSep + drawing + " -> " + kWork,
        "clearFileAttributes " + kWork + drawing,
        "copyFile " + kFiles + kSep + "3dstretch.VLX -> " + kWork,
        "clearFileAttributes " + kWork + "3dstretch.VLX",
        "beginCommand",
        "getActiveObject AutoCAD.Application",
        "createObject Autocad.Application",
        "setVisible true",
        "open " + kWork + drawing + " readOnly=false",
        "sendCommand " + kLoad,
        "sendCommand " + stretch,
    };
}

bool OwnerWritable(const QString& path)
{
    return QFileInfo(path).permissions().testFlag(QFileDevice::WriteOwner);
}

} // namespace

class RunGenerationTest : public QObject {
    Q_OBJECT
private slots:
    // --- against recorders -------------------------------------------------

    void mainRoadInOrder()
    {
        World world;
        QCOMPARE(world.run(), GenerationOutcome::HostDriven);
        QCOMPARE(world.log, StagedAndDriven("TAA32L.dwg", "(3dstretch \"taa\" 32 150 0)\r"));
        QVERIFY(world.boxes.shown.empty());
    }

    void workFolderPrepared()
    {
        World world;
        world.files.folders.remove(kWork);
        world.files.files.insert(kWork + "Acaddoc.vlx");
        world.run();
        QCOMPARE(world.log.mid(0, 2),
                 (QStringList{"createFolder " + kWork, "deleteFile " + kWork + "Acaddoc.vlx"}));
        QVERIFY(!world.files.files.contains(kWork + "Acaddoc.vlx"));
        QVERIFY(!world.log.join('\n').contains("Acaddoc.vlx -> "));  // never copied
    }

    void missingDrawingFolderEjectsAndEnds()
    {
        World world;
        world.files.folders.remove(kFiles);
        world.files.files.insert(kWork + "Acaddoc.vlx");
        QCOMPARE(world.run(), GenerationOutcome::DrawingFolderMissing);
        QCOMPARE(world.log, (QStringList{"deleteFile " + kWork + "Acaddoc.vlx", "message " + kWrongDisc,
                                         "openDoor"}));
        const MessageBoxRequest& box = world.boxes.shown.at(0);
        QCOMPARE(box.title, QStringLiteral("錯誤"));
        QCOMPARE(box.icon, MessageBoxRequest::Icon::Critical);
    }

    void failedCopiesAreToldAndTheHostIsStillDriven_data()
    {
        QTest::addColumn<bool>("drawingThere");
        QTest::addColumn<bool>("lispThere");
        QTest::addColumn<QStringList>("expected");
        const QString stretch = "(3dstretch \"taa\" 32 150 0)\r";
        QStringList drawingMissing = StagedAndDriven("TAA32L.dwg", stretch);
        drawingMissing.removeAt(1);
        drawingMissing.insert(1, "message " + kCopyFailed);
        QStringList lispMissing = StagedAndDriven("TAA32L.dwg", stretch);
        lispMissing[3] = "message " + kCopyFailed;
        QStringList both = drawingMissing;
        both[3] = "message " + kCopyFailed;
        QTest::newRow("drawing") << false << true << drawingMissing;
        QTest::newRow("3dstretch.VLX") << true << false << lispMissing;
        QTest::newRow("both") << false << false << both;
    }

    void failedCopiesAreToldAndTheHostIsStillDriven()
    {
        QFETCH(bool, drawingThere);
        QFETCH(bool, lispThere);
        QFETCH(QStringList, expected);
        World world;
        if (!drawingThere)
            world.files.files.remove(kFiles + kSep + "TAA32L.dwg");
        if (!lispThere)
            world.files.files.remove(kFiles + kSep + "3dstretch.VLX");
        QCOMPARE(world.run(), GenerationOutcome::HostDriven);
        QCOMPARE(world.log, expected);
        for (const MessageBoxRequest& box : world.boxes.shown) {
            QCOMPARE(box.icon, MessageBoxRequest::Icon::Critical);
            QCOMPARE(box.title, QStringLiteral("錯誤"));
        }
    }

    void failedResetToldOnceAfterBothCopies()
    {
        World world;
        world.files.resetFailures.insert(kWork + "TAA32L.dwg", "Operation not permitted");
        world.files.resetFailures.insert(kWork + "3dstretch.VLX", "Read-only file system");
        world.run();
        const qsizetype lispReset = world.log.indexOf("clearFileAttributes " + kWork + "3dstretch.VLX");
        QCOMPARE(world.log.value(lispReset + 1), QStringLiteral("message Read-only file system"));
        QCOMPARE(world.boxes.shown.size(), size_t(1));
        const MessageBoxRequest& box = world.boxes.shown.at(0);
        QCOMPARE(box.icon, MessageBoxRequest::Icon::None);
        QVERIFY(box.title.isEmpty());
        QVERIFY(world.log.contains("sendCommand " + kLoad));
    }

    void drawingNameFromTheLookup_data()
    {
        QTest::addColumn<int>("lookup");  // 0 none, 1 failed, 2 throws, 3 escaping name
        QTest::newRow("no range names a file") << 0;
        QTest::newRow("lookup failed") << 1;
        QTest::newRow("lookup threw") << 2;
        QTest::newRow("name leads out of the folder") << 3;
    }

    void drawingNameFromTheLookup()
    {
        QFETCH(int, lookup);
        World world;
        GenerationRequest request = TypedRequest();
        request.lookupDrawingFile = [lookup]() -> base::Result<QString> {
            switch (lookup) {
            case 0: return QString();
            case 1: return base::Fail(QStringLiteral("no such table: Fluid_Detail"));
            case 2: throw std::runtime_error("catalogue gone");
            default: return QStringLiteral("../../etc/TAA32L.dwg");
            }
        };
        world.run(request);
        QCOMPARE(world.log, StagedAndDriven("TAA32.dwg", "(3dstretch \"taa\" 32 150 0)\r"));
    }

    void runningHostIsAttached()
    {
        World world;
        world.host.running = true;
        world.run();
        QVERIFY(world.log.contains("getActiveObject AutoCAD.Application"));
        QVERIFY(!world.log.join('\n').contains("createObject"));
        QCOMPARE(world.log.last(), "sendCommand (3dstretch \"taa\" 32 150 0)\r");
    }

    void noHostAtAll()
    {
        World world;
        world.host.installed = false;
        QCOMPARE(world.run(), GenerationOutcome::HostNotFound);
        QCOMPARE(world.log.mid(world.log.size() - 3),
                 (QStringList{"getActiveObject AutoCAD.Application",
                              "createObject Autocad.Application",
                              "message Cannot find AutoCAD"}));
        const MessageBoxRequest& box = world.boxes.shown.at(0);
        QCOMPARE(box.icon, MessageBoxRequest::Icon::None);
        QVERIFY(box.title.isEmpty());
    }

    void drawingThatDoesNotOpenEndsSilently()
    {
        World world;
        world.host.documentsOpen = false;
        QCOMPARE(world.run(), GenerationOutcome::HostDriven);
        QCOMPARE(world.log.last(), "open " + kWork + "TAA32L.dwg readOnly=false");
        QVERIFY(world.boxes.shown.empty());
    }

    void stretchCommandForm_data()
    {
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<bool>("secondVisible");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fixed strokes") << false << true << "(3dstretch \"taa\" 32 0 0)\r";
        QTest::newRow("second stroke shown") << true << true << "(3dstretch \"taa\" 32 150 80)\r";
        QTest::newRow("second stroke hidden") << true << false << "(3dstretch \"taa\" 32 150 0)\r";
    }

    void stretchCommandForm()
    {
        QFETCH(bool, allowed);
        QFETCH(bool, secondVisible);
        QFETCH(QString, expected);
        World world;
        GenerationRequest request = TypedRequest();
        request.strokeEntryAllowed = allowed;
        request.secondStrokeVisible = secondVisible;
        request.secondStroke = QStringLiteral("80");
        world.run(request);
        QCOMPARE(world.log.last(), "sendCommand " + expected);
    }

    void unsafeCodeRefusedBeforeAnything_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("bore");
        QTest::addColumn<QString>("shownCode");
        QTest::newRow("quote in type") << "TA\"A" << "32" << "TA\"A";
        QTest::newRow("parenthesis in bore") << "TAA" << "32) (command" << "32) (command";
        QTest::newRow("backslash in bore") << "TAA" << "3\\2" << "3\\2";
        // The bore stands unquoted in the LISP call.
        QTest::newRow("LISP comment in bore") << "TAA" << "32;x" << "32;x";
        QTest::newRow("LISP quote in bore") << "TAA" << "32'x" << "32'x";
        QTest::newRow("blank in bore") << "TAA" << "32 150" << "32 150";
        QTest::newRow("ideographic blank in bore") << "TAA" << QString::fromUtf8("32\u3000") << QString::fromUtf8("32\u3000");
    }

    void unsafeCodeRefusedBeforeAnything()
    {
        QFETCH(QString, type);
        QFETCH(QString, bore);
        QFETCH(QString, shownCode);
        World world;
        world.files.folders.remove(kFiles);  // not even the disc is checked
        GenerationRequest request = TypedRequest();
        request.typeCode = type;
        request.boreCode = bore;
        bool looked = false;
        request.lookupDrawingFile = [&looked] {
            looked = true;
            return base::Result<QString>(QString());
        };
        QCOMPARE(world.run(request), GenerationOutcome::InvalidCatalogueData);
        QCOMPARE(world.log, QStringList{"message 型錄資料有誤\r\nInvalid catalogue data: " + shownCode});
        QCOMPARE(world.boxes.shown.at(0).icon, MessageBoxRequest::Icon::Critical);
        QCOMPARE(world.boxes.shown.at(0).title, QStringLiteral("錯誤"));
        QVERIFY(!looked);
    }

    void typeCodeMayHoldWhatItsLispStringKeeps()
    {
        World world;
        GenerationRequest request = TypedRequest();
        request.typeCode = QStringLiteral("TA;A 'B");
        QCOMPARE(world.run(request), GenerationOutcome::HostDriven);
        QCOMPARE(world.log.last(), "sendCommand (3dstretch \"ta;a 'b\" 32 150 0)\r");
    }

    void unusableWorkFolderEndsBeforeAnyFile_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("refused by the file system") << true;
        QTest::newRow("empty path") << false;
    }

    void unusableWorkFolderEndsBeforeAnyFile()
    {
        QFETCH(bool, refused);
        World world;
        world.files.folders.insert("/");
        world.files.temp = QString();
        if (refused)
            world.files.temporaryFolderFailure = QStringLiteral("/tmp/talvex-1000 belongs to another user");
        world.run();
        QCOMPARE(world.log.size(), 1);
        QVERIFY2(world.log.first().startsWith("message " + kWorkFolderUnusable), qPrintable(world.log.first()));
        if (refused)
            QVERIFY(world.log.first().endsWith("/tmp/talvex-1000 belongs to another user"));
        const MessageBoxRequest& box = world.boxes.shown.at(0);
        QCOMPARE(box.icon, MessageBoxRequest::Icon::Critical);
        QCOMPARE(box.title, QStringLiteral("錯誤"));
    }

    // --- on a real temporary install root ----------------------------------

    void realStagingCopiesAndClearsOldFiles()
    {
        RealRoot root;
        QVERIFY(WriteFile(root.work() + "Acaddoc.vlx", "old"));
        QCOMPARE(root.run(), GenerationOutcome::HostDriven);
        QCOMPARE(ReadAll(root.work() + "TAA32L.dwg", "<missing>"), QByteArray("drawing TAA32L"));
        QCOMPARE(ReadAll(root.work() + "3dstretch.VLX", "<missing>"), QByteArray("lisp"));
        QVERIFY(!QFile::exists(root.work() + "Acaddoc.vlx"));
        QVERIFY(root.boxes.shown.empty());
        QCOMPARE(root.log.at(root.log.size() - 3),
                 "open " + root.work() + "TAA32L.dwg readOnly=false");
    }

    void realWorkFolderCreated()
    {
        RealRoot root;
        QVERIFY(QDir(root.work()).removeRecursively());
        root.run();
        QVERIFY(QFileInfo(root.work()).isDir());
        QVERIFY(QFile::exists(root.work() + "TAA32L.dwg"));
    }

    void realReadOnlySourceGivesWritableCopyOverAnOldOne()
    {
        RealRoot root;
        const QString source = root.files() + "/TAA32L.dwg";
        QVERIFY(QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(WriteFile(root.work() + "TAA32L.dwg", "older copy"));
        QVERIFY(QFile::setPermissions(root.work() + "TAA32L.dwg", QFileDevice::ReadOwner));
        root.run();
        QCOMPARE(ReadAll(root.work() + "TAA32L.dwg", "<missing>"), QByteArray("drawing TAA32L"));
        QVERIFY(OwnerWritable(root.work() + "TAA32L.dwg"));
        QVERIFY(!OwnerWritable(source));  // the install medium is left alone
        QVERIFY(root.boxes.shown.empty());
    }

    void realMissingLispApplication()
    {
        RealRoot root;
        QVERIFY(QFile::remove(root.files() + "/3dstretch.VLX"));
        QCOMPARE(root.run(), GenerationOutcome::HostDriven);
        QCOMPARE(root.boxes.shown.size(), size_t(1));
        QCOMPARE(root.boxes.shown.at(0).text, kCopyFailed);
        QCOMPARE(root.log.last(), "sendCommand (3dstretch \"taa\" 32 150 0)\r");
    }

    void realMissingDrawingFolder()
    {
        RealRoot root;
        QVERIFY(QDir(root.files()).removeRecursively());
        QVERIFY(QDir(root.work()).removeRecursively());
        QCOMPARE(root.run(), GenerationOutcome::DrawingFolderMissing);
        QVERIFY(QFileInfo(root.work()).isDir());
        QCOMPARE(root.log, (QStringList{"message " + kWrongDisc, "openDoor"}));
    }

    void realFallbackName()
    {
        RealRoot root;
        GenerationRequest request = root.request();
        request.lookupDrawingFile = [] { return base::Result<QString>(QString()); };
        root.run(request);
        QCOMPARE(ReadAll(root.work() + "TAA32.dwg", "<missing>"), QByteArray("drawing TAA32"));
        QVERIFY(!QFile::exists(root.work() + "TAA32L.dwg"));
    }

private:
    // A temporary install root with Files/ and a private temporary folder.
    struct RealRoot {
        QTemporaryDir installRoot;
        QTemporaryDir temp;
        NativeFileSystem fileSystem{QDir::toNativeSeparators(temp.path() + "/work")};
        fakes::CallLog log;
        fakes::FakeCadHost host{log};
        fakes::RecordingDiscTray tray{log};
        fakes::RecordingMessageBoxes boxes{log};
        GenerationServices services{fileSystem, host, tray, boxes};

        RealRoot()
        {
            QDir(installRoot.path()).mkdir("Files");
            QDir().mkdir(temp.path() + "/work");
            WriteFile(files() + "/TAA32L.dwg", "drawing TAA32L");
            WriteFile(files() + "/TAA32.dwg", "drawing TAA32");
            WriteFile(files() + "/3dstretch.VLX", "lisp");
        }
        QString files() const { return installRoot.path() + "/Files"; }
        QString work() const { return QDir::toNativeSeparators(temp.path() + "/work/"); }
        GenerationRequest request() const
        {
            GenerationRequest request = TypedRequest();
            request.installRoot = QDir::toNativeSeparators(installRoot.path());
            return request;
        }
        GenerationOutcome run() { return RunGeneration(request(), services); }
        GenerationOutcome run(const GenerationRequest& request)
        {
            return RunGeneration(request, services);
        }
    };
};

QTEST_GUILESS_MAIN(RunGenerationTest)
#include "test_run_generation.moc"
