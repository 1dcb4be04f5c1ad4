// SPDX-License-Identifier: MIT
#include "cd_audio_disc_tray.h"

#include <windows.h>
#include <mmsystem.h>

namespace medium {

unsigned long SendMciCommand(const wchar_t* command, wchar_t* answer, unsigned answerLength,
                             void* notifyWindow)
{
    return mciSendStringW(command, answer, answerLength, static_cast<HWND>(notifyWindow));
}

void OpenDiscDoor(MciCommand send)
{
    // No return text (null, length 0), no notification window.
    (void)send(L"set CDAudio door open", nullptr, 0, nullptr);
}

} // namespace medium
