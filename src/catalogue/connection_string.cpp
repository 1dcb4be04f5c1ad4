// SPDX-License-Identifier: MIT
#include "connection_string.h"
#include "connection.h"
#include <QStringList>

namespace catalogue {

QString BuildConnectionString(const QString& userName, const QString& password,
                              bool odbcForm, const QString& path)
{
    if (odbcForm) {
        return QStringLiteral("DRIVER={Microsoft Access Driver (*.mdb)};") +
               QStringLiteral("DBQ=") + path + QStringLiteral(";") +
               QStringLiteral("DefaultDir=") + path + QStringLiteral(";") +
               QStringLiteral("Uid=") + userName + QStringLiteral(";") +
               QStringLiteral("Pwd=") + password + QStringLiteral(";");
    }
    return QStringLiteral("Data Source=") + path + QStringLiteral(";") +
           QStringLiteral("User ID=") + userName + QStringLiteral(";") +
           QStringLiteral("Password=") + password + QStringLiteral(";");
}

std::optional<QString> DatabasePathOf(const QString& connectionString)
{
    const QStringList pieces = connectionString.split(QLatin1Char(';'));
    for (const QString& piece : pieces) {
        const qsizetype equals = piece.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = piece.left(equals).trimmed();
        if (key.compare(QLatin1String("DBQ"), Qt::CaseInsensitive) == 0 ||
            key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return piece.mid(equals + 1);
    }
    return std::nullopt;
}

} // namespace catalogue
