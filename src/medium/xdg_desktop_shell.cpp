// SPDX-License-Identifier: MIT
#include "xdg_desktop_shell.h"
#include "utility_paths.h"

#include <QFileInfo>
#include <QProcess>

namespace medium {

void XdgDesktopShell::openWithDefaultAction(const QString& path)
{
    // A missing target would only fail in the started program; not starting
    // it keeps that failure as silent as the shell's.
    const QString script = ScriptForBatchFile(path);
    if (!script.isEmpty()) {
        if (QFileInfo(script).isFile())
            QProcess::startDetached(scriptShell_, {script});
        return;
    }
    if (QFileInfo::exists(path))
        QProcess::startDetached(opener_, {path});
}

} // namespace medium
