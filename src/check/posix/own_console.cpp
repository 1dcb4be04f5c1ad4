// SPDX-License-Identifier: MIT
#include "check/own_console.h"

namespace check {

// A desktop starts programs without a terminal; there the road is chosen by
// --gui (the desktop entry passes it).
bool LeaveOwnConsole()
{
    return false;
}

} // namespace check
