// SPDX-License-Identifier: MIT
#pragma once
#include "message_box.h"

namespace messages {

// The boxes that more than one part of the program shows. The stroke checks
// keep their own texts beside the checks.

// The catalogue file could not be opened at start-up; the reason, as the
// catalogue engine words it, goes on a line of its own.
MessageBoxRequest CatalogueOpenFailure(const QString& cataloguePath, const QString& reason);
// A catalogue query failed while the window runs.
MessageBoxRequest CatalogueReadFailure(const QString& error);
// A file of the install root that the window shows could not be opened.
MessageBoxRequest FileOpenFailure(const QString& path);
// A Type or bore code that cannot go into the CAD host's command.
MessageBoxRequest InvalidCatalogueData(const QString& code);
// The install root has no drawing folder: the wrong disc is in the drive.
MessageBoxRequest WrongDisc();
// The temporary folder may not be used (the reason names it and says why).
MessageBoxRequest WorkFolderUnusable(const QString& reason);
// A file could not be staged into the work folder.
MessageBoxRequest CopyFailed();
// Neither a running CAD host nor a new one could be reached.
MessageBoxRequest CadHostNotFound();

} // namespace messages
