// SPDX-License-Identifier: MIT
#pragma once
#include "file_system.h"
#include <QString>

namespace generation {

// Paths of staging, written with the native separator. The install root is
// used as it stands: these paths simply append to it.
QString DrawingFolder(const QString& installRoot);                        // root + "/Files"
QString DrawingSource(const QString& installRoot, const QString& drawingFileName);
QString LispApplicationSource(const QString& installRoot);                // root + "/Files/3dstretch.VLX"

inline const QString kLispApplicationFile = QStringLiteral("3dstretch.VLX");
inline const QString kStaleAcadDocFile = QStringLiteral("Acaddoc.vlx");

// The temporary folder as the platform reports it, without a trailing
// separator; a folder without a name is a failure too.
// (Keep <windows.h> out of any file that sees this name: its macro of the same
// name would rename it.)
base::Result<QString> GetTempPath(FileSystem& fileSystem);
// The temporary folder with one separator appended (none doubled at a root).
// Empty stays empty: a missing folder must not become the root folder.
QString WorkFolder(const QString& temporaryFolder);

// A name the catalogue gives for a drawing stays inside the drawing folder.
bool IsPlainDrawingFileName(const QString& name);
// The looked-up name when it is usable, else Type code + bore code + ".dwg".
QString DrawingFileName(const QString& lookedUpName, const QString& typeCode,
                        const QString& boreCode);

} // namespace generation
