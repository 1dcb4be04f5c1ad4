// SPDX-License-Identifier: MIT
#include "check_input.h"

#include "messages/system_messages.h"
#include "number_text.h"
#include "stroke_range.h"

namespace validation {
namespace {

CheckResult Failed(StrokeCheck check) {
    return CheckFailure{check, CheckMessage(check)};
}

bool IsNonzeroNumber(const QString& text) {
    const std::optional<double> value = ToNumber(text);
    return value && *value != 0;
}

} // namespace

CheckResult CheckStrokeInputs(const StrokeInputs& inputs, const StrokeEntryQuery& strokeEntryAllowed) {
    if (inputs.series.isEmpty())
        return Failed(StrokeCheck::NoSeries);
    if (inputs.type.isEmpty())
        return Failed(StrokeCheck::NoType);
    if (inputs.bore.isEmpty())
        return Failed(StrokeCheck::NoBore);

    const base::Result<bool> allowed = strokeEntryAllowed();
    if (!allowed)
        return CheckFailure{std::nullopt, messages::CatalogueReadFailure(allowed.error())};

    if (*allowed) {
        if (!IsNonzeroNumber(inputs.stroke1))
            return Failed(StrokeCheck::NotNonzeroNumber);
        if (inputs.stroke2Visible && !IsNonzeroNumber(inputs.stroke2))
            return Failed(StrokeCheck::NotNonzeroNumber);
        if (!StrokeInRange(inputs.range1, inputs.stroke1))
            return Failed(StrokeCheck::FirstStrokeOutOfRange);
        if (inputs.stroke2Visible && !StrokeInRange(inputs.range2, inputs.stroke2))
            return Failed(StrokeCheck::SecondStrokeOutOfRange);
    }

    return CheckedStrokes{*allowed};
}

} // namespace validation
