// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <optional>

namespace catalogue {

// The file a connection string names: the value of DBQ (ODBC form) or of
// Data Source (key form), whichever comes first. Keys match without regard to
// case, as ODBC reads them; a value runs to the next ";" and is not unquoted,
// so a path holding ";" is cut there. No value when neither key is present.
std::optional<QString> DatabasePathOf(const QString& connectionString);

} // namespace catalogue
