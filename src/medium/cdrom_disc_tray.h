// SPDX-License-Identifier: MIT
#pragma once
#include "disc_tray.h"
#include <QByteArray>

namespace medium {

// Ejects the disc of a Linux CD device (CDROMEJECT). A missing device, one
// that is not a CD drive, or one that refuses: all silent.
void OpenDiscDoor(const QByteArray& devicePath);

class CdromDiscTray final : public DiscTray {
public:
    explicit CdromDiscTray(QByteArray devicePath = QByteArrayLiteral("/dev/cdrom"))
        : devicePath_(std::move(devicePath)) {}
    void openDoor() override { OpenDiscDoor(devicePath_); }

private:
    QByteArray devicePath_;
};

} // namespace medium
