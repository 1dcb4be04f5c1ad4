// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QString>

// Runs mdb-export (at `program`) on one table, its output thrown away: the
// figure the benchmarks set beside their own reading of the same table.
inline bool ExportTable(const QString& program, const QString& file, const QString& table)
{
    QProcess exporter;
    exporter.setStandardOutputFile(QProcess::nullDevice());
    exporter.start(program, {file, table});
    return exporter.waitForFinished(60000) && exporter.exitStatus() == QProcess::NormalExit &&
           exporter.exitCode() == 0;
}
