#include "mdb_loader.h"
#include "catalogue_error.h"
#include "mdb_api.h"
#include "mdb_column.h"
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <vector>

namespace catalogue {

namespace {

constexpr int kOffsetMask = 0x1fff;   // row offsets carry flags in their top bits
constexpr int kDeletedRow = 0x4000;
constexpr int kVersionOffset = 0x14;  // 0 for Jet 3, larger for later formats

struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using MdbFile = std::unique_ptr<MdbHandle, MdbCloser>;
using MdbTable = std::unique_ptr<MdbTableDef, TableFreer>;

QString UnrecognizedFormat(const QString& path)
{
    return QStringLiteral("Unrecognized database format '%1'.").arg(path);
}

// libmdb trusts the file it is given; a file that does not start like a Jet
// or ACE database is turned away before libmdb reads it.
void CheckAccessSignature(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw CatalogueError(QStringLiteral("Could not find file '%1'.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CatalogueError(QStringLiteral("Could not open file '%1': %2.")
                                 .arg(path, file.errorString()));
    const QByteArray head = file.read(32);
    const QByteArray signature = head.mid(4, 16);
    const bool looksAccess = signature == QByteArray("Standard Jet DB\0", 16) ||
                             signature == QByteArray("Standard ACE DB\0", 16);
    if (!looksAccess || head.size() < 32)
        throw CatalogueError(UnrecognizedFormat(path));
    // A file of whole pages, more than the header page: a copy cut short (an
    // interrupted copy from the disc) would have libmdb read rows of a half page.
    const qint64 pageSize = head.at(kVersionOffset) == 0 ? 2048 : 4096;  // Jet 3 : later
    if (file.size() < 2 * pageSize || file.size() % pageSize != 0)
        throw CatalogueError(QStringLiteral("The database '%1' is damaged: it ends within a page.")
                                 .arg(path));
}

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
    return mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
}

struct LoadedTable {
    QString name;
    QStringList columns;
};

void CopyRows(MdbHandle* mdb, MdbTableDef* table, std::vector<FieldBinder>& binders,
              sqlite3_stmt* insert, sqlite3* sqlite, const QString& tableName)
{
    if (table->num_rows == 0)
        return;
    mdb_rewind_table(table);
    std::vector<MdbField> fields(MDB_MAX_COLS);
    while (mdb_read_next_dpg(table)) {
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int row = 0; row < rows; ++row) {
            int rowStart = 0;
            size_t rowSize = 0;
            if (mdb_find_row(mdb, row, &rowStart, &rowSize) != 0 || (rowStart & kDeletedRow))
                continue;
            const int count = mdb_crack_row(table, rowStart & kOffsetMask, rowSize, fields.data());
            if (count < int(table->num_cols))
                continue;  // a row libmdb cannot split is skipped, as its own readers do
            for (unsigned column = 0; column < table->num_cols; ++column) {
                const MdbField& field = fields[column];
                binders[field.colnum].bind(field, insert, field.colnum + 1);
            }
            if (sqlite3_step(insert) != SQLITE_DONE)
                throw CatalogueError(QStringLiteral("Cannot load table '%1': %2")
                                         .arg(tableName, SqliteError(sqlite)));
            sqlite3_reset(insert);
        }
    }
}

LoadedTable CopyTable(MdbHandle* mdb, MdbCatalogEntry* entry, sqlite3* sqlite)
{
    LoadedTable loaded;
    loaded.name = QString::fromUtf8(entry->object_name);
    MdbTable table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()))
        throw CatalogueError(QStringLiteral("Cannot read table '%1'.").arg(loaded.name));

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
        binders.emplace_back(mdb, *column);
    }
    const QString quotedTable = QuoteIdentifier(loaded.name);
    ExecuteSql(sqlite, (QStringLiteral("CREATE TABLE ") + quotedTable + QStringLiteral(" (") +
                        declarations.join(QStringLiteral(", ")) + QStringLiteral(")"))
                           .toUtf8());
    Statement insert = PrepareSql(sqlite, (QStringLiteral("INSERT INTO ") + quotedTable +
                                           QStringLiteral(" VALUES (") +
                                           parameters.join(QLatin1Char(',')) + QLatin1Char(')'))
                                              .toUtf8());
    CopyRows(mdb, table.get(), binders, insert.get(), sqlite, loaded.name);
    return loaded;
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

std::unique_ptr<Database> LoadAccessFile(const QString& path)
{
    CheckAccessSignature(path);
    MdbFile mdb(OpenWithLibmdb(path));
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw CatalogueError(UnrecognizedFormat(path));

    std::unique_ptr<Database> database = OpenMemoryDatabase();
    sqlite3* sqlite = database->handle();
    ExecuteSql(sqlite, "BEGIN");
    std::vector<LoadedTable> tables;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            tables.push_back(CopyTable(mdb.get(), entry, sqlite));
    }
    IndexCatalogueTables(sqlite, tables);
    ExecuteSql(sqlite, "COMMIT");
    // The catalogue is only read: refuse any statement that would change it.
    ExecuteSql(sqlite, "PRAGMA query_only=1");
    return database;
}

} // namespace catalogue
