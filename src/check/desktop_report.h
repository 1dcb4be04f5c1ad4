// SPDX-License-Identifier: MIT
#pragma once
#include "install_root_checks.h"
#include "medium/desktop_shell.h"
#include "progress.h"
#include <QDateTime>
#include <QString>

namespace check {

// Where a run started from the desktop writes its report: the temporary
// folder, named after the catalogue (and the install root's folder, since
// every root's catalogue is TALVEX.mdb) and the time, e.g.
// "talvex-check root-TALVEX 2026-12-08 094500.html".
QString DesktopReportPath(const QString& temporaryFolder, const QString& given, const QDateTime& at);

struct DesktopReport {
    int status = 0;     // as talvex-check's exit status
    QString path;       // the report written, empty when none could be
    QString message;    // for a message box; empty when all went well
};

// The check of a run started from the desktop: the HTML report is written
// to the temporary folder and handed to the desktop to open; a catalogue
// with errors, or one that cannot be read, is told in message as well.
DesktopReport CheckForDesktop(const QString& given, const QString& temporaryFolder, const QDateTime& now,
                              Progress& progress, medium::DesktopShell& shell);

} // namespace check
