// SPDX-License-Identifier: MIT
#pragma once
#include "load_limits.h"
#include "mdb_api.h"
#include <vector>

namespace catalogue {

// The user tables of the file, in the order of its object table
// MSysObjects, as entries that mdb_read_table takes. Read here rather than by
// mdb_read_catalog, which also parses every object's property blob and loops
// for ever on a blob record of length 0; the loader needs no properties.
// The entries refer to mdb, which must outlive them. Throws CatalogueError.
std::vector<MdbCatalogEntry> ReadUserTables(MdbHandle* mdb, const LoadLimits& limits);

} // namespace catalogue
