// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_index.h"
#include "findings.h"

namespace check {

// The ranges of each Series, Type, Bore and stroke: bounds the stroke check
// cannot read (null, negative, not a number, minimum above maximum),
// overlapping ranges and the row that wins the drawing lookup, SortIDs
// given twice, gaps, second-stroke rows of a Type with one stroke, a second
// stroke without ranges, and fixed strokes whose ranges refuse the "0".
Findings CheckRanges(const CatalogueRows& rows, const CatalogueIndex& index);

// FileName values the program refuses (a path) or uses with their blanks.
Findings CheckFileNames(const CatalogueRows& rows, const CatalogueIndex& index);

} // namespace check
