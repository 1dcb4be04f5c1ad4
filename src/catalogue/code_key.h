// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace catalogue {

// A code as the catalogue's statements compare it. The text columns are
// loaded with SQLite's NOCASE collation, which folds the ASCII letters A-Z
// and nothing else: two codes with the same key select the same rows.
QString CodeKey(const QString& code);

} // namespace catalogue
