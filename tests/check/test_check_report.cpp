// SPDX-License-Identifier: MIT
// The report in words and as JSON, the exit status, and progress lines.
#include "check/desktop_report.h"
#include "check/progress.h"
#include "check/report.h"
#include "check/run_check.h"
#include "check_fixtures.h"
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace check;
using namespace check_test;

namespace {

Findings Sample()
{
    return {
        {Severity::Warning, QStringLiteral("code-padded"), QStringLiteral("Fluid_Main"),
         Location{QStringLiteral(" PAD "), QStringLiteral("SP"), {}, {}, {}}, QStringLiteral("Padded."),
         QStringLiteral("Remove the blanks.")},
        {Severity::Note, QStringLiteral("picture-size"), QStringLiteral("Docs"),
         Location{{}, {}, {}, {}, QStringLiteral("Docs/AX.jpg")}, QStringLiteral("Picture is 1 × 2 pixels."), QString()},
        {Severity::Error, QStringLiteral("range-null-bound"), QStringLiteral("Fluid_Detail"),
         Location{QStringLiteral("EDG"), QStringLiteral("NUL"), QStringLiteral("32"), QStringLiteral("1"), {}},
         QStringLiteral("MinValue is null."), QStringLiteral("Enter both bounds.")},
        {Severity::Warning, QStringLiteral("code-null"), QStringLiteral("Fluid_Main"), Location{}, QStringLiteral("Null."),
         QStringLiteral("Enter it.")},
    };
}

class RecordingShell final : public medium::DesktopShell {
public:
    void openWithDefaultAction(const QString& path) override { opened.append(path); }
    QStringList opened;
};

QString DataFile(const char* name)
{
    return QStringLiteral(TALVEX_TEST_DATA "/") + QLatin1String(name);
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

private slots:
    void severityOrderKeepsTheChecksOrder()
    {
        Findings findings = Sample();
        SortBySeverity(findings);
        QCOMPARE(Checks(findings), (QStringList{QStringLiteral("range-null-bound"), QStringLiteral("code-padded"),
                                                QStringLiteral("code-null"), QStringLiteral("picture-size")}));
    }

    void exitStatusFollowsTheErrors()
    {
        Findings findings = Sample();
        QCOMPARE(ExitStatus(findings), kErrorsFound);
        findings.erase(findings.begin() + 2);
        QCOMPARE(ExitStatus(findings), kNoError);
        QCOMPARE(ExitStatus({}), kNoError);
    }

    void textGroupsBySeverity()
    {
        Findings findings = Sample();
        SortBySeverity(findings);
        const QString text = TextReport({QStringLiteral("root"), QStringLiteral("root/Database/TALVEX.mdb"),
                                         QStringLiteral("/abs/root")},
                                        findings);
        const QStringList lines = text.split(u'\n');
        QCOMPARE(lines.value(0), QStringLiteral("talvex-check root"));
        QVERIFY(text.contains(QStringLiteral("  install root: /abs/root\n")));
        const qsizetype errors = text.indexOf(QStringLiteral("\nErrors\n"));
        const qsizetype warnings = text.indexOf(QStringLiteral("\nWarnings\n"));
        const qsizetype notes = text.indexOf(QStringLiteral("\nNotes\n"));
        QVERIFY(errors > 0 && errors < warnings && warnings < notes);
        QVERIFY(text.contains(QStringLiteral("  error Fluid_Detail [range-null-bound] Series EDG / Type NUL / Bore 32 / SortID 1\n"
                                             "      MinValue is null.\n"
                                             "      Change: Enter both bounds.\n")));
        // Blanks around a code are shown; a finding without a change says none.
        QVERIFY(text.contains(QStringLiteral("Series \" PAD \" / Type SP\n")));
        QVERIFY(text.contains(QStringLiteral("[picture-size] Docs/AX.jpg\n      Picture is 1 × 2 pixels.\n\n")));
        QVERIFY(text.endsWith(QStringLiteral("\n1 error, 2 warnings, 1 note\n")));
        // A group with nothing in it gets no heading.
        const QString clean = TextReport({QStringLiteral("x.mdb"), QStringLiteral("x.mdb"), {}}, {});
        QVERIFY(!clean.contains(QStringLiteral("Errors")));
        QVERIFY(!clean.contains(QStringLiteral("install root")));
        QVERIFY(clean.endsWith(QStringLiteral("\n0 errors, 0 warnings, 0 notes\n")));
    }

    void jsonCarriesTheSameFindings()
    {
        Findings findings = Sample();
        SortBySeverity(findings);
        const QByteArray json = JsonReport({QStringLiteral("x.mdb"), QStringLiteral("x.mdb"), {}}, findings, 1);
        QJsonParseError error;
        const QJsonObject report = QJsonDocument::fromJson(json, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(report.value(QStringLiteral("input")).toString(), QStringLiteral("x.mdb"));
        QVERIFY(report.value(QStringLiteral("installRoot")).isNull());
        QCOMPARE(report.value(QStringLiteral("exitStatus")).toInt(), 1);
        const QJsonObject summary = report.value(QStringLiteral("summary")).toObject();
        QCOMPARE(summary.value(QStringLiteral("errors")).toInt(), 1);
        QCOMPARE(summary.value(QStringLiteral("warnings")).toInt(), 2);
        QCOMPARE(summary.value(QStringLiteral("notes")).toInt(), 1);
        const QJsonArray list = report.value(QStringLiteral("findings")).toArray();
        QCOMPARE(list.size(), 4);
        const QJsonObject first = list.at(0).toObject();
        QCOMPARE(first.value(QStringLiteral("severity")).toString(), QStringLiteral("error"));
        QCOMPARE(first.value(QStringLiteral("check")).toString(), QStringLiteral("range-null-bound"));
        QCOMPARE(first.value(QStringLiteral("table")).toString(), QStringLiteral("Fluid_Detail"));
        QCOMPARE(first.value(QStringLiteral("change")).toString(), QStringLiteral("Enter both bounds."));
        const QJsonObject location = first.value(QStringLiteral("location")).toObject();
        QCOMPARE(location.value(QStringLiteral("series")).toString(), QStringLiteral("EDG"));
        QCOMPARE(location.value(QStringLiteral("sortId")).toString(), QStringLiteral("1"));
        QVERIFY(!location.contains(QStringLiteral("path")));  // only what is known
        QCOMPARE(list.at(3).toObject().value(QStringLiteral("location")).toObject().value(QStringLiteral("path")).toString(),
                 QStringLiteral("Docs/AX.jpg"));
        const QJsonObject failure = QJsonDocument::fromJson(JsonFailure(QStringLiteral("x"), QStringLiteral("gone"))).object();
        QCOMPARE(failure.value(QStringLiteral("failure")).toString(), QStringLiteral("gone"));
        QCOMPARE(failure.value(QStringLiteral("exitStatus")).toInt(), kUnreadableInput);
    }

    // Started from the desktop: the page goes to the temporary folder under
    // the catalogue's name and the time and is handed to the desktop; what
    // is not well is told for a message box as well.
    void desktopRun_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("name");     // of the report; empty: none written
        QTest::addColumn<QString>("message");  // a part of it; empty: no message
        QTest::newRow("catalogue without errors") << DataFile("TALVEX.mdb") << true << 0
                                                  << "talvex-check TALVEX 2026-12-08 094501.html" << "";
        QTest::newRow("catalogue with errors") << DataFile("edge-text.mdb") << true << 1
                                               << "talvex-check edge-text 2026-12-08 094501.html" << " errors, ";
        QTest::newRow("install root") << QStringLiteral(TALVEX_ROOT_DIR) << true << 0
                                      << "talvex-check root-TALVEX 2026-12-08 094501.html" << "";
        QTest::newRow("damaged file") << DataFile("damaged/zero-size-row.mdb") << true << 2
                                      << "talvex-check zero-size-row 2026-12-08 094501.html" << "is damaged";
        QTest::newRow("no temporary folder") << DataFile("TALVEX.mdb") << false << 2 << "" << "Cannot write";
    }

    void desktopRun()
    {
        QFETCH(QString, given);
        QFETCH(bool, folderExists);
        QFETCH(int, status);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QTemporaryDir temp;
        const QString folder = folderExists ? temp.path() : temp.filePath(QStringLiteral("gone"));
        RecordingShell shell;
        Progress progress;
        const DesktopReport report = CheckForDesktop(
            given, folder, QDateTime(QDate(2026, 12, 8), QTime(9, 45, 1)), progress, shell);
        QCOMPARE(report.status, status);
        QVERIFY2(message.isEmpty() ? report.message.isEmpty() : report.message.contains(message),
                 qPrintable(report.message));
        if (name.isEmpty()) {
            QVERIFY(report.path.isEmpty());
            QVERIFY(shell.opened.isEmpty());
            return;
        }
        QCOMPARE(report.path, QDir(folder).filePath(name));
        QCOMPARE(shell.opened, QStringList{report.path});
        QFile page(report.path);
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().startsWith("<!DOCTYPE html>"));
    }

    void progressOnlyForLongRuns()
    {
        QStringList told;
        const auto sink = [&](const QString& line) { told.append(line); };
        Progress quick(sink, 60 * 60 * 1000);
        quick.stage(QStringLiteral("reading"));
        quick.advance(1, 2);
        QVERIFY(told.isEmpty());

        Progress slow(sink, 0, 60 * 60 * 1000);
        slow.stage(QStringLiteral("checking the ranges"));
        slow.advance(1, 20000);  // within the interval of the stage line
        slow.stage(QStringLiteral("checking the drawings"));
        QCOMPARE(told, (QStringList{QStringLiteral("checking the ranges"), QStringLiteral("checking the drawings")}));

        told.clear();
        Progress steady(sink, 0, 0);
        steady.stage(QStringLiteral("checking"));
        steady.advance(5, 10);
        QCOMPARE(told, (QStringList{QStringLiteral("checking"), QStringLiteral("checking (5 of 10)")}));
    }
};

// The desktop road reads the documents, whose text is measured with the fonts.
QTEST_MAIN(ReportTest)
#include "test_check_report.moc"
