// SPDX-License-Identifier: MIT
#include "staging_paths.h"
#include <QDir>

namespace generation {

namespace {
QString Sep() { return QString(QDir::separator()); }
}

QString DrawingFolder(const QString& installRoot)
{
    return installRoot + Sep() + QStringLiteral("Files");
}

QString DrawingSource(const QString& installRoot, const QString& drawingFileName)
{
    return DrawingFolder(installRoot) + Sep() + drawingFileName;
}

QString LispApplicationSource(const QString& installRoot)
{
    return DrawingSource(installRoot, kLispApplicationFile);
}

base::Result<QString> GetTempPath(FileSystem& fileSystem)
{
    base::Result<QString> folder = fileSystem.temporaryFolder();
    if (folder && folder->isEmpty())
        return base::Fail(QStringLiteral("the temporary folder has no name"));
    return folder;
}

QString WorkFolder(const QString& temporaryFolder)
{
    if (temporaryFolder.isEmpty() || temporaryFolder.endsWith(QDir::separator()))
        return temporaryFolder;
    return temporaryFolder + Sep();
}

bool IsPlainDrawingFileName(const QString& name)
{
    // Either separator counts on every platform: the catalogue is shared
    // between them, and a name is only ever a name inside the drawing folder.
    return !name.isEmpty() && !name.contains(QLatin1Char('/'))
        && !name.contains(QLatin1Char('\\')) && !name.contains(QStringLiteral(".."));
}

QString DrawingFileName(const QString& lookedUpName, const QString& typeCode,
                        const QString& boreCode)
{
    if (IsPlainDrawingFileName(lookedUpName))
        return lookedUpName;
    return typeCode + boreCode + QStringLiteral(".dwg");
}

} // namespace generation
