// SPDX-License-Identifier: MIT
#pragma once
// The work folder on POSIX systems. Windows gives each user a temporary
// folder of their own; /tmp is shared by all, and fixed names in it would let
// another user plant the drawing and the LISP application that the CAD host
// loads, or a link that turns our copy into a write to one of our files.
#include "base/result.h"
#include <QByteArray>
#include <QString>
#include <sys/types.h>

namespace generation::posix {

// $XDG_RUNTIME_DIR/talvex when that variable names an absolute folder; else
// $TMPDIR (when absolute) or /tmp, + /talvex-<uid>. No trailing separator.
QString PrivateWorkFolderPath(const QByteArray& runtimeFolder, const QByteArray& temporaryFolder,
                              uid_t user);

// Creates the folder (one level, mode 0700) when nothing lies at the path,
// then takes it only as a real folder, not a link, owned by owner, with no
// access for group or others. The path, or why the folder may not be used.
base::Result<QString> PreparePrivateFolder(const QString& path, uid_t owner);

} // namespace generation::posix
