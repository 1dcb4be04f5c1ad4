// SPDX-License-Identifier: MIT
#include "utility_paths.h"
#include <QDir>

namespace medium {

namespace {
QString FilesFolder(const QString& installRoot)
{
    return installRoot + QDir::separator() + QStringLiteral("Files");
}
} // namespace

QString AccessoriesFolder(const QString& installRoot)
{
    return FilesFolder(installRoot) + QDir::separator() + QStringLiteral("Accessories");
}

QString CleanUpBatchFile(const QString& installRoot)
{
    return FilesFolder(installRoot) + QDir::separator() + QStringLiteral("TEMP CLEAR.bat");
}

QString ScriptForBatchFile(const QString& path)
{
    const QString suffix = QStringLiteral(".bat");
    if (!path.endsWith(suffix, Qt::CaseInsensitive) || path.size() == suffix.size())
        return {};
    return path.left(path.size() - suffix.size()) + QStringLiteral(".sh");
}

} // namespace medium
