#include "queries.h"
#include "query_runner.h"
#include "statements.h"

namespace catalogue {

namespace {

enum class EntryKind { None, SingleValue, Range };

// One range box being built. The box itself holds the text so far: each
// entry is appended to what the box shows and written back.
struct RangeBox {
    TextTarget& box;
    EntryKind last = EntryKind::None;

    void append(const FieldValue& minValue, const FieldValue& maxValue)
    {
        const std::optional<double> low = minValue.toNumber();
        const std::optional<double> high = maxValue.toNumber();
        // a null bound is written as nothing and is never equal to the other
        if (low && high && *low == *high) {
            box.setText(box.text() + minValue.toText() + QLatin1Char(';'));
            last = EntryKind::SingleValue;
        } else {
            box.setText(box.text() + minValue.toText() + QLatin1Char('-') + maxValue.toText() +
                        QStringLiteral("\r\n"));
            last = EntryKind::Range;
        }
    }

    void dropFinalSeparator()
    {
        const QString text = box.text();
        if (last == EntryKind::SingleValue && text.endsWith(QLatin1Char(';')))
            box.setText(text.chopped(1));
        else if (last == EntryKind::Range && text.endsWith(QLatin1String("\r\n")))
            box.setText(text.chopped(2));
    }
};

} // namespace

base::Status BuildRangeText(Connection* connection, const QString& series, const QString& type,
                            const QString& bore, bool boreStepShown, TextTarget& firstStroke,
                            TextTarget& secondStroke)
{
    firstStroke.setText(QString());
    secondStroke.setText(QString());
    if (!boreStepShown)
        return {};

    RangeBox first{firstStroke};
    RangeBox second{secondStroke};
    const base::Status status = RunQuery(
        connection, RangeTextStatement(series, type, bore), nullptr,
        [&](const Recordset& row) {
            RangeBox& target = row.field(QStringLiteral("ProcessID")).equalsOne() ? first : second;
            target.append(row.field(QStringLiteral("MinValue")),
                          row.field(QStringLiteral("MaxValue")));
            return true;
        });
    first.dropFinalSeparator();
    second.dropFinalSeparator();
    return status;
}

} // namespace catalogue
