// SPDX-License-Identifier: MIT
#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace catalogue {

struct AccessFileShape {
    qint64 size;
    qint64 pageSize;  // 2048 for Jet 3, 4096 for later formats
};

// libmdb trusts the file it is given: a path that names no file, or a file
// that does not start like a Jet or ACE database or ends within a page, is
// turned away here, before libmdb reads it. Throws CatalogueError.
AccessFileShape CheckAccessFile(const QString& path);

QString UnrecognizedFormat(const QString& path);

// The path as libmdb's open takes it: our Windows build of libmdb reads
// UTF-8 (any folder name); elsewhere it is the local file-name encoding.
QByteArray LibmdbFileName(const QString& path);

} // namespace catalogue
