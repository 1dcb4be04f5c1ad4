// SPDX-License-Identifier: MIT
#pragma once
#include "field_value.h"
#include "queries.h"

namespace catalogue {

// Writes one range box's text, one catalogue row at a time, in the format the
// stroke check reads back: "min;" for equal bounds, "min-max" CR LF for any
// other row, and no separator after the last entry once finish() runs. The box
// itself holds the text so far: each entry is appended to what it shows.
class RangeTextWriter {
public:
    explicit RangeTextWriter(TextTarget& box) : box_(box) {}

    void append(const FieldValue& minValue, const FieldValue& maxValue);
    void finish();  // drops the final separator

private:
    enum class EntryKind { None, SingleValue, Range };
    TextTarget& box_;
    EntryKind last_ = EntryKind::None;
};

} // namespace catalogue
