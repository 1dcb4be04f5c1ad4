// SPDX-License-Identifier: MIT
#include "queries.h"
#include "query_runner.h"
#include "statements.h"

namespace catalogue {

namespace {

// Blank as the classic Trim sees it: nothing but spaces.
bool OnlySpaces(const QString& text)
{
    for (const QChar c : text) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

// Refills a list from the one column of a statement. The list is emptied only
// once the statement ran, so a failure leaves it as it was; a null value has
// no text and is skipped.
base::Status FillList(Connection* connection, ListTarget& list, const QString& sqlText,
                      const QString& field)
{
    return RunQuery(
        connection, sqlText, [&] { list.clear(); },
        [&](const Recordset& row) {
            const FieldValue value = row.field(field);
            if (!value.isNull())
                list.append(value.toText());
            return true;
        });
}

} // namespace

base::Status FillSeriesList(Connection* connection, ListTarget& seriesList)
{
    return FillList(connection, seriesList, SeriesListStatement(), QStringLiteral("STYLE"));
}

base::Status FillTypeList(Connection* connection, ListTarget& typeList, const QString& series)
{
    return FillList(connection, typeList, TypeListStatement(series),
                    QStringLiteral("STYLEDetail"));
}

base::Status FillBoreList(Connection* connection, ListTarget& boreList, const QString& series,
                          const QString& type)
{
    return FillList(connection, boreList, BoreListStatement(series, type),
                    QStringLiteral("DiaSpec"));
}

base::Result<bool> HasSecondStroke(Connection* connection, const QString& series,
                                   const QString& type)
{
    bool second = false;
    const base::Status ran = RunQuery(connection, SecondStrokeStatement(series, type), nullptr,
                                      [&](const Recordset& row) {
                                          // every row overwrites: the last one decides
                                          second = !row.field(QStringLiteral("MultiProcess")).equalsOne();
                                          return true;
                                      });
    if (!ran)
        return ran.failure();
    return second;
}

base::Result<bool> StrokeEntryAllowed(Connection* connection, const QString& series,
                                      const QString& type)
{
    bool allowed = false;  // no row: the strokes stay locked
    const base::Status ran = RunQuery(connection, StrokeEntryStatement(series, type), nullptr,
                                      [&](const Recordset& row) {
                                          const std::optional<bool> fixed =
                                              row.field(QStringLiteral("OwnerProcess")).toBool();
                                          // a value that is no truth value locks them as well
                                          allowed = fixed.has_value() && !*fixed;
                                          return false;  // the first row only
                                      });
    if (!ran)
        return ran.failure();
    return allowed;
}

base::Result<QString> LookupDrawingFile(Connection* connection, const QString& series,
                                        const QString& type, const QString& bore,
                                        const QString& strokeText)
{
    QString name;
    // The stroke stands unquoted in the statement: anything but a plain
    // number could change what the statement says.
    if (!IsPlainDecimal(StripBlanks(strokeText)))
        return name;
    const base::Status ran = RunQuery(
        connection, DrawingFileStatement(series, type, bore, strokeText), nullptr,
        [&](const Recordset& row) {
            // ascending SortID: the last matching range decides, even a blank one
            const QString text = row.field(QStringLiteral("FileName")).toText();
            name = OnlySpaces(text) ? QString() : text;
            return true;
        });
    if (!ran)
        return ran.failure();
    return name;
}

} // namespace catalogue
