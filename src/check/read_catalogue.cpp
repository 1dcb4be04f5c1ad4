// SPDX-License-Identifier: MIT
#include "read_catalogue.h"
#include "catalogue/connection.h"
#include "catalogue/database.h"
#include <QStringList>
#include <functional>

namespace check {

namespace {

using catalogue::TableDescription;

// One field the checker reads, and where it goes in a row.
template <typename Row>
struct Wanted {
    QString name;
    FieldValue Row::*member;
};

const std::vector<Wanted<MainRow>>& MainFields()
{
    static const std::vector<Wanted<MainRow>> fields{
        {QStringLiteral("Style"), &MainRow::style},
        {QStringLiteral("StyleDetail"), &MainRow::styleDetail},
        {QStringLiteral("MultiProcess"), &MainRow::multiProcess},
        {QStringLiteral("OwnerProcess"), &MainRow::ownerProcess},
    };
    return fields;
}

const std::vector<Wanted<DetailRow>>& DetailFields()
{
    static const std::vector<Wanted<DetailRow>> fields{
        {QStringLiteral("Style"), &DetailRow::style},
        {QStringLiteral("StyleDetail"), &DetailRow::styleDetail},
        {QStringLiteral("DiaSpec"), &DetailRow::diaSpec},
        {QStringLiteral("SortID"), &DetailRow::sortId},
        {QStringLiteral("MinValue"), &DetailRow::minValue},
        {QStringLiteral("MaxValue"), &DetailRow::maxValue},
        {QStringLiteral("ProcessID"), &DetailRow::processId},
        {QStringLiteral("FileName"), &DetailRow::fileName},
    };
    return fields;
}

// Selects the wanted fields that the table has, in one statement, and fills
// one row per record. A field the table lacks stays null.
template <typename Row>
base::Status ReadTable(catalogue::Connection& connection, const TableDescription& table,
                       const std::vector<Wanted<Row>>& wanted, std::vector<Row>& rows)
{
    std::vector<FieldValue Row::*> members;
    QStringList columns;
    for (const Wanted<Row>& field : wanted) {
        if (!FindField(table, field.name))
            continue;
        columns.append(catalogue::QuoteIdentifier(field.name));
        members.push_back(field.member);
    }
    if (columns.isEmpty())
        return {};
    catalogue::Recordset recordset;
    QString error;
    const QString sql = QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
                        QStringLiteral(" FROM ") + catalogue::QuoteIdentifier(table.name);
    if (!catalogue::OpenRecordset(sql, &connection, recordset, error))
        return base::Fail(QStringLiteral("%1: %2").arg(table.name, error));
    QStringList names;
    for (const Wanted<Row>& field : wanted) {
        if (FindField(table, field.name))
            names.append(field.name);
    }
    for (; !recordset.eof(); recordset.moveNext()) {
        Row& row = rows.emplace_back();
        for (size_t i = 0; i < members.size(); ++i)
            row.*members[i] = recordset.field(names.at(qsizetype(i)));
    }
    recordset.close();
    return {};
}

} // namespace

const TableDescription* FindTable(const std::vector<TableDescription>& tables, const QString& name)
{
    for (const TableDescription& table : tables) {
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    }
    return nullptr;
}

const catalogue::FieldDescription* FindField(const TableDescription& table, const QString& name)
{
    for (const catalogue::FieldDescription& field : table.fields) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}

base::Result<CatalogueRows> ReadCatalogue(const QString& cataloguePath, QStringList* engineMessages)
{
    catalogue::CatalogueSession session;
    const auto opened = catalogue::OpenCatalogueConnection(session, QString(), QString(), true,
                                                           true, cataloguePath);
    if (engineMessages)
        engineMessages->append(session.engineMessages);
    if (!opened)
        return opened.failure();
    // The engine has read the file, so its table definitions can be read too.
    auto tables = catalogue::DescribeAccessFile(cataloguePath, engineMessages);
    if (!tables)
        return tables.failure();

    CatalogueRows rows;
    rows.tables = std::move(tables.value());
    try {
        if (const TableDescription* main = FindTable(rows.tables, kMainTable)) {
            rows.hasMain = true;
            if (base::Status read = ReadTable(*session.connection, *main, MainFields(), rows.main); !read)
                return read.failure();
        }
        if (const TableDescription* detail = FindTable(rows.tables, kDetailTable)) {
            rows.hasDetail = true;
            if (base::Status read = ReadTable(*session.connection, *detail, DetailFields(), rows.detail);
                !read)
                return read.failure();
        }
    } catch (const std::exception& failure) {
        return base::Fail(QString::fromLocal8Bit(failure.what()));
    }
    catalogue::CloseCatalogueConnection(session.connection.get());
    return rows;
}

} // namespace check
