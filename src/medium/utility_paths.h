// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace medium {

// install root + "/Files/Accessories" and + "/Files/TEMP CLEAR.bat", with the
// native separator; the install root is used as it stands.
QString AccessoriesFolder(const QString& installRoot);
QString CleanUpBatchFile(const QString& installRoot);

// Where there is no Windows shell a batch file cannot run; the script that
// runs in its place is the one beside it with ".sh" for ".bat" (either case).
// Nothing for a path that is not a batch file.
QString ScriptForBatchFile(const QString& path);

} // namespace medium
