// SPDX-License-Identifier: MIT
#pragma once
// Plain C++ so that it compiles without Qt.
#include <string>

namespace medium {

// The shell's default action for path (a folder opens, a batch file runs):
// ShellExecuteW with no owner and no verb, empty parameters and working
// folder, a normal window. The result is not examined.
void ShellExecuteDefault(const std::wstring& path);

} // namespace medium
