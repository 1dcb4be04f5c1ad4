// SPDX-License-Identifier: MIT
#pragma once

namespace app {

// The window's design asks for 新細明體 (PMingLiU); where that font is not
// installed, a Traditional Chinese Ming face stands in (Debian:
// fonts-arphic-uming), else a Noto CJK face.
void InstallFontFallbacks();

} // namespace app
