// SPDX-License-Identifier: MIT
// The generate command's second half through the program's own COM backend,
// against fake_autocad, a strict stand-in for AutoCAD's automation server:
// nothing registered, registered but not running, running, busy. The journal
// of the server is the proof of what crossed the process boundary.
#include "fake_autocad_process.h"
#include "generation_fakes.h"
#include "test_files.h"
#include "generation/native_file_system.h"
#include "generation/run_generation.h"
#include "generation/win/com_cad_host.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace generation;
using testing::FakeAutoCad;

namespace {

const QString kLoadLine = QStringLiteral("SendCommand (load \"3dstretch\")\\r");
const QString kStretchLine = QStringLiteral("SendCommand (3dstretch \"taa\" 32 150 0)\\r");

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// What the host does for one run, between the start of the host and its end.
QStringList DrivenLines(const QString& drawingPath)
{
    return {
        QStringLiteral("Visible true"),
        QStringLiteral("get Documents"),
        QStringLiteral("create documents"),
        QStringLiteral("Open ") + drawingPath + QStringLiteral(" false"),
        QStringLiteral("create document"),
        QStringLiteral("release documents"),
        kLoadLine,
        kStretchLine,
        QStringLiteral("release document"),
    };
}

// One generate run on a real install root and work folder, with a host
// reached through COM.
struct Run {
    fakes::CallLog log;
    fakes::RecordingMessageBoxes boxes{log};
    fakes::RecordingDiscTray tray{log};
    NativeFileSystem files;
    ComCadHostConnector host;
    GenerationRequest request;

    Run(const QString& installRoot, const QString& workFolder, const QString& drawing,
        std::shared_ptr<HostWait> wait = std::make_shared<HostWait>())
        : files(Native(workFolder)), host(std::move(wait))
    {
        request.installRoot = Native(installRoot);
        request.typeCode = QStringLiteral("TAA");
        request.boreCode = QStringLiteral("32");
        request.firstStroke = QStringLiteral("150");
        request.secondStroke = QStringLiteral("0");
        request.strokeEntryAllowed = true;
        request.lookupDrawingFile = [drawing] { return base::Result<QString>(drawing); };
    }
    GenerationOutcome operator()()
    {
        GenerationServices services{files, host, tray, boxes};
        return RunGeneration(request, services);
    }
};

// The journal without the calls a busy host turned away.
QStringList Served(const QStringList& journal)
{
    QStringList served;
    for (const QString& line : journal)
        if (!line.startsWith(QLatin1String("busy ")) && !line.startsWith(QLatin1String("reject ")))
            served << line;
    return served;
}

// A wait with a short bound that counts its pauses; each pause runs the
// event loop as the program's does.
struct CountedWait {
    int pauses = 0;
    std::shared_ptr<HostWait> wait;
    explicit CountedWait(std::chrono::milliseconds bound)
        : wait(std::make_shared<HostWait>(bound, kHostRetryInterval, [this](std::chrono::milliseconds pause) {
              ++pauses;
              PumpEvents(pause);
          }))
    {
    }
};

} // namespace

class ComCadHostTest : public QObject {
    Q_OBJECT

    // As late as COM activation under Wine still waits for the class.
    static constexpr int kColdStartDelaySeconds = 20;

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(FakeAutoCad::program()), qPrintable(FakeAutoCad::program()));
        QVERIFY(scratch_.isValid());
        // A machine without AutoCAD; each test leaves it so (~FakeAutoCad).
        const base::Status clean = FakeAutoCad(QString()).unregisterServer();
        QVERIFY2(clean, qPrintable(clean.error()));
    }

    void init()
    {
        ++runNumber_;
        const QString base = scratch_.filePath(QString::number(runNumber_));
        installRoot_ = base + QStringLiteral("/cd");
        workFolder_ = base + QStringLiteral("/work");
        journalPath_ = Native(base + QStringLiteral("/journal.txt"));
        QVERIFY(QDir().mkpath(installRoot_ + QStringLiteral("/Files")));
        QVERIFY(QDir().mkpath(workFolder_));
        stageSource(QStringLiteral("TAA32L.dwg"));
        stageSource(QStringLiteral("3dstretch.VLX"));
        fake_ = std::make_unique<FakeAutoCad>(journalPath_);
    }

    void cleanup() { fake_.reset(); }

    void nothingRegisteredCannotFindAutoCad()
    {
        Run run(installRoot_, workFolder_, QStringLiteral("TAA32L.dwg"));
        QCOMPARE(run(), GenerationOutcome::HostNotFound);
        QCOMPARE(run.boxes.shown.size(), size_t(1));
        QCOMPARE(run.boxes.shown[0].text, QStringLiteral("Cannot find AutoCAD"));
        QVERIFY(QFile::exists(workFolder_ + QStringLiteral("/TAA32L.dwg")));
        QVERIFY(!QFile::exists(journalPath_));

        // Both failures say which call failed.
        ComCadHostConnector host;
        const auto running = host.getActiveObject(QStringLiteral("AutoCAD.Application"));
        QVERIFY(!running);
        QVERIFY2(running.error().startsWith(QStringLiteral("No running AutoCAD.Application: ")),
                 qPrintable(running.error()));
        const auto created = host.createObject(QStringLiteral("Autocad.Application"));
        QVERIFY(!created);
        QVERIFY2(created.error().startsWith(QStringLiteral("Cannot start Autocad.Application: ")),
                 qPrintable(created.error()));
    }

    void registeredButNotRunningIsStarted()
    {
        const base::Status registered = fake_->registerServer();
        QVERIFY2(registered, qPrintable(registered.error()));
        Run run(installRoot_, workFolder_, QStringLiteral("TAA32L.dwg"));

        QCOMPARE(run(), GenerationOutcome::HostDriven);
        QCOMPARE(run.boxes.shown.size(), size_t(0));
        // The server ends when the program has released everything it held.
        const base::Status ended = fake_->waitForServerEnd();
        QVERIFY2(ended, qPrintable(ended.error()));
        const QStringList expected =
            QStringList{QStringLiteral("start embedding"), QStringLiteral("create application")}
            + DrivenLines(Native(workFolder_ + QStringLiteral("/TAA32L.dwg")))
            + QStringList{QStringLiteral("release application"), QStringLiteral("exit")};
        QCOMPARE(fake_->journal(), expected);
    }

    void runningHostIsAttachedAndNoSecondStarted()
    {
        startHost();
        Run run(installRoot_, workFolder_, QStringLiteral("TAA32L.dwg"));

        QCOMPARE(run(), GenerationOutcome::HostDriven);
        QCOMPARE(run.boxes.shown.size(), size_t(0));
        const base::Status stopped = fake_->stopRunning();
        QVERIFY2(stopped, qPrintable(stopped.error()));
        // "release application" before "exit": the program let go of the host.
        const QStringList expected =
            QStringList{QStringLiteral("start running"), QStringLiteral("create application")}
            + DrivenLines(Native(workFolder_ + QStringLiteral("/TAA32L.dwg")))
            + QStringList{QStringLiteral("release application"), QStringLiteral("exit")};
        QCOMPARE(fake_->journal(), expected);
    }

    void chinesePathCrossesIntact()
    {
        const QString drawing = QStringLiteral("氣壓缸TAA32L.dwg");
        workFolder_ += QStringLiteral("/暫存 工作");
        QVERIFY(QDir().mkpath(workFolder_));
        stageSource(drawing);
        const base::Status registered = fake_->registerServer();
        QVERIFY2(registered, qPrintable(registered.error()));
        Run run(installRoot_, workFolder_, drawing);

        QCOMPARE(run(), GenerationOutcome::HostDriven);
        const base::Status ended = fake_->waitForServerEnd();
        QVERIFY2(ended, qPrintable(ended.error()));
        // The host found the file under the name it was given.
        const QString open =
            QStringLiteral("Open ") + Native(workFolder_ + QLatin1Char('/') + drawing)
            + QStringLiteral(" false");
        QVERIFY2(fake_->journal().contains(open), qPrintable(fake_->journal().join('\n')));
    }

    void busyHostIsWaitedFor_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("journalWord");
        QTest::newRow("retry later") << QStringLiteral("retry-later") << QStringLiteral("busy");
        QTest::newRow("rejected") << QStringLiteral("rejected") << QStringLiteral("reject");
    }

    void busyHostIsWaitedFor()
    {
        QFETCH(QString, answer);
        QFETCH(QString, journalWord);
        // The name lookup of Visible goes through; the put itself is turned
        // away twice, then served.
        startHost({QStringLiteral("/busy"), QStringLiteral("2"), QStringLiteral("/busy-after"),
                   QStringLiteral("1"), QStringLiteral("/busy-answer"), answer});
        Run run(installRoot_, workFolder_, QStringLiteral("TAA32L.dwg"));

        QCOMPARE(run(), GenerationOutcome::HostDriven);
        const base::Status stopped = fake_->stopRunning();
        QVERIFY2(stopped, qPrintable(stopped.error()));
        const QString refused = journalWord + QStringLiteral(" Invoke");
        const QStringList expected =
            QStringList{QStringLiteral("start running"), QStringLiteral("create application"),
                        refused, refused}
            + DrivenLines(Native(workFolder_ + QStringLiteral("/TAA32L.dwg")))
            + QStringList{QStringLiteral("release application"), QStringLiteral("exit")};
        QCOMPARE(fake_->journal(), expected);
    }

    void hostBusyBeyondTheWaitFailsWithTheReason()
    {
        startHost({QStringLiteral("/busy"), QStringLiteral("100"), QStringLiteral("/busy-after"),
                   QStringLiteral("1")});
        CountedWait counted(std::chrono::milliseconds(600));
        ComCadHostConnector host(counted.wait);
        {
            auto application = host.getActiveObject(QStringLiteral("AutoCAD.Application"));
            QVERIFY2(application, qPrintable(application.error()));
            const base::Status shown = (*application)->setVisible(true);
            QVERIFY(!shown);
            QVERIFY2(shown.error().startsWith(QStringLiteral("Visible: ")),
                     qPrintable(shown.error()));
            QVERIFY2(shown.error().contains(QStringLiteral("0x8001010A")),
                     qPrintable(shown.error()));
        }
        const base::Status stopped = fake_->stopRunning();
        QVERIFY2(stopped, qPrintable(stopped.error()));
        // Tried again after each pause until the bound, then given up.
        const QStringList journal = fake_->journal();
        QCOMPARE(journal.count(QStringLiteral("busy Invoke")), counted.pauses + 1);
        QVERIFY2(counted.pauses >= 2, qPrintable(QString::number(counted.pauses)));
        QCOMPARE(Served(journal),
                 (QStringList{QStringLiteral("start running"), QStringLiteral("create application"),
                              QStringLiteral("release application"), QStringLiteral("exit")}));
    }

    // The first generate of the day: no host running, and the one COM starts
    // registers its class late, then turns calls away for 30 s while it
    // loads. Everything arrives, within the command's bound.
    void coldStartIsWaitedFor()
    {
        const base::Status registered = fake_->registerServer(
            {QStringLiteral("/start-delay"), QString::number(kColdStartDelaySeconds),
             QStringLiteral("/busy-seconds"), QStringLiteral("30")});
        QVERIFY2(registered, qPrintable(registered.error()));
        Run run(installRoot_, workFolder_, QStringLiteral("TAA32L.dwg"));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(run(), GenerationOutcome::HostDriven);
        const qint64 took = clock.elapsed();
        const base::Status ended = fake_->waitForServerEnd();
        QVERIFY2(ended, qPrintable(ended.error()));
        qInfo("cold start: the command took %lld ms", took);
        const QStringList expected =
            QStringList{QStringLiteral("start embedding"), QStringLiteral("create application")}
            + DrivenLines(Native(workFolder_ + QStringLiteral("/TAA32L.dwg")))
            + QStringList{QStringLiteral("release application"), QStringLiteral("exit")};
        QCOMPARE(Served(fake_->journal()), expected);
        QVERIFY(took < std::chrono::milliseconds(kHostWaitBound).count());
    }

    // A host that never becomes ready keeps the command no longer than the
    // bound and a second, and the event loop ran meanwhile.
    void neverReadyHostEndsWithinTheBound()
    {
        startHost({QStringLiteral("/never-ready")});
        CountedWait counted(std::chrono::seconds(3));
        Run run(installRoot_, workFolder_, QStringLiteral("TAA32L.dwg"), counted.wait);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(run(), GenerationOutcome::HostDriven);
        const qint64 took = clock.elapsed();
        QVERIFY2(took >= 3000 && took < 4000, qPrintable(QString::number(took)));
        QVERIFY2(counted.pauses >= 10, qPrintable(QString::number(counted.pauses)));
        QCOMPARE(run.boxes.shown.size(), size_t(0));  // steps 3 to 6 end in silence
        const base::Status stopped = fake_->stopRunning();
        QVERIFY2(stopped, qPrintable(stopped.error()));
        QVERIFY(!Served(fake_->journal()).contains(QStringLiteral("Visible true")));
    }

    // AutoCAD keeps the drawings it opened, not shared for writing: the next
    // generate of the same drawing cannot copy it, says so once, and still
    // drives the host, which opens the copy it holds.
    void drawingHeldByTheHostIsToldAndTheHostStillDriven()
    {
        startHost({QStringLiteral("/hold-drawings")});
        const QString drawing = Native(workFolder_ + QStringLiteral("/TAA32L.dwg"));
        Run first(installRoot_, workFolder_, QStringLiteral("TAA32L.dwg"));
        QCOMPARE(first(), GenerationOutcome::HostDriven);
        QCOMPARE(first.boxes.shown.size(), size_t(0));
        Run second(installRoot_, workFolder_, QStringLiteral("TAA32L.dwg"));
        QCOMPARE(second(), GenerationOutcome::HostDriven);
        QCOMPARE(second.boxes.shown.size(), size_t(1));
        QCOMPARE(second.boxes.shown[0].text, QStringLiteral("無法複製檔案\r\nCan't Copy The Dwg File"));
        const base::Status stopped = fake_->stopRunning();
        QVERIFY2(stopped, qPrintable(stopped.error()));
        const QStringList journal = fake_->journal();
        QCOMPARE(journal.count(QStringLiteral("Open ") + drawing + QStringLiteral(" false")), 2);
        QCOMPARE(journal.count(kLoadLine), 2);
        QCOMPARE(journal.count(kStretchLine), 2);
    }

    void refusedOpenCarriesTheHostsDescription()
    {
        startHost();
        const QString missing = Native(workFolder_ + QStringLiteral("/missing.dwg"));
        ComCadHostConnector host;
        {
            auto application = host.getActiveObject(QStringLiteral("AutoCAD.Application"));
            QVERIFY2(application, qPrintable(application.error()));
            const auto document = (*application)->openDocument(missing, false);
            QVERIFY(!document);
            // The words of the host's EXCEPINFO, not a generic code.
            QCOMPARE(document.error(), QStringLiteral("Open ") + missing
                                           + QStringLiteral(": Cannot open the drawing ")
                                           + missing);
        }
        const base::Status stopped = fake_->stopRunning();
        QVERIFY2(stopped, qPrintable(stopped.error()));
        QVERIFY(fake_->journal().contains(QStringLiteral("refuse Open: Cannot open the drawing ")
                                          + missing));
        QCOMPARE(fake_->journal().last(), QStringLiteral("exit"));
    }

private:
    // AutoCAD installed and started by the user. Installed means registered:
    // the running instance is found through the ProgID, and a create call
    // would start a second server, whose "start embedding" would show in the
    // same journal.
    void startHost(const QStringList& serverOptions = {})
    {
        const base::Status registered = fake_->registerServer();
        QVERIFY2(registered, qPrintable(registered.error()));
        const base::Status started = fake_->startRunning(serverOptions);
        QVERIFY2(started, qPrintable(started.error()));
    }

    void stageSource(const QString& name)
    {
        QVERIFY(testing::WriteFile(installRoot_ + QStringLiteral("/Files/") + name, "drawing"));
    }

    QTemporaryDir scratch_;
    int runNumber_ = 0;
    QString installRoot_;
    QString workFolder_;
    QString journalPath_;
    std::unique_ptr<FakeAutoCad> fake_;
};

QTEST_GUILESS_MAIN(ComCadHostTest)
#include "test_com_cad_host.moc"
