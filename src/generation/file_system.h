// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QString>

namespace generation {

// The file operations of staging, behind one interface so that a test can
// make any of them fail. Paths are native paths.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The platform's temporary folder, without a trailing separator, or why
    // there is none that may be used.
    virtual base::Result<QString> temporaryFolder() = 0;
    virtual bool folderExists(const QString& path) = 0;
    // A plain file with normal attributes; hidden and system files are not found.
    virtual bool fileFound(const QString& path) = 0;
    virtual base::Status createFolder(const QString& path) = 0;  // one level, the user's alone
    virtual base::Status deleteFile(const QString& path) = 0;
    // Copies into destinationFolder (which ends with a separator), overwriting a
    // file of the same name.
    virtual base::Status copyFile(const QString& source, const QString& destinationFolder) = 0;
    // Read-only, hidden, system and archive cleared (on POSIX: writable by its
    // owner).
    virtual base::Status clearFileAttributes(const QString& path) = 0;
};

} // namespace generation
