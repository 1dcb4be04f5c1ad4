// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QString>
#include <memory>
#include <sqlite3.h>

namespace catalogue {

// The in-memory SQLite copy of a catalogue file's user tables.
class Database {
public:
    explicit Database(sqlite3* handle) : handle_(handle) {}
    ~Database() { sqlite3_close(handle_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return handle_; }

private:
    sqlite3* handle_;
};

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The engine's description of its last failure.
QString SqliteError(sqlite3* handle);
// Runs statements that return no rows; throws CatalogueError on failure.
void ExecuteSql(sqlite3* handle, const QByteArray& sql);
// Prepares one statement; throws CatalogueError on failure.
Statement PrepareSql(sqlite3* handle, const QByteArray& sql);
// A name written as an SQL identifier, whatever characters it holds.
QString QuoteIdentifier(const QString& name);

} // namespace catalogue
