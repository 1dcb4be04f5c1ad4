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
QueryStatus FillList(Connection* connection, ListTarget& list, const QString& sqlText,
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

QueryStatus FillSeriesList(Connection* connection, ListTarget& cboItem)
{
    return FillList(connection, cboItem, SeriesListStatement(), QStringLiteral("STYLE"));
}

QueryStatus FillTypeList(Connection* connection, ListTarget& cboStyle, const QString& series)
{
    return FillList(connection, cboStyle, TypeListStatement(series),
                    QStringLiteral("STYLEDetail"));
}

QueryStatus FillBoreList(Connection* connection, ListTarget& cboDia, const QString& series,
                         const QString& type)
{
    return FillList(connection, cboDia, BoreListStatement(series, type),
                    QStringLiteral("DiaSpec"));
}

QueryAnswer<bool> HasSecondStroke(Connection* connection, const QString& series,
                                  const QString& type)
{
    QueryAnswer<bool> answer;
    answer.status = RunQuery(connection, SecondStrokeStatement(series, type), nullptr,
                             [&](const Recordset& row) {
                                 // every row overwrites: the last one decides
                                 answer.value = !row.field(QStringLiteral("MultiProcess")).equalsOne();
                                 return true;
                             });
    if (!answer.status.ok)
        answer.value = false;
    return answer;
}

QueryAnswer<bool> StrokeEntryAllowed(Connection* connection, const QString& selectedSeries,
                                     const QString& selectedType)
{
    QueryAnswer<bool> answer;  // no row: the strokes stay locked
    answer.status = RunQuery(connection, StrokeEntryStatement(selectedSeries, selectedType),
                             nullptr, [&](const Recordset& row) {
                                 const std::optional<bool> fixed =
                                     row.field(QStringLiteral("OwnerProcess")).toBool();
                                 // a value that is no truth value locks them as well
                                 answer.value = fixed.has_value() && !*fixed;
                                 return false;  // the first row only
                             });
    if (!answer.status.ok)
        answer.value = false;
    return answer;
}

QueryAnswer<QString> LookupDrawingFile(Connection* connection, const QString& selectedSeries,
                                       const QString& selectedType, const QString& boreText,
                                       const QString& strokeText)
{
    QueryAnswer<QString> answer;
    // The stroke stands unquoted in the statement: anything but a plain
    // number could change what the statement says.
    if (!IsPlainDecimal(StripBlanks(strokeText)))
        return answer;
    answer.status = RunQuery(
        connection, DrawingFileStatement(selectedSeries, selectedType, boreText, strokeText),
        nullptr, [&](const Recordset& row) {
            // ascending SortID: the last matching range decides, even a blank one
            const FieldValue fileName = row.field(QStringLiteral("FileName"));
            const QString text = fileName.toText();
            answer.value = OnlySpaces(text) ? QString() : text;
            return true;
        });
    if (!answer.status.ok)
        answer.value = QString();
    return answer;
}

} // namespace catalogue
