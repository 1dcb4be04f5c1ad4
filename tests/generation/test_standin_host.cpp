// SPDX-License-Identifier: MIT
// talvex-cadhost end to end: started by the connector on a private runtime
// folder, attached to a second time, driven by the generate steps, and read
// back through its journal.
#include "scripted_host.h"
#include "test_files.h"
#include "generation_fakes.h"
#include "generation/native_file_system.h"
#include "generation/run_generation.h"
#include "generation/standin/standin_connector.h"
#include "generation/standin/standin_protocol.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
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

// One connection to the host for request lines of the test's own making.
class RawClient {
public:
    explicit RawClient(const QString& socketPath)
    {
        socket_.connectToServer(socketPath);
        socket_.waitForConnected(5000);
    }
    bool connected() const { return socket_.state() == QLocalSocket::ConnectedState; }
    void send(const QByteArray& lines)
    {
        socket_.write(lines);
        while (socket_.bytesToWrite() > 0 && socket_.waitForBytesWritten(5000)) {
        }
    }
    // The next reply line without its LF, or "<none>".
    QByteArray reply()
    {
        while (!socket_.canReadLine()) {
            if (!socket_.waitForReadyRead(5000))
                return "<none>";
        }
        return socket_.readLine().chopped(1);
    }
    QByteArray call(const QByteArray& line)
    {
        send(line + '\n');
        return reply();
    }
private:
    QLocalSocket socket_;
};

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

    void staleSocketIsTakenOverByTheNextHost()
    {
        StandInHostConnector connector(options());
        QVERIFY(!connector.getActiveObject("AutoCAD.Application"));
        QVERIFY(testing::BindStaleSocket(connector.socketPath()));
        QVERIFY(!connector.getActiveObject("AutoCAD.Application"));
        QCOMPARE(connector.hostsStarted(), 0);
        QVERIFY(connector.createObject("Autocad.Application"));
        QCOMPARE(connector.hostsStarted(), 1);
    }

    void secondHostLeavesTheRunningOneAlone()
    {
        StandInHostConnector connector(options());
        const auto first = connector.createObject("Autocad.Application");
        QVERIFY(first);
        QProcess second;
        second.start(hostProgram(), {"--socket", connector.socketPath(), "--journal",
                                     runtime_.path() + "/second.journal", "--offscreen"});
        QVERIFY2(second.waitForFinished(10000), "the second host stayed");
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardError().contains("already running"));
        const auto again = StandInHostConnector(options()).getActiveObject("AutoCAD.Application");
        QVERIFY(again);
        QCOMPARE(StandInHostProcessId(**again), StandInHostProcessId(**first));
    }

    void socketPathThatIsNoSocketOfOursIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("ordinary file") << "file";
        QTest::newRow("folder") << "folder";
        QTest::newRow("link to a file") << "link";
    }

    void socketPathThatIsNoSocketOfOursIsLeftAlone()
    {
        QFETCH(QString, kind);
        const QString path = runtime_.path() + "/taken-" + kind;
        const QString notes = runtime_.path() + "/notes-" + kind;
        QVERIFY(WriteFile(notes, "keep me"));
        if (kind == "file")
            QVERIFY(QFile::copy(notes, path));
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(QFile::link(notes, path));

        QProcess host;
        host.start(hostProgram(), {"--socket", path, "--journal", journal(), "--offscreen"});
        QVERIFY2(host.waitForFinished(10000), "the host listens in place of the file");
        QCOMPARE(host.exitCode(), 1);
        QVERIFY(host.readAllStandardError().contains(QFile::encodeName(path)));
        if (kind == "file")
            QCOMPARE(ReadAll(path, "<gone>"), QByteArray("keep me"));
        else if (kind == "folder")
            QVERIFY(QFileInfo(path).isDir());
        else
            QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(ReadAll(notes, "<gone>"), QByteArray("keep me"));
    }

    void documentsBelongToTheConnectionThatOpenedThem()
    {
        const QString drawing = runtime_.path() + "/scoped.dwg";
        QVERIFY(WriteFile(drawing, "stand-in drawing"));
        StandInHostConnector connector(options());
        QVERIFY(connector.createObject("Autocad.Application"));
        RawClient owner(connector.socketPath());
        RawClient other(connector.socketPath());
        QVERIFY(owner.connected() && other.connected());
        const QByteArray opened = owner.call("OPEN false " + QFile::encodeName(drawing));
        QVERIFY2(opened.startsWith("OK "), opened.constData());
        const QByteArray id = opened.mid(3);

        QCOMPARE(other.call("COMMAND " + id + " (command \"_.quit\")"), QByteArray("ERR No such document"));
        QCOMPARE(owner.call("COMMAND " + id + " (load \"3dstretch\")"), QByteArray("OK"));
    }

    void onlyPlainFilesOfBoundedSizeAreOpened()
    {
        StandInHostConnector connector(options());
        QVERIFY(connector.createObject("Autocad.Application"));
        RawClient client(connector.socketPath());
        const QByteArray fifo = QFile::encodeName(runtime_.path() + "/fifo.dwg");
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        QFile huge(runtime_.path() + "/huge.dwg");  // sparse: no disc space used
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(1) << 30));
        huge.close();
        QVERIFY(WriteFile(runtime_.path() + "/plain.dwg", "stand-in drawing"));

        for (const QByteArray& refused : {fifo, QFile::encodeName(runtime_.path()),
                                          QFile::encodeName(huge.fileName()),
                                          QFile::encodeName(runtime_.path() + "/missing.dwg")}) {
            const QByteArray reply = client.call("OPEN false " + refused);
            QVERIFY2(reply.startsWith("ERR "), (refused + ": " + reply).constData());
        }
        QVERIFY(client.call("HELLO").startsWith("OK talvex-cadhost "));
        QVERIFY(client.call("OPEN true " + QFile::encodeName(runtime_.path() + "/plain.dwg")).startsWith("OK "));
    }

    void onlyTheDocumentedQuitEndsTheHost()
    {
        StandInHostConnector connector(options());
        QVERIFY(connector.createObject("Autocad.Application"));
        RawClient client(connector.socketPath());
        for (const QByteArray& bad : {QByteArray("QUIT now"), QByteArray("quit"), QByteArray("QUIT\r"),
                                      QByteArray(" QUIT")})
            QCOMPARE(client.call(bad), QByteArray("ERR unknown request"));
        QVERIFY(client.call("HELLO").startsWith("OK talvex-cadhost "));
        QVERIFY(client.call("QUIT").startsWith("OK "));
    }

    // Run directly, so that its exit status can be read: clients still
    // connected when it closes must not bring it down on the way out.
    void quitEndsTheHostCleanly()
    {
        const QString socket = runtime_.path() + "/direct.socket";
        const QString drawing = runtime_.path() + "/direct.dwg";
        QVERIFY(WriteFile(drawing, "stand-in drawing"));
        QProcess host;
        host.start(hostProgram(), {"--socket", socket, "--journal", journal(), "--offscreen"});
        QVERIFY(host.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket), 10000);
        RawClient user(socket);
        RawClient tool(socket);
        QVERIFY(user.call("OPEN false " + QFile::encodeName(drawing)).startsWith("OK "));
        QVERIFY(tool.call("QUIT").startsWith("OK "));
        QVERIFY(host.waitForFinished(5000));
        QCOMPARE(host.exitStatus(), QProcess::NormalExit);
        QCOMPARE(host.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(socket));
    }

    void floodIsServedInTurnsAndJournaledWhole()
    {
        constexpr int kLines = 10000;
        StandInHostConnector connector(options());
        QVERIFY(connector.createObject("Autocad.Application"));
        RawClient flood(connector.socketPath());
        RawClient probe(connector.socketPath());
        QVERIFY(flood.connected() && probe.connected());
        flood.send(QByteArray("FLOOD\n").repeated(kLines));
        QVERIFY(probe.call("HELLO").startsWith("OK talvex-cadhost "));
        for (int i = 0; i < kLines; ++i)
            QCOMPARE(flood.reply(), QByteArray("ERR unknown request"));

        const QStringList lines = JournalLines(journal());
        QCOMPARE(lines.count("invalid FLOOD"), kLines);
        // The probe's attach (the second one) came before the flood was through.
        const qsizetype probeAttach = lines.indexOf("attach", lines.indexOf("attach") + 1);
        QVERIFY(probeAttach > 0);
        QVERIFY2(probeAttach < lines.lastIndexOf("invalid FLOOD"), "the probe waited for the whole flood");
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

    // A host that starts slowly or turns calls away, as AutoCAD does, is
    // waited for within the command's bound, and the event loop runs meanwhile.
    void slowOrBusyHostIsWaitedFor_data()
    {
        QTest::addColumn<QStringList>("habits");
        QTest::addColumn<int>("boundMs");
        QTest::addColumn<QString>("message");  // empty: none, the host was driven
        QTest::addColumn<bool>("driven");      // the drawing opened and both commands sent
        QTest::addColumn<bool>("turnedAway");  // some calls were answered BUSY
        QTest::newRow("cold start") << QStringList{"--start-delay", "1", "--busy-seconds", "1"}
                                    << 5000 << "" << true << true;
        QTest::newRow("busy after open") << QStringList{"--busy-after-open", "1"} << 5000 << ""
                                         << true << true;
        QTest::newRow("never ready") << QStringList{"--never-ready"} << 2000 << "" << false << true;
        QTest::newRow("start longer than the bound") << QStringList{"--start-delay", "2"} << 1000
                                                     << "Cannot find AutoCAD" << false << false;
    }

    void slowOrBusyHostIsWaitedFor()
    {
        QFETCH(QStringList, habits);
        QFETCH(int, boundMs);
        QFETCH(QString, message);
        QFETCH(bool, driven);
        QFETCH(bool, turnedAway);
        QTemporaryDir installRoot;
        QVERIFY(QDir(installRoot.path()).mkdir("Files"));
        WriteFile(installRoot.path() + "/Files/TAA32L.dwg", "drawing TAA32L");
        WriteFile(installRoot.path() + "/Files/3dstretch.VLX", "lisp");
        const QString work = runtime_.path() + "/work";

        StandInHostOptions host = options();
        host.hostArguments += habits;
        host.wait = HostWait(std::chrono::milliseconds(boundMs));
        fakes::CallLog log;
        NativeFileSystem files(work);
        StandInHostConnector connector(host);
        fakes::RecordingDiscTray tray(log);
        fakes::RecordingMessageBoxes boxes(log);
        GenerationServices services{files, connector, tray, boxes};
        GenerationRequest request;
        request.installRoot = installRoot.path();
        request.typeCode = "TAA";
        request.boreCode = "32";
        request.firstStroke = "150";
        request.strokeEntryAllowed = true;
        request.lookupDrawingFile = [] { return base::Result<QString>(QStringLiteral("TAA32L.dwg")); };

        int ticks = 0;
        QTimer ticker;
        ticker.setInterval(50);
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(RunGeneration(request, services),
                 message.isEmpty() ? GenerationOutcome::HostDriven : GenerationOutcome::HostNotFound);
        const qint64 took = clock.elapsed();
        qInfo("the command took %lld ms", took);
        QStringList shown;
        for (const messages::MessageBoxRequest& box : boxes.shown)
            shown << box.text;
        QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY2(took < boundMs + 1000, qPrintable(QString::number(took)));
        QVERIFY2(ticks > 0, "the event loop stood still while the command waited");

        QStringList calls;
        int busy = 0;
        for (const QString& line : JournalLines(journal())) {
            if (line.startsWith("busy "))
                ++busy;
            else if (!line.startsWith("start ") && line != "attach")
                calls << line;
        }
        QCOMPARE(busy > 0, turnedAway);
        const QStringList drivenCalls = {"visible true", "open readonly=false " + work + "/TAA32L.dwg",
                                         "command (load \"3dstretch\")\\r",
                                         "command (3dstretch \"taa\" 32 150 0)\\r"};
        QCOMPARE(calls, driven ? drivenCalls : QStringList());
        // Up, so that cleanup() can end it.
        QTRY_VERIFY_WITH_TIMEOUT(StandInHostConnector(options()).getActiveObject("AutoCAD.Application"),
                                 5000);
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
    QString journal() const
    {
        return runtime_.path() + "/" + QTest::currentTestFunction() + QTest::currentDataTag()
            + ".journal";
    }
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
