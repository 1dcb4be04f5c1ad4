// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_index.h"
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace check {

// One range of a bore as the map draws it: a bar, or a tick for a single
// value, in a lane of its stroke where it overlaps no other range.
struct MapRange {
    size_t row;  // into CatalogueRows::detail
    bool firstStroke;
    double min;
    double max;  // equal to min: a single value
    QString sortId;
    QString drawing;         // the file the range stages
    bool fallback = false;   // Type code + bore code: the row names no file
    bool missing = false;    // not in Files (known only for an install root)
    int lane = 0;            // from the top of the bore's block
};

// Two ranges that hold strokes in common, and what the lookup takes there.
struct MapOverlap {
    double from;
    double to;
    int topLane;
    int bottomLane;
    QString text;  // the strokes, both rows, the winning SortID and drawing
};

struct BoreMap {
    QString bore;
    std::vector<MapRange> ranges;
    std::vector<MapOverlap> overlaps;
    int lanes = 0;        // first-stroke lanes, then second-stroke lanes
    int firstLanes = 0;
    QStringList notDrawn;  // "SortID 3: MinValue null", rows with unreadable bounds
};

struct TypeMap {
    QString series;
    QString type;
    bool strokesFixed = false;
    std::vector<BoreMap> bores;  // in the order the catalogue first names them
    double axisMin = 0;
    double axisMax = 0;
};

struct SeriesMaps {
    QString series;
    std::vector<TypeMap> types;
};

// The files of the install root's Files folder by exact name; nothing when
// no install root was given or it has no Files folder.
std::optional<QSet<QString>> DrawingsOnDisc(const QString& installRoot);

// The range map of every Type that Fluid_Main lists, grouped by Series in
// the order the catalogue first names them.
std::vector<SeriesMaps> BuildRangeMaps(const CatalogueRows& rows, const CatalogueIndex& index,
                                       const std::optional<QSet<QString>>& drawingsOnDisc);

} // namespace check
