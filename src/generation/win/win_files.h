#pragma once
// Plain Win32 file operations of staging, kept free of Qt so that they can be
// compiled on their own; wide-character calls, so any path works.
#include <optional>
#include <string>

namespace generation::win {

// GetTempPathW without its trailing backslash (kept at a drive root, "C:\").
std::wstring TemporaryFolder();
// A file whose attributes are normal in the directory query's sense: not a
// folder, not hidden, not system.
bool PlainFileFound(const std::wstring& path);
bool DeleteFileWide(const std::wstring& path);
// Copies source to destination, replacing a file of that name even when it is
// read-only, hidden or system. Returns FormatMessage's description on failure.
std::optional<std::wstring> CopyFileOverwriting(const std::wstring& source,
                                                const std::wstring& destination);
// FILE_ATTRIBUTE_NORMAL; the failure's description, or nothing.
std::optional<std::wstring> ClearAttributes(const std::wstring& path);
// The system's text for a Win32 error code, without the trailing line break.
std::wstring DescribeError(unsigned long code);

} // namespace generation::win
