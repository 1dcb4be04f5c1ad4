// SPDX-License-Identifier: MIT
#pragma once
#include "environment.h"
#include "native_message_boxes.h"
#include <memory>

namespace app {

// The real services of a run: the program's folder as install root, the
// platform's files, CAD host, disc tray and shell, and message boxes on screen.
class NativeEnvironment {
public:
    NativeEnvironment();
    ~NativeEnvironment();
    const Environment& environment() const { return environment_; }

private:
    catalogue::CatalogueSession catalogue_;
    NativeMessageBoxes messageBoxes_;
    std::unique_ptr<generation::FileSystem> fileSystem_;
    std::unique_ptr<generation::CadHostConnector> cadHost_;
    std::unique_ptr<medium::DiscTray> discTray_;
    std::unique_ptr<medium::DesktopShell> shell_;
    Environment environment_;
};

} // namespace app
