// SPDX-License-Identifier: MIT
#pragma once
#include "range_map.h"
#include <QString>

namespace check {

// The range map of one Type as an inline SVG element: one block per bore,
// its ranges on a stroke axis shared by the whole Type, first-stroke lanes
// above second-stroke lanes. A range is a bar (class "range bar"), a single
// value a tick ("range tick"), each with its drawing written on it and its
// row and drawing in a <title>; a drawing not in Files adds the class
// "missing". An overlap is a rect of class "overlap" across the lanes of
// both ranges, its <title> naming the SortID that wins and its drawing.
QString RangeMapSvg(const TypeMap& map);

} // namespace check
