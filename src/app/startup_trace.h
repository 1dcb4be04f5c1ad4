// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace app {

// With TALVEX_STARTUP_TRACE set, each start-up step writes one line to
// stderr when it ends:
//     talvex-startup <step> <steady clock, microseconds> <resident kB, -1 unknown>
// bench/startup_bench reads them; the steady clock is the one other processes
// on the machine read too. Unset, a step costs a test of a flag.
void TraceStartupStep(const char* step);

// Traces the step "painted" once the window's first expose has been painted.
void TraceFirstPaint(QWidget& window);

} // namespace app
