// SPDX-License-Identifier: MIT
#include "load_limits.h"
#include "catalogue_error.h"

namespace catalogue {

LoadLimits::LoadLimits(QString path, qint64 fileSize, qint64 pageSize)
    : path_(std::move(path)), fileSize_(fileSize), pageSize_(pageSize)
{
}

void LoadLimits::refuse(const QString& what) const
{
    throw CatalogueError(QStringLiteral("The database '%1' is damaged: %2.").arg(path_, what));
}

void LoadLimits::chargeLongValueBytes(qint64 bytes, const QString& table)
{
    longValueBytes_ += bytes;
    if (longValueBytes_ > fileSize_)
        refuse(QStringLiteral("the memo values of table '%1' add up to more than the file holds")
                   .arg(table));
}

} // namespace catalogue
