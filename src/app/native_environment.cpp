// SPDX-License-Identifier: MIT
#include "native_environment.h"
#include "generation/native_file_system.h"
#include "generation/platform_cad_host.h"
#include "install_paths.h"
#include "medium/platform_medium.h"

namespace app {

NativeEnvironment::NativeEnvironment()
    : fileSystem_(std::make_unique<generation::NativeFileSystem>()),
      cadHost_(generation::CreatePlatformCadHostConnector()),
      discTray_(medium::CreatePlatformDiscTray()),
      shell_(medium::CreatePlatformDesktopShell())
{
    environment_.installRoot = ProgramFolder;
    environment_.catalogue = &catalogue_;
    environment_.messageBoxes = &messageBoxes_;
    environment_.fileSystem = fileSystem_.get();
    environment_.cadHost = cadHost_.get();
    environment_.discTray = discTray_.get();
    environment_.shell = shell_.get();
}

NativeEnvironment::~NativeEnvironment() = default;

} // namespace app
