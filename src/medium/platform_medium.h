// SPDX-License-Identifier: MIT
#pragma once
#include "desktop_shell.h"
#include "disc_tray.h"
#include <memory>

namespace medium {

// Windows: the CD audio door command and the wide-character shell call.
// Elsewhere: /dev/cdrom and the desktop's opener, /bin/sh for batch files.
std::unique_ptr<DiscTray> CreatePlatformDiscTray();
std::unique_ptr<DesktopShell> CreatePlatformDesktopShell();

} // namespace medium
