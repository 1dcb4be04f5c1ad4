// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include "check_messages.h"

#include <QString>
#include <functional>
#include <optional>

namespace validation {

// What the generate check reads from the window, taken at the moment of the check.
struct StrokeInputs {
    QString series;
    QString type;
    QString bore;
    QString stroke1;
    QString stroke2;
    bool stroke2Visible = false;
    QString range1;  // the range text of the first stroke
    QString range2;  // and of the second
};

// Why the generate command may not go on, and the box that tells the user.
struct CheckFailure {
    std::optional<StrokeCheck> check;  // none: the catalogue could not be read
    messages::MessageBoxRequest message;
};

// A passed check hands on StrokeEntryAllowed as it read it: it decides the
// form of the stretch command.
struct CheckedStrokes {
    bool strokeEntryAllowed = false;
};

using CheckResult = base::Result<CheckedStrokes, CheckFailure>;

using StrokeEntryQuery = std::function<base::Result<bool>()>;

// The gate of the generate command. Selections first, then (only when the
// catalogue lets the user type strokes) the numbers and the ranges. Fixed
// strokes skip the range checks, since the user cannot change the locked
// "0"; a hidden second stroke box is not examined at all. strokeEntryAllowed
// is queried only once Series, Type and Bore are present.
CheckResult CheckStrokeInputs(const StrokeInputs& inputs, const StrokeEntryQuery& strokeEntryAllowed);

} // namespace validation
