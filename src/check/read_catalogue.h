// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include "catalogue_rows.h"
#include <QString>
#include <QStringList>

namespace check {

// Opens the catalogue file through the program's own connection routine and
// reads the fields of both tables that it has, once, through OpenRecordset.
// Fails with the engine's description when the program could not open it.
// What libmdb wrote to stderr meanwhile goes to engineMessages, when given.
base::Result<CatalogueRows> ReadCatalogue(const QString& cataloguePath, QStringList* engineMessages = nullptr);

// The table of that name, compared as the engine compares names (without
// regard to case); null when the file has none.
const catalogue::TableDescription* FindTable(const std::vector<catalogue::TableDescription>& tables,
                                             const QString& name);
const catalogue::FieldDescription* FindField(const catalogue::TableDescription& table,
                                             const QString& name);

inline const QString kMainTable = QStringLiteral("Fluid_Main");
inline const QString kDetailTable = QStringLiteral("Fluid_Detail");

} // namespace check
