#include "catalogue_model.h"
#include "catalogue/catalogue_error.h"
#include "catalogue/connection.h"
#include "catalogue/queries.h"

namespace demo {

namespace {

using catalogue::FieldValue;
using catalogue::Recordset;

// Runs one statement and hands each row to the reader; false with the
// engine's description on failure.
template <typename RowReader>
bool ForEachRow(const QString& sql, RowReader readRow, QString& error)
{
    Recordset rows;
    if (!catalogue::OpenRecordset(sql, catalogue::CatalogueConnection.get(), rows, error))
        return false;
    try {
        while (!rows.eof()) {
            readRow(rows);
            rows.moveNext();
        }
    } catch (const catalogue::CatalogueError& failure) {
        error = failure.description();
        return false;
    }
    rows.close();
    return true;
}

QString Literal(const QString& value)
{
    return u'\'' + catalogue::QuoteSqlValue(value) + u'\'';
}

QString TypeCondition(const QString& series, const QString& type)
{
    return QStringLiteral(" where Style=") + Literal(series) + QStringLiteral(" AND StyleDetail=")
        + Literal(type);
}

bool ReadDistinct(const QString& sql, const QString& field, QStringList& values, QString& error)
{
    return ForEachRow(
        sql, [&](Recordset& rows) { values.append(rows.field(field).toText()); }, error);
}

bool ReadType(const QString& series, TypeEntry& type, QString& error)
{
    const QString condition = TypeCondition(series, type.code);
    bool ok = ForEachRow(
        QStringLiteral("SELECT DISTINCT MultiProcess FROM Fluid_Main") + condition,
        [&](Recordset& rows) { type.secondStroke = !rows.field(QStringLiteral("MultiProcess")).equalsOne(); },
        error);
    bool firstRow = true;
    ok = ok
        && ForEachRow(
             QStringLiteral("SELECT OwnerProcess FROM Fluid_Main") + condition,
             [&](Recordset& rows) {
                 if (firstRow)
                     type.strokesFixed = rows.field(QStringLiteral("OwnerProcess")).toBool().value_or(false);
                 firstRow = false;
             },
             error);
    QStringList boreCodes;
    ok = ok
        && ReadDistinct(QStringLiteral("SELECT DISTINCT DiaSpec FROM Fluid_Detail") + condition,
                        QStringLiteral("DiaSpec"), boreCodes, error);
    for (const QString& code : boreCodes) {
        if (!ok)
            break;
        BoreEntry bore{code, {}};
        ok = ForEachRow(
            QStringLiteral("SELECT SortID, MinValue, MaxValue, ProcessID, FileName FROM Fluid_Detail")
                + condition + QStringLiteral(" AND DiaSpec=") + Literal(code)
                + QStringLiteral(" Order By SortID"),
            [&](Recordset& rows) {
                StrokeRange range;
                range.minText = rows.field(QStringLiteral("MinValue")).toText();
                range.maxText = rows.field(QStringLiteral("MaxValue")).toText();
                range.firstStroke = rows.field(QStringLiteral("ProcessID")).equalsOne();
                const FieldValue name = rows.field(QStringLiteral("FileName"));
                if (!name.isNull())
                    range.fileName = name.toText();
                bore.ranges.append(range);
            },
            error);
        type.bores.append(bore);
    }
    return ok;
}

} // namespace

QStringList TypeEntry::boreCodes() const
{
    QStringList codes;
    for (const BoreEntry& bore : bores)
        codes.append(bore.code);
    return codes;
}

QStringList TypeEntry::rangeTexts(bool firstStroke) const
{
    QStringList texts;
    for (const BoreEntry& bore : bores) {
        for (const StrokeRange& range : bore.ranges) {
            if (range.firstStroke == firstStroke && !texts.contains(range.text()))
                texts.append(range.text());
        }
    }
    return texts;
}

bool SeriesEntry::listsFeatures() const
{
    return code == QLatin1String("HMN") || code == QLatin1String("JZY")
        || code == QLatin1String("WKC") || code == QLatin1String("UJ");
}

QStringList SeriesEntry::typeCodes() const
{
    QStringList codes;
    for (const TypeEntry& type : types)
        codes.append(type.code);
    return codes;
}

std::optional<CatalogueModel> ReadCatalogueModel(const QString& catalogueFile, QString& error)
{
    const std::optional<bool> opened =
        catalogue::OpenCatalogueConnection(QString(), QString(), true, true, catalogueFile);
    if (!opened.value_or(false)) {
        error = catalogueFile + QStringLiteral(": the catalogue cannot be opened");
        return std::nullopt;
    }
    CatalogueModel model;
    QStringList seriesCodes;
    bool ok = ReadDistinct(QStringLiteral("SELECT DISTINCT STYLE FROM Fluid_Main"),
                           QStringLiteral("STYLE"), seriesCodes, error);
    for (const QString& seriesCode : seriesCodes) {
        if (!ok)
            break;
        SeriesEntry series{seriesCode, {}};
        QStringList typeCodes;
        ok = ReadDistinct(QStringLiteral("SELECT DISTINCT STYLEDetail FROM Fluid_Main where Style=")
                              + Literal(seriesCode),
                          QStringLiteral("STYLEDetail"), typeCodes, error);
        for (const QString& typeCode : typeCodes) {
            if (!ok)
                break;
            TypeEntry type;
            type.code = typeCode;
            ok = ReadType(seriesCode, type, error);
            series.types.append(type);
        }
        model.series.append(series);
    }
    catalogue::CloseCatalogueConnection(catalogue::CatalogueConnection.get());
    if (!ok)
        return std::nullopt;
    return model;
}

} // namespace demo
