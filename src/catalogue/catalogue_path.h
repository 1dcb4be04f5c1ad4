// SPDX-License-Identifier: MIT
#pragma once
#include <QChar>
#include <QDir>
#include <QString>

namespace catalogue {

// The catalogue file under the install root: root + "Database" + "TALVEX.mdb",
// joined by the separator, without doubling it when the root already ends
// with one (a drive root such as "E:\").
QString CataloguePath(const QString& installRoot, QChar separator = QDir::separator());

} // namespace catalogue
