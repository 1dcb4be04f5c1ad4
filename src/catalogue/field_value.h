// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>
#include <variant>

namespace catalogue {

// One value of a catalogue field, as Access stored it. Null, text, whole
// numbers and real numbers stay apart so that callers can apply the rules
// that depend on the kind (the comparison with "1", null meaning "no file").
class FieldValue {
public:
    FieldValue() = default;                  // null
    FieldValue(const QString& text) : value_(text) {}
    FieldValue(qint64 number) : value_(number) {}
    FieldValue(double number) : value_(number) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    bool isText() const { return std::holds_alternative<QString>(value_); }
    bool isInteger() const { return std::holds_alternative<qint64>(value_); }
    bool isReal() const { return std::holds_alternative<double>(value_); }

    // Text as the list items and range texts show it: text unchanged, numbers
    // without grouping and with "." as decimal separator whatever the locale,
    // null as empty text.
    QString toText() const;
    // The number a numeric value holds, or a text that reads as a plain decimal
    // number; null and other texts give no number.
    std::optional<double> toNumber() const;
    // Equality with the text "1": a text must be exactly "1", a number must be 1,
    // null is never equal.
    bool equalsOne() const;
    // Truth value as Access converts it: nonzero numbers are true; the texts
    // "True"/"False"/"Yes"/"No" and numeric texts convert; anything else (null
    // included) gives no value.
    std::optional<bool> toBool() const;

    const std::variant<std::monostate, QString, qint64, double>& raw() const { return value_; }

private:
    std::variant<std::monostate, QString, qint64, double> value_;
};

} // namespace catalogue
