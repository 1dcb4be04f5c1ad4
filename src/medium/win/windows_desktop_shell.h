// SPDX-License-Identifier: MIT
#pragma once
#include "medium/desktop_shell.h"

namespace medium {

class WindowsDesktopShell final : public DesktopShell {
public:
    void openWithDefaultAction(const QString& path) override;
};

} // namespace medium
