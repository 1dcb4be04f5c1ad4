// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace app {

// A data path: the install root followed by a relative path that begins with
// a separator ("/Docs/default.rtf"), written with the native separator.
// Only the catalogue path avoids a doubled separator at a drive root.
QString InstallPath(const QString& installRoot, const QString& relative);

// The folder of the running program, without a trailing separator except at
// the root of a drive.
QString ProgramFolder();

} // namespace app
