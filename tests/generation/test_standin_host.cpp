// talvex-cadhost end to end: started by the connector on a private runtime
// folder, attached to a second time, driven by the generate steps, and read
// back through its journal.
#include "test_files.h"
#include "generation_fakes.h"
#include "generation/native_file_system.h"
#include "generation/run_generation.h"
#include "generation/standin/standin_connector.h"
#include "generation/standin/standin_protocol.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace generation;

using testing::ReadAll;
using testing::WriteFile;

namespace {

QStringList JournalLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A socket file with nobody listening, as a host that was killed leaves it.
bool MakeStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

} // namespace

class StandInHostTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(runtime_.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        QVERIFY(QFileInfo(hostProgram()).isExecutable());
    }

    void cleanup()
    {
        StandInHostConnector connector(options());
        QVERIFY(connector.shutDownHost());
    }

    void defaultsFollowTheRuntimeFolder()
    {
        StandInHostConnector connector;
        QCOMPARE(connector.socketPath(), runtime_.path() + "/talvex-cadhost");
        QCOMPARE(standin::DefaultJournalPath(), runtime_.path() + "/talvex-cadhost.journal");
        QCOMPARE(QFileInfo(connector.hostProgram()).fileName(), QStringLiteral("talvex-cadhost"));
    }

    void nothingRunning()
    {
        StandInHostConnector connector(options());
        QVERIFY(!connector.getActiveObject("AutoCAD.Application"));
        QVERIFY(MakeStaleSocket(connector.socketPath()));
        QVERIFY(!connector.getActiveObject("AutoCAD.Application"));
        QVERIFY2(!QFileInfo::exists(connector.socketPath()), "stale socket file left behind");
        QCOMPARE(connector.hostsStarted(), 0);
    }

    void startsThenAttachesToTheSameHost()
    {
        StandInHostConnector first(options());
        const auto started = first.createObject("Autocad.Application");
        QVERIFY(started);
        QCOMPARE(first.hostsStarted(), 1);
        const qint64 pid = StandInHostProcessId(**started);
        QVERIFY(pid > 0);

        StandInHostConnector second(options());  // a later click
        const auto attached = second.getActiveObject("AutoCAD.Application");
        QVERIFY(attached);
        QCOMPARE(StandInHostProcessId(**attached), pid);
        QCOMPARE(second.hostsStarted(), 0);

        // Creating while one runs lands on the running one and starts none.
        const auto again = second.createObject("Autocad.Application");
        QVERIFY(again);
        QCOMPARE(StandInHostProcessId(**again), pid);
        QCOMPARE(second.hostsStarted(), 0);

        QCOMPARE(JournalLines(journal()),
                 (QStringList{"start " + QString::number(pid), "attach", "attach", "attach"}));
    }

    void callsReachTheHostExactly()
    {
        WriteFile(runtime_.path() + "/drawing one.dwg", "stand-in drawing");
        StandInHostConnector connector(options());
        const auto host = connector.createObject("Autocad.Application");
        QVERIFY(host);
        QVERIFY(host.value()->setVisible(true).ok());
        const auto document = host.value()->openDocument(runtime_.path() + "/drawing one.dwg", false);
        QVERIFY(document);
        QVERIFY(document.value()->sendCommand("(load \"3dstretch\")\r").ok());
        QVERIFY(document.value()->sendCommand("line\\with\nbreak").ok());
        QVERIFY(!host.value()->openDocument(runtime_.path() + "/missing.dwg", true));

        const QStringList lines = JournalLines(journal());
        QCOMPARE(lines.mid(1),
                 (QStringList{"attach", "visible true",
                              "open readonly=false " + runtime_.path() + "/drawing one.dwg",
                              "command (load \"3dstretch\")\\r", "command line\\\\with\\nbreak",
                              "open readonly=true " + runtime_.path() + "/missing.dwg"}));
    }

    void otherProgIdsAreNotTheHost()
    {
        StandInHostConnector connector(options());
        QVERIFY(!connector.createObject("Excel.Application"));
        QCOMPARE(connector.hostsStarted(), 0);
        QVERIFY(connector.createObject("AUTOCAD.APPLICATION"));
        QVERIFY(!connector.getActiveObject("Word.Application"));
    }

    void generationDrivesTheHost()
    {
        QTemporaryDir installRoot;
        QVERIFY(QDir(installRoot.path()).mkdir("Files"));
        WriteFile(installRoot.path() + "/Files/TAA32L.dwg", "drawing TAA32L");
        WriteFile(installRoot.path() + "/Files/3dstretch.VLX", "lisp");
        const QString work = runtime_.path() + "/work";

        fakes::CallLog log;
        NativeFileSystem files(work);
        StandInHostConnector connector(options());
        fakes::RecordingDiscTray tray(log);
        fakes::RecordingMessageBoxes boxes(log);
        GenerationServices services{files, connector, tray, boxes};

        GenerationRequest request;
        request.installRoot = installRoot.path();
        request.typeCode = "TAA";
        request.boreCode = "32";
        request.firstStroke = "150";
        request.secondStroke = "40";
        request.secondStrokeVisible = true;
        request.strokeEntryAllowed = true;
        request.lookupDrawingFile = [] { return base::Result<QString>(QStringLiteral("TAA32L.dwg")); };

        QCOMPARE(RunGeneration(request, services), GenerationOutcome::HostDriven);
        request.strokeEntryAllowed = false;  // a second click, fixed strokes
        QCOMPARE(RunGeneration(request, services), GenerationOutcome::HostDriven);
        QCOMPARE(connector.hostsStarted(), 1);
        QVERIFY(boxes.shown.empty());

        const QStringList click = {"attach", "visible true",
                                   "open readonly=false " + work + "/TAA32L.dwg",
                                   "command (load \"3dstretch\")\\r"};
        const QStringList lines = JournalLines(journal());
        QCOMPARE(lines.size(), 11);
        QVERIFY(lines.at(0).startsWith("start "));
        QCOMPARE(lines.mid(1, 4), click);
        QCOMPARE(lines.at(5), QStringLiteral("command (3dstretch \"taa\" 32 150 40)\\r"));
        QCOMPARE(lines.mid(6, 4), click);
        QCOMPARE(lines.at(10), QStringLiteral("command (3dstretch \"taa\" 32 0 0)\\r"));
    }

    void noHostAtAllGivesCannotFindAutoCad()
    {
        QTemporaryDir installRoot;
        QVERIFY(QDir(installRoot.path()).mkdir("Files"));
        StandInHostOptions missing = options();
        missing.hostProgram = runtime_.path() + "/not-installed/talvex-cadhost";

        fakes::CallLog log;
        NativeFileSystem files(runtime_.path() + "/work");
        StandInHostConnector connector(missing);
        fakes::RecordingDiscTray tray(log);
        fakes::RecordingMessageBoxes boxes(log);
        GenerationServices services{files, connector, tray, boxes};
        GenerationRequest request;
        request.installRoot = installRoot.path();
        request.typeCode = "AB";
        request.boreCode = "32";

        QCOMPARE(RunGeneration(request, services), GenerationOutcome::HostNotFound);
        QCOMPARE(boxes.shown.back().text, QStringLiteral("Cannot find AutoCAD"));
        QCOMPARE(connector.hostsStarted(), 0);
    }

    void hostThatExitsAtOnceIsNotWaitedFor()
    {
        StandInHostOptions quitter = options();
        quitter.hostProgram = "/bin/true";
        StandInHostConnector connector(quitter);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!connector.createObject("Autocad.Application"));
        QCOMPARE(connector.hostsStarted(), 1);
        QVERIFY2(timer.elapsed() < 5000, "waited for a host that was gone");
    }

    void shutDownEndsTheHost()
    {
        StandInHostConnector connector(options());
        const auto host = connector.createObject("Autocad.Application");
        QVERIFY(host);
        const qint64 pid = StandInHostProcessId(**host);
        QVERIFY(connector.shutDownHost());
        QVERIFY(!QFileInfo::exists(connector.socketPath()));
        QCOMPARE(JournalLines(journal()).last(), QStringLiteral("quit"));
        QTRY_VERIFY_WITH_TIMEOUT(::kill(pid_t(pid), 0) != 0, 5000);
    }

private:
    QString hostProgram() const { return QStringLiteral(TALVEX_ROOT_DIR "/talvex-cadhost"); }
    QString journal() const { return runtime_.path() + "/" + QTest::currentTestFunction() + ".journal"; }
    StandInHostOptions options() const
    {
        StandInHostOptions options;
        options.hostProgram = hostProgram();
        options.hostArguments = {"--journal", journal(), "--offscreen"};
        return options;
    }

    QTemporaryDir runtime_;
};

QTEST_GUILESS_MAIN(StandInHostTest)
#include "test_standin_host.moc"
