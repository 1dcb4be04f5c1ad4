// SPDX-License-Identifier: MIT
#include "catalogue_model.h"
#include "catalogue/catalogue_error.h"
#include "catalogue/connection.h"
#include "catalogue/queries.h"
#include <QScopeGuard>

namespace demo {

namespace {

using catalogue::FieldValue;
using catalogue::Recordset;

// Runs one statement and hands each row to the reader; fails with the
// engine's description.
template <typename RowReader>
base::Status ForEachRow(catalogue::Connection* connection, const QString& sql, RowReader readRow)
{
    Recordset rows;
    QString error;
    if (!catalogue::OpenRecordset(sql, connection, rows, error))
        return base::Fail(error);
    try {
        while (!rows.eof()) {
            readRow(rows);
            rows.moveNext();
        }
    } catch (const catalogue::CatalogueError& failure) {
        return base::Fail(failure.description());
    }
    rows.close();
    return {};
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

base::Result<QStringList> ReadDistinct(catalogue::Connection* connection, const QString& sql,
                                       const QString& field)
{
    QStringList values;
    const base::Status read = ForEachRow(
        connection, sql, [&](Recordset& rows) { values.append(rows.field(field).toText()); });
    if (!read)
        return read.failure();
    return values;
}

StrokeRange RangeOf(const Recordset& rows)
{
    StrokeRange range;
    range.minText = rows.field(QStringLiteral("MinValue")).toText();
    range.maxText = rows.field(QStringLiteral("MaxValue")).toText();
    range.firstStroke = rows.field(QStringLiteral("ProcessID")).equalsOne();
    const FieldValue name = rows.field(QStringLiteral("FileName"));
    if (!name.isNull())
        range.fileName = name.toText();
    return range;
}

base::Result<TypeEntry> ReadType(catalogue::Connection* connection, const QString& series,
                                 const QString& code)
{
    TypeEntry type;
    type.code = code;
    const QString condition = TypeCondition(series, code);
    base::Status read = ForEachRow(
        connection, QStringLiteral("SELECT DISTINCT MultiProcess FROM Fluid_Main") + condition,
        [&](Recordset& rows) { type.secondStroke = !rows.field(QStringLiteral("MultiProcess")).equalsOne(); });
    bool firstRow = true;
    if (read) {
        read = ForEachRow(
            connection, QStringLiteral("SELECT OwnerProcess FROM Fluid_Main") + condition,
            [&](Recordset& rows) {
                if (firstRow)
                    type.strokesFixed = rows.field(QStringLiteral("OwnerProcess")).toBool().value_or(false);
                firstRow = false;
            });
    }
    if (!read)
        return read.failure();
    const auto boreCodes = ReadDistinct(
        connection, QStringLiteral("SELECT DISTINCT DiaSpec FROM Fluid_Detail") + condition,
        QStringLiteral("DiaSpec"));
    if (!boreCodes)
        return boreCodes.failure();
    for (const QString& code : *boreCodes) {
        BoreEntry bore{code, {}};
        read = ForEachRow(
            connection,
            QStringLiteral("SELECT SortID, MinValue, MaxValue, ProcessID, FileName FROM Fluid_Detail")
                + condition + QStringLiteral(" AND DiaSpec=") + Literal(code)
                + QStringLiteral(" Order By SortID"),
            [&](Recordset& rows) { bore.ranges.append(RangeOf(rows)); });
        if (!read)
            return read.failure();
        type.bores.append(bore);
    }
    return type;
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

base::Result<CatalogueModel> ReadCatalogueModel(const QString& catalogueFile)
{
    catalogue::CatalogueSession session;
    const auto opened = catalogue::OpenCatalogueConnection(session, QString(), QString(), true,
                                                           true, catalogueFile);
    if (!opened)
        return base::Fail(catalogueFile + QStringLiteral(": the catalogue cannot be opened: ")
                          + opened.error());
    catalogue::Connection* connection = session.connection.get();
    const auto closeAtEnd = qScopeGuard([connection] { catalogue::CloseCatalogueConnection(connection); });

    const auto seriesCodes = ReadDistinct(
        connection, QStringLiteral("SELECT DISTINCT STYLE FROM Fluid_Main"), QStringLiteral("STYLE"));
    if (!seriesCodes)
        return seriesCodes.failure();
    CatalogueModel model;
    for (const QString& seriesCode : *seriesCodes) {
        SeriesEntry series{seriesCode, {}};
        const auto typeCodes = ReadDistinct(
            connection,
            QStringLiteral("SELECT DISTINCT STYLEDetail FROM Fluid_Main where Style=") + Literal(seriesCode),
            QStringLiteral("STYLEDetail"));
        if (!typeCodes)
            return typeCodes.failure();
        for (const QString& typeCode : *typeCodes) {
            auto type = ReadType(connection, seriesCode, typeCode);
            if (!type)
                return type.failure();
            series.types.append(type.value());
        }
        model.series.append(series);
    }
    return model;
}

} // namespace demo
