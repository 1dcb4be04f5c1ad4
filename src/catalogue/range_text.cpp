// SPDX-License-Identifier: MIT
#include "query_runner.h"
#include "range_text_writer.h"
#include "statements.h"

namespace catalogue {

void RangeTextWriter::append(const FieldValue& minValue, const FieldValue& maxValue)
{
    const std::optional<double> low = minValue.toNumber();
    const std::optional<double> high = maxValue.toNumber();
    // a null bound is written as nothing and is never equal to the other
    if (low && high && *low == *high) {
        box_.setText(box_.text() + minValue.toText() + QLatin1Char(';'));
        last_ = EntryKind::SingleValue;
    } else {
        box_.setText(box_.text() + minValue.toText() + QLatin1Char('-') + maxValue.toText() +
                     QStringLiteral("\r\n"));
        last_ = EntryKind::Range;
    }
}

void RangeTextWriter::finish()
{
    const QString text = box_.text();
    if (last_ == EntryKind::SingleValue && text.endsWith(QLatin1Char(';')))
        box_.setText(text.chopped(1));
    else if (last_ == EntryKind::Range && text.endsWith(QLatin1String("\r\n")))
        box_.setText(text.chopped(2));
}

base::Status BuildRangeText(Connection* connection, const QString& series, const QString& type,
                            const QString& bore, bool boreStepShown, TextTarget& firstStroke,
                            TextTarget& secondStroke)
{
    firstStroke.setText(QString());
    secondStroke.setText(QString());
    if (!boreStepShown)
        return {};

    RangeTextWriter first(firstStroke);
    RangeTextWriter second(secondStroke);
    const base::Status status = RunQuery(
        connection, RangeTextStatement(series, type, bore), nullptr,
        [&](const Recordset& row) {
            RangeTextWriter& target =
                row.field(QStringLiteral("ProcessID")).equalsOne() ? first : second;
            target.append(row.field(QStringLiteral("MinValue")),
                          row.field(QStringLiteral("MaxValue")));
            return true;
        });
    first.finish();
    second.finish();
    return status;
}

} // namespace catalogue
