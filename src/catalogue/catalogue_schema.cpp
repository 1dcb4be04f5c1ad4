// SPDX-License-Identifier: MIT
#include "catalogue_schema.h"
#include "database.h"
#include <QStringList>

namespace catalogue {

namespace {

struct RequiredTable {
    const char* name;
    QStringList fields;
};

// Every field a catalogue statement names, table by table.
const RequiredTable& MainTable()
{
    static const RequiredTable table{
        "Fluid_Main", {"Style", "StyleDetail", "MultiProcess", "OwnerProcess"}};
    return table;
}

const RequiredTable& DetailTable()
{
    static const RequiredTable table{"Fluid_Detail",
                                     {"Style", "StyleDetail", "DiaSpec", "SortID", "MinValue",
                                      "MaxValue", "ProcessID", "FileName"}};
    return table;
}

// The fields of the table, matched without regard to case as the statements
// are; empty when the database has no such table.
QStringList FieldsOf(sqlite3* handle, const char* table)
{
    QStringList fields;
    Statement columns = PrepareSql(handle, "SELECT name FROM pragma_table_info(?1)");
    sqlite3_bind_text(columns.get(), 1, table, -1, SQLITE_STATIC);
    while (sqlite3_step(columns.get()) == SQLITE_ROW)
        fields.append(QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 0))));
    return fields;
}

} // namespace

base::Status CheckCatalogueSchema(const Database& database, const QString& path)
{
    const QString notCatalogue = QStringLiteral("The database '%1' is not a catalogue: ").arg(path);
    for (const RequiredTable* table : {&MainTable(), &DetailTable()}) {
        const QStringList fields = FieldsOf(database.handle(), table->name);
        if (fields.isEmpty())
            return base::Fail(notCatalogue +
                              QStringLiteral("it has no table '%1'.").arg(QLatin1String(table->name)));
        for (const QString& field : table->fields) {
            if (!fields.contains(field, Qt::CaseInsensitive))
                return base::Fail(notCatalogue + QStringLiteral("table '%1' has no field '%2'.")
                                                     .arg(QLatin1String(table->name), field));
        }
    }
    return {};
}

} // namespace catalogue
