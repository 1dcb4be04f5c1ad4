// SPDX-License-Identifier: MIT
#pragma once
// Plain C++: the disc tray interface has no Qt in it.
#include "medium/disc_tray.h"

namespace medium {

// A multimedia command string call, as mciSendStringW takes it: the command,
// the buffer for its answer and the buffer's length, the window to notify.
using MciCommand = unsigned long (*)(const wchar_t* command, wchar_t* answer,
                                     unsigned answerLength, void* notifyWindow);
unsigned long SendMciCommand(const wchar_t* command, wchar_t* answer, unsigned answerLength,
                             void* notifyWindow);

// "set CDAudio door open" to the default CD audio device, wanting no answer
// and no notification; the status is ignored.
void OpenDiscDoor(MciCommand send = SendMciCommand);

class CdAudioDiscTray final : public DiscTray {
public:
    void openDoor() override { OpenDiscDoor(); }
};

} // namespace medium
