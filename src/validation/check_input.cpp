#include "check_input.h"

#include "number_text.h"
#include "stroke_range.h"

namespace validation {
namespace {

CheckResult Failed(StrokeCheck check) {
    CheckResult result;
    result.failure = CheckFailure{check, CheckMessage(check)};
    return result;
}

bool IsNonzeroNumber(const QString& text) {
    const std::optional<double> value = ToNumber(text);
    return value && *value != 0;
}

} // namespace

std::optional<app::MessageBoxRequest> CheckResult::message() const {
    if (failure)
        return failure->message;
    if (queryError)
        return CatalogueReadFailureMessage(*queryError);
    return std::nullopt;
}

CheckResult CheckStrokeInputs(const StrokeInputs& inputs, const StrokeEntryQuery& strokeEntryAllowed) {
    if (inputs.series.isEmpty())
        return Failed(StrokeCheck::NoSeries);
    if (inputs.type.isEmpty())
        return Failed(StrokeCheck::NoType);
    if (inputs.bore.isEmpty())
        return Failed(StrokeCheck::NoBore);

    const catalogue::QueryAnswer<bool> allowed = strokeEntryAllowed();
    if (!allowed.status.ok) {
        CheckResult result;
        result.queryError = allowed.status.error;
        return result;
    }

    if (allowed.value) {
        if (!IsNonzeroNumber(inputs.stroke1))
            return Failed(StrokeCheck::NotNonzeroNumber);
        if (inputs.stroke2Visible && !IsNonzeroNumber(inputs.stroke2))
            return Failed(StrokeCheck::NotNonzeroNumber);
        if (!StrokeInRange(inputs.range1, inputs.stroke1))
            return Failed(StrokeCheck::FirstStrokeOutOfRange);
        if (inputs.stroke2Visible && !StrokeInRange(inputs.range2, inputs.stroke2))
            return Failed(StrokeCheck::SecondStrokeOutOfRange);
    }

    CheckResult result;
    result.passed = true;
    result.strokeEntryAllowed = allowed.value;
    return result;
}

} // namespace validation
