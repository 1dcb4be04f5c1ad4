// SPDX-License-Identifier: MIT
#pragma once
// The registry entries that make COM find this program under the host's
// ProgID. They go to HKCU\Software\Classes, so no administrator is needed;
// where COM reads no per-user classes (Wine's), to HKEY_CLASSES_ROOT as well.
#include <guiddef.h>

#include <string>

namespace fake_autocad {

// Our own class; the program finds it only through the ProgID.
extern const CLSID kApplicationClass;
extern const wchar_t kProgId[];

// serverCommand: the full command line COM runs (it appends -Embedding).
// Answers an empty text on success, else what failed. COM must be
// initialised: the ProgID is looked up to check that COM finds it.
std::wstring RegisterServer(const std::wstring& serverCommand);
std::wstring UnregisterServer();

} // namespace fake_autocad
