// SPDX-License-Identifier: MIT
#pragma once
#include "connection.h"
#include "queries.h"
#include <functional>

namespace catalogue {

// Runs one statement through OpenRecordset and walks its rows forward. A
// recordset that did not open is never read: the query then fails with the
// engine's description and neither callback runs. onOpened runs once the
// recordset is open, before the first row; onRow returns false to stop early.
base::Status RunQuery(Connection* connection, const QString& sqlText,
                      const std::function<void()>& onOpened,
                      const std::function<bool(const Recordset&)>& onRow);

} // namespace catalogue
