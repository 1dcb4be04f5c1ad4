// SPDX-License-Identifier: MIT
#include "table_copy.h"
#include "catalogue_error.h"
#include "database.h"
#include "mdb_column.h"
#include "mdb_memo.h"
#include "mdb_table.h"
#include <vector>

namespace catalogue {

LoadedTable CopyTable(MdbHandle* mdb, MdbCatalogEntry* entry, sqlite3* sqlite,
                      LoadLimits& limits)
{
    LoadedTable loaded;
    loaded.name = QString::fromUtf8(entry->object_name);
    const MdbTable table = ReadTableDefinition(entry, limits);

    MemoReader memos(mdb, limits, loaded.name);
    QStringList declarations;
    QStringList parameters;
    std::vector<FieldBinder> binders;
    binders.reserve(table->num_cols);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        const QString name = QString::fromUtf8(column->name);
        loaded.columns.append(name);
        declarations.append(QuoteIdentifier(name) + QLatin1Char(' ') +
                            QLatin1String(DeclarationOf(KindOf(*column))));
        parameters.append(QStringLiteral("?%1").arg(i + 1));
        binders.emplace_back(mdb, *column, memos);
    }
    const QString quotedTable = QuoteIdentifier(loaded.name);
    ExecuteSql(sqlite, (QStringLiteral("CREATE TABLE ") + quotedTable + QStringLiteral(" (") +
                        declarations.join(QStringLiteral(", ")) + QStringLiteral(")"))
                           .toUtf8());
    Statement insert = PrepareSql(sqlite, (QStringLiteral("INSERT INTO ") + quotedTable +
                                           QStringLiteral(" VALUES (") +
                                           parameters.join(QLatin1Char(',')) + QLatin1Char(')'))
                                              .toUtf8());
    ForEachRow(mdb, table.get(), limits, [&](const MdbField* fields) {
        for (unsigned column = 0; column < table->num_cols; ++column) {
            const MdbField& field = fields[column];
            binders[field.colnum].bind(field, insert.get(), field.colnum + 1);
        }
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            throw CatalogueError(QStringLiteral("Cannot load table '%1': %2")
                                     .arg(loaded.name, SqliteError(sqlite)));
        sqlite3_reset(insert.get());
    });
    return loaded;
}

} // namespace catalogue
