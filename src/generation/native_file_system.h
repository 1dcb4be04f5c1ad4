// SPDX-License-Identifier: MIT
#pragma once
#include "file_system.h"

namespace generation {

// The platform's own file operations. Failures are described in the
// platform's words (strerror on POSIX, FormatMessage on Windows).
class NativeFileSystem final : public FileSystem {
public:
    NativeFileSystem() = default;
    // A fixed temporary folder instead of the platform's (tests, private runs),
    // taken as given.
    explicit NativeFileSystem(QString temporaryFolder);

    // Windows: the user's temporary folder. POSIX: a folder of the user's own
    // under the runtime or temporary folder (posix/private_folder.h), created
    // when missing and refused unless it is the user's alone.
    base::Result<QString> temporaryFolder() override;
    bool folderExists(const QString& path) override;
    bool fileFound(const QString& path) override;
    base::Status createFolder(const QString& path) override;
    base::Status deleteFile(const QString& path) override;
    // An existing file of the same name is replaced even when it is read-only:
    // the work folder's copies are ours, and a copy left read-only by an
    // earlier failed reset must not block every later run.
    // POSIX: the copy gets mode 0644, whatever the source's bits.
    base::Status copyFile(const QString& source, const QString& destinationFolder) override;
    base::Status clearFileAttributes(const QString& path) override;

private:
    QString fixedTemporaryFolder_;
};

} // namespace generation
