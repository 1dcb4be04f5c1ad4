// SPDX-License-Identifier: MIT
#include "check/own_console.h"

#include <windows.h>

namespace check {

bool LeaveOwnConsole()
{
    // A console opened for this process alone lists one process: this one.
    // Started from cmd.exe or PowerShell, the shell is on the list too.
    DWORD processes[2] = {};
    if (GetConsoleProcessList(processes, 2) != 1)
        return false;
    FreeConsole();
    return true;
}

} // namespace check
