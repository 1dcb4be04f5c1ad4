// SPDX-License-Identifier: MIT
#include "desktop_report.h"
#include "html_report.h"
#include "range_map.h"
#include "run_check.h"
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace check {

namespace {

base::Status Write(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return {};
    return base::Fail(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace

QString DesktopReportPath(const QString& temporaryFolder, const QString& given, const QDateTime& at)
{
    const QFileInfo info(given);
    QString name = info.completeBaseName();
    if (info.isDir())
        name = QDir(info.absoluteFilePath()).dirName() + QStringLiteral("-TALVEX");
    if (name.isEmpty())
        name = QStringLiteral("catalogue");
    return QDir(temporaryFolder).filePath(QStringLiteral("talvex-check %1 %2.html")
                                              .arg(name, at.toString(QStringLiteral("yyyy-MM-dd HHmmss"))));
}

DesktopReport CheckForDesktop(const QString& given, const QString& temporaryFolder, const QDateTime& now,
                              Progress& progress, medium::DesktopShell& shell)
{
    DesktopReport report;
    report.path = DesktopReportPath(temporaryFolder, given, now);
    QStringList engineMessages;
    const auto run = RunCheck(given, PreviewGeometry{}, progress, &engineMessages);
    QByteArray page;
    if (!run) {
        report.status = kUnreadableInput;
        report.message = run.error();
        page = HtmlFailure(given, run.error());
    } else {
        progress.stage(QStringLiteral("writing the report"));
        report.status = ExitStatus(run->findings);
        const std::optional<QSet<QString>> drawings = DrawingsOnDisc(run->input.installRoot);
        page = HtmlReport(run->input, run->findings, BuildRangeMaps(run->rows, run->index, drawings),
                          drawings.has_value());
        if (report.status != kNoError) {
            report.message = QStringLiteral("%1: %2. The report lists them.")
                                 .arg(given, SummaryLine(CountFindings(run->findings)));
        }
    }
    if (const base::Status written = Write(report.path, page); !written) {
        report.message += (report.message.isEmpty() ? QString() : QStringLiteral("\n")) + written.error();
        report.path.clear();
        if (report.status == kNoError)
            report.status = kUnreadableInput;
        return report;
    }
    shell.openWithDefaultAction(report.path);
    return report;
}

} // namespace check
