// SPDX-License-Identifier: MIT
#include "system_messages.h"

namespace messages {

MessageBoxRequest CatalogueOpenFailure(const QString& cataloguePath, const QString& reason)
{
    return ErrorMessage(QStringLiteral("無法開啟型錄資料庫"),
                        QStringLiteral("Cannot open the catalogue database: ") + cataloguePath +
                            QStringLiteral("\r\n") + reason);
}

MessageBoxRequest CatalogueReadFailure(const QString& error)
{
    return ErrorMessage(QStringLiteral("讀取型錄資料失敗"),
                        QStringLiteral("Cannot read the catalogue: ") + error);
}

MessageBoxRequest FileOpenFailure(const QString& path)
{
    return ErrorMessage(QStringLiteral("無法開啟檔案"), QStringLiteral("Cannot open the file: ") + path);
}

MessageBoxRequest InvalidCatalogueData(const QString& code)
{
    return ErrorMessage(QStringLiteral("型錄資料有誤"),
                        QStringLiteral("Invalid catalogue data: ") + code);
}

MessageBoxRequest WrongDisc()
{
    // One line: the Chinese and English words run together.
    return CriticalMessage(QStringLiteral("光碟片有誤CD-ROM ERROR"));
}

MessageBoxRequest WorkFolderUnusable(const QString& reason)
{
    return ErrorMessage(QStringLiteral("無法使用暫存資料夾"),
                        QStringLiteral("Cannot use the temporary folder: ") + reason);
}

MessageBoxRequest CopyFailed()
{
    return ErrorMessage(QStringLiteral("無法複製檔案"), QStringLiteral("Can't Copy The Dwg File"));
}

MessageBoxRequest CadHostNotFound()
{
    return PlainMessage(QStringLiteral("Cannot find AutoCAD"));
}

} // namespace messages
