// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_rows.h"
#include "findings.h"
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace check {

// A Type as the program sees it: the Fluid_Main rows whose Series and Type
// the engine takes for one (ASCII case aside).
struct TypeEntry {
    QString series;  // spelled as on its first row
    QString type;
    std::vector<size_t> mainRows;  // in the order the engine returns them
    // The last row's MultiProcess decides, the first row's OwnerProcess;
    // an OwnerProcess that is no truth value locks the strokes as well.
    bool secondStroke = false;
    bool strokesFixed = true;
    std::vector<size_t> bores;  // into CatalogueIndex::bores
};

// The Fluid_Detail rows of one Series, Type and Bore.
struct BoreEntry {
    QString series;
    QString type;  // as the Type list shows it when Fluid_Main has the Type
    QString bore;
    std::vector<size_t> rows;  // in ascending SortID, as "Order By SortID" returns them
    std::optional<size_t> typeEntry;  // none: Fluid_Main does not list the Type
};

// The rows grouped the way the program's statements select them. Rows with a
// null or blank Series, Type or Bore are left out: no list offers them.
struct CatalogueIndex {
    std::vector<TypeEntry> types;
    std::vector<BoreEntry> bores;
};

CatalogueIndex IndexCatalogue(const CatalogueRows& rows);

// A code that a list can offer: not null, and not empty or blank.
bool IsListedCode(const FieldValue& code);

// "Order By SortID" on the engine: null first, then numbers, then texts.
bool SortIdBefore(const FieldValue& a, const FieldValue& b);

// The location of a Fluid_Detail row.
Location RowLocation(const BoreEntry& bore, const DetailRow& row);

} // namespace check
