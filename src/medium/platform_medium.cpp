// SPDX-License-Identifier: MIT
#include "platform_medium.h"
#include <QtGlobal>

#ifdef Q_OS_WIN
#include "win/cd_audio_disc_tray.h"
#include "win/windows_desktop_shell.h"
#else
#include "cdrom_disc_tray.h"
#include "xdg_desktop_shell.h"
#endif

namespace medium {

std::unique_ptr<DiscTray> CreatePlatformDiscTray()
{
#ifdef Q_OS_WIN
    return std::make_unique<CdAudioDiscTray>();
#else
    return std::make_unique<CdromDiscTray>();
#endif
}

std::unique_ptr<DesktopShell> CreatePlatformDesktopShell()
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsDesktopShell>();
#else
    return std::make_unique<XdgDesktopShell>();
#endif
}

} // namespace medium
