// SPDX-License-Identifier: MIT
#pragma once
#include "base/result.h"
#include <QString>

namespace catalogue {

class Database;

// The program's own rule on top of the generic loader: a catalogue has the
// tables Fluid_Main and Fluid_Detail with the fields the queries read. A file
// without them is refused when it is opened, with the reason, rather than
// failing query after query later.
base::Status CheckCatalogueSchema(const Database& database, const QString& path);

} // namespace catalogue
