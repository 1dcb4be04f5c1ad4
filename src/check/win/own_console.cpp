// SPDX-License-Identifier: MIT
#include "check/own_console.h"

#include <windows.h>

namespace check {

bool LeaveOwnConsole()
{
    // Explorer gives a console program a new console window of its own, and
    // the program's output goes there. Started from cmd.exe or PowerShell,
    // the shell shares the console; started by another program with its
    // output piped (a script, a test), there is no window or the output is
    // not the console: those keep the console road.
    DWORD processes[2] = {};
    if (GetConsoleProcessList(processes, 2) != 1 || GetConsoleWindow() == nullptr)
        return false;
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE || GetFileType(output) != FILE_TYPE_CHAR)
        return false;
    FreeConsole();
    return true;
}

} // namespace check
