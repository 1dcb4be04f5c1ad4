// SPDX-License-Identifier: MIT
#pragma once
#include "database.h"
#include <QString>
#include <QStringList>
#include <memory>

namespace catalogue {

// Reads the Access file at path with libmdb and copies every user table into
// a new in-memory SQLite database, which then answers only reading
// statements. Throws CatalogueError with a description when the file is
// missing, is not an Access database, cannot be read or is damaged: a table
// is copied whole, with every row its definition counts, or not at all.
// What libmdb writes to stderr meanwhile goes to engineMessages, when given,
// also on failure, and never to stderr.
std::unique_ptr<Database> LoadAccessFile(const QString& path, QStringList* engineMessages = nullptr);

} // namespace catalogue
