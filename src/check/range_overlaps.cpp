// SPDX-License-Identifier: MIT
#include "range_overlaps.h"
#include <algorithm>

namespace check {

std::vector<RangeOverlap> RangeOverlaps(const CatalogueRows& rows, const BoreEntry& bore)
{
    struct Valid {
        size_t index;
        size_t order;  // in SortID order
        Bounds bounds;
    };
    std::vector<Valid> valid;
    for (size_t order = 0; order < bore.rows.size(); ++order) {
        const size_t index = bore.rows[order];
        if (const std::optional<Bounds> bounds = NumericBounds(rows.detail[index]); bounds && bounds->min <= bounds->max)
            valid.push_back({index, order, *bounds});
    }
    std::stable_sort(valid.begin(), valid.end(),
                     [](const Valid& a, const Valid& b) { return a.bounds.min < b.bounds.min; });
    std::vector<RangeOverlap> overlaps;
    for (size_t i = 0; i < valid.size(); ++i) {
        for (size_t j = i + 1; j < valid.size() && valid[j].bounds.min <= valid[i].bounds.max; ++j) {
            const Valid& earlier = valid[i].order < valid[j].order ? valid[i] : valid[j];
            const Valid& later = valid[i].order < valid[j].order ? valid[j] : valid[i];
            const DetailRow& a = rows.detail[earlier.index];
            if (!a.processId.equalsOne())
                continue;
            const Bounds strokes{std::max(earlier.bounds.min, later.bounds.min),
                                 std::min(earlier.bounds.max, later.bounds.max)};
            overlaps.push_back({earlier.index, later.index, strokes,
                                !SortIdBefore(a.sortId, rows.detail[later.index].sortId)});
        }
    }
    return overlaps;
}

} // namespace check
