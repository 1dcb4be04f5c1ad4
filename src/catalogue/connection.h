// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include "field_value.h"
#include <QString>
#include <QStringList>
#include <memory>

namespace catalogue {

class Database;  // the in-memory copy of the catalogue file's user tables

// The connection to the catalogue. Opening reads the Access file named by the
// connection string (DBQ= in the ODBC form, Data Source= in the key form) and
// loads its user tables; every statement then runs on that copy.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Throws CatalogueError on failure (the routines below turn that into false).
    void open(const QString& connectionString, const QString& userId,
              const QString& password, int options);
    void close();  // throws CatalogueError when the connection is not open
    bool isOpen() const;
    Database* database() const { return db_.get(); }
    // What the last successful open was given.
    const QString& connectionString() const { return connectionString_; }
    int openOptions() const { return openOptions_; }
    // What the engine's file reader wrote to stderr during the last open,
    // kept from the user's terminal; also after a failed open.
    const QStringList& engineMessages() const { return engineMessages_; }

private:
    std::unique_ptr<Database> db_;
    QStringList engineMessages_;
    QString connectionString_;
    int openOptions_ = 0;
};

// A forward-only set of rows of one statement.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    int cursorLocation = 0;  // 3: client-side cursor
    int lockType = 0;        // 3: optimistic locking
    int options = 0;         // set by open; 1: the source is command text

    // Throws CatalogueError on failure.
    void open(const QString& source, Connection& activeConnection, int openOptions);
    bool isOpen() const;
    bool eof() const;     // throws when not open
    void moveNext();      // throws when not open or at the end
    // Field of the current row by name, without regard to case; throws when
    // not open, at the end, or the name is not a column of the statement.
    FieldValue field(const QString& name) const;
    void close();

private:
    struct Rows;
    std::unique_ptr<Rows> rows_;
};

// The run's catalogue connection and the string it was last opened with. The
// program keeps one for the whole run and hands it to the window; tests and
// tools make their own.
struct CatalogueSession {
    std::unique_ptr<Connection> connection;  // null until the first open
    QString connectionString;
    QStringList engineMessages;  // of the last open (Connection::engineMessages)
};

// Builds the connection string; the ODBC form when odbcForm is true.
QString BuildConnectionString(const QString& userName, const QString& password,
                              bool odbcForm, const QString& path);

// What OpenCatalogueConnection did when it did not fail.
enum class ConnectionOpening {
    Opened,
    NothingOpened,  // the ODBC form without the second flag builds and opens nothing
};

// Replaces the session's connection by a new one and opens it; the failure
// carries the engine's description. A file that opens but is no catalogue
// (CheckCatalogueSchema) fails too, and leaves the connection closed.
base::Result<ConnectionOpening> OpenCatalogueConnection(CatalogueSession& session,
                                                        const QString& userName,
                                                        const QString& password, bool odbcForm,
                                                        bool secondFlag, const QString& path);

// Closes the connection; never fails.
void CloseCatalogueConnection(Connection* connection);

// Runs one SQL text. The recordset always receives a new object, open on
// success; errorText is "" on success and the failure's description otherwise.
// No failure leaves this routine.
bool OpenRecordset(const QString& sqlText, Connection* connection, Recordset& recordset,
                   QString& errorText);

} // namespace catalogue
