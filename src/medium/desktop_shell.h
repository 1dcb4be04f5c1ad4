// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace medium {

// Hands a path to the desktop: a folder opens in the file browser, a batch or
// script file runs. Does not wait; failures stay silent.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    virtual void openWithDefaultAction(const QString& path) = 0;
};

} // namespace medium
