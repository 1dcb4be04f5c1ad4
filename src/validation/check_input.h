#pragma once
#include "check_messages.h"
#include "catalogue/queries.h"

#include <QString>
#include <functional>
#include <optional>

namespace validation {

// What the generate check reads from the window, taken at the moment of the check.
struct StrokeInputs {
    QString series;  // text of cboItem
    QString type;    // text of cboStyle
    QString bore;    // text of cboDia
    QString stroke1; // txtData
    QString stroke2; // txtData1
    bool stroke2Visible = false;
    QString range1;  // txtInfo
    QString range2;  // txtInfo1
};

struct CheckFailure {
    StrokeCheck check;
    app::MessageBoxRequest message;
};

struct CheckResult {
    bool passed = false;
    // The first check that failed; empty when passed or when the catalogue
    // could not be read.
    std::optional<CheckFailure> failure;
    // StrokeEntryAllowed as read during the check; it decides the form of the
    // stretch command. Meaningful when passed.
    bool strokeEntryAllowed = false;
    // StrokeEntryAllowed's query failed: nothing can be decided.
    std::optional<QString> queryError;

    // The box to show when the check did not pass.
    std::optional<app::MessageBoxRequest> message() const;
};

using StrokeEntryQuery = std::function<catalogue::QueryAnswer<bool>()>;

// The gate of the generate command. Selections first, then (only when the
// catalogue lets the user type strokes) the numbers and the ranges. Fixed
// strokes skip the range checks, since the user cannot change the locked
// "0"; a hidden second stroke box is not examined at all. strokeEntryAllowed
// is queried only once Series, Type and Bore are present.
CheckResult CheckStrokeInputs(const StrokeInputs& inputs, const StrokeEntryQuery& strokeEntryAllowed);

} // namespace validation
