#pragma once
// Plain C++: the disc tray interface has no Qt in it.
#include "medium/disc_tray.h"

namespace medium {

// "set CDAudio door open" to the default CD audio device; status ignored.
void OpenDiscDoor();

class CdAudioDiscTray final : public DiscTray {
public:
    void openDoor() override { OpenDiscDoor(); }
};

} // namespace medium
