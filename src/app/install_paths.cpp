// SPDX-License-Identifier: MIT
#include "install_paths.h"
#include <QCoreApplication>
#include <QDir>

namespace app {

QString InstallPath(const QString& installRoot, const QString& relative)
{
    return installRoot + QDir::toNativeSeparators(relative);
}

QString ProgramFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace app
