// SPDX-License-Identifier: MIT
#include "windows_desktop_shell.h"
#include "shell_execute.h"

namespace medium {

void WindowsDesktopShell::openWithDefaultAction(const QString& path)
{
    ShellExecuteDefault(path.toStdWString());
}

} // namespace medium
