// SPDX-License-Identifier: MIT
// What the demo root stages: the drawing names taken from the catalogue, the
// clean-up scripts that remove exactly those names, and the file writer.
#include "big5.h"
#include "clean_scripts.h"
#include "drawing_names.h"
#include "output_tree.h"
#include "catalogue_model.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace demo;

namespace {

StrokeRange Range(const char* min, const char* max, bool first, std::optional<QString> name)
{
    StrokeRange range;
    range.minText = QString::fromLatin1(min);
    range.maxText = QString::fromLatin1(max);
    range.firstStroke = first;
    range.fileName = std::move(name);
    return range;
}

CatalogueModel SampleModel()
{
    TypeEntry two;
    two.code = QStringLiteral("TWO");
    two.secondStroke = true;
    two.bores = {
        {QStringLiteral("20"),
         {Range("5", "100", true, QStringLiteral("TWO20S.dwg")),
          Range("101", "600", true, QStringLiteral("TWO20L.dwg")),
          Range("5", "150", false, QStringLiteral("TWO20B.dwg"))}},
        {QStringLiteral("25"),
         {Range("5", "100", true, std::nullopt), Range("101", "200", true, QStringLiteral("   "))}},
    };
    TypeEntry fixed;
    fixed.code = QStringLiteral("FIX");
    fixed.strokesFixed = true;
    fixed.bores = {{QStringLiteral("F01"), {Range("1", "1", true, QStringLiteral("FIX_F01.dwg"))}},
                   {QStringLiteral("F02"), {Range("1", "1", true, QStringLiteral("TWO20S.dwg"))}}};
    CatalogueModel model;
    model.series = {{QStringLiteral("S1"), {two}}, {QStringLiteral("S2"), {fixed}}};
    return model;
}

QStringList Names(const QList<StandInDrawing>& drawings)
{
    QStringList names;
    for (const StandInDrawing& drawing : drawings)
        names.append(drawing.name);
    return names;
}

#ifdef Q_OS_UNIX  // the shell scripts run under POSIX sh
// Runs a clean-up script with TMPDIR, and XDG_RUNTIME_DIR when given
// (otherwise unset), as the user's environment.
bool RunShell(const QByteArray& script, const QString& temporaryFolder, const QString& runtimeFolder = QString())
{
    QTemporaryDir scriptDir;
    const QString path = scriptDir.filePath(QStringLiteral("TEMP CLEAR.sh"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(script) != script.size())
        return false;
    file.close();
    QProcess shell;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temporaryFolder);
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!runtimeFolder.isEmpty())
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    shell.setProcessEnvironment(environment);
    shell.start(QStringLiteral("/bin/sh"), {path});
    return shell.waitForFinished(10000) && shell.exitStatus() == QProcess::NormalExit
        && shell.exitCode() == 0;
}

// The program's work folder under a temporary folder, as the program names it.
QString UserWorkFolder(const QString& temporaryFolder)
{
    return temporaryFolder + QStringLiteral("/talvex-%1").arg(::geteuid());
}

void Touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}
#endif

} // namespace

class TestDemoStaging : public QObject {
    Q_OBJECT

private slots:
    void everyNamedRangeAndEveryFallbackIsADrawing()
    {
        const QStringList names = Names(CollectStandInDrawings(SampleModel()));
        // The lookup matches the first stroke against second-stroke rows too,
        // so their names count; blank and null names fall back.
        QCOMPARE(names, QStringList({"FIXF01.dwg", "FIXF02.dwg", "FIX_F01.dwg", "TWO20.dwg",
                                     "TWO20B.dwg", "TWO20L.dwg", "TWO20S.dwg", "TWO25.dwg"}));
    }

    void aNameUsedTwiceIsOneDrawingWithBothUses()
    {
        const QList<StandInDrawing> drawings = CollectStandInDrawings(SampleModel());
        const auto shared = std::find_if(drawings.cbegin(), drawings.cend(), [](const StandInDrawing& d) {
            return d.name == QLatin1String("TWO20S.dwg");
        });
        QVERIFY(shared != drawings.cend());
        QCOMPARE(shared->uses.size(), 2);
        const QString text = QString::fromUtf8(StandInDrawingText(*shared));
        QVERIFY(text.startsWith(QStringLiteral("TALVEX stand-in drawing TWO20S.dwg\r\n")));
        QVERIFY(text.contains(QStringLiteral("Series S1, Type TWO, bore 20: stroke range 5-100")));
        QVERIFY(text.contains(QStringLiteral("Series S2, Type FIX, bore F02: stroke range 1")));
    }

    void fallbackTextSaysWhenItApplies()
    {
        const QList<StandInDrawing> drawings = CollectStandInDrawings(SampleModel());
        for (const StandInDrawing& drawing : drawings) {
            const QString text = QString::fromUtf8(StandInDrawingText(drawing));
            if (drawing.name == QLatin1String("TWO25.dwg"))
                QVERIFY(text.contains(QStringLiteral("for stroke range 5-100; 101-200 (no file name")));
            if (drawing.name == QLatin1String("FIXF01.dwg"))
                QVERIFY(text.contains(QStringLiteral("the strokes the catalogue fixes")));
        }
    }

    void storedNamesAreKeptAsStored()
    {
        CatalogueModel model;
        TypeEntry type;
        type.code = QStringLiteral("T");
        type.bores = {{QStringLiteral("1"), {Range("1", "9", true, QStringLiteral(" PAD.dwg "))}}};
        model.series = {{QStringLiteral("S"), {type}}};
        const QStringList names = Names(CollectStandInDrawings(model));
        QVERIFY(names.contains(QStringLiteral(" PAD.dwg ")));
        QVERIFY(!IsSafeStagedName(QStringLiteral(" PAD.dwg ")));
    }

    void safeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("plain") << "AXN12.dwg" << true;
        QTest::newRow("underscores") << "UMO_D_F20.dwg" << true;
        QTest::newRow("dash and plus") << "FJ-M10x1.25+.dwg" << true;
        QTest::newRow("inner blank") << "A B.dwg" << true;
        QTest::newRow("chinese") << "型式12.dwg" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("slash") << "a/b.dwg" << false;
        QTest::newRow("backslash") << "..\\b.dwg" << false;
        QTest::newRow("drive") << "C:x.dwg" << false;
        QTest::newRow("star") << "*.dwg" << false;
        QTest::newRow("question") << "AXN?.dwg" << false;
        QTest::newRow("quote") << "a\".dwg" << false;
        QTest::newRow("apostrophe") << "a'b.dwg" << false;
        QTest::newRow("percent") << "%TEMP%.dwg" << false;
        QTest::newRow("ampersand") << "a&del.dwg" << false;
        QTest::newRow("dollar") << "$HOME.dwg" << false;
        QTest::newRow("backtick") << "a`x`.dwg" << false;
        QTest::newRow("bracket glob") << "[a].dwg" << false;
        QTest::newRow("leading blank") << " a.dwg" << false;
        QTest::newRow("trailing dot") << "a.dwg." << false;
        QTest::newRow("tab") << "a\tb.dwg" << false;
        QTest::newRow("newline") << "a\nrm.dwg" << false;
    }
    void safeNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(IsSafeStagedName(name), safe);
    }

    void batchListsEachNameAndNoWildcard()
    {
        QStringList skipped;
        const QByteArray batch =
            BuildCleanBatch({"3dstretch.VLX", "AXN12.dwg", "*.dwg", "A B.dwg", "AXN12.dwg", "型式.dwg"}, &skipped);
        QCOMPARE(skipped, QStringList{"*.dwg"});
        QCOMPARE(batch.count("\r\n"), batch.count('\n'));  // CR LF throughout
        QVERIFY(!batch.contains('*'));
        QVERIFY(!batch.contains('?'));
        QCOMPARE(batch.count("call :drop \"AXN12.dwg\"\r\n"), 1);
        QVERIFY(batch.contains("call :drop \"A B.dwg\"\r\n"));
        QVERIFY(batch.contains("call :drop \"3dstretch.VLX\"\r\n"));
        QVERIFY(batch.contains("call :drop \"" + EncodeCp950(QStringLiteral("型式.dwg")).value() + "\"\r\n"));
        QCOMPARE(batch.count("del /f /q"), 1);  // only inside :drop, on one quoted name
        // The folder is TMP, else TEMP, as the program finds it; with neither
        // set nothing is deleted.
        QVERIFY(batch.indexOf("set \"WORK=%TMP%\"") < batch.indexOf("if not defined WORK set \"WORK=%TEMP%\""));
        QVERIFY(batch.contains("if not defined WORK goto :done"));
        QVERIFY(batch.contains("if exist \"%WORK%\\%~1\\\" goto :eof"));
        QVERIFY(!batch.contains("Acaddoc"));
    }

    void batchSkipsNamesWithoutABig5Form()
    {
        QStringList skipped;
        const QString thai = QStringLiteral("ก.dwg");
        const QByteArray batch = BuildCleanBatch({"AXN12.dwg", thai}, &skipped);
        QCOMPARE(skipped, QStringList{thai});
        QVERIFY(batch.contains("AXN12.dwg"));
    }

#ifdef Q_OS_UNIX
    void shellRemovesTheListedNamesOnly_data()
    {
        QTest::addColumn<bool>("runtimeFolder");
        QTest::newRow("work folder in TMPDIR") << false;
        QTest::newRow("work folder in XDG_RUNTIME_DIR") << true;
    }

    void shellRemovesTheListedNamesOnly()
    {
        QFETCH(bool, runtimeFolder);
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        const QString work = runtimeFolder ? temp.filePath(QStringLiteral("talvex")) : UserWorkFolder(temp.path());
        QVERIFY(QDir().mkdir(work));
        const QDir dir(work);
        for (const char* name : {"3dstretch.VLX", "A B.dwg", "AXN12.dwg", "A", "B.dwg", "axn12.dwg",
                                 "AXN12.dwg.bak", "Acaddoc.vlx", "other.txt"})
            Touch(dir.filePath(QString::fromUtf8(name)));
        QVERIFY(dir.mkdir(QStringLiteral("TAA20S.dwg")));
        Touch(dir.filePath(QStringLiteral("TAA20S.dwg/inside.dwg")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("other.txt")), dir.filePath(QStringLiteral("KKJ25.dwg"))));
        Touch(temp.filePath(QStringLiteral("AXN12.dwg")));  // the shared folder itself is not ours

        const QByteArray script = BuildCleanShell(
            {"3dstretch.VLX", "A B.dwg", "AXN12.dwg", "TAA20S.dwg", "KKJ25.dwg", "*", "missing.dwg"});
        QVERIFY(RunShell(script, runtimeFolder ? QStringLiteral("/nonexistent") : temp.path(),
                         runtimeFolder ? temp.path() : QString()));

        for (const char* gone : {"3dstretch.VLX", "A B.dwg", "AXN12.dwg"})
            QVERIFY2(!QFileInfo::exists(dir.filePath(QString::fromUtf8(gone))), gone);
        for (const char* kept : {"A", "B.dwg", "axn12.dwg", "AXN12.dwg.bak", "Acaddoc.vlx", "other.txt",
                                 "TAA20S.dwg/inside.dwg"})
            QVERIFY2(QFileInfo::exists(dir.filePath(QString::fromUtf8(kept))), kept);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("KKJ25.dwg"))).isSymLink());
        QVERIFY(QFileInfo::exists(temp.filePath(QStringLiteral("AXN12.dwg"))));
    }

    void shellLeavesAWorkFolderThatIsNotOurs()
    {
        QTemporaryDir temp;
        QVERIFY(QDir(temp.path()).mkdir(QStringLiteral("elsewhere")));
        Touch(temp.filePath(QStringLiteral("elsewhere/AXN12.dwg")));
        QVERIFY(QFile::link(temp.filePath(QStringLiteral("elsewhere")), UserWorkFolder(temp.path())));
        QVERIFY(RunShell(BuildCleanShell({"AXN12.dwg"}), temp.path()));
        QVERIFY(QFileInfo::exists(temp.filePath(QStringLiteral("elsewhere/AXN12.dwg"))));
    }

    void shellWithoutAFolderDoesNothing()
    {
        QTemporaryDir temp;
        Touch(temp.filePath(QStringLiteral("AXN12.dwg")));
        QVERIFY(RunShell(BuildCleanShell({"AXN12.dwg"}), temp.filePath(QStringLiteral("absent"))));
        QVERIFY(RunShell(BuildCleanShell({"AXN12.dwg"}), temp.path()));
        QVERIFY(RunShell(BuildCleanShell({}), temp.path()));
        QVERIFY(QFileInfo::exists(temp.filePath(QStringLiteral("AXN12.dwg"))));
    }
#endif

    void writerLeavesUnchangedFilesAlone()
    {
        QTemporaryDir temp;
        OutputTree tree(temp.path());
        QVERIFY(tree.write(QStringLiteral("Files/Accessories/a.txt"), "one").ok());
        QVERIFY(tree.write(QStringLiteral("Files/Accessories/a.txt"), "one").ok());
        QCOMPARE(tree.written(), 1);
        QVERIFY(tree.write(QStringLiteral("Files/Accessories/a.txt"), "two").ok());
        QCOMPARE(tree.written(), 2);
        QFile file(tree.path(QStringLiteral("Files/Accessories/a.txt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("two"));
    }

#ifdef Q_OS_UNIX  // Windows files carry no execute bit
    void writerMarksScriptsExecutable()
    {
        QTemporaryDir temp;
        OutputTree tree(temp.path());
        QVERIFY(tree.write(QStringLiteral("run.sh"), "#!/bin/sh\n", true).ok());
        QVERIFY(QFileInfo(tree.path(QStringLiteral("run.sh"))).permissions() & QFileDevice::ExeOwner);
        QFile::setPermissions(tree.path(QStringLiteral("run.sh")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(tree.write(QStringLiteral("run.sh"), "#!/bin/sh\n", true).ok());
        QVERIFY(QFileInfo(tree.path(QStringLiteral("run.sh"))).permissions() & QFileDevice::ExeOwner);
    }
#endif

    void writerReportsAFolderItCannotMake()
    {
        QTemporaryDir temp;
        OutputTree tree(temp.path());
        QVERIFY(tree.write(QStringLiteral("blocker"), "file").ok());
        const base::Status blocked = tree.write(QStringLiteral("blocker/inside.txt"), "x");
        QVERIFY(!blocked.ok());
        QVERIFY(blocked.error().contains(QStringLiteral("blocker")));
    }

    void catalogueModelReadsTheSample()
    {
        const base::Result<CatalogueModel> model =
            ReadCatalogueModel(QStringLiteral(TALVEX_TEST_DATA "/TALVEX.mdb"));
        QVERIFY2(model.ok(), qPrintable(model.error()));
        QCOMPARE(model->series.size(), 9);
        auto type = [&](const char* series, const char* code) -> const TypeEntry* {
            for (const SeriesEntry& s : model->series)
                for (const TypeEntry& t : s.types)
                    if (s.code == QLatin1String(series) && t.code == QLatin1String(code))
                        return &t;
            return nullptr;
        };
        const TypeEntry* taa = type("TA", "TAA");
        QVERIFY(taa && !taa->secondStroke && !taa->strokesFixed);
        QCOMPARE(taa->rangeTexts(true), QStringList({"5-100", "101-600"}));
        const TypeEntry* umoD = type("UMO", "UMO_D");
        QVERIFY(umoD && umoD->secondStroke);
        QCOMPARE(umoD->rangeTexts(false), QStringList{"5-150"});
        const TypeEntry* slgN = type("HMN", "SLG_N");
        QVERIFY(slgN && slgN->strokesFixed);
        QCOMPARE(slgN->rangeTexts(true), QStringList{"1"});
        const TypeEntry* yqohK = type("YQ", "YQOH_K");
        QVERIFY(yqohK && yqohK->bores.size() == 8);
        for (const BoreEntry& bore : yqohK->bores)
            QVERIFY(!bore.ranges.first().namesFile());
        const TypeEntry* cbv = type("TA", "CBV");  // in Fluid_Main only
        QVERIFY(cbv && cbv->bores.isEmpty());
    }

    void missingCatalogueIsReported()
    {
        const auto model = ReadCatalogueModel(QStringLiteral(TALVEX_TEST_DATA "/absent.mdb"));
        QVERIFY(!model.ok());
        QVERIFY(model.error().contains(QStringLiteral("absent.mdb")));
    }

    void windowsTextHasBomAndCrLf()
    {
        QCOMPARE(WindowsText("a\nb\r\nc"), QByteArray("\xEF\xBB\xBF" "a\r\nb\r\nc"));
        QCOMPARE(WindowsText("\xEF\xBB\xBF" "x\n"), QByteArray("\xEF\xBB\xBF" "x\r\n"));
    }
};

QTEST_MAIN(TestDemoStaging)
#include "test_demo_staging.moc"
