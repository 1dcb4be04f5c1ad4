#pragma once

namespace app {

// The window's design asks for 新細明體 (PMingLiU); where that font is not
// installed, a Traditional Chinese Ming or sans face stands in.
void InstallFontFallbacks();

} // namespace app
