// SPDX-License-Identifier: MIT
#include "table_description.h"
#include "access_file.h"
#include "catalogue_error.h"
#include "libmdb_output.h"
#include "load_limits.h"
#include "mdb_api.h"
#include "mdb_column.h"
#include "mdb_objects.h"
#include <QFile>
#include <memory>

namespace catalogue {

namespace {

struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};

FieldKind ReadAs(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Memo: return FieldKind::Text;
    case ColumnKind::Boolean: return FieldKind::YesNo;
    case ColumnKind::Byte:
    case ColumnKind::Integer:
    case ColumnKind::LongInteger:
    case ColumnKind::Complex:
    case ColumnKind::Currency:
    case ColumnKind::Single:
    case ColumnKind::Double:
    case ColumnKind::Decimal: return FieldKind::Number;
    default: return FieldKind::Other;
    }
}

QString AccessTypeName(ColumnKind kind)
{
    switch (kind) {
    case ColumnKind::Text: return QStringLiteral("Text");
    case ColumnKind::Memo: return QStringLiteral("Memo");
    case ColumnKind::Boolean: return QStringLiteral("Yes/No");
    case ColumnKind::Byte: return QStringLiteral("Byte");
    case ColumnKind::Integer: return QStringLiteral("Integer");
    case ColumnKind::LongInteger: return QStringLiteral("Long Integer");
    case ColumnKind::Complex: return QStringLiteral("Replication ID");
    case ColumnKind::Currency: return QStringLiteral("Currency");
    case ColumnKind::Single: return QStringLiteral("Single");
    case ColumnKind::Double: return QStringLiteral("Double");
    case ColumnKind::Decimal: return QStringLiteral("Decimal");
    case ColumnKind::DateTime: return QStringLiteral("Date/Time");
    case ColumnKind::Guid: return QStringLiteral("GUID");
    case ColumnKind::Binary: return QStringLiteral("Binary");
    case ColumnKind::Unloaded: return QStringLiteral("OLE Object");
    }
    return QStringLiteral("OLE Object");
}

} // namespace

namespace {

base::Result<std::vector<TableDescription>> ReadDescriptions(const QString& path)
{
    // The tables are found as the loader finds them, within the same limits:
    // mdb_read_catalog loops for ever on some damaged files.
    try {
        const AccessFileShape shape = CheckAccessFile(path);
        LoadLimits limits(path, shape.size, shape.pageSize);
        std::unique_ptr<MdbHandle, MdbCloser> mdb(
            mdb_open(LibmdbFileName(path).constData(), MDB_NOFLAGS));
        if (!mdb || mdb->fmt->pg_size != shape.pageSize)
            return base::Fail(UnrecognizedFormat(path));
        std::vector<MdbCatalogEntry> entries = ReadUserTables(mdb.get(), limits);

        std::vector<TableDescription> tables;
        for (MdbCatalogEntry& entry : entries) {
            TableDescription table{QString::fromUtf8(entry.object_name), {}};
            std::unique_ptr<MdbTableDef, TableFreer> definition(mdb_read_table(&entry));
            if (!definition || !mdb_read_columns(definition.get()))
                return base::Fail(QStringLiteral("Cannot read table '%1'.").arg(table.name));
            for (unsigned c = 0; c < definition->num_cols; ++c) {
                const auto* column =
                    static_cast<const MdbColumn*>(g_ptr_array_index(definition->columns, c));
                const ColumnKind kind = KindOf(*column);
                table.fields.push_back({QString::fromUtf8(column->name), ReadAs(kind), AccessTypeName(kind)});
            }
            tables.push_back(std::move(table));
        }
        return tables;
    } catch (const CatalogueError& failure) {
        return base::Fail(failure.description());
    }
}

} // namespace

base::Result<std::vector<TableDescription>> DescribeAccessFile(const QString& path, QStringList* engineMessages)
{
    LibmdbOutput output;
    auto tables = ReadDescriptions(path);
    const QStringList lines = output.finish();
    if (engineMessages)
        engineMessages->append(lines);
    return tables;
}

} // namespace catalogue
