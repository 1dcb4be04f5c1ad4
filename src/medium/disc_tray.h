// SPDX-License-Identifier: MIT
#pragma once

namespace medium {

// Opens the door of the system's default disc drive; failures stay silent.
class DiscTray {
public:
    virtual ~DiscTray() = default;
    virtual void openDoor() = 0;
};

} // namespace medium
