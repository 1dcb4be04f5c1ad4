// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <optional>
#include <span>
#include <string_view>

namespace selection {

// The preview scrolls to image height × numerator ÷ denominator for a Type.
struct TypePosition {
    double numerator;
    double denominator;
};

struct TypePositionRow {
    std::string_view type;  // Type code, ASCII
    TypePosition position;
};

// All rows, keys distinct.
std::span<const TypePositionRow> TypePositionTable();

// The row of a Type code, compared exactly (case counts); empty when the Type
// has no fixed position.
std::optional<TypePosition> LookupTypePosition(const QString& type);

} // namespace selection
