// SPDX-License-Identifier: MIT
#include "stroke_range.h"

#include "number_text.h"

#include <QRegularExpression>

namespace validation {
namespace {

bool RangePieceAdmits(const QString& piece, const QString& strokeText) {
    const QStringList parts = piece.split(u'-');
    const std::optional<double> lower = ToNumber(parts.at(0));
    const std::optional<double> upper = ToNumber(parts.at(1));
    const std::optional<double> stroke = ToNumber(strokeText);
    if (!lower || !upper || !stroke)
        return false;
    return *lower <= *stroke && *stroke <= *upper;
}

} // namespace

bool StrokeInRange(const QString& rangeText, const QString& strokeText) {
    if (rangeText.isEmpty())
        return true;
    static const QRegularExpression separators(QStringLiteral("[;\r\n]"));
    const QStringList pieces = rangeText.split(separators, Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        if (piece.contains(u'-')) {
            if (RangePieceAdmits(piece, strokeText))
                return true;
        } else if (piece == strokeText) {
            return true;
        }
    }
    return false;
}

} // namespace validation
