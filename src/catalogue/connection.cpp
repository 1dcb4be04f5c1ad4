// SPDX-License-Identifier: MIT
#include "connection.h"
#include "ado_messages.h"
#include "catalogue_error.h"
#include "catalogue_schema.h"
#include "connection_string.h"
#include "database.h"
#include "mdb_loader.h"

namespace catalogue {

Connection::Connection() = default;
Connection::~Connection() = default;

// The user ID and password are not checked: a catalogue file carries no
// user-level security.
void Connection::open(const QString& connectionString, const QString& /*userId*/,
                      const QString& /*password*/, int options)
{
    if (db_)
        throw CatalogueError(ObjectOpenMessage());
    const std::optional<QString> path = DatabasePathOf(connectionString);
    if (!path || path->isEmpty())
        throw CatalogueError(
            QStringLiteral("Data source name not found and no default driver specified."));
    engineMessages_.clear();
    db_ = LoadAccessFile(*path, &engineMessages_);
    connectionString_ = connectionString;
    openOptions_ = options;
}

void Connection::close()
{
    if (!db_)
        throw CatalogueError(ObjectClosedMessage());
    db_.reset();
}

bool Connection::isOpen() const
{
    return db_ != nullptr;
}

base::Result<ConnectionOpening> OpenCatalogueConnection(CatalogueSession& session,
                                                        const QString& userName,
                                                        const QString& password, bool odbcForm,
                                                        bool secondFlag, const QString& path)
{
    session.connection = std::make_unique<Connection>();
    session.engineMessages.clear();
    // Told whatever the outcome, so that a failure can show them after its reason.
    struct KeepMessages {
        CatalogueSession& session;
        ~KeepMessages() { session.engineMessages = session.connection->engineMessages(); }
    } keep{session};
    if (odbcForm && !secondFlag)
        return ConnectionOpening::NothingOpened;
    try {
        session.connectionString = BuildConnectionString(userName, password, odbcForm, path);
        session.connection->open(session.connectionString, QString(), QString(), -1);
        // Named as opened: a ";" in the path cuts it short (DatabasePathOf).
        const QString opened = DatabasePathOf(session.connectionString).value_or(path);
        const base::Status catalogue = CheckCatalogueSchema(*session.connection->database(), opened);
        if (!catalogue) {
            session.connection->close();
            return catalogue.failure();
        }
        return ConnectionOpening::Opened;
    } catch (const CatalogueError& failure) {
        return base::Fail(failure.description());
    } catch (const std::exception& failure) {
        return base::Fail(QString::fromLocal8Bit(failure.what()));
    }
}

void CloseCatalogueConnection(Connection* connection)
{
    if (!connection)
        return;
    try {
        connection->close();
    } catch (const std::exception&) {
        // closing a connection that never opened is expected to fail; ignored
    }
}

} // namespace catalogue
