// SPDX-License-Identifier: MIT
#pragma once

namespace check {

// True when the checker was started without a console of its own making:
// on Windows, double-clicked in Explorer or given a dropped folder or file,
// a console program gets a new console that only it uses. It gives that
// console up at once (the window that came with it closes) and takes the
// desktop road instead. From a console window, or anywhere else, false.
bool LeaveOwnConsole();

} // namespace check
