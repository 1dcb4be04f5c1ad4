// SPDX-License-Identifier: MIT
#include "database.h"
#include "catalogue_error.h"

namespace catalogue {

QString SqliteError(sqlite3* handle)
{
    return QString::fromUtf8(sqlite3_errmsg(handle));
}

void ExecuteSql(sqlite3* handle, const QByteArray& sql)
{
    char* message = nullptr;
    if (sqlite3_exec(handle, sql.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString description = QString::fromUtf8(message ? message : sqlite3_errmsg(handle));
        sqlite3_free(message);
        throw CatalogueError(description);
    }
}

Statement PrepareSql(sqlite3* handle, const QByteArray& sql)
{
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        throw CatalogueError(SqliteError(handle));
    }
    return Statement(raw);
}

QString QuoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace catalogue
