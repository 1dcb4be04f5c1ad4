// SPDX-License-Identifier: MIT
#pragma once
#include "load_limits.h"
#include "mdb_api.h"
#include <QString>
#include <QStringList>
#include <sqlite3.h>

namespace catalogue {

struct LoadedTable {
    QString name;
    QStringList columns;
};

// Copies one user table of the Access file into a new SQLite table of the
// same name and columns. The copy holds exactly the rows that the table's
// definition counts, or the file is refused (ForEachRow): rows lost on pages
// that cannot be read must not leave a catalogue that merely looks smaller.
// Throws CatalogueError.
LoadedTable CopyTable(MdbHandle* mdb, MdbCatalogEntry* entry, sqlite3* sqlite,
                      LoadLimits& limits);

} // namespace catalogue
