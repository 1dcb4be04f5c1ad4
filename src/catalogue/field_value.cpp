// SPDX-License-Identifier: MIT
#include "field_value.h"
#include "queries.h"

namespace catalogue {

namespace {

// Fifteen significant digits, as the classic number-to-text conversion writes
// a double; the C locale keeps "." as decimal separator everywhere.
QString RealToText(double number)
{
    if (number == 0.0)
        return QStringLiteral("0");  // also for -0
    return QString::number(number, 'G', 15);
}

} // namespace

QString FieldValue::toText() const
{
    if (const auto* text = std::get_if<QString>(&value_))
        return *text;
    if (const auto* whole = std::get_if<qint64>(&value_))
        return QString::number(*whole);
    if (const auto* real = std::get_if<double>(&value_))
        return RealToText(*real);
    return QString();
}

std::optional<double> FieldValue::toNumber() const
{
    if (const auto* whole = std::get_if<qint64>(&value_))
        return static_cast<double>(*whole);
    if (const auto* real = std::get_if<double>(&value_))
        return *real;
    if (const auto* text = std::get_if<QString>(&value_)) {
        const QString trimmed = text->trimmed();
        if (IsPlainDecimal(trimmed))
            return trimmed.toDouble();
    }
    return std::nullopt;
}

bool FieldValue::equalsOne() const
{
    if (const auto* text = std::get_if<QString>(&value_))
        return *text == QLatin1String("1");
    if (const auto* whole = std::get_if<qint64>(&value_))
        return *whole == 1;
    if (const auto* real = std::get_if<double>(&value_))
        return *real == 1.0;
    return false;
}

std::optional<bool> FieldValue::toBool() const
{
    if (const auto* whole = std::get_if<qint64>(&value_))
        return *whole != 0;
    if (const auto* real = std::get_if<double>(&value_))
        return *real != 0.0;
    if (const auto* text = std::get_if<QString>(&value_)) {
        const QString word = text->trimmed();
        if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ||
            word.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0)
            return true;
        if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 ||
            word.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0)
            return false;
        if (IsPlainDecimal(word))
            return word.toDouble() != 0.0;
    }
    return std::nullopt;
}

} // namespace catalogue
