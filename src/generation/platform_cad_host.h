// SPDX-License-Identifier: MIT
#pragma once
#include "cad_host.h"
#include <memory>

namespace generation {

// AutoCAD through its automation interface on Windows; elsewhere the stand-in
// host (talvex-cadhost) beside the program, on the user's runtime socket.
std::unique_ptr<CadHostConnector> CreatePlatformCadHostConnector();

} // namespace generation
