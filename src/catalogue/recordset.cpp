// SPDX-License-Identifier: MIT
#include "ado_messages.h"
#include "catalogue_error.h"
#include "connection.h"
#include "database.h"
#include <QStringList>
#include <vector>

namespace catalogue {

// A client-side cursor: all rows are fetched when the recordset opens.
struct Recordset::Rows {
    QStringList columns;
    std::vector<std::vector<FieldValue>> rows;
    size_t current = 0;
};

namespace {

FieldValue ColumnValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: return FieldValue(qint64(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT: return FieldValue(sqlite3_column_double(statement, column));
    case SQLITE_TEXT:
        return FieldValue(QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
            sqlite3_column_bytes(statement, column)));
    default: return FieldValue();  // null, and binary data, which has no value kind here
    }
}

bool OnlyBlanks(const char* text)
{
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n' && *text != ';')
            return false;
    }
    return true;
}

} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

void Recordset::open(const QString& source, Connection& activeConnection, int openOptions)
{
    if (rows_)
        throw CatalogueError(ObjectOpenMessage());
    if (!activeConnection.isOpen())
        throw CatalogueError(ObjectClosedMessage());
    sqlite3* handle = activeConnection.database()->handle();
    const QByteArray sql = source.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &raw, &tail) != SQLITE_OK)
        throw CatalogueError(SqliteError(handle));
    Statement statement(raw);
    if (!statement)
        throw CatalogueError(QStringLiteral("Invalid SQL statement; expected 'DELETE', "
                                            "'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'."));
    // One text is one statement: whatever follows it would otherwise go unseen.
    if (tail && !OnlyBlanks(tail))
        throw CatalogueError(QStringLiteral("Characters found after end of SQL statement."));

    auto rows = std::make_unique<Rows>();
    const int columnCount = sqlite3_column_count(statement.get());
    for (int column = 0; column < columnCount; ++column)
        rows->columns.append(QString::fromUtf8(sqlite3_column_name(statement.get(), column)));
    int stepped;
    while ((stepped = sqlite3_step(statement.get())) == SQLITE_ROW) {
        std::vector<FieldValue> values;
        values.reserve(size_t(columnCount));
        for (int column = 0; column < columnCount; ++column)
            values.push_back(ColumnValue(statement.get(), column));
        rows->rows.push_back(std::move(values));
    }
    if (stepped != SQLITE_DONE)
        throw CatalogueError(SqliteError(handle));
    rows_ = std::move(rows);
    options = openOptions;
}

bool Recordset::isOpen() const
{
    return rows_ != nullptr;
}

bool Recordset::eof() const
{
    if (!rows_)
        throw CatalogueError(ObjectClosedMessage());
    return rows_->current >= rows_->rows.size();
}

void Recordset::moveNext()
{
    if (eof())
        throw CatalogueError(NoCurrentRecordMessage());
    ++rows_->current;
}

FieldValue Recordset::field(const QString& name) const
{
    if (eof())
        throw CatalogueError(NoCurrentRecordMessage());
    for (qsizetype column = 0; column < rows_->columns.size(); ++column) {
        if (rows_->columns.at(column).compare(name, Qt::CaseInsensitive) == 0)
            return rows_->rows[rows_->current][size_t(column)];
    }
    throw CatalogueError(ItemNotFoundMessage());
}

void Recordset::close()
{
    rows_.reset();
}

bool OpenRecordset(const QString& sqlText, Connection* connection, Recordset& recordset,
                   QString& errorText)
{
    recordset = Recordset();
    try {
        recordset.cursorLocation = 3;
        recordset.lockType = 3;
        if (!connection)
            throw CatalogueError(ObjectClosedMessage());
        recordset.open(sqlText, *connection, 1);
        errorText = QString();
        return true;
    } catch (const CatalogueError& failure) {
        errorText = failure.description();
    } catch (const std::exception& failure) {
        errorText = QString::fromLocal8Bit(failure.what());
    } catch (...) {
        errorText = QStringLiteral("Unknown failure of the catalogue engine.");
    }
    return false;
}

} // namespace catalogue
