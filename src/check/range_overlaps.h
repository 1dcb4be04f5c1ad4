// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_index.h"
#include "drawing_lookup.h"
#include <vector>

namespace check {

// Two ranges of one bore that hold strokes in common where the drawing
// lookup is concerned. The lookup matches the first stroke against every row
// of the bore and the highest SortID wins, so the earlier range (in SortID
// order) is a first-stroke one, and the later one, of either stroke, is the
// one the lookup takes there; an earlier second-stroke range never matters.
struct RangeOverlap {
    size_t earlier;  // into CatalogueRows::detail
    size_t later;
    Bounds strokes;  // the strokes both hold
    bool tie;        // both under one SortID: the engine's order decides
};

// Every such pair of the bore's ranges that have readable bounds, minimum
// not above maximum; ordered by the lower range's minimum.
std::vector<RangeOverlap> RangeOverlaps(const CatalogueRows& rows, const BoreEntry& bore);

} // namespace check
