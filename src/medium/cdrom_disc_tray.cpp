// SPDX-License-Identifier: MIT
#include "cdrom_disc_tray.h"

#include <fcntl.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#endif

namespace medium {

void OpenDiscDoor(const QByteArray& devicePath)
{
#ifdef __linux__
    // Non-blocking, so an empty drive or an open tray does not make us wait.
    const int device = ::open(devicePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (device < 0)
        return;
    (void)::ioctl(device, CDROMEJECT, 0);
    ::close(device);
#else
    (void)devicePath;
#endif
}

} // namespace medium
