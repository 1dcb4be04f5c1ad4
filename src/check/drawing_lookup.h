// SPDX-License-Identifier: MIT
#pragma once
#include "catalogue_index.h"
#include <QString>
#include <optional>
#include <vector>

namespace check {

// The name a row gives the drawing lookup: nothing for a null FileName or
// one of spaces only, else the name exactly as stored.
QString LookedUpName(const DetailRow& row);

struct Bounds {
    double min;
    double max;
};
// Both bounds as the lookup compares them; nothing when either is null or
// not a number.
std::optional<Bounds> NumericBounds(const DetailRow& row);

// The range text of the first or the second stroke, as a Bore choice writes it.
QString RangeText(const CatalogueRows& rows, const BoreEntry& bore, bool firstStroke);

// The row whose FileName the lookup returns for a stroke: of the rows whose
// bounds hold it, every stroke's rows alike, the last in SortID order.
std::optional<size_t> LookupWinner(const CatalogueRows& rows, const BoreEntry& bore, double stroke);

// The drawing file name the generate command stages for the row that won
// (none: no row holds the stroke).
QString StagedDrawing(const CatalogueRows& rows, const BoreEntry& bore, std::optional<size_t> winner);

struct SelectableDrawing {
    QString name;
    bool fallback = false;     // Type code + bore code + ".dwg"
    std::optional<size_t> row;  // the row whose FileName names it
};

// Every drawing the generate command can stage for this bore: for typed
// strokes, each nonzero stroke the first range text admits; for fixed
// strokes, "0". Nothing for a bore whose Type no list offers.
std::vector<SelectableDrawing> SelectableDrawings(const CatalogueRows& rows, const CatalogueIndex& index,
                                                  const BoreEntry& bore);

} // namespace check
