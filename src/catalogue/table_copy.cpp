// SPDX-License-Identifier: MIT
#include "table_copy.h"
#include "catalogue_error.h"
#include "database.h"
#include "mdb_column.h"
#include "mdb_memo.h"
#include "mdb_table.h"
#include <algorithm>
#include <vector>

namespace catalogue {

namespace {

// Rows sent by one insert. Each statement run costs as much again as the
// values it carries (opening the table, finding its last row, the
// transaction's bookkeeping), so rows go in groups.
constexpr qint64 kRowsPerInsert = 64;

// Inserts the rows of one table in groups of up to kRowsPerInsert, each
// group one statement "INSERT INTO t VALUES (?,...),(...)". The group's
// size follows the rows the table's definition counts, so the last group
// fits the rows that are left; a file that holds other rows than it counts
// is refused by ForEachRow anyway.
class GroupedInsert {
public:
    GroupedInsert(sqlite3* sqlite, const QString& table, int columns, qint64 rows)
        : sqlite_(sqlite), table_(table), columns_(columns), rowsLeft_(rows)
    {
        // A table of many columns takes fewer rows per statement, within
        // SQLite's bound on the number of parameters.
        const qint64 parameters = sqlite3_limit(sqlite, SQLITE_LIMIT_VARIABLE_NUMBER, -1);
        perInsert_ = std::clamp<qint64>(parameters / columns, 1, kRowsPerInsert);
    }

    int rowSlots() const { return int(perInsert_); }

    // The statement and the number of the first parameter for the next row.
    sqlite3_stmt* nextRow(int* firstParameter)
    {
        if (pending_ == 0)
            choose(std::clamp<qint64>(rowsLeft_, 1, perInsert_));
        *firstParameter = pending_ * columns_ + 1;
        return current_->get();
    }

    // The row just bound is complete; the group goes when it is full.
    void rowBound()
    {
        ++pending_;
        if (pending_ < groupSize_)
            return;
        if (sqlite3_step(current_->get()) != SQLITE_DONE)
            throw CatalogueError(QStringLiteral("Cannot load table '%1': %2")
                                     .arg(table_, SqliteError(sqlite_)));
        sqlite3_reset(current_->get());
        rowsLeft_ -= pending_;
        pending_ = 0;
    }

private:
    void choose(qint64 size)
    {
        Statement& statement = size == perInsert_ ? full_ : rest_;
        if (!statement || size != sizeOf(statement))
            statement = prepare(size);
        current_ = &statement;
        groupSize_ = int(size);
    }

    qint64 sizeOf(const Statement& statement) const
    {
        return sqlite3_bind_parameter_count(statement.get()) / columns_;
    }

    Statement prepare(qint64 rows) const
    {
        QString sql = QStringLiteral("INSERT INTO ") + QuoteIdentifier(table_) +
                      QStringLiteral(" VALUES ");
        for (qint64 row = 0; row < rows; ++row) {
            sql += row ? QStringLiteral(",(") : QStringLiteral("(");
            for (int column = 0; column < columns_; ++column) {
                if (column)
                    sql += QLatin1Char(',');
                // A bare "?" takes the next number, as nextRow counts them.
                // SQLite looks each "?NNN" up among the names it has seen,
                // which took most of the time to open a small catalogue.
                sql += QLatin1Char('?');
            }
            sql += QLatin1Char(')');
        }
        return PrepareSql(sqlite_, sql.toUtf8());
    }

    sqlite3* sqlite_;
    QString table_;
    int columns_;
    qint64 rowsLeft_;
    qint64 perInsert_ = 1;
    Statement full_;
    Statement rest_;
    Statement* current_ = nullptr;
    int groupSize_ = 0;
    int pending_ = 0;
};

} // namespace

LoadedTable CopyTable(MdbHandle* mdb, MdbCatalogEntry* entry, sqlite3* sqlite,
                      LoadLimits& limits)
{
    LoadedTable loaded;
    loaded.name = QString::fromUtf8(entry->object_name);
    const MdbTable table = ReadTableDefinition(entry, limits);
    const int columns = int(table->num_cols);

    MemoReader memos(mdb, limits, loaded.name);
    QStringList declarations;
    for (int i = 0; i < columns; ++i) {
        const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        const QString name = QString::fromUtf8(column->name);
        loaded.columns.append(name);
        declarations.append(QuoteIdentifier(name) + QLatin1Char(' ') +
                            QLatin1String(DeclarationOf(KindOf(*column))));
    }
    ExecuteSql(sqlite, (QStringLiteral("CREATE TABLE ") + QuoteIdentifier(loaded.name) +
                        QStringLiteral(" (") + declarations.join(QStringLiteral(", ")) +
                        QStringLiteral(")"))
                           .toUtf8());

    GroupedInsert insert(sqlite, loaded.name, columns, qint64(table->num_rows));
    // A text bound stays valid until its binder binds again: one binder for
    // each column of each row of a group.
    std::vector<FieldBinder> binders;
    binders.reserve(size_t(insert.rowSlots()) * size_t(columns));
    for (int slot = 0; slot < insert.rowSlots(); ++slot) {
        for (int i = 0; i < columns; ++i)
            binders.emplace_back(
                mdb, *static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i)), memos);
    }
    ForEachRow(mdb, table.get(), limits, [&](const MdbField* fields) {
        int first = 0;
        sqlite3_stmt* statement = insert.nextRow(&first);
        for (int column = 0; column < columns; ++column) {
            const MdbField& field = fields[column];
            binders[size_t(first - 1 + field.colnum)].bind(field, statement,
                                                           first + field.colnum);
        }
        insert.rowBound();
    });
    return loaded;
}

} // namespace catalogue
