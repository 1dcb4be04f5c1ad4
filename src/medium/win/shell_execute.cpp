// SPDX-License-Identifier: MIT
#include "shell_execute.h"

#include <windows.h>
#include <shellapi.h>

namespace medium {

void ShellExecuteDefault(const std::wstring& path)
{
    (void)ShellExecuteW(nullptr, nullptr, path.c_str(), L"", L"", SW_SHOWNORMAL);
}

} // namespace medium
