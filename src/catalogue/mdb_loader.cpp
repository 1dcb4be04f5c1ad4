// SPDX-License-Identifier: MIT
#include "mdb_loader.h"
#include "access_file.h"
#include "catalogue_error.h"
#include "libmdb_output.h"
#include "load_limits.h"
#include "mdb_api.h"
#include "mdb_objects.h"
#include "table_copy.h"
#include <QFile>
#include <QStringList>
#include <vector>

namespace catalogue {

namespace {

struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using MdbFile = std::unique_ptr<MdbHandle, MdbCloser>;

// libmdb writes text in the encoding that MDBICONV names, chosen when a file
// is opened; the copy binds that text as UTF-8, so the choice is pinned while
// libmdb opens the file.
class Utf8TextFromLibmdb {
public:
    Utf8TextFromLibmdb() : saved_(qgetenv(kVariable)), wasSet_(qEnvironmentVariableIsSet(kVariable))
    {
        if (wasSet_)
            qputenv(kVariable, "UTF-8");
    }
    ~Utf8TextFromLibmdb()
    {
        if (wasSet_)
            qputenv(kVariable, saved_);
    }
    Utf8TextFromLibmdb(const Utf8TextFromLibmdb&) = delete;
    Utf8TextFromLibmdb& operator=(const Utf8TextFromLibmdb&) = delete;

private:
    static constexpr const char* kVariable = "MDBICONV";
    QByteArray saved_;
    bool wasSet_;
};

MdbHandle* OpenWithLibmdb(const QString& path)
{
    const Utf8TextFromLibmdb utf8;
    return mdb_open(LibmdbFileName(path).constData(), MDB_NOFLAGS);
}

// The catalogue statements select by series, type and bore; without these
// indexes each of them scans every range of the catalogue.
void IndexCatalogueTables(sqlite3* sqlite, const std::vector<LoadedTable>& tables)
{
    struct Wanted {
        const char* table;
        QStringList columns;
    };
    const Wanted wanted[] = {
        {"Fluid_Main", {QStringLiteral("Style"), QStringLiteral("StyleDetail")}},
        {"Fluid_Detail",
         {QStringLiteral("Style"), QStringLiteral("StyleDetail"), QStringLiteral("DiaSpec")}},
    };
    for (const Wanted& index : wanted) {
        for (const LoadedTable& table : tables) {
            if (table.name.compare(QLatin1String(index.table), Qt::CaseInsensitive) != 0)
                continue;
            QStringList quoted;
            for (const QString& column : index.columns) {
                if (!table.columns.contains(column, Qt::CaseInsensitive))
                    break;
                quoted.append(QuoteIdentifier(column));
            }
            if (quoted.size() != index.columns.size())
                continue;
            // Declared without collation, the index takes the columns' NOCASE.
            ExecuteSql(sqlite, (QStringLiteral("CREATE INDEX ") +
                                QuoteIdentifier(QStringLiteral("talvex_") + table.name) +
                                QStringLiteral(" ON ") + QuoteIdentifier(table.name) +
                                QStringLiteral(" (") + quoted.join(QLatin1Char(',')) +
                                QLatin1Char(')'))
                                   .toUtf8());
        }
    }
}

std::unique_ptr<Database> OpenMemoryDatabase()
{
    sqlite3* handle = nullptr;
    const int opened = sqlite3_open_v2(":memory:", &handle,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    auto database = std::make_unique<Database>(handle);
    if (opened != SQLITE_OK)
        throw CatalogueError(SqliteError(handle));
    ExecuteSql(handle, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
                       "PRAGMA temp_store=MEMORY");
    return database;
}

} // namespace

namespace {

std::unique_ptr<Database> Load(const QString& path)
{
    const AccessFileShape shape = CheckAccessFile(path);
    LoadLimits limits(path, shape.size, shape.pageSize);
    MdbFile mdb(OpenWithLibmdb(path));
    if (!mdb || mdb->fmt->pg_size != shape.pageSize)
        throw CatalogueError(UnrecognizedFormat(path));
    std::vector<MdbCatalogEntry> entries = ReadUserTables(mdb.get(), limits);

    std::unique_ptr<Database> database = OpenMemoryDatabase();
    sqlite3* sqlite = database->handle();
    ExecuteSql(sqlite, "BEGIN");
    std::vector<LoadedTable> tables;
    for (MdbCatalogEntry& entry : entries)
        tables.push_back(CopyTable(mdb.get(), &entry, sqlite, limits));
    IndexCatalogueTables(sqlite, tables);
    ExecuteSql(sqlite, "COMMIT");
    // The catalogue is only read: refuse any statement that would change it.
    ExecuteSql(sqlite, "PRAGMA query_only=1");
    return database;
}

} // namespace

std::unique_ptr<Database> LoadAccessFile(const QString& path, QStringList* engineMessages)
{
    LibmdbOutput output;
    const auto handBack = [&] {
        const QStringList lines = output.finish();
        if (engineMessages)
            engineMessages->append(lines);
    };
    try {
        std::unique_ptr<Database> database = Load(path);
        handBack();
        return database;
    } catch (...) {
        handBack();
        throw;
    }
}

} // namespace catalogue
