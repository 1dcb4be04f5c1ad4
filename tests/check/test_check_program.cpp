// SPDX-License-Identifier: MIT
// talvex-check as a maintainer runs it: on the real catalogue files, on
// install roots, on input it cannot read; exit statuses and --json.
#include "test_files.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using testing::ReadAll;
using testing::WriteFile;

namespace {

QString DataFile(const char* name)
{
    return QStringLiteral(TALVEX_TEST_DATA "/") + QLatin1String(name);
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
    QJsonObject json;
};

Run Check(const QStringList& args)
{
    QProcess program;
    program.start(QStringLiteral(TALVEX_ROOT_DIR "/talvex-check"), args);
    Run run;
    if (!program.waitForFinished(120000) || program.exitStatus() != QProcess::NormalExit)
        return run;  // a crash or a hang: exit code -1
    run.exitCode = program.exitCode();
    run.out = program.readAllStandardOutput();
    run.err = QString::fromUtf8(program.readAllStandardError());
    if (args.contains(QStringLiteral("--json")))
        run.json = QJsonDocument::fromJson(run.out).object();
    return run;
}

// "check Series/Type/Bore/SortID" of every finding, or of those above notes.
QSet<QString> Found(const QJsonObject& report, bool withNotes = true)
{
    QSet<QString> found;
    for (const QJsonValue& value : report.value(QStringLiteral("findings")).toArray()) {
        const QJsonObject finding = value.toObject();
        if (!withNotes && finding.value(QStringLiteral("severity")).toString() == QLatin1String("note"))
            continue;
        const QJsonObject at = finding.value(QStringLiteral("location")).toObject();
        QStringList where;
        for (const char* key : {"series", "type", "bore", "sortId"})
            where.append(at.value(QLatin1String(key)).toString());
        found.insert(finding.value(QStringLiteral("check")).toString() + u' ' + where.join(u'/'));
    }
    return found;
}

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void edgeCatalogues_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("text fields") << DataFile("edge-text.mdb");
        QTest::newRow("numeric fields") << DataFile("edge-numeric.mdb");
    }

    // Each fault the edge catalogues carry, found where it is.
    void edgeCatalogues()
    {
        QFETCH(QString, file);
        const Run run = Check({QStringLiteral("--json"), file});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.json.value(QStringLiteral("exitStatus")).toInt(), 1);
        const QSet<QString> found = Found(run.json);
        const QStringList expected{
            QStringLiteral("range-null-bound EDG/NUL/32/1"),         // MinValue null: "-500"
            QStringLiteral("range-null-bound EDG/NUL/40/1"),         // MaxValue null
            QStringLiteral("range-processid-other EDG/NUL/40/1"),    // ProcessID null
            QStringLiteral("range-first-missing EDG/NUL/40/"),
            QStringLiteral("range-overlap EDG/OVL/32/2"),            // B.dwg wins
            QStringLiteral("range-overlap EDG/OVL/40/2"),            // the blank name wins
            QStringLiteral("filename-padded EDG/OVL/50/1"),
            QStringLiteral("code-null EDG/OVL//1"),                  // DiaSpec null
            QStringLiteral("code-null /NOSERIES//"),
            QStringLiteral("code-null EDG///"),
            QStringLiteral("code-padded  PAD / SP //"),
            QStringLiteral("code-case EDG///"),                      // "EDG" and "edg"
            QStringLiteral("main-multiprocess-disagree EDG/TWO//"),
            QStringLiteral("range-second-unused EDG/P2ONLY/32/2"),
            QStringLiteral("type-no-bores EDG/ORPHAN//"),
            QStringLiteral("detail-unreachable EDG/EDGNOMAIN/32/"),
        };
        for (const QString& finding : expected)
            QVERIFY2(found.contains(finding), qPrintable(finding));
        // Apostrophes and Chinese codes are no fault: the statements quote them.
        for (const QString& finding : found)
            QVERIFY2(!finding.contains(QStringLiteral("O'K")) && !finding.contains(QStringLiteral("中文")),
                     qPrintable(finding));
        // A Yes/No OwnerProcess cannot be null; the numeric one is.
        QCOMPARE(found.contains(QStringLiteral("main-ownerprocess-null EDG/NUL//")), file.contains(QStringLiteral("numeric")));
    }

    void sampleCatalogueAndDemoRoot()
    {
        const Run catalogueOnly = Check({QStringLiteral("--json"), DataFile("TALVEX.mdb")});
        QCOMPARE(catalogueOnly.exitCode, 0);
        QVERIFY(catalogueOnly.json.value(QStringLiteral("installRoot")).isNull());
        // Two Types of the sample are listed without ranges.
        QCOMPARE(Found(catalogueOnly.json, false),
                 (QSet<QString>{QStringLiteral("type-no-bores TA/CBV//"), QStringLiteral("type-no-bores UJ/WOE//")}));

        const Run root = Check({QStringLiteral(TALVEX_ROOT_DIR)});
        QCOMPARE(root.exitCode, 0);
        const QString text = QString::fromUtf8(root.out);
        QVERIFY2(text.contains(QStringLiteral("\n0 errors, ")), qPrintable(text.right(200)));
        QVERIFY(text.contains(QStringLiteral("  install root: ")));
        QVERIFY(text.contains(QStringLiteral("[picture-size] Series AX / Docs/AX.jpg")));
    }

    void installRootWithPlantedFaults()
    {
        QTemporaryDir dir;
        const QDir root(dir.path());
        QVERIFY(root.mkpath(QStringLiteral("Database")));
        QVERIFY(QFile::copy(DataFile("TALVEX.mdb"), root.filePath(QStringLiteral("Database/TALVEX.mdb"))));
        const Run bare = Check({QStringLiteral("--json"), dir.path()});
        QCOMPARE(bare.exitCode, 1);
        const QSet<QString> found = Found(bare.json);
        QVERIFY(found.contains(QStringLiteral("root-files-missing ///")));
        QVERIFY(found.contains(QStringLiteral("picture-missing AX///")));
        QVERIFY(found.contains(QStringLiteral("doc-missing ///")));

        // With the Files folder, each drawing the sample can stage is missing once.
        QVERIFY(root.mkpath(QStringLiteral("Files")));
        QVERIFY(WriteFile(root.filePath(QStringLiteral("Files/AXN12.dwg")), "stand-in"));
        const QSet<QString> drawings = Found(Check({QStringLiteral("--json"), dir.path()}).json);
        QVERIFY(!drawings.contains(QStringLiteral("drawing-missing AX/AXN/12/1")));
        QVERIFY(drawings.contains(QStringLiteral("drawing-missing AX/AXN/16/1")));
        QVERIFY(drawings.contains(QStringLiteral("drawing-missing TA/TAA/20/2")));  // TAA20L.dwg
        QVERIFY(drawings.contains(QStringLiteral("root-file-missing ///")));
    }

    void inputThatCannotBeRead()
    {
        QTemporaryDir dir;
        const QString truncated = QDir(dir.path()).filePath(QStringLiteral("TALVEX.mdb"));
        QVERIFY(WriteFile(truncated, ReadAll(DataFile("TALVEX.mdb")).left(5000)));
        const QString notAccess = QDir(dir.path()).filePath(QStringLiteral("notes.mdb"));
        QVERIFY(WriteFile(notAccess, "not a database"));
        const QString emptyFolder = QDir(dir.path()).filePath(QStringLiteral("empty"));
        QVERIFY(QDir().mkpath(emptyFolder));
        const QList<std::pair<QString, QString>> inputs{
            {truncated, QStringLiteral("damaged")},
            {notAccess, QStringLiteral("Unrecognized database format")},
            {emptyFolder, QStringLiteral("no install root")},
            {QDir(dir.path()).filePath(QStringLiteral("gone.mdb")), QStringLiteral("no such file or folder")},
        };
        for (const auto& [input, reason] : inputs) {
            const Run run = Check({input});
            QCOMPARE(run.exitCode, 2);
            QVERIFY2(run.err.contains(reason), qPrintable(run.err));
            QVERIFY(run.out.isEmpty());
            const Run json = Check({QStringLiteral("--json"), input});
            QCOMPARE(json.exitCode, 2);
            QVERIFY2(json.json.value(QStringLiteral("failure")).toString().contains(reason), json.out.constData());
        }
        QCOMPARE(Check({}).exitCode, 2);
        QCOMPARE(Check({QStringLiteral("--no-such-option"), DataFile("TALVEX.mdb")}).exitCode, 2);
    }

    // libmdb's own lines about a damaged file stay off stderr; --verbose
    // prints them after our reason.
    void damagedFileGivesOurReasonFirst_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("libmdbSays");
        QTest::newRow("file cut short") << DataFile("damaged/cut-at-page-boundary.mdb") << "is beyond EOF";
        QTest::newRow("data page of another table") << DataFile("damaged/unreadable-data-page.mdb")
                                                    << "from map doesn't match";
    }

    void damagedFileGivesOurReasonFirst()
    {
        QFETCH(QString, file);
        QFETCH(QString, libmdbSays);
        const Run quiet = Check({file});
        QCOMPARE(quiet.exitCode, 2);
        const QStringList lines = quiet.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith(QStringLiteral("talvex-check: ")) && lines[0].contains(QStringLiteral("is damaged")),
                 qPrintable(quiet.err));
        const Run verbose = Check({QStringLiteral("--verbose"), file});
        QCOMPARE(verbose.exitCode, 2);
        const QStringList told = verbose.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(told.value(0), lines[0]);
        QVERIFY2(told.size() > 1 && told.mid(1).join(u'\n').contains(libmdbSays), qPrintable(verbose.err));
        for (const QString& line : told.mid(1))
            QVERIFY2(line.startsWith(QStringLiteral("talvex-check: libmdb: ")), qPrintable(line));
    }

    // Files that are no catalogue, or lack a table, fail with the table named,
    // whether the engine refuses them at open or the check finds the gap.
    void filesThatAreNoCatalogue_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::newRow("no Fluid_Detail") << DataFile("no-detail-table.mdb") << "Fluid_Detail";
        QTest::newRow("another database") << DataFile("nwind-real-world.mdb") << "Fluid_Main";
    }

    void filesThatAreNoCatalogue()
    {
        QFETCH(QString, file);
        QFETCH(QString, table);
        const Run run = Check({file});
        QVERIFY2(run.exitCode == 1 || run.exitCode == 2, qPrintable(run.err));
        QVERIFY2((QString::fromUtf8(run.out) + run.err).contains(table), run.out.constData());
    }
};

QTEST_GUILESS_MAIN(ProgramTest)
#include "test_check_program.moc"
