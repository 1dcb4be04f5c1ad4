// SPDX-License-Identifier: MIT
// The whole main road in the real window: checks, staging, the CAD host.
#include "window_fixture.h"
#include "generation/host_wait.h"
#include <QApplication>
#include <QFile>
#include <QTest>

using testing::WindowFixture;

namespace {

const QString CopyFailed = QStringLiteral("無法複製檔案\r\nCan't Copy The Dwg File");

// The opens and commands the host was given (or refused).
QStringList Commands(const QStringList& journal)
{
    QStringList commands;
    for (const QString& line : journal)
        if (line.startsWith(QLatin1String("command ")) || line.startsWith(QLatin1String("open "))
            || line.startsWith(QLatin1String("refuse ")))
            commands << line;
    return commands;
}

// The journal without fake_autocad's "start running": on Windows the host
// runs before the test begins, as the user started it. Any other line,
// the stand-in host's own start included, is the program's doing.
QStringList Calls(const QStringList& journal)
{
    QStringList calls;
    for (const QString& line : journal)
        if (line != QLatin1String("start running"))
            calls << line;
    return calls;
}

// A host that keeps the command waiting: each attach pauses as a busy host
// does, and while it waits, the user presses generate again, types in the
// Series list and clicks the close box; a timer repaints the window.
class WaitingHost final : public generation::CadHostConnector {
public:
    void beginCommand() override { ++commands; }
    base::Result<std::unique_ptr<generation::CadApplication>> getActiveObject(const QString&) override
    {
        ++attaches;
        app::frmMain& window_ = *window;
        window_.installEventFilter(&paints);
        for (int round = 0; round < 5; ++round) {
            if (round == 1) {
                const int series = window_.cboItem->currentIndex();
                QTest::mouseClick(window_.Command2, Qt::LeftButton);
                QTest::keyClick(window_.cboItem, Qt::Key_Down);
                window_.close();
                seriesKept = window_.cboItem->currentIndex() == series;
                window_.update();
            }
            waitCursor = waitCursor && QApplication::overrideCursor() != nullptr
                && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            generation::PumpEvents(std::chrono::milliseconds(40));
        }
        window_.removeEventFilter(&paints);
        return base::Fail(QStringLiteral("busy"));
    }
    base::Result<std::unique_ptr<generation::CadApplication>> createObject(const QString&) override
    {
        return base::Fail(QStringLiteral("not installed"));
    }

    struct PaintCounter final : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::Paint;
            return false;
        }
        int count = 0;
    } paints;
    int commands = 0;
    int attaches = 0;
    bool seriesKept = false;
    bool waitCursor = true;
    app::frmMain* window = nullptr;
};

} // namespace

class WindowGenerateTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<WindowFixture> fixture;
    app::frmMain* w = nullptr;

    void prepare(bool withFiles = true)
    {
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->copyCatalogue());
        if (withFiles) {
            for (const char* name : {"AXN50.dwg", "UMO_D20.dwg", "SLG_NF01.dwg", "YQOH_K20.dwg"})
                QVERIFY(fixture->writeFile(QStringLiteral("Files/") + name, QByteArray("stand-in ") + name));
            QVERIFY(fixture->writeFile("Files/3dstretch.VLX", "stand-in LISP application"));
        }
    }

    void start(bool cadHostInstalled = true)
    {
        if (cadHostInstalled) {
            const base::Status running = fixture->runCadHost();
            QVERIFY2(running, qPrintable(running.error()));
        } else {
            fixture->withoutCadHost();
        }
        QVERIFY(fixture->start());
        fixture->messages.shown.clear();
        w = &fixture->window();
    }

    // Chooses AXN bore 50 with the given stroke and presses the generate button.
    void generateAxn50(const QString& stroke)
    {
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        WindowFixture::enterStroke(w->txtData, stroke);
        generate();
    }

    void generate()
    {
        fixture->messages.shown.clear();
        QTest::mouseClick(w->Command2, Qt::LeftButton);
    }

    QString staged(const QString& name) const { return fixture->staged(name); }
    QString open(const QString& name) const { return "open readonly=false " + staged(name); }
    // The host's lines for one driven run: shown, the drawing opened, the
    // LISP application loaded, the stretch command.
    QStringList driven(const QString& drawing, const QString& stretch) const
    {
        QStringList lines{"visible true", open(drawing), "command (load \"3dstretch\")\\r",
                          "command " + stretch + "\\r"};
#ifndef Q_OS_WIN
        lines.prepend("attach");  // the stand-in host notes each client
#endif
        return lines;
    }

private slots:
    void cleanup() { fixture.reset(); }

    void nothingChosenTouchesNoFile()
    {
        prepare();
        start();
        generate();
        QCOMPARE(fixture->messages.shown.size(), 1);
        QCOMPARE(fixture->messages.shown.first().text, QStringLiteral("請選擇機種。\r\nPlease select Series"));
        QVERIFY(QDir(fixture->workFolder()).isEmpty());
        QVERIFY(Calls(fixture->journal()).isEmpty());
    }

    void strokeOutOfRangeStagesNothing()
    {
        prepare();
        start();
        generateAxn50("501");
        QCOMPARE(fixture->messages.shown.size(), 1);
        QCOMPARE(fixture->messages.shown.first().text,
                 QStringLiteral("您所輸入的行程不符合範圍條件值\r\nInput Error"));
        QVERIFY(QDir(fixture->workFolder()).isEmpty());
        QVERIFY(Calls(fixture->journal()).isEmpty());
    }

    void missingDrawingFolderAsksForTheRightDisc()
    {
        prepare(false);
        QDir(fixture->workFolder()).removeRecursively();
        start();
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        WindowFixture::enterStroke(w->txtData, "100");
        QVERIFY(fixture->writeFile("work/Acaddoc.vlx", "left by an earlier run"));
        QDir(fixture->workFolder()).removeRecursively();  // and the work folder is gone again
        generate();
        QCOMPARE(fixture->messages.shown.size(), 1);
        const auto& message = fixture->messages.shown.first();
        QCOMPARE(message.text, QStringLiteral("光碟片有誤CD-ROM ERROR"));
        QCOMPARE(message.title, QStringLiteral("錯誤"));
        QCOMPARE(message.icon, messages::MessageBoxRequest::Icon::Critical);
        QCOMPARE(fixture->tray.doorOpened, 1);
        QVERIFY(QDir(fixture->workFolder()).exists());
        QVERIFY(Calls(fixture->journal()).isEmpty());

        // The work folder is prepared before the drive check: an old Acaddoc.vlx goes.
        QVERIFY(fixture->writeFile("work/Acaddoc.vlx", "left by an earlier run"));
        generate();
        QVERIFY(!QFile::exists(staged("Acaddoc.vlx")));
        QCOMPARE(fixture->tray.doorOpened, 2);
    }

    void stagedDrawingIsStretchedInTheHost()
    {
        prepare();
        QVERIFY(fixture->writeFile("work/Acaddoc.vlx", "left by an earlier run"));
        QFile::setPermissions(fixture->rootPath("Files/AXN50.dwg"), QFile::ReadOwner | QFile::ReadGroup);
        start();
        generateAxn50("250");
        QVERIFY(fixture->messages.shown.isEmpty());
        QVERIFY(!QFile::exists(staged("Acaddoc.vlx")));
        QVERIFY(QFileInfo(staged("AXN50.dwg")).isWritable());  // from a read-only source
        QVERIFY(QFile::exists(staged("3dstretch.VLX")));
        const QStringList journal = fixture->journal();
        QVERIFY(journal.value(0).startsWith("start "));
        QCOMPARE(journal.mid(1), driven("AXN50.dwg", "(3dstretch \"axn\" 50 250 0)"));

        // A second click overwrites the copies and attaches to the running host.
        WindowFixture::enterStroke(w->txtData, "300");
        generate();
        QVERIFY(fixture->messages.shown.isEmpty());
        const QStringList again = fixture->journal();
        QCOMPARE(again.filter(QRegularExpression("^start ")).size(), 1);
        QCOMPARE(again.mid(journal.size()), driven("AXN50.dwg", "(3dstretch \"axn\" 50 300 0)"));
    }

    void secondStrokeAndFixedStrokesInTheCommand()
    {
        prepare();
        start();
        QVERIFY(fixture->choose("UMO", "UMO_D", "20"));
        WindowFixture::enterStroke(w->txtData, "120");
        WindowFixture::enterStroke(w->txtData1, "80");
        generate();
        // The locked "0" lies in no range, so the Type + bore name is staged.
        QVERIFY(fixture->choose("HMN", "SLG_N", "F01"));
        generate();
        QVERIFY2(fixture->messages.shown.isEmpty(),
                 qPrintable(fixture->messages.shown.value(0).text));
        QCOMPARE(Commands(fixture->journal()),
                 (QStringList{open("UMO_D20.dwg"), "command (load \"3dstretch\")\\r",
                              "command (3dstretch \"umo_d\" 20 120 80)\\r", open("SLG_NF01.dwg"),
                              "command (load \"3dstretch\")\\r", "command (3dstretch \"slg_n\" F01 0 0)\\r"}));
    }

    void rangeWithoutAFileNameStagesTheFallbackDrawing()
    {
        prepare();
        start();
        QVERIFY(fixture->choose("YQ", "YQOH_K", "20"));
        WindowFixture::enterStroke(w->txtData, "100");
        generate();
        QVERIFY(fixture->messages.shown.isEmpty());
        QVERIFY(QFile::exists(staged("YQOH_K20.dwg")));
        QCOMPARE(Commands(fixture->journal()).value(0), open("YQOH_K20.dwg"));
    }

    void missingLispApplicationIsToldAndTheHostIsStillDriven()
    {
        prepare();
        QFile::remove(fixture->rootPath("Files/3dstretch.VLX"));
        start();
        generateAxn50("100");
        QCOMPARE(fixture->messages.shown.size(), 1);
        const auto& message = fixture->messages.shown.first();
        QCOMPARE(message.text, CopyFailed);
        QCOMPARE(message.title, QStringLiteral("錯誤"));
        QCOMPARE(message.icon, messages::MessageBoxRequest::Icon::Critical);
        QCOMPARE(Commands(fixture->journal()),
                 (QStringList{open("AXN50.dwg"), "command (load \"3dstretch\")\\r",
                              "command (3dstretch \"axn\" 50 100 0)\\r"}));
    }

    void missingDrawingIsToldAndTheHostTriesTheStagedName()
    {
        prepare();
        QFile::remove(fixture->rootPath("Files/AXN50.dwg"));
        start();
        generateAxn50("100");
        QCOMPARE(fixture->messages.shown.size(), 1);
        QCOMPARE(fixture->messages.shown.first().text, CopyFailed);
        // Nothing of that name was staged before, so the open fails in silence.
#ifdef Q_OS_WIN
        const QString tried = "refuse Open: Cannot open the drawing " + staged("AXN50.dwg");
#else
        const QString tried = open("AXN50.dwg");
#endif
        QCOMPARE(Commands(fixture->journal()), QStringList{tried});
    }

    void noCadHostAtAll()
    {
        prepare();
        start(false);
        generateAxn50("100");
        QCOMPARE(fixture->messages.shown.size(), 1);
        const auto& message = fixture->messages.shown.first();
        QCOMPARE(message.text, QStringLiteral("Cannot find AutoCAD"));
        QCOMPARE(message.title, QString());
        QCOMPARE(message.icon, messages::MessageBoxRequest::Icon::None);
        QVERIFY(QFile::exists(staged("AXN50.dwg")));  // staged before the host is sought
        QVERIFY(QFile::exists(staged("3dstretch.VLX")));
    }

    // While the command waits for the host, the window paints and shows the
    // wait cursor, and no input reaches it: no second command, no change of
    // selection, no closing; the message at the end takes input again.
    void waitForTheHostPaintsAndTakesNoInput()
    {
        prepare();
        WaitingHost host;
        fixture->withoutCadHost();
        fixture->environment.cadHost = &host;
        QVERIFY(fixture->start());
        w = host.window = &fixture->window();
        QVERIFY(fixture->choose("AX", "AXN", "50"));
        WindowFixture::enterStroke(w->txtData, "100");
        generate();
        QCOMPARE(host.commands, 1);
        QCOMPARE(host.attaches, 1);
        QVERIFY(host.seriesKept);
        QVERIFY(host.paints.count > 0);
        QVERIFY(host.waitCursor);
        QVERIFY(w->isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(fixture->messages.shown.size(), 1);
        QCOMPARE(fixture->messages.shown.first().text, QStringLiteral("Cannot find AutoCAD"));
        // After the command the window takes input as before.
        QTest::keyClick(w->cboItem, Qt::Key_Down);
        QVERIFY(w->close());
    }

    void utilityButtonsHandTheirPathsToTheShell()
    {
        prepare();
        start();
        QTest::mouseClick(w->cmd_Accessories, Qt::LeftButton);
        QTest::mouseClick(w->Cmd_clear, Qt::LeftButton);
        QTest::mouseClick(w->Cmd_clear, Qt::LeftButton);
        const QString root = QDir::toNativeSeparators(fixture->root());
        QCOMPARE(fixture->shell.opened,
                 (QStringList{root + QDir::toNativeSeparators("/Files/Accessories"),
                              root + QDir::toNativeSeparators("/Files/TEMP CLEAR.bat"),
                              root + QDir::toNativeSeparators("/Files/TEMP CLEAR.bat")}));
        QVERIFY(fixture->messages.shown.isEmpty());
    }
};

QTEST_MAIN(WindowGenerateTest)
#include "test_window_generate.moc"
