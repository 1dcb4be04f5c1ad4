// SPDX-License-Identifier: MIT
#pragma once
#include "load_limits.h"
#include "mdb_api.h"
#include <functional>
#include <memory>

namespace catalogue {

struct TableDefinitionFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using MdbTable = std::unique_ptr<MdbTableDef, TableDefinitionFreer>;

// The definition and the columns of the table that entry names; throws
// CatalogueError when it cannot be read.
MdbTable ReadTableDefinition(MdbCatalogEntry* entry, const LoadLimits& limits);
// Reads the columns of a definition: false when they cannot be read. Refuses
// a definition of no fields or of more than Access allows, which libmdb
// would split rows into regardless.
bool ReadColumns(MdbTableDef* table, const LoadLimits& limits);

// Calls onRow with the fields of every live row of the table's data pages,
// as mdb_crack_row splits it (one field per column of the definition). Rows
// of no bytes and rows libmdb cannot split are passed over, as libmdb's own
// reader does; but then the rows read fall short of the definition's count,
// and the file is refused: a table is read whole or not at all.
void ForEachRow(MdbHandle* mdb, MdbTableDef* table, const LoadLimits& limits,
                const std::function<void(const MdbField* fields)>& onRow);

} // namespace catalogue
