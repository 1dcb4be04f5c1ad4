// SPDX-License-Identifier: MIT
#include "run_check.h"
#include "catalogue/catalogue_path.h"
#include "catalogue_index.h"
#include "code_checks.h"
#include "range_checks.h"
#include "read_catalogue.h"
#include "schema_checks.h"
#include "type_checks.h"
#include <QDir>
#include <QFileInfo>

namespace check {

namespace {

void Append(Findings& to, Findings&& more)
{
    to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

base::Result<CheckedInput> ResolveInput(const QString& given)
{
    const QFileInfo info(given);
    if (!info.exists())
        return base::Fail(QStringLiteral("%1: no such file or folder.").arg(given));
    if (!info.isDir())
        return CheckedInput{given, QDir::toNativeSeparators(info.filePath()), QString()};
    const QString root = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
    const QString cataloguePath = catalogue::CataloguePath(root);
    if (!QFileInfo(cataloguePath).isFile())
        return base::Fail(QStringLiteral("%1 is no install root: it holds no catalogue %2.")
                              .arg(given, QDir(root).relativeFilePath(cataloguePath)));
    return CheckedInput{given, cataloguePath, root};
}

} // namespace

base::Result<CheckRun> RunCheck(const QString& given, const PreviewGeometry& preview, Progress& progress,
                                QStringList* engineMessages)
{
    const base::Result<CheckedInput> input = ResolveInput(given);
    if (!input)
        return input.failure();
    progress.stage(QStringLiteral("reading the catalogue"));
    base::Result<CatalogueRows> read = ReadCatalogue(input->catalogue, engineMessages);
    if (!read)
        return base::Fail(QStringLiteral("%1: the catalogue cannot be opened: %2")
                              .arg(input->catalogue, read.error()));

    CheckRun run{*input, {}, std::move(read.value()), {}};
    const CatalogueRows* rows = &run.rows;
    progress.stage(QStringLiteral("checking the catalogue"));
    run.index = IndexCatalogue(*rows);
    const CatalogueIndex& index = run.index;
    Append(run.findings, CheckSchema(rows->tables));
    Append(run.findings, CheckCodes(*rows));
    Append(run.findings, CheckTypes(*rows, index));
    progress.stage(QStringLiteral("checking the ranges"));
    Append(run.findings, CheckRanges(*rows, index));
    Append(run.findings, CheckFileNames(*rows, index));
    if (!input->installRoot.isEmpty())
        Append(run.findings, CheckInstallRoot(input->installRoot, *rows, index, preview, progress));
    SortBySeverity(run.findings);
    return run;
}

int ExitStatus(const Findings& findings)
{
    return CountFindings(findings).errors > 0 ? kErrorsFound : kNoError;
}

} // namespace check
