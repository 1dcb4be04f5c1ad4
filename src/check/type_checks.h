// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_index.h"
#include "findings.h"

namespace check {

// Fluid_Main against itself and against Fluid_Detail: rows of one Type that
// disagree on MultiProcess or OwnerProcess, OwnerProcess values that are no
// truth value, Types with no Bore, and Fluid_Detail rows that no Type list
// leads to.
Findings CheckTypes(const CatalogueRows& rows, const CatalogueIndex& index);

} // namespace check
