#pragma once
#include "database.h"
#include <QString>
#include <memory>

namespace catalogue {

// Reads the Access file at path with libmdb and copies every user table into
// a new in-memory SQLite database, which then answers only reading
// statements. Throws CatalogueError with a description when the file is
// missing, is not an Access database or cannot be read.
std::unique_ptr<Database> LoadAccessFile(const QString& path);

} // namespace catalogue
