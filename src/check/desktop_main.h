// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

// talvex-check started from the desktop (--gui): asks for the install root
// or catalogue when none is given, shows how far the check got in a small
// window, opens the HTML report in the desktop's browser and tells errors in
// a message box too. Returns the exit status.
int RunFromDesktop(const QString& given);
