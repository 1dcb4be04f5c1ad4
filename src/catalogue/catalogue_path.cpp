// SPDX-License-Identifier: MIT
#include "catalogue_path.h"

namespace catalogue {

QString CataloguePath(const QString& installRoot, QChar separator)
{
    const QString tail = QStringLiteral("Database") + separator + QStringLiteral("TALVEX.mdb");
    if (installRoot.endsWith(separator))
        return installRoot + tail;
    return installRoot + separator + tail;
}

} // namespace catalogue
