#include "cd_audio_disc_tray.h"

#include <windows.h>
#include <mmsystem.h>

namespace medium {

void OpenDiscDoor()
{
    // No return text (null, length 0), no notification window.
    (void)mciSendStringW(L"set CDAudio door open", nullptr, 0, nullptr);
}

} // namespace medium
