// SPDX-License-Identifier: MIT
#include "number_text.h"
#include "catalogue/queries.h"

#include <charconv>
#include <string>

namespace validation {
namespace {

// The number part without the surrounding blanks, or empty when the text
// breaks the plain decimal form.
std::optional<QString> PlainDecimalCore(const QString& text) {
    QString core = catalogue::StripBlanks(text);
    if (!catalogue::IsPlainDecimal(core))
        return std::nullopt;
    return core;
}

// True when the digits before the "." are not all zero: a value that does not
// fit a double then overflows rather than underflows.
bool HasNonzeroIntegerPart(const std::string& core) {
    for (char c : core) {
        if (c == '.')
            break;
        if (c >= '1' && c <= '9')
            return true;
    }
    return false;
}

} // namespace

std::optional<double> ToNumber(const QString& text) {
    const std::optional<QString> core = PlainDecimalCore(text);
    if (!core)
        return std::nullopt;

    // from_chars takes no "+" and ignores the C locale, which Qt sets from
    // the environment.
    std::string ascii = core->toLatin1().toStdString();
    const bool negative = ascii.front() == '-';
    if (ascii.front() == '+' || ascii.front() == '-')
        ascii.erase(0, 1);

    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (HasNonzeroIntegerPart(ascii))
            return std::nullopt;
        value = 0;
    } else if (error != std::errc() || end != ascii.data() + ascii.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

bool IsNumeric(const QString& text) { return ToNumber(text).has_value(); }

} // namespace validation
