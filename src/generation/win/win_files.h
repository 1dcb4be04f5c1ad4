// SPDX-License-Identifier: MIT
#pragma once
// Win32 file operations of staging; wide-character calls, so any path works.
#include "base/result.h"
#include <QString>

namespace generation::win {

// GetTempPathW without its trailing backslash (kept at a drive root, "C:\").
QString TemporaryFolder();
// A file whose attributes are normal in the directory query's sense: not a
// folder, not hidden, not system.
bool PlainFileFound(const QString& path);
base::Status DeleteFileWide(const QString& path);
// Copies source to destination, replacing a file of that name even when it is
// read-only, hidden or system.
base::Status CopyFileOverwriting(const QString& source, const QString& destination);
// FILE_ATTRIBUTE_NORMAL.
base::Status ClearAttributes(const QString& path);
// The system's text for a Win32 error code, without the trailing line break.
QString DescribeError(unsigned long code);

} // namespace generation::win
